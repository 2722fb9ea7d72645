// Pipes raw RGBA frames into ffmpeg, which encodes H.264 and muxes the music in. ffmpeg's
// stderr is drained on a thread of its own, so a chatty encoder can never stall the render.
#pragma once

#include <string>
#include <sys/types.h>
#include <thread>

class VideoEncoder
{
public:
	// Starts ffmpeg. musicPath may name a missing file: the video is then silent.
	// audioStart is where in the music the first frame lies (seconds).
	VideoEncoder(const std::string& path, int width, int height, double fps, const std::string& musicPath,
		double audioStart, double duration);

	// Closes ffmpeg's input if finish() was not called (an error is unwinding).
	~VideoEncoder();

	VideoEncoder(const VideoEncoder&) = delete;
	VideoEncoder& operator=(const VideoEncoder&) = delete;

	// Writes one upright RGBA frame; throws Tarn::Exception with ffmpeg's last words if it stopped.
	void write(const unsigned char* pixels, int byteCount);

	// Closes ffmpeg's input so it finishes the file, and waits; throws if ffmpeg failed.
	void finish();

private:
	void drainErrors();
	void close();
	std::string errorText();

	pid_t process = -1;
	int input = -1;
	int errors = -1;
	std::thread errorReader;
	char errorTail[2048] = {}; // ffmpeg's last words, for the message when it fails
	size_t errorLength = 0;
};
