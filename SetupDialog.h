// The setup dialog: the viewer picks the output resolution and the window mode before the show
// opens its window.
#pragma once

namespace SetupDialog
{
	// The dialog's results: OK ("Organic Mocha" or Enter) and Cancel ("Monsanto", Escape or close).
	const int ok = 1;
	const int cancel = 2;
	// No dialog could be shown (no display).
	const int failed = -1;

	// Shows the dialog with the current Settings until the viewer closes it. On OK the choices
	// are stored in Settings; otherwise nothing changes. Returns ok, cancel or failed.
	int run();
}
