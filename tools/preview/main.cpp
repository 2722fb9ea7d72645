// halvorine-preview: the demo maker's view of the show. The real Demo in a window with its
// music, started anywhere, paused, stepped by beats and bars, looped, with an overlay, and
// the sources' show/*.tracks and shaders reloaded as they are saved.
#include "CommandLine.h"
#include "FileWatcher.h"
#include "MusicSections.h"
#include "Overlay.h"
#include "PreviewOptions.h"
#include "PreviewWindow.h"
#include "ShaderReloader.h"
#include "SilentClock.h"
#include "TrackColumns.h"
#include "TrackReloader.h"
#include "TracksPanel.h"
#include "Transport.h"

#include "Demo.h"
#include "Extensions.h"
#include "FmodAudio.h"
#include "RunDirectory.h"
#include "Settings.h"
#include "Show.h"
#include "Sync.h"
#include "VideoStart.h"

#include <tarn/Exception.h>

#include <SDL.h>

#include <algorithm> // Required for: max()
#include <cerrno> // Required for: errno
#include <cstdio>
#include <cstdlib> // Required for: mkdtemp()
#include <cstring> // Required for: strerror()
#include <signal.h> // Required for: kill()
#include <unistd.h> // Required for: getpid()
#include <filesystem>
#include <string>

namespace
{
	const char* const windowTitle = "Halvorine preview";
	const double pollInterval = 0.25; // seconds between looks at the sources
	const int settleFrames = 3;

	double nowSeconds()
	{
		return (double)SDL_GetPerformanceCounter() / (double)SDL_GetPerformanceFrequency();
	}

	void report(const std::string& message)
	{
		std::fprintf(stderr, "halvorine-preview: %s\n", message.c_str());
	}

	void requireFolder(const std::string& folder)
	{
		if (!std::filesystem::is_directory(folder))
			throw Tarn::Exception(("The sources have no folder \"" + folder + "\" (give the source tree with --sources DIR)").c_str(),
				"tools\\preview", 0);
	}

