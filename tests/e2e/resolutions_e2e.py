#!/usr/bin/env python3
"""The real program at every resolution its setup dialog offers, windowed and full screen, on a
private Xvfb screen of that size.

Usage: resolutions_e2e.py CASE PROGRAM OUTPUT_FOLDER
CASE is WIDTHxHEIGHT or WIDTHxHEIGHT_fullscreen (the first seconds of the show, then Escape), or
whole_show (1280x720, played from the dialog to its own end at 70.8 s, with the music cut to its
first 10 s: the show plays on in silence and ends by itself). Screenshots of the show
go to OUTPUT_FOLDER; each must show a picture, not a black screen.
"""
import os
import shutil
import subprocess
import sys
import time

from halvorine_e2e import FULLSCREEN_BOX, RESOLUTION_LIST, WINDOW_TITLE, Display, Failure, Program, check, wait_for_dialog

# The rows of the open resolution list, in dialog pixels.
RESOLUTION_ROWS = {(1920, 1080): (80, 142), (1280, 720): (80, 159), (1024, 768): (80, 176)}
# The intro opens on black; from about 8 s the sphere field is on screen.
FIRST_PICTURE_AFTER = 10.0
# Average brightness (0..1) below which a screenshot counts as black.
BLACK = 0.03


def short_music_run_folder(output):
    """A run folder whose Data/ is the build's, with the music cut to its first 10 s."""
    folder = os.path.join(output, "short_music_run_folder")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(os.path.join(folder, "Data"))
    for name in os.listdir("Data"):
        os.symlink(os.path.abspath(os.path.join("Data", name)), os.path.join(folder, "Data", name))
    name = "wenlo-pirrow_drumlow.mp3"
    music = os.path.join(folder, "Data", name)
    os.remove(music)
    with open(os.path.join("Data", name), "rb") as source:
        data = source.read()
    with open(music, "wb") as cut:
        cut.write(data[:len(data) * 10 // 71])  # constant bit rate: bytes are time
    return folder


def mean_brightness(path, width, height):
    """The window's part of a root screenshot, averaged in grey."""
    result = subprocess.run(["convert", path, "-crop", "%dx%d+0+0" % (width, height), "-colorspace", "gray",
                             "-format", "%[fx:mean]", "info:"], capture_output=True, text=True, timeout=30)
    check(result.returncode == 0, "convert could not read %s: %s" % (path, result.stderr))
    return float(result.stdout)


def start_show(display, program, size, fullscreen):
    dialog = wait_for_dialog(display, program)
    display.click(dialog, *RESOLUTION_LIST)
    display.click(dialog, *RESOLUTION_ROWS[size])
    if fullscreen:
        display.click(dialog, *FULLSCREEN_BOX)
    display.press_until(dialog, "Return", lambda: program.poll() is not None or display.find_windows(name=WINDOW_TITLE))
    window = display.wait_for_window(program, name=WINDOW_TITLE)
    x, y, width, height = display.geometry(window)
    check((width, height) == size, "the window is %dx%d, expected %dx%d" % ((width, height) + size))
    # The screen is exactly the window's size, so either way the window covers it from 0,0.
    check((x, y) == (0, 0), "the window is at %d,%d, expected 0,0 on a screen of its size" % (x, y))
    return window


def expect_picture(display, path, size):
    display.screenshot(path)
    brightness = mean_brightness(path, *size)
    check(brightness > BLACK, "%s is black (mean brightness %.3f)" % (os.path.basename(path), brightness))


def play_first_seconds(display, program, output, size, fullscreen):
    window = start_show(display, program, size, fullscreen)
    time.sleep(FIRST_PICTURE_AFTER)
    check(program.poll() is None, "the program ended by itself (code %s)" % program.poll())
    name = "%dx%d%s" % (size + ("_fullscreen" if fullscreen else "",))
    expect_picture(display, os.path.join(output, "show_%s.png" % name), size)
    display.press_until(window, "Escape", lambda: program.poll() is not None)
    code = program.finish()
    check(code == 0, "exit code %d after Escape, expected 0; stderr: %s" % (code, program.stderr))


def play_whole_show(display, program, output):
    size = (1280, 720)
    start_show(display, program, size, False)
    started = time.monotonic()
    time.sleep(FIRST_PICTURE_AFTER)
    expect_picture(display, os.path.join(output, "whole_show_early.png"), size)
    time.sleep(max(0.0, 66.5 - (time.monotonic() - started)))  # the outro's city
    expect_picture(display, os.path.join(output, "whole_show_late.png"), size)
    # The show ends by itself at 70.8 s, long after the music: no key is pressed.
    code = program.finish(timeout=90.0)
    ran = time.monotonic() - started
    check(code == 0, "exit code %d at the end of the show, expected 0; stderr: %s" % (code, program.stderr))
    # The clock starts after loading, so the window is open a little longer than the show.
    check(ran >= 65.0, "the show ended after %.1f s, before its length" % ran)
    check("GL error" not in program.stderr, "stderr reports a GL error: %s" % program.stderr)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    case, program_path, output = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
    if case == "whole_show":
        size, fullscreen = (1280, 720), False
    else:
        label, _, mode = case.partition("_")
        size = tuple(int(part) for part in label.split("x"))
        fullscreen = mode == "fullscreen"
        if size not in RESOLUTION_ROWS or mode not in ("", "fullscreen"):
            sys.exit("unknown case %s\n%s" % (case, __doc__))
    os.makedirs(output, exist_ok=True)
    display = Display(*size)
    program = None
    try:
        program = Program(display, program_path, short_music_run_folder(output) if case == "whole_show" else None)
        if case == "whole_show":
            play_whole_show(display, program, output)
        else:
            play_first_seconds(display, program, output, size, fullscreen)
    except Failure as failure:
        print("FAILED: %s" % failure)
        display.screenshot(os.path.join(output, "failed_%s.png" % case))
        if program:
            program.kill()
            if program.stderr:
                print("program stderr:\n" + program.stderr)
        sys.exit(1)
    finally:
        if program:
            program.kill()
        display.close()
    print("passed")


if __name__ == "__main__":
    main()
