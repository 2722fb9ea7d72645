#include "Mp3Decoder.h"

#include <mpg123.h> // Required for: mpg123_new, mpg123_open, mpg123_read

#include <vector> // Required for: std::vector

DecodedMp3 decodeMp3File(const std::string& path)
{
	DecodedMp3 result;
	mpg123_handle* handle = mpg123_new(nullptr, nullptr);
	if (!handle)
		return result;
	mpg123_param(handle, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
	mpg123_format_none(handle);
	mpg123_format(handle, 44100, MPG123_STEREO, MPG123_ENC_FLOAT_32);
	if (mpg123_open(handle, path.c_str()) != MPG123_OK)
	{
		mpg123_delete(handle);
		return result;
	}
	int encoding = 0;
	mpg123_getformat(handle, &result.rate, &result.channels, &encoding);
	std::vector<float> block(8192);
	for (;;)
	{
		size_t done = 0;
		const int status = mpg123_read(handle, reinterpret_cast<unsigned char*>(block.data()), block.size() * sizeof(float), &done);
		for (size_t i = 0; i + 1 < done / sizeof(float); i += 2)
		{
			result.audio.left.push_back(block[i]);
			result.audio.right.push_back(block[i + 1]);
		}
		if (status == MPG123_DONE)
		{
			result.ok = true;
			break;
		}
		if (status != MPG123_OK && status != MPG123_NEW_FORMAT)
			break;
	}
	mpg123_close(handle);
	mpg123_delete(handle);
	return result;
}
