// A run directory for tests: Data/ links every shader and image of the build's Data/ and holds
// the test's own track files instead of the show's. Becomes the working directory while it lives.
#include "ScratchRunDirectory.h"

#include "TestTracks.h"

namespace fs = std::filesystem;

ScratchRunDirectory::ScratchRunDirectory(const std::string& name)
	: previous(fs::current_path())
{
	const fs::path root = previous / name;
	fs::remove_all(root);
	fs::create_directories(root / "Data");
	for (const fs::directory_entry& entry : fs::directory_iterator(previous / "Data"))
	{
		const std::string file = entry.path().filename().string();
		if (file.rfind("_", 0) != 0)
			fs::create_symlink(entry.path(), root / "Data" / file);
	}
	fs::current_path(root);
	writeTestTracks();
}

ScratchRunDirectory::~ScratchRunDirectory()
{
	fs::current_path(previous);
}
