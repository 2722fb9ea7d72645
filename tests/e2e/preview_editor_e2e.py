#!/usr/bin/env python3
"""End-to-end test of the preview's tracks panel on a private Xvfb display.

Usage: preview_editor_e2e.py PREVIEW SOURCE_DIR BUILD_DIR OUTPUT_FOLDER
On a scratch copy of the sources, opens the panel at bar 16 on its first column ("Camera FOV"),
types a value and Enter, and checks that main.tracks gained exactly that key line and the show's
picture changed; then Ctrl+Z, and main.tracks is byte for byte what it was. The run directory's
compiled tracks are never written. Prints the time from the Enter key to the changed frame.
"""
import difflib
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from halvorine_e2e import Display, Failure, check  # noqa: E402
from preview_e2e import WINDOW_TITLE, Preview, main, difference, grab, make_scratch, save_png, shown_picture, steady_picture, wait_for_picture  # noqa: E402

SIZE = (480, 270)
SHOW_ROWS = (0, int(SIZE[1] * 0.4))  # above the panel: the show alone
TRACK = "Camera FOV"  # the panel's first column: the first track the frame declares


def read(path):
    with open(path, "rb") as file:
        return file.read()


def run_case(display, program, source_dir, build_dir, output):
    sources, run = make_scratch(source_dir, build_dir, os.path.join(output, "editor_scratch"))
    tracks = os.path.join(sources, "show", "main.tracks")
    compiled = os.path.join(run, "Data", "_%s.track" % TRACK)
    original, original_compiled = read(tracks), read(compiled)

    preview = Preview(display, program, run, ["--size", "%dx%d" % SIZE, "--bar", "16", "--paused", "--no-overlay", "--sources", sources])
    try:
        window = display.wait_for_window(preview, timeout=60.0, name=WINDOW_TITLE)
        closed = shown_picture(display, window)
        display.type_keys(window, "t")
        wait_for_picture(display, window, closed)
        display.type_keys(window, "0", "period", "2")
        before = steady_picture(display, window, SHOW_ROWS)
        save_png(display, window, os.path.join(output, "editor_typed.png"))
        display.press(window, "Return")
        pressed = time.monotonic()
        _, seen = wait_for_picture(display, window, before, rows=SHOW_ROWS)
        print("Enter to changed frame: %.0f ms (%s)" % ((seen - pressed) * 1000.0, "; ".join(l for l in preview.lines if "edit compiled" in l)))
        save_png(display, window, os.path.join(output, "editor_key_set.png"))
        edited = steady_picture(display, window, SHOW_ROWS)

        added = [line for line in difflib.ndiff(original.decode().splitlines(), read(tracks).decode().splitlines()) if line[:1] in "+-"]
        check(added == ["+     16:0     0.2      step"], "main.tracks changed by %r, not one key line" % added)
        check(read(compiled) == original_compiled, "the run directory's compiled %s was written" % TRACK)

        display.press(window, "ctrl+z")
        deadline = time.monotonic() + 10.0
        while read(tracks) != original and time.monotonic() < deadline:
            time.sleep(0.05)
        check(read(tracks) == original, "after Ctrl+Z main.tracks is not byte for byte what it was")
        wait_for_picture(display, window, edited, rows=SHOW_ROWS)
        check(difference(steady_picture(display, window, SHOW_ROWS), before) < 0.5, "after Ctrl+Z the picture is not the one before")
        display.press_until(window, "Escape", lambda: preview.poll() is not None)
        check(preview.process.wait(10) == 0, "exit code %s after Escape" % preview.returncode)
    except Failure:
        print("preview stderr:\n" + "\n".join(preview.lines))
        raise
    finally:
        preview.kill()


if __name__ == "__main__":
    main(run_case, "preview_editor")
