#include "Mp3Writer.h"

#include "Dsp.h"

#include <tarn/Exception.h> // Required for: Tarn::Exception

#include <lame/lame.h> // Required for: lame_init, lame_encode_buffer_ieee_float, lame_get_lametag_frame

#include <algorithm> // Required for: std::min, std::copy
#include <cstdio>    // Required for: std::fopen, std::fwrite, std::fclose

namespace Music
{
	namespace
	{
		// Owns the encoder so that every way out of encodeMp3 closes it.
		class Encoder
		{
		public:
			Encoder() : flags(lame_init())
			{
				if (!flags)
					throw Tarn::Exception("Could not start the MP3 encoder", __FILE__, __LINE__);
			}
			~Encoder() { lame_close(flags); }
			Encoder(const Encoder&) = delete;
			Encoder& operator=(const Encoder&) = delete;

			lame_t flags;
		};
	}

	std::vector<unsigned char> encodeMp3(const StereoBuffer& audio, int kilobitsPerSecond)
	{
		Encoder encoder;
		lame_t flags = encoder.flags;
		lame_set_in_samplerate(flags, sampleRate);
		lame_set_out_samplerate(flags, sampleRate);
		lame_set_num_channels(flags, 2);
		lame_set_mode(flags, JOINT_STEREO);
		lame_set_VBR(flags, vbr_off);
		lame_set_brate(flags, kilobitsPerSecond);
		lame_set_quality(flags, 2);
		lame_set_bWriteVbrTag(flags, 1);
		lame_set_write_id3tag_automatic(flags, 0);
		if (lame_init_params(flags) < 0)
			throw Tarn::Exception("Could not configure the MP3 encoder", __FILE__, __LINE__);

		std::vector<unsigned char> bytes;
		const int chunk = 8192;
		std::vector<unsigned char> output(static_cast<size_t>(chunk * 5 / 4 + 7200));
		for (size_t at = 0; at < audio.frames(); at += chunk)
		{
			const int count = static_cast<int>(std::min<size_t>(chunk, audio.frames() - at));
			const int written = lame_encode_buffer_ieee_float(flags, audio.left.data() + at, audio.right.data() + at, count,
				output.data(), static_cast<int>(output.size()));
			if (written < 0)
				throw Tarn::Exception("Could not encode the music to MP3", __FILE__, __LINE__);
			bytes.insert(bytes.end(), output.begin(), output.begin() + written);
		}
		const int flushed = lame_encode_flush(flags, output.data(), static_cast<int>(output.size()));
		if (flushed < 0)
			throw Tarn::Exception("Could not encode the music to MP3", __FILE__, __LINE__);
		bytes.insert(bytes.end(), output.begin(), output.begin() + flushed);

		// The encoder reserved the first frame for the Info tag; now that the totals are known,
		// the tag replaces it.
		unsigned char tag[2880];
		const size_t tagSize = lame_get_lametag_frame(flags, tag, sizeof tag);
		if (tagSize == 0 || tagSize > sizeof tag || tagSize > bytes.size())
			throw Tarn::Exception("Could not write the MP3 Info tag", __FILE__, __LINE__);
		std::copy(tag, tag + tagSize, bytes.begin());
		return bytes;
	}

	void writeFile(const std::string& path, const std::vector<unsigned char>& bytes)
	{
		// Written beside the target and renamed over it, so a failed run never leaves half a file
		// that a build would take for finished.
		const std::string partial = path + ".part";
		std::FILE* file = std::fopen(partial.c_str(), "wb");
		if (!file)
			throw Tarn::Exception(("Could not write \"" + path + "\"").c_str(), __FILE__, __LINE__);
		const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
		const bool closed = std::fclose(file) == 0;
		if (written != bytes.size() || !closed || std::rename(partial.c_str(), path.c_str()) != 0)
		{
			std::remove(partial.c_str());
			throw Tarn::Exception(("Could not write \"" + path + "\"").c_str(), __FILE__, __LINE__);
		}
	}
}
