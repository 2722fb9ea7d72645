// Pipes raw RGBA frames into ffmpeg, which encodes H.264 (or FFV1) and muxes the music in, or has
// ffmpeg join finished chunks with the music. ffmpeg's stderr is drained on a thread of its own,
// so a chatty encoder can never stall the render.
#include "VideoEncoder.h"
#include "StartProgram.h"

#include <tarn/Exception.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <unistd.h> // Required for: read, write (io.h's on Windows)
#include <vector>

VideoEncoder::VideoEncoder(const std::string& path, const VideoFormat& format, int width, int height, double fps,
	const std::string& musicPath, double audioStart, double duration)
{
#ifdef SIGPIPE
	// A dead ffmpeg shows up as a failed write, reported with its own message, not as SIGPIPE.
	std::signal(SIGPIPE, SIG_IGN);
#endif

	const std::string size = std::to_string(width) + "x" + std::to_string(height);
	const std::string rate = std::to_string(fps);
	const std::string start = std::to_string(audioStart);
	const std::string length = std::to_string(duration);
	const bool joining = !format.joinList.empty();
	std::vector<std::string> arguments = { "ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y" };
	if (joining)
		arguments.insert(arguments.end(), { "-f", "concat", "-safe", "0", "-i", format.joinList });
	else
		arguments.insert(arguments.end(), { "-f", "rawvideo", "-pix_fmt", "rgba", "-s", size, "-r", rate, "-i", "pipe:0" });
	std::error_code error;
	const bool withMusic = format.music && std::filesystem::is_regular_file(std::filesystem::u8path(musicPath), error);
	if (withMusic)
		arguments.insert(arguments.end(), { "-ss", start, "-t", length, "-i", musicPath });
	arguments.insert(arguments.end(), { "-map", "0:v" });
	if (withMusic)
		arguments.insert(arguments.end(), { "-map", "1:a", "-c:a", "aac", "-b:a", "192k" });
	// A lone encode starts with a key frame, so chunks join without re-encoding.
	if (joining)
		arguments.insert(arguments.end(), { "-c:v", "copy" });
	else if (format.lossless)
		arguments.insert(arguments.end(), { "-c:v", "ffv1", "-level", "3", "-pix_fmt", "bgr0" });
	else
		// The film grain changes every pixel every frame, so x264's slower presets spend twice the
		// CPU on it for no visible gain: veryfast at CRF 17 keeps medium's CRF 18 fidelity.
		arguments.insert(arguments.end(), { "-c:v", "libx264", "-preset", "veryfast", "-crf", "17", "-pix_fmt", "yuv420p" });
	arguments.insert(arguments.end(), { "-movflags", "+faststart", path });
	if (format.music && !withMusic)
		std::fprintf(stderr, "halvorine-render: %s not found, the video will be silent\n", musicPath.c_str());

	ffmpeg = startProgram(arguments, true, false, ErrorStream::Piped);
	errorReader = std::thread(&VideoEncoder::drainErrors, this);
	if (joining)
		return;
	for (std::vector<unsigned char>& frame : frames)
		frame.resize((size_t)width * height * 4);
	frameWriter = std::thread(&VideoEncoder::writeFrames, this);
}

VideoEncoder::~VideoEncoder()
{
	close();
}

// Keeps the last bytes ffmpeg printed; runs until ffmpeg closes its stderr.
void VideoEncoder::drainErrors()
{
	char buffer[512];
	for (;;)
	{
		const ssize_t count = read(ffmpeg.errors, buffer, sizeof buffer);
		if (count < 0 && errno == EINTR)
			continue;
		if (count <= 0)
			break;
		for (ssize_t i = 0; i < count; i++)
		{
			if (errorLength == sizeof errorTail - 1)
			{
				std::memmove(errorTail, errorTail + 1, errorLength - 1);
				errorLength--;
			}
			errorTail[errorLength++] = buffer[i];
		}
	}
}

unsigned char* VideoEncoder::nextFrame()
{
	std::unique_lock<std::mutex> lock(queueLock);
	queueChanged.wait(lock, [this] { return queued < frameBufferCount || writeFailed; });
	if (writeFailed)
	{
		lock.unlock();
		close();
		throw Tarn::Exception(("ffmpeg stopped taking frames: " + errorText()).c_str(), "VideoEncoder", 111);
	}
	return frames[(firstQueued + queued) % frameBufferCount].data();
}

void VideoEncoder::submitFrame()
{
	std::lock_guard<std::mutex> lock(queueLock);
	queued++;
	queueChanged.notify_all();
}

// The writer thread: hands each queued frame to ffmpeg in order, until stopped with nothing left.
void VideoEncoder::writeFrames()
{
	for (;;)
	{
		std::unique_lock<std::mutex> lock(queueLock);
		queueChanged.wait(lock, [this] { return queued > 0 || stopping; });
		if (queued == 0)
			return;
		const std::vector<unsigned char>& frame = frames[firstQueued];
		lock.unlock();

		const bool written = writeAll(frame.data(), frame.size());

		lock.lock();
		if (!written)
		{
			writeFailed = true;
			queueChanged.notify_all();
			return;
		}
		firstQueued = (firstQueued + 1) % frameBufferCount;
		queued--;
		queueChanged.notify_all();
	}
}

bool VideoEncoder::writeAll(const unsigned char* bytes, size_t count)
{
	size_t written = 0;
	while (written < count)
	{
		const ssize_t result = ::write(ffmpeg.input, bytes + written, (unsigned)(count - written));
		if (result < 0 && errno == EINTR)
			continue;
		if (result <= 0)
			return false;
		written += (size_t)result;
	}
	return true;
}

void VideoEncoder::stopWriter()
{
	{
		std::lock_guard<std::mutex> lock(queueLock);
		stopping = true;
		queueChanged.notify_all();
	}
	if (frameWriter.joinable())
		frameWriter.join();
}

void VideoEncoder::finish()
{
	stopWriter();
	if (writeFailed)
	{
		close();
		throw Tarn::Exception(("ffmpeg stopped taking frames: " + errorText()).c_str(), "VideoEncoder", 111);
	}
	// End of input tells ffmpeg to finish the file.
	closePipe(ffmpeg.input);
	const bool succeeded = waitForProgram(ffmpeg);
	close();
	if (!succeeded)
		throw Tarn::Exception(("ffmpeg failed: " + errorText()).c_str(), "VideoEncoder", 130);
}

void VideoEncoder::close()
{
	// The few frames still queued go out first (or fail at once if ffmpeg is gone).
	stopWriter();
	closePipe(ffmpeg.input);
	waitForProgram(ffmpeg);
	if (errorReader.joinable())
		errorReader.join();
	closePipe(ffmpeg.errors);
}

std::string VideoEncoder::errorText()
{
	std::string text(errorTail, errorLength);
	while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
		text.pop_back();
	return text.empty() ? "no message" : text;
}
