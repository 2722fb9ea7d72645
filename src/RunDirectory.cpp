#include "RunDirectory.h"

#include <tarn/Exception.h>

#include <SDL.h> // Required for: SDL_GetBasePath

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace
{
	bool holdsData(const fs::path& folder)
	{
		std::error_code error;
		return !folder.empty() && fs::is_directory(folder / "Data", error);
	}

	// The folder holding this executable, as SDL finds it on every system (UTF-8); empty if unknown.
	fs::path programFolder()
	{
		char* base = SDL_GetBasePath();
		if (!base)
			return fs::path();
		const fs::path folder = fs::u8path(base).parent_path(); // drops the trailing separator
		SDL_free(base);
		return folder;
	}
}

void enterRunDirectory()
{
	if (holdsData("."))
		return;
	std::error_code error;
	const fs::path ownFolder = programFolder();
	// Set by the build: the installed run directory as seen from the installed programs' folder.
	const fs::path installed = (ownFolder / HALVORINE_RUN_DIRECTORY_FROM_BIN).lexically_normal();
	for (const fs::path& candidate : { ownFolder, installed })
	{
		if (!holdsData(candidate))
			continue;
		fs::current_path(candidate, error);
		if (!error)
			return;
	}
	throw Tarn::Exception(("No Data/ folder in the working directory, in \"" + ownFolder.u8string() + "\" or in \"" +
		installed.u8string() + "\"").c_str(), "RunDirectory", 35);
}

std::string absolutePath(const std::string& path)
{
	std::error_code error;
	const fs::path absolute = fs::absolute(fs::u8path(path), error);
	return error || path.empty() ? path : absolute.u8string();
}
