#include "ShaderReloader.h"

#include <tarn/Exception.h>

#include <fstream>
#include <sstream>
#include <utility>

ShaderReloader::ShaderReloader(const std::string& sourceFolder, const std::string& runFolder, std::function<void()> rebuild)
	: sourceFolder(sourceFolder), runFolder(runFolder), rebuild(std::move(rebuild))
{
}

bool ShaderReloader::readFile(const std::string& path, std::string& text) const
{
	std::ifstream stream(path, std::ios::binary);
	std::stringstream contents;
	contents << stream.rdbuf();
	text = contents.str();
	return (bool)stream;
}

bool ShaderReloader::writeFile(const std::string& path, const std::string& text) const
{
	std::ofstream stream(path, std::ios::binary | std::ios::trunc);
	stream.write(text.data(), (std::streamsize)text.size());
	stream.close();
	return (bool)stream;
}

std::string& ShaderReloader::lastGood(const std::string& fileName)
{
	auto found = lastGoodTexts.find(fileName);
	if (found == lastGoodTexts.end())
	{
		std::string text;
		readFile(runFolder + "/" + fileName, text);
		found = lastGoodTexts.emplace(fileName, text).first;
	}
	return found->second;
}

bool ShaderReloader::reload(const std::vector<std::string>& fileNames, std::string& error)
{
	std::vector<std::string> copied;
	for (const std::string& fileName : fileNames)
	{
		std::string text;
		if (!readFile(sourceFolder + "/" + fileName, text))
		{
			error = "Could not read \"" + sourceFolder + "/" + fileName + "\"";
			return false;
		}
		lastGood(fileName); // taken before the copy replaces it
		if (!writeFile(runFolder + "/" + fileName, text))
		{
			error = "Could not write \"" + runFolder + "/" + fileName + "\"";
			return false;
		}
		copied.push_back(fileName);
	}

	try
	{
		rebuild();
		for (const std::string& fileName : copied)
			readFile(runFolder + "/" + fileName, lastGood(fileName));
		error.clear();
		return true;
	}
	catch (const Tarn::Exception& exception)
	{
		const Tarn::String message = exception.getMessage();
		error = message.getText() ? message.getText() : "";
	}

	// Say which of the saved files broke, whatever the driver's log says.
	std::string names;
	for (const std::string& fileName : copied)
	{
		names += (names.empty() ? "" : ", ") + ("Data/" + fileName);
		writeFile(runFolder + "/" + fileName, lastGood(fileName));
	}
	error = names + ": " + error + "\nthe previous programs keep running";
	// The last good sources built before, so this brings every pass and scene back.
	rebuild();
	return false;
}
