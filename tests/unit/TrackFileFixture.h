// The tests' one scratch folder fixture, and their one track file writer: the bytes come from the
// track compiler's own encoder, so a test's tracks are exactly what the build would write.
#pragma once

#include <TrackFileWriter.h>

#include <gtest/gtest.h>

#include <cstdint> // Required for: int32_t
#include <cstdlib> // Required for: mkdtemp()
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct TrackKeyBytes
{
	int32_t row;
	float value;
	int8_t type;
};

// The file form: int32 count, then per key int32 row, float32 value, int8 type, little-endian.
// A count other than the number of keys makes a malformed file.
inline std::string trackBytes(int32_t count, const std::vector<TrackKeyBytes>& keys)
{
	AuthoredTrack track;
	for (const TrackKeyBytes& key : keys)
		track.keys.push_back({ SyncKey{ key.row, key.value, key.type }, {} });
	std::string bytes = encodeTrack(track);
	for (int shift = 0; shift < 32; shift += 8)
		bytes[shift / 8] = (char)(((uint32_t)count >> shift) & 0xFF);
	return bytes;
}

inline std::string trackBytes(const std::vector<TrackKeyBytes>& keys)
{
	return trackBytes((int32_t)keys.size(), keys);
}

// Writes folder + "_" + name + ".track" (folder ends with "/") and returns its path.
inline std::string writeTrackFile(const std::string& folder, const std::string& name, const std::string& bytes)
{
	const std::string path = folder + trackFileName(name);
	std::ofstream(path, std::ios::binary) << bytes;
	return path;
}

// A fresh folder under /tmp for each test, removed afterwards.
class TrackFileFixture : public ::testing::Test
{
protected:
	void SetUp() override
	{
		char pattern[] = "/tmp/halvorine-test-XXXXXX";
		ASSERT_NE(mkdtemp(pattern), nullptr);
		directory = pattern;
		base = directory + "/";
	}

	void TearDown() override
	{
		std::filesystem::remove_all(directory);
	}

	// Writes base + "_" + name + ".track" and returns its path.
	std::string writeTrack(const std::string& name, const std::string& bytes)
	{
		return writeTrackFile(base, name, bytes);
	}

	// A file of the folder, written and read byte for byte.
	void write(const std::string& file, const std::string& text)
	{
		std::ofstream(base + file, std::ios::binary) << text;
	}

	std::string read(const std::string& file) const
	{
		std::ifstream stream(base + file, std::ios::binary);
		std::stringstream text;
		text << stream.rdbuf();
		return text.str();
	}

	std::string directory;
	std::string base;
};
