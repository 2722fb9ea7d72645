// A run directory for tests: Data/ links every shader and image of the build's Data/ and holds
// the test's own track files instead of the show's. Becomes the working directory while it lives.
#pragma once

#include <filesystem>
#include <string>

class ScratchRunDirectory
{
public:
	explicit ScratchRunDirectory(const std::string& name);
	~ScratchRunDirectory();

private:
	std::filesystem::path previous;
};
