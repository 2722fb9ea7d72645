// A scratch directory for track files, and the bytes of a track file built key by key.
#pragma once

#include <gtest/gtest.h>

#include <cstdint> // Required for: int32_t
#include <cstdlib> // Required for: mkdtemp()
#include <cstring> // Required for: memcpy()
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

struct TrackKeyBytes
{
	int32_t row;
	float value;
	int8_t type;
};

inline void appendInt32(std::string& bytes, int32_t value)
{
	const uint32_t bits = (uint32_t)value;
	for (int shift = 0; shift < 32; shift += 8)
		bytes += (char)((bits >> shift) & 0xFF);
}

// The file form: int32 count, then per key int32 row, float32 value, int8 type, little-endian.
inline std::string trackBytes(int32_t count, const std::vector<TrackKeyBytes>& keys)
{
	std::string bytes;
	appendInt32(bytes, count);
	for (const TrackKeyBytes& key : keys)
	{
		appendInt32(bytes, key.row);
		int32_t valueBits;
		std::memcpy(&valueBits, &key.value, sizeof valueBits);
		appendInt32(bytes, valueBits);
		bytes += (char)key.type;
	}
	return bytes;
}

inline std::string trackBytes(const std::vector<TrackKeyBytes>& keys)
{
	return trackBytes((int32_t)keys.size(), keys);
}

class TrackFileFixture : public ::testing::Test
{
protected:
	void SetUp() override
	{
		char pattern[] = "/tmp/halvorine-tracks-XXXXXX";
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
		const std::string path = base + "_" + name + ".track";
		std::ofstream(path, std::ios::binary) << bytes;
		return path;
	}

	std::string directory;
	std::string base;
};
