// Halvorine's entry point: the setup dialog, then the window, the extension entry points, the
// Demo and the main loop. Everything built is torn down in reverse order on every path; a
// Tarn::Exception from anywhere ends in the one "Fatal Error" handler with exit code 1.
#include "Demo.h"
#include "EscapeKey.h"
#include "Extensions.h"
#include "GLWindow.h"
#include "RunDirectory.h"
#include "SetupDialog.h"
#include "Settings.h"
#include "VideoStart.h"

#include <tarn/Exception.h>
#include <tarn/List.h>
#include <tarn/String.h>

#include <SDL.h> // Required for: SDL_ShowSimpleMessageBox

#include <cstdio> // Required for: fprintf

namespace
{
	const char* const windowTitle = "Corvale - Halvorine";

	// Shows the message in a box and on stderr, which stays readable where no display exists.
	void reportFatalError(const Tarn::Exception& exception)
	{
		const Tarn::String message = exception.getMessage();
		const char* text = message.getText() ? message.getText() : "";
		std::fprintf(stderr, "Fatal Error: %s\n", text);
		// With the video system running SDL draws the box itself rather than trying helper programs.
		ScreenVideo video;
		SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Fatal Error", text, nullptr);
	}

	void runShow(GLWindow& window)
	{
		EscapeKey escape;
		Demo demo;
		for (;;)
		{
			if (escape.wasPressed())
				break;
			// The close box ends the run like Escape.
			if (!window.isOpen() || window.isCloseRequested())
				break;
			if (!demo.render())
				break;
			window.update();
		}
	}

	// The program; the command-line arguments are gathered but not used.
	int halvorineMain(const Tarn::List<Tarn::String>&)
	{
		// Up from the dialog to the end of the show.
		ScreenVideo video;
		try
		{
#ifdef _WIN32
			// No launcher goes to the run directory first on Windows: from any folder (a shortcut's,
			// a console's) the program finds the Data/ beside it.
			enterRunDirectory();
#endif
			Settings& settings = Settings::get();
			const int choice = SetupDialog::run();
			settings.accepted = choice == SetupDialog::ok;
			// A dialog that could not be shown is a failure, not the viewer's Cancel.
			if (choice == SetupDialog::failed)
				return 1;
			if (!settings.accepted)
				return 0;

			const Resolution& resolution = resolutions[settings.resolution];
			GLWindow window;
			window.create(windowTitle, settings.fullscreen, resolution.width, resolution.height, 0);
			loadExtensions();
			runShow(window);
		}
		catch (const Tarn::Exception& exception)
		{
			reportFatalError(exception);
			return 1;
		}
		return 0;
	}
}

int main(int argc, char* argv[])
{
	Tarn::List<Tarn::String> arguments;
	for (int i = 1; i < argc; ++i)
		arguments.add(Tarn::String(argv[i]));
	return halvorineMain(arguments);
}
