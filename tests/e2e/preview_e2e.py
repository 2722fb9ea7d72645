#!/usr/bin/env python3
"""End-to-end test of halvorine-preview on a private Xvfb display.

Usage: preview_e2e.py PREVIEW SOURCE_DIR BUILD_DIR OUTPUT_FOLDER
Copies the sources' show/ and shaders and the build's Data/ into scratch folders, starts the
preview paused at a bar on that copy (--sources), then edits a track file, breaks it, and breaks
and mends a shader, checking the picture and the messages after each step. Prints the time from
saving the track file to the changed frame.
"""
import os
import shutil
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from halvorine_e2e import Display, Failure, check  # noqa: E402

WINDOW_TITLE = "Halvorine preview"
SIZE = (320, 180)


def make_scratch(source_dir, build_dir, folder):
    shutil.rmtree(folder, ignore_errors=True)
    sources = os.path.join(folder, "sources")
    run = os.path.join(folder, "run")
    shutil.copytree(os.path.join(source_dir, "show"), os.path.join(sources, "show"))
    os.makedirs(os.path.join(sources, "Data"))
    os.makedirs(os.path.join(run, "Data"))
    for name in os.listdir(os.path.join(source_dir, "Data")):
        if name.endswith((".vert", ".frag")):
            shutil.copy(os.path.join(source_dir, "Data", name), os.path.join(sources, "Data", name))
    # The preview writes tracks and shaders into its run directory: copies, so the build's own
    # Data/ is never touched; the images and the music are only read.
    for name in os.listdir(os.path.join(build_dir, "Data")):
        path = os.path.join(build_dir, "Data", name)
        target = os.path.join(run, "Data", name)
        if name.endswith((".track", ".vert", ".frag")):
            shutil.copy(path, target)
        else:
            os.symlink(path, target)
    return sources, run


