// The music's sections and cues as show/music-sections.txt lists them: a section line has seven
// fields (name, from bar, to bar, from s, to s, from row, to row), a cue line four (name, at
// bar, at s, at row); "#" starts a comment.
#pragma once

#include <string>
#include <vector>

struct MusicSection
{
	std::string name;
	double from; // seconds
	double to;
};

struct MusicCue
{
	std::string name;
	double at; // seconds
};

struct MusicSections
{
	std::vector<MusicSection> sections; // in the file's order
	std::vector<MusicCue> cues;

	// Index of the section holding seconds, or -1.
	int sectionAt(double seconds) const;
};

// Reads the text; throws Tarn::Exception "file:line: what is wrong".
MusicSections parseMusicSections(const std::string& fileName, const std::string& text);

// Reads the file; throws Tarn::Exception when it cannot be read or parsed.
MusicSections readMusicSections(const std::string& path);
