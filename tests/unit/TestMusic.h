// Short MP3 files for the sound tests, encoded with libmp3lame when a test first asks for one.
#pragma once

#include <string>

// Stereo 44.1 kHz: half a second of silence, then a full-scale 441 Hz square wave until
// `seconds`. Written once per process into the test's temporary directory; returns the path.
std::string getTestMusicPath(double seconds);

// The frame at which the square wave starts.
const int testMusicOnsetFrame = 22050;
const int testMusicSampleRate = 44100;

// A file that exists but holds no MPEG audio.
std::string getUndecodableMusicPath();