class Preview:
    def __init__(self, display, program, run, arguments):
        self.process = subprocess.Popen([program] + arguments, env=display.environment, cwd=run,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        self.lines = []
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for line in self.process.stderr:
            self.lines.append(line.rstrip("\n"))

    def poll(self):
        return self.process.poll()

    @property
    def returncode(self):
        return self.process.returncode

    def wait_for_message(self, text, timeout=10.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if any(text in line for line in self.lines):
                return
            check(self.poll() is None, "the preview ended (code %s); stderr: %s" % (self.returncode, self.lines))
            time.sleep(0.05)
        raise Failure("no message containing %r within %.0f s; stderr: %s" % (text, timeout, self.lines))

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def grab(display, window, rows=None):
    """The window's pixels, raw RGB; with rows (first, end) only those rows of the window."""
    result = subprocess.run(["import", "-window", str(window), "-depth", "8", "rgb:-"], env=display.environment,
                            capture_output=True, timeout=10)
    check(result.returncode == 0, "could not capture the window: %s" % result.stderr)
    if rows is None:
        return result.stdout
    stride = len(result.stdout) // display.geometry(window)[3]
    return result.stdout[rows[0] * stride:rows[1] * stride]


def difference(a, b):
    check(len(a) == len(b), "captures of different sizes")
    return sum(abs(x - y) for x, y in zip(a, b)) / max(len(a), 1)


def wait_for_picture(display, window, differs_from, timeout=10.0, rows=None):
    """Captures until the picture differs from differs_from; returns it and when it was seen."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        picture = grab(display, window, rows)
        if difference(picture, differs_from) > 1.0:
            return picture, time.monotonic()
        time.sleep(0.02)
    raise Failure("the picture did not change within %.0f s" % timeout)


def shown_picture(display, window):
    """The show's first frame settled, not the black window of the loading Demo."""
    wait_for_picture(display, window, bytes(len(grab(display, window))), timeout=60.0)
    return steady_picture(display, window)


def steady_picture(display, window, rows=None):
    """A picture that three captures in a row agree on, so a slow frame is not taken for a still one."""
    previous = grab(display, window, rows)
    agreed = 0
    for _ in range(30):
        time.sleep(0.3)
        picture = grab(display, window, rows)
        agreed = agreed + 1 if difference(picture, previous) < 0.01 else 0
        if agreed == 2:
            return picture
        previous = picture
    raise Failure("the paused picture does not settle")


def replace_in_file(path, old, new):
    with open(path) as file:
        text = file.read()
    check(old in text, "%r not found in %s" % (old, path))
    with open(path, "w") as file:
        file.write(text.replace(old, new, 1))


def save_png(display, window, path):
    subprocess.run(["import", "-window", str(window), path], env=display.environment, timeout=10)


def run_case(display, program, source_dir, build_dir, output):
    sources, run = make_scratch(source_dir, build_dir, os.path.join(output, "preview_scratch"))
    size = "%dx%d" % SIZE
    preview = Preview(display, program, run, ["--size", size, "--bar", "2", "--paused", "--no-overlay", "--sources", sources])
    try:
        window = display.wait_for_window(preview, timeout=60.0, name=WINDOW_TITLE)
        before = shown_picture(display, window)
        save_png(display, window, os.path.join(output, "preview_before.png"))

        # A track edit: the sharp picture's weight in the final composite, held from the start.
        tracks = os.path.join(sources, "show", "main.tracks")
        replace_in_file(tracks, "track Bloom Dry\n    0:0      1        step", "track Bloom Dry\n    0:0      0.4      step")
        saved = time.monotonic()
        edited, seen = wait_for_picture(display, window, before)
        print("track file saved to changed frame: %.0f ms" % ((seen - saved) * 1000.0))
        preview.wait_for_message("tracks reloaded")
        edited = steady_picture(display, window)
        save_png(display, window, os.path.join(output, "preview_track_edited.png"))

        # A typo keeps the last good tracks and names the file and line.
        replace_in_file(tracks, "0:0      0.4      step", "0:0      0.4      stpe")
        preview.wait_for_message("main.tracks:")
        check(difference(steady_picture(display, window), edited) < 0.01, "a broken track file changed the picture")

        # A shader that does not compile keeps the previous programs and names the file.
        mix = os.path.join(sources, "Data", "Mix.frag")
        replace_in_file(mix, "colour = vec4(result, 1.0);", "colour = vec4(result, 1.0) +;")
        preview.wait_for_message("Data/Mix.frag")
        check(difference(steady_picture(display, window), edited) < 0.01, "a broken shader changed the picture")
        # Mended with a visible change: the new program draws.
        replace_in_file(mix, "colour = vec4(result, 1.0) +;", "colour = vec4(1.0 - result, 1.0);")
        wait_for_picture(display, window, edited)
        save_png(display, window, os.path.join(output, "preview_shader_mended.png"))

        check(preview.poll() is None, "the preview ended after the bad edits")
        display.press(window, "Tab")
        time.sleep(1.0)
        save_png(display, window, os.path.join(output, "preview_overlay.png"))
        display.press_until(window, "Escape", lambda: preview.poll() is not None)
        check(preview.process.wait(10) == 0, "exit code %s after Escape" % preview.returncode)
    except Failure:
        print("preview stderr:\n" + "\n".join(preview.lines))
        raise
    finally:
        preview.kill()


def main(case=None, name="preview"):
    """Runs case (this file's own by default) with PREVIEW SOURCE_DIR BUILD_DIR OUTPUT_FOLDER from
    the command line; a failure leaves failed_NAME.png."""
    if len(sys.argv) != 5:
        sys.exit("usage: %s PREVIEW SOURCE_DIR BUILD_DIR OUTPUT_FOLDER" % sys.argv[0])
    program, source_dir, build_dir, output = (os.path.abspath(argument) for argument in sys.argv[1:])
    os.makedirs(output, exist_ok=True)
    display = Display(640, 480)
    try:
        (case or run_case)(display, program, source_dir, build_dir, output)
    except Failure as failure:
        print("FAILED: %s" % failure)
        display.screenshot(os.path.join(output, "failed_%s.png" % name))
        sys.exit(1)
    finally:
        display.close()
    print("passed")


if __name__ == "__main__":
    main()
