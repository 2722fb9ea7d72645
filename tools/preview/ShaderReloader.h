// Brings a saved shader from the sources' Data/ into the run directory's Data/ and rebuilds
// every pass and scene with it. When the new source does not compile or link, the last good copy
// of that file goes back and the show is rebuilt once more, so the previous programs keep
// drawing; the error names the file.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

class ShaderReloader
{
public:
	// rebuild releases and creates every pass and scene (Demo::rebuildGraphics), throwing
	// Tarn::Exception on a compile or link error.
	ShaderReloader(const std::string& sourceFolder, const std::string& runFolder, std::function<void()> rebuild);

	// fileNames: the shaders saved since the last call (names inside the folders). True when
	// the show was rebuilt with all of them; otherwise false with the message in error, and the
	// files that broke are back at their last good text.
	bool reload(const std::vector<std::string>& fileNames, std::string& error);

private:
	bool readFile(const std::string& path, std::string& text) const;
	bool writeFile(const std::string& path, const std::string& text) const;
	// The run directory's copy as it was when it last built: the text to restore.
	std::string& lastGood(const std::string& fileName);

	std::string sourceFolder;
	std::string runFolder;
	std::function<void()> rebuild;
	std::map<std::string, std::string> lastGoodTexts;
};