	// The tracks the preview compiles live in a folder of its own, read by a sync device of its
	// own, so the build's Data/ keeps the tracks of the build's own sources and a later
	// ./halvorine never plays the preview's. Removed when the preview ends.
	class PreviewTracks
	{
	public:
		PreviewTracks()
		{
			removeLeftovers();
			const std::string prefix = "halvorine-preview-tracks-" + std::to_string(getpid()) + "-";
			std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
			if (!mkdtemp(pattern.data()))
				throw Tarn::Exception(("Could not create a folder for the preview's compiled tracks in " +
					std::filesystem::temp_directory_path().string() + ": " + std::strerror(errno)).c_str(), "tools\\preview", 0);
			folder = pattern + "/";
			device = SyncDevice::create(folder.c_str());
			if (!device)
				throw Tarn::Exception("Could not initialize sync device", "tools\\preview", 0);
			// Nothing has asked for a track yet, so the program's device is empty and can go.
			SyncDevice::destroy(Sync::get().device);
			Sync::get().device = device;
		}
		~PreviewTracks()
		{
			std::error_code error;
			std::filesystem::remove_all(folder, error);
		}
		// A preview that was killed could not remove its folder: any whose process is gone goes.
		static void removeLeftovers()
		{
			const std::string prefix = "halvorine-preview-tracks-";
			std::error_code error;
			for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::temp_directory_path(), error))
			{
				const std::string name = entry.path().filename().string();
				if (name.compare(0, prefix.size(), prefix) != 0)
					continue;
				const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
				std::error_code removeError;
				if (pid > 0 && kill((pid_t)pid, 0) != 0 && errno == ESRCH)
					std::filesystem::remove_all(entry.path(), removeError);
			}
		}
		PreviewTracks(const PreviewTracks&) = delete;
		PreviewTracks& operator=(const PreviewTracks&) = delete;

		std::string folder;
		SyncDevice* device = nullptr;
	};

	// Keys move the music; the tracks panel takes its keys first (T always, the others while it
	// is shown: Escape only while it has a typed number or a selection to drop), and the overlay
	// may take the mouse first.
	void handleKey(const SDL_KeyboardEvent& key, Transport& transport, Overlay& overlay, TracksPanel& panel, bool& quit)
	{
		if (panel.handleKey(key, transport))
			return;
		const bool shift = (key.keysym.mod & KMOD_SHIFT) != 0;
		switch (key.keysym.sym)
		{
		case SDLK_ESCAPE: quit = true; break;
		case SDLK_SPACE: transport.togglePause(); break;
		case SDLK_LEFT: shift ? transport.stepBars(-1) : transport.stepBeats(-1); break;
		case SDLK_RIGHT: shift ? transport.stepBars(1) : transport.stepBeats(1); break;
		case SDLK_HOME: transport.home(); break;
		case SDLK_l: transport.toggleSectionLoop(); break;
		case SDLK_TAB: overlay.toggle(); break;
		default: break;
		}
	}

	int runPreview(const PreviewOptions& options)
	{
		// Installed, the run directory carries the show's sources.
		const bool installed = std::filesystem::is_regular_file("show/music-sections.txt");
		const std::string sources = !options.sources.empty() ? options.sources : installed ? "." : HALVORINE_SOURCE_DIR;
		const std::string showFolder = sources + "/show";
		const std::string shaderFolder = sources + "/Data";
		requireFolder(showFolder);
		requireFolder(shaderFolder);
		const MusicSections sections = readMusicSections(showFolder + "/music-sections.txt");

		setOutputSizeOverride(options.width, options.height);
		// The window's own start of the video system would say no more than "Could not register
		// window class".
		ScreenVideo video;
		if (!video.isStarted())
			throw Tarn::Exception(("No window can open: " + whyNoScreen()).c_str(), "tools\\preview", 0);
		PreviewWindow window;
		window.create(windowTitle, false, options.width, options.height, 0);
		loadExtensions();

		// The music starts before the Demo is built so that the clock the Demo is given is the
		// one that plays; it waits, paused, until everything is loaded.
		FmodAudio music;
		music.play(Show::musicPath);
		SilentClock silence;
		const bool withMusic = music.isStarted();
		if (!withMusic)
			report(std::string("the music \"") + Show::musicPath + "\" could not be played; previewing without sound, on the wall clock");
		Audio& clock = withMusic ? (Audio&)music : (Audio&)silence;
		Transport transport(clock, sections);
		transport.setPaused(true);

		// The sources' baseline comes before the start-up sync and the Demo's build (seconds in
		// software), so a file saved while the show loads is picked up on the first poll.
		FileWatcher trackWatcher(showFolder, { ".tracks" });
		FileWatcher shaderWatcher(shaderFolder, { ".vert", ".frag" });

		std::string trackError;
		PreviewTracks compiled;
		TrackReloader tracks(showFolder, compiled.folder, *compiled.device);
		if (!tracks.reload(trackError))
			report(trackError);

		Demo demo(clock);
		std::string shaderError;
		ShaderReloader shaders(shaderFolder, "Data", [&demo] { demo.rebuildGraphics(); });

		TrackEditor editor(showFolder);
		TracksPanel panel(editor, trackColumns(editor, showFolder), sections);
		Overlay overlay(window.getHandle(), window.renderContext);
		overlay.drawPanels = [&panel, &transport] { panel.draw(transport, Demo::currentScene()); };
		bool quit = false;
		// Paused, a frame is drawn only after something changed; ImGui needs a frame or two more
		// after an input to settle its hover and click state.
		int framesToDraw = settleFrames;
		window.onEvent = [&](const SDL_Event& event) {
			framesToDraw = settleFrames;
			if (overlay.handleEvent(event))
				return;
			if (event.type == SDL_KEYDOWN)
				handleKey(event.key, transport, overlay, panel, quit);
		};
		if (!options.overlay)
			overlay.toggle();
		if (options.loop)
			transport.setLoop(options.loopFrom, options.loopTo);
		transport.seek(options.start);
		transport.setPaused(options.paused);

		double nextPoll = nowSeconds() + pollInterval;
		double lastFrame = nowSeconds();
		double frameMs = 0.0;
		std::string lastPanelMessage;
		while (!quit && window.isOpen() && !window.isCloseRequested())
		{
			const double frameStart = nowSeconds();
			// An edit in the panel was saved during the last frame's events: compiled now, so
			// this frame shows it.
			bool editShown = false;
			double compileMs = 0.0;
			if (panel.takeEdit())
			{
				// The saved file is compiled here; the watcher takes it as seen so it is not
				// compiled again. Taken before the compile, a save by someone else after it is
				// still seen on the next poll.
				trackWatcher.poll();
				framesToDraw = settleFrames;
				const double editStart = nowSeconds();
				editShown = tracks.reload(trackError);
				compileMs = (nowSeconds() - editStart) * 1000.0;
				if (!editShown)
					report(trackError);
			}
			if (frameStart >= nextPoll)
			{
				nextPoll = frameStart + pollInterval;
				if (!trackWatcher.poll().empty())
				{
					framesToDraw = settleFrames;
					if (tracks.reload(trackError))
						report("tracks reloaded from " + showFolder + " in " + std::to_string((int)((nowSeconds() - frameStart) * 1000.0)) + " ms");
					else
						report(trackError);
					panel.refresh();
				}
				const std::vector<std::string> changed = shaderWatcher.poll();
				if (!changed.empty())
				{
					framesToDraw = settleFrames;
					if (shaders.reload(changed, shaderError))
						report("shaders rebuilt: " + changed.front() + (changed.size() > 1 ? " and others" : ""));
					else
						report(shaderError);
				}
			}

			if (panel.getMessage() != lastPanelMessage)
			{
				if (!panel.getMessage().empty())
					report(panel.getMessage());
				lastPanelMessage = panel.getMessage();
			}

			if (transport.isPaused() && framesToDraw <= 0)
			{
				// Nothing moves: sleep until an event or the next look at the sources.
				SDL_WaitEventTimeout(nullptr, std::max(1, (int)((nextPoll - nowSeconds()) * 1000.0)));
				window.handleEvents();
				lastFrame = nowSeconds();
				continue;
			}
			framesToDraw--;
			transport.update();
			if (!demo.render())
			{
				window.handleEvents();
				continue;
			}
			const OverlayState state{ Sync::getTime(), Demo::currentScene(), frameMs, &trackError, &shaderError };
			overlay.draw(state, sections, transport);
			window.update();
			if (editShown)
				report("edit compiled in " + std::to_string((int)compileMs) + " ms, on screen " +
					std::to_string(SDL_GetTicks() - panel.getEditTicks()) + " ms after its key");

			const double end = nowSeconds();
			frameMs = frameMs * 0.9 + (end - lastFrame) * 1000.0 * 0.1;
			lastFrame = end;
		}
		return 0;
	}
}

int main(int argc, char** argv)
{
	PreviewOptions options;
	int exitCode = 0;
	if (!readCommandLine("halvorine-preview", [&options](CLI::App& app) { addPreviewOptions(app, options); }, argc, argv,
			exitCode))
		return exitCode;
	try
	{
		options.sources = absolutePath(options.sources);
		enterRunDirectory();
		return runPreview(options);
	}
	catch (const Tarn::Exception& exception)
	{
		report(exception.getMessage().getText() ? exception.getMessage().getText() : "");
		return 1;
	}
}
