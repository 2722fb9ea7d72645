// Pipes raw RGBA frames into ffmpeg, which encodes H.264 and muxes the music in. Frames go to
// ffmpeg from a thread of their own, so the next frame renders while the last one is written;
// ffmpeg's stderr is drained on another, so a chatty encoder can never stall the render.
#pragma once

#include "StartProgram.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// How the video is made. The default is the H.264 export with its music.
struct VideoFormat
{
	bool lossless = false; // FFV1 (every frame a key frame, RGB kept exactly) instead of H.264
	bool music = true;     // false: video only, as for a chunk of a longer capture
	std::string joinList;  // an ffmpeg concat list whose video is copied as it is; no frames are given
};

class VideoEncoder
{
public:
	// Starts ffmpeg. musicPath may name a missing file: the video is then silent.
	// audioStart is where in the music the first frame lies (seconds).
	VideoEncoder(const std::string& path, const VideoFormat& format, int width, int height, double fps,
		const std::string& musicPath, double audioStart, double duration);

	// Closes ffmpeg's input if finish() was not called (an error is unwinding).
	~VideoEncoder();

	VideoEncoder(const VideoEncoder&) = delete;
	VideoEncoder& operator=(const VideoEncoder&) = delete;

	// The buffer for the next upright RGBA frame (width x height x 4 bytes); waits while every
	// buffer is still queued for ffmpeg. Throws Tarn::Exception with ffmpeg's last words if it
	// stopped taking frames.
	unsigned char* nextFrame();

	// Queues the frame written into the buffer nextFrame() gave.
	void submitFrame();

	// Writes the queued frames, closes ffmpeg's input so it finishes the file, and waits; throws
	// if ffmpeg failed.
	void finish();

private:
	static constexpr int frameBufferCount = 3;

	void writeFrames();
	bool writeAll(const unsigned char* bytes, size_t count);
	void stopWriter();
	void drainErrors();
	void close();
	std::string errorText();

	std::vector<unsigned char> frames[frameBufferCount]; // a ring, sized once
	std::mutex queueLock;
	std::condition_variable queueChanged;
	int queued = 0;   // frames submitted and not yet written
	int firstQueued = 0;
	bool stopping = false;
	bool writeFailed = false;
	std::thread frameWriter;

	StartedProgram ffmpeg; // its input takes the frames; its errors are drained into errorTail
	std::thread errorReader;
	char errorTail[2048] = {}; // ffmpeg's last words, for the message when it fails
	size_t errorLength = 0;
};
