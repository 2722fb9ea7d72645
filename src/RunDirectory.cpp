#include "RunDirectory.h"

#include <tarn/Exception.h>

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
}

void enterRunDirectory()
{
	if (holdsData("."))
		return;
	std::error_code error;
	const fs::path programFolder = fs::read_symlink("/proc/self/exe", error).parent_path();
	// Set by the build: the installed run directory as seen from the installed programs' folder.
	const fs::path installed = (programFolder / HALVORINE_RUN_DIRECTORY_FROM_BIN).lexically_normal();
	for (const fs::path& candidate : { programFolder, installed })
	{
		if (!holdsData(candidate))
			continue;
		fs::current_path(candidate, error);
		if (!error)
			return;
	}
	throw Tarn::Exception(("No Data/ folder in the working directory, in \"" + programFolder.string() + "\" or in \"" +
		installed.string() + "\"").c_str(), "RunDirectory", 35);
}

std::string absolutePath(const std::string& path)
{
	std::error_code error;
	const fs::path absolute = fs::absolute(path, error);
	return error || path.empty() ? path : absolute.string();
}
