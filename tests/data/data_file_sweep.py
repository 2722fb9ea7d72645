#!/usr/bin/env python3
"""Every data file the show reads, in turn missing, empty, cut in half and replaced by garbage.

Usage: data_file_sweep.py RENDER_TOOL TRACK_TOOL DATA_FOLDER OUTPUT_FOLDER [--sanitized]
The files swept are those an intact render of the whole show opens (seen with strace), so a file that only a scene
still to come will read is not expected to matter yet. Shaders and images stop the show: the render tool (the real Demo, at a tiny size) exits with 1
and its message names the file. Track files are tolerated: the show still renders (the track
reads as 0), and the track tool names the file. The music is not read by the render tool; the
unit and end-to-end tests cover its fallbacks.

--sanitized, for tools built with the sanitizers, sweeps only what they can catch: every image and
track in each damaged form (their decoders see the bytes), and every shader once, as garbage (all
shaders pass through one reader, tested on its own; one damaged shader is enough to unwind what
its scene had built). A missing file hands no reader a byte.
"""
import concurrent.futures
import os
import queue
import random
import re
import shutil
import subprocess
import sys

SHADER_KINDS = (".vert", ".frag")
FATAL_KINDS = SHADER_KINDS + (".png", ".jpg")
VARIANTS = ("missing", "empty", "truncated", "garbage")


def variants_of(name, sanitized):
    """The forms a file is swept in (see --sanitized above)."""
    if not sanitized:
        return VARIANTS
    return ("garbage",) if name.endswith(SHADER_KINDS) else VARIANTS[1:]


def damaged(original, variant, name):
    if variant == "empty":
        return b""
    if variant == "truncated":
        return original[:len(original) // 2]
    generator = random.Random(name)  # the same garbage on every run
    return bytes(generator.getrandbits(8) for _ in range(max(len(original), 64)))


class RunFolder:
    """A run folder whose Data/ links to the build's files, one of which can be replaced."""

    def __init__(self, data, folder):
        self.data = data
        self.folder = folder
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(os.path.join(folder, "Data"))
        self.names = sorted(os.listdir(data))
        for name in self.names:
            self.restore(name)

    def path(self, name):
        return os.path.join(self.folder, "Data", name)

    def restore(self, name):
        if os.path.lexists(self.path(name)):
            os.remove(self.path(name))
        os.symlink(os.path.join(self.data, name), self.path(name))

    def damage(self, name, variant):
        with open(os.path.join(self.data, name), "rb") as source:
            original = source.read()
        os.remove(self.path(name))
        if variant != "missing":
            with open(self.path(name), "wb") as target:
                target.write(damaged(original, variant, name))


def run(arguments, folder):
    environment = dict(os.environ, SDL_VIDEODRIVER="offscreen")
    try:
        result = subprocess.run(arguments, cwd=folder, env=environment, capture_output=True, text=True,
                                errors="replace", timeout=60)
    except subprocess.TimeoutExpired:
        return None, "did not finish within 60 s"
    return result.returncode, result.stderr


def files_read(render, folder):
    """The Data/ files one intact render opens."""
    log = os.path.join(folder, "strace.log")
    code, stderr = run(["strace", "-f", "-e", "trace=openat", "-o", log] + render, folder)
    if code != 0:
        sys.exit("the intact data does not render under strace (code %s): %s" % (code, stderr))
    with open(log) as trace:
        return set(re.findall(r'openat\(AT_FDCWD, "Data/([^"/]+)"', trace.read()))


def check_file(folder, tools, name, variant):
    """One shader or image damaged: the show stops with 1 and a message naming it."""
    folder.damage(name, variant)
    code, stderr = run(one_frame(tools[0], folder), folder.folder)
    folder.restore(name)
    if code != 1 or '"Data/%s"' % name not in stderr:
        return ["%s %s: exit code %s, expected 1 and a message naming it: %s"
                % (name, variant, code, stderr.strip()[-400:])]
    return []


def check_tracks(folder, tools, tracks, variant):
    """Every track damaged at once: the show still renders, each reading as 0; the track tool names each."""
    failures = []
    for name in tracks:
        folder.damage(name, variant)
    code, stderr = run(one_frame(tools[0], folder), folder.folder)
    if code != 0:
        failures.append("every track %s: exit code %s, expected 0: %s" % (variant, code, stderr.strip()[-400:]))
    for name in tracks:
        code, stderr = run([tools[1], "dump", "Data/" + name], folder.folder)
        if code == 0 or '"Data/%s"' % name not in stderr:
            failures.append("%s %s: the track tool does not name it (exit code %s): %s"
                            % (name, variant, code, stderr.strip()))
        folder.restore(name)
    return failures


def one_frame(render_tool, folder):
    # With every track at 0 one frame is enough (the scene drawn then is slow in software).
    return [render_tool, "--size", "32x18", "--frame", "1.0", "--out", os.path.join(folder.folder, "frame.png")]


def main():
    if len(sys.argv) not in (5, 6) or sys.argv[5:] not in ([], ["--sanitized"]):
        sys.exit(__doc__)
    sanitized = len(sys.argv) == 6
    tools = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])  # the render tool, the track tool
    data, output = os.path.abspath(sys.argv[3]), os.path.abspath(sys.argv[4])
    # Most of a run is one thread (start-up, shader compiles, image decoding): one run folder per
    # core keeps both cores busy.
    workers = max(2, len(os.sched_getaffinity(0)))
    run_folders = [RunFolder(data, os.path.join(output, "data_file_sweep", str(index))) for index in range(workers)]
    first = run_folders[0]
    folders = queue.Queue()
    for folder in run_folders:
        folders.put(folder)
    # One frame a second of the whole show, so every scene asks for its tracks.
    read = files_read([tools[0], "--size", "32x18", "--fps", "1", "--bench"], first.folder)
    fatal = [name for name in first.names if name.endswith(FATAL_KINDS) and name in read]
    tracks = [name for name in first.names if name.endswith(".track") and name in read]
    if not fatal or not tracks:
        sys.exit("the render read no shaders, images or tracks from " + data)

    variants = variants_of(".track", sanitized)
    jobs = [(check_file, name, variant) for variant in VARIANTS for name in fatal
            if variant in variants_of(name, sanitized)]
    jobs += [(check_tracks, tracks, variant) for variant in variants]

    def in_a_free_folder(job):
        check, subject, variant = job
        folder = folders.get()
        try:
            return check(folder, tools, subject, variant)
        finally:
            folders.put(folder)

    with concurrent.futures.ThreadPoolExecutor(workers) as pool:
        failures = [failure for found in pool.map(in_a_free_folder, jobs) for failure in found]

    print("%d shaders and images and %d tracks, %d runs, each of %s" % (len(fatal), len(tracks), len(jobs), ", ".join(variants)))
    unread = [name for name in first.names if name.endswith(FATAL_KINDS) and name not in read]
    if unread:
        print("not read by the show (yet): " + " ".join(unread))
    for failure in failures:
        print("FAILED: " + failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
