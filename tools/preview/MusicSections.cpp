#include "MusicSections.h"

#include <tarn/Exception.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace
{
	[[noreturn]] void fail(const std::string& fileName, int line, const std::string& what)
	{
		throw Tarn::Exception((fileName + ":" + std::to_string(line) + ": " + what).c_str(), "tools\\preview", 0);
	}

	double parseSeconds(const std::string& field, const std::string& fileName, int line)
	{
		char* end = nullptr;
		const double value = std::strtod(field.c_str(), &end);
		if (field.empty() || *end != '\0' || !std::isfinite(value) || value < 0.0)
			fail(fileName, line, "\"" + field + "\" is not a time in seconds");
		return value;
	}
}

int MusicSections::sectionAt(double seconds) const
{
	for (size_t i = 0; i < sections.size(); i++)
		if (seconds >= sections[i].from && seconds < sections[i].to)
			return (int)i;
	return -1;
}

MusicSections parseMusicSections(const std::string& fileName, const std::string& text)
{
	MusicSections result;
	std::istringstream lines(text);
	std::string line;
	int number = 0;
	while (std::getline(lines, line))
	{
		number++;
		const size_t comment = line.find('#');
		if (comment != std::string::npos)
			line.erase(comment);
		std::istringstream words(line);
		std::vector<std::string> fields;
		for (std::string word; words >> word;)
			fields.push_back(word);
		if (fields.empty())
			continue;
		if (fields.size() == 7)
		{
			const double from = parseSeconds(fields[3], fileName, number);
			const double to = parseSeconds(fields[4], fileName, number);
			if (to <= from)
				fail(fileName, number, "the section \"" + fields[0] + "\" ends before it starts");
			result.sections.push_back({ fields[0], from, to });
		}
		else if (fields.size() == 4)
			result.cues.push_back({ fields[0], parseSeconds(fields[2], fileName, number) });
		else
			fail(fileName, number, "expected a section (7 fields) or a cue (4 fields), found " + std::to_string(fields.size()) + " fields");
	}
	return result;
}

MusicSections readMusicSections(const std::string& path)
{
	std::ifstream stream(path, std::ios::binary);
	std::stringstream text;
	text << stream.rdbuf();
	if (!stream)
		throw Tarn::Exception(("Could not read \"" + path + "\"").c_str(), "tools\\preview", 0);
	return parseMusicSections(path, text.str());
}
