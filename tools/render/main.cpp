// halvorine-render: the real Demo, headless, on a fixed clock (frame k at k / fps seconds), so
// every capture is the same on every run. Writes a frame, a PNG sequence or a video, measures
// frame times per scene, or reports the picture against the music.
#include "Benchmark.h"
#include "ChunkList.h"
#include "CommandLine.h"
#include "FrameCapture.h"
#include "RenderOptions.h"
#include "ShowReport.h"
#include "VideoEncoder.h"

#include "Demo.h"
#include "Extensions.h"
#include "FixedClock.h"
#include "GLWindow.h"
#include "RunDirectory.h"
#include "Settings.h"
#include "Show.h"
#include "Sync.h"

#include <tarn/Exception.h>

#include <GL/gl.h>
#include <SDL.h> // Required for: SDL_SetHint

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h> // Required for: access

static double threadCpuMs()
{
	timespec now;
	clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
	return (double)now.tv_sec * 1000.0 + (double)now.tv_nsec / 1.0e6;
}

static double wallSeconds()
{
	return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A progress line on stderr, rewritten at most twice a second.
class Progress
{
public:
	explicit Progress(int total) : total(total), start(wallSeconds()) {}

	void update(int done, double showSeconds)
	{
		const double now = wallSeconds();
		if (done < total && now - lastPrint < 0.5)
			return;
		lastPrint = now;
		const double elapsed = now - start;
		const double fps = elapsed > 0.0 ? done / elapsed : 0.0;
		const long left = fps > 0.0 ? std::lround((total - done) / fps) : 0;
		std::fprintf(stderr, "\rframe %d/%d  at %.2f s  %.2f fps  %ld:%02ld left   ", done, total, showSeconds, fps,
			left / 60, left % 60);
		if (done == total)
			std::fprintf(stderr, "\n");
	}

private:
	int total;
	double start;
	double lastPrint = 0.0;
};

// Frame k is drawn at k / fps; the stretch covers every frame time in [from, to), and a chunk its
// own equal run of those frames.
static void framesToRender(const RenderOptions& options, long& first, long& last)
{
	first = (long)std::ceil(options.from * options.fps - 1e-9);
	last = (long)std::ceil(options.to * options.fps - 1e-9);
	if (options.chunkCount > 0)
	{
		const long total = last - first;
		last = first + total * (options.chunkIndex + 1) / options.chunkCount;
		first += total * options.chunkIndex / options.chunkCount;
	}
}

static VideoFormat videoFormat(const RenderOptions& options)
{
	VideoFormat format;
	format.lossless = options.lossless;
	format.music = options.chunkCount == 0;
	format.joinList = options.joinList;
	return format;
}

// Each chunk in --join's list must hold its own run of the stretch's frames, as --chunk I/N with
// the same options rendered it; a missing or truncated one is named before ffmpeg writes anything.
static void checkChunks(const RenderOptions& options)
{
	const std::vector<std::string> files = readChunkList(options.joinList);
	if (files.empty())
		throw Tarn::Exception(("No chunk in \"" + options.joinList + "\"").c_str(), "render", __LINE__);
	RenderOptions chunk = options;
	chunk.chunkCount = (int)files.size();
	for (chunk.chunkIndex = 0; chunk.chunkIndex < chunk.chunkCount; chunk.chunkIndex++)
	{
		const std::string& file = files[chunk.chunkIndex];
		const std::string name = "chunk " + std::to_string(chunk.chunkIndex) + "/" + std::to_string(chunk.chunkCount);
		if (access(file.c_str(), F_OK) != 0)
			throw Tarn::Exception((name + " is missing: " + file).c_str(), "render", __LINE__);
		long first = 0;
		long last = 0;
		framesToRender(chunk, first, last);
		const long frames = countVideoFrames(file);
		const std::string want = std::to_string(last - first);
		if (frames < last - first)
			throw Tarn::Exception((name + " is truncated: " + std::to_string(frames) + " of " + want +
				" frames readable in " + file).c_str(), "render", __LINE__);
		if (frames > last - first)
			throw Tarn::Exception((name + " holds " + std::to_string(frames) + " frames, not " + want +
				": a chunk of another capture? " + file).c_str(), "render", __LINE__);
	}
}

// Installed, the run directory carries the show's sources; the build tree reads them from the source tree.
static std::string musicSectionsPath()
{
	const char* installed = "show/music-sections.txt";
	return std::filesystem::is_regular_file(installed) ? installed : HALVORINE_SOURCE_DIR "/show/music-sections.txt";
}

// Whether the report's worst second stays within --max-flashes; says which kind went over.
static bool flashesWithinLimit(const ShowReport& report, double limit)
{
	if (limit < 0.0)
		return true;
	bool within = true;
	const double worst[] = { report.worstGeneralFlashes(), report.worstRedFlashes() };
	const char* kinds[] = { "general", "red" };
	for (int kind = 0; kind < 2; kind++)
		if (worst[kind] > limit)
		{
			std::fprintf(stderr, "halvorine-render: %g %s flashes in one second, more than %g\n", worst[kind], kinds[kind], limit);
			within = false;
		}
	return within;
}

static int run(const RenderOptions& options)
{
	long first = 0;
	long last = 0;
	framesToRender(options, first, last);
	if (options.chunkCount > 0 && last <= first)
	{
		std::fprintf(stderr, "halvorine-render: chunk %d/%d holds no frame: the stretch has fewer frames than chunks\n",
			options.chunkIndex, options.chunkCount);
		return 1;
	}
	const int total = (int)(last - first);
	if (!options.joinList.empty())
	{
		checkChunks(options);
		VideoEncoder joined(options.output, videoFormat(options), options.width, options.height, options.fps,
			Show::musicPath, (double)first / options.fps, (double)total / options.fps);
		joined.finish();
		return 0;
	}

	setOutputSizeOverride(options.width, options.height);
	// The caller's choice of video driver wins; without one, draw without a display.
	setenv("SDL_VIDEODRIVER", "offscreen", 0);
	// SDL would turn SIGINT and SIGTERM into quit events nobody reads here: let them end the
	// render, so Ctrl-C and a stopped capture stop it.
	SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
	GLWindow window;
	window.create("Corvale - Halvorine", false, options.width, options.height, 0);
	loadExtensions();
	FixedClock clock;
	Demo demo(clock);
	FrameCapture capture(options.width, options.height);

	if (options.mode == RenderMode::Frame)
	{
		clock.setPosition(options.frameTime);
		if (!demo.render())
		{
			std::fprintf(stderr, "halvorine-render: the show is over at %g s (it ends at 70.8 s)\n", options.frameTime);
			return 1;
		}
		capture.read();
		capture.writePng(options.output.c_str());
		return 0;
	}

	if (options.mode == RenderMode::Frames && mkdir(options.output.c_str(), 0755) != 0 && errno != EEXIST)
		throw Tarn::Exception(("Could not create directory \"" + options.output + "\"").c_str(), "render", 96);
	std::error_code folderError;
	if (options.mode == RenderMode::Report && !std::filesystem::create_directories(options.output, folderError) && folderError)
		throw Tarn::Exception(("Could not create directory \"" + options.output + "\": " + folderError.message()).c_str(),
			"render", __LINE__);
	std::unique_ptr<ShowReport> report;
	if (options.mode == RenderMode::Report)
		report.reset(new ShowReport(options.width, options.height, options.fps, first, last,
			readMusicSections(musicSectionsPath()), Show::musicPath));

	std::unique_ptr<VideoEncoder> video;
	if (options.mode == RenderMode::Video)
		video.reset(new VideoEncoder(options.output, videoFormat(options), options.width, options.height, options.fps,
			Show::musicPath, (double)first / options.fps, (double)total / options.fps));
	Benchmark benchmark(options.mode == RenderMode::Bench ? total : 0);
	std::unique_ptr<PassTimer> passTimer(options.passes ? new PassTimer : nullptr);
	Progress progress(total);
	char path[4096];

	long k = first;
	for (; k < last; k++)
	{
		const double time = (double)k / options.fps;
		clock.setPosition(time);
		const double wallStart = wallSeconds();
		const double cpuStart = threadCpuMs();
		if (passTimer)
			passTimer->beginFrame();
		if (!demo.render())
			break;
		if (options.mode == RenderMode::Bench)
		{
			glFinish(); // the software rasteriser works on threads of its own; wait for the picture
			benchmark.add(Demo::currentScene(), (wallSeconds() - wallStart) * 1000.0, threadCpuMs() - cpuStart);
			if (passTimer)
				benchmark.addPasses(passTimer->endFrame());
		}
		else
		{
			if (video)
			{
				capture.readInto(video->nextFrame());
				video->submitFrame();
			}
			else if (report)
				report->addFrame(capture.read());
			else
			{
				capture.read();
				std::snprintf(path, sizeof path, "%s/frame_%05ld.png", options.output.c_str(), k);
				capture.writePng(path);
			}
		}
		progress.update((int)(k - first + 1), time);
	}

	if (video)
		video->finish();
	if (options.chunkCount > 0) // what tools/render-farm.sh checks the chunk file against
		std::printf("%ld frames\n", k - first);
	if (options.mode == RenderMode::Bench)
		benchmark.print(options.width, options.height, passTimer.get());
	if (report)
	{
		report->write(options.output);
		return flashesWithinLimit(*report, options.maxFlashes) ? 0 : 1;
	}
	return 0;
}

int main(int argc, char** argv)
{
	RenderOptions options;
	int exitCode = 0;
	if (!readCommandLine("halvorine-render", [&options](CLI::App& app) { addRenderOptions(app, options); }, argc, argv,
			exitCode))
		return exitCode;
	try
	{
		// Output paths are the caller's; the show's data is read from its run directory.
		options.output = absolutePath(options.output);
		options.joinList = absolutePath(options.joinList);
		enterRunDirectory();
		return run(options);
	}
	catch (const Tarn::Exception& exception)
	{
		std::fprintf(stderr, "\nhalvorine-render: %s\n", exception.getMessage().getText());
		return 1;
	}
}
