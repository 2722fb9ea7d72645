#include "TestMusic.h"

#include <gtest/gtest.h>
#include <lame.h>

#include <cstdio>
#include <map>
#include <vector>

static std::string encodeTestMusic(double seconds, const std::string& path)
{
	const int frames = static_cast<int>(seconds * testMusicSampleRate);
	std::vector<short> samples(2 * static_cast<size_t>(frames), 0);
	for (int frame = testMusicOnsetFrame; frame < frames; frame++)
	{
		const short value = ((frame - testMusicOnsetFrame) / 50) % 2 == 0 ? 30000 : -30000;
		samples[2 * frame] = value;
		samples[2 * frame + 1] = value;
	}

	lame_global_flags* encoder = lame_init();
	lame_set_in_samplerate(encoder, testMusicSampleRate);
	lame_set_num_channels(encoder, 2);
	lame_set_brate(encoder, 128);
	lame_set_bWriteVbrTag(encoder, 1); // the LAME tag carries the delay and padding for gapless decoding
	lame_init_params(encoder);

	std::vector<unsigned char> output(static_cast<size_t>(1.25 * frames + 7200) + 16384);
	int size = lame_encode_buffer_interleaved(encoder, samples.data(), frames, output.data(), static_cast<int>(output.size()));
	size += lame_encode_flush(encoder, output.data() + size, static_cast<int>(output.size()) - size);
	// The first frame was a placeholder; the final tag replaces it now the length is known.
	unsigned char tag[8192];
	const size_t tagSize = lame_get_lametag_frame(encoder, tag, sizeof tag);
	for (size_t i = 0; i < tagSize; i++)
		output[i] = tag[i];
	lame_close(encoder);

	FILE* file = std::fopen(path.c_str(), "wb");
	if (!file)
		return "";
	std::fwrite(output.data(), 1, static_cast<size_t>(size), file);
	std::fclose(file);
	return path;
}

std::string getTestMusicPath(double seconds)
{
	static std::map<double, std::string> written;
	std::string& path = written[seconds];
	if (path.empty())
		path = encodeTestMusic(seconds, testing::TempDir() + "halvorine-test-" + std::to_string(static_cast<int>(seconds * 1000)) + "ms.mp3");
	return path;
}

std::string getUndecodableMusicPath()
{
	const std::string path = testing::TempDir() + "halvorine-test-undecodable.mp3";
	FILE* file = std::fopen(path.c_str(), "w");
	if (file)
	{
		std::fputs("This is a text file, not an MPEG audio stream.\n", file);
		std::fclose(file);
	}
	return path;
}
