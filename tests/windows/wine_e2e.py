#!/usr/bin/env python3
"""The Windows release under Wine on a private Xvfb display, as a viewer unpacks and starts it.

Usage: wine_e2e.py CASE ZIP OUTPUT_FOLDER [LINUX_RENDER SSIM]
  prefix        makes the Wine prefix the other cases share, in OUTPUT_FOLDER (never the home folder)
  show          the zip unpacked into a folder whose name has a space, halvorine.exe started from
                another folder: the dialog, Enter, the show's window at the chosen size, Escape, exit 0
  damaged_data  a damaged image in Data/: a "Fatal Error" box naming it, exit 1 once dismissed
  frames        halvorine-render.exe at one moment of each scene against LINUX_RENDER's frames of
                the same size, by SSIM (the tool SSIM)
"""
import os
import shutil
import subprocess
import sys
import time
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import halvorine_e2e as e2e  # noqa: E402
from halvorine_e2e import Failure, check  # noqa: E402

# One moment of each scene (show/main.tracks, track Part): Ombrix, Sphurrs, Colon, Garbitch, Architecture.
SCENE_MOMENTS = ("4.2", "8.9", "16.4", "33.0", "52.0")
FRAME_SIZE = "320x180"
MINIMUM_SSIM = "0.98"
DAMAGED_FILE = "Data/corvale.png"


def wine_environment(environment, output):
    prefix = os.path.join(output, "wine-prefix")
    return dict(environment, WINEPREFIX=prefix, WINEDEBUG="-all", WINEARCH="win64",
                # No Mono or Gecko installer and no desktop menu entries: a test prefix needs none.
                WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")


def unpack(zip_path, output):
    """The zip unpacked into a folder whose name has a space; returns the release folder in it."""
    destination = os.path.join(output, "Program Files", "Halvorine demo")
    shutil.rmtree(destination, ignore_errors=True)
    with zipfile.ZipFile(zip_path) as archive:
        archive.extractall(destination)
        top = {name.split("/")[0] for name in archive.namelist()}
    check(len(top) == 1, "the zip holds %s, not one folder" % sorted(top))
    return os.path.join(destination, top.pop())


def case_prefix(display, zip_path, output, tools):
    shutil.rmtree(display.environment["WINEPREFIX"], ignore_errors=True)
    result = subprocess.run(["wineboot", "--init"], env=display.environment, capture_output=True, text=True,
                            timeout=300)
    subprocess.run(["wineserver", "--wait"], env=display.environment, timeout=120)
    check(result.returncode == 0, "wineboot failed: %s" % result.stderr)


def case_show(display, zip_path, output, tools):
    release = unpack(zip_path, output)
    elsewhere = os.path.join(output, "elsewhere")
    os.makedirs(elsewhere, exist_ok=True)
    program = e2e.Program(display, os.path.join(release, "halvorine.exe"), elsewhere, launcher=["wine"])
    try:
        # The same acceptance as the Linux program's: Enter, a 1280x720 show, Escape, exit code 0.
        e2e.case_accept_then_escape(display, program, output)
    finally:
        program.kill()


def case_damaged_data(display, zip_path, output, tools):
    release = unpack(zip_path, output)
    damaged = os.path.join(release, *DAMAGED_FILE.split("/"))
    with open(damaged, "r+b") as image:
        image.truncate(os.path.getsize(damaged) // 2)
    program = e2e.Program(display, os.path.join(release, "halvorine.exe"), output, launcher=["wine"])
    try:
        e2e.accept_into_fatal_error(display, program, r'.*"%s".*' % DAMAGED_FILE)
    finally:
        program.kill()


def render(command, environment, folder, moment, path):
    result = subprocess.run(command + ["--size", FRAME_SIZE, "--frame", moment, "--out", path], env=environment,
                            cwd=folder, capture_output=True, text=True, timeout=240)
    check(result.returncode == 0 and os.path.exists(path), "%s at %s s failed (%d): %s" % (
        os.path.basename(command[-1]), moment, result.returncode, result.stderr))


def case_frames(display, zip_path, output, tools):
    linux_render, ssim = tools
    release = unpack(zip_path, output)
    frames = os.path.join(output, "frames")
    os.makedirs(frames, exist_ok=True)
    linux_environment = dict(os.environ, SDL_VIDEODRIVER="offscreen")
    failures = []
    for moment in SCENE_MOMENTS:
        windows_frame = os.path.join(frames, "windows_%s.png" % moment)
        linux_frame = os.path.join(frames, "linux_%s.png" % moment)
        render(["wine", os.path.join(release, "halvorine-render.exe")], display.environment, frames, moment,
               windows_frame)
        render([linux_render], linux_environment, frames, moment, linux_frame)
        result = subprocess.run([ssim, windows_frame, linux_frame, MINIMUM_SSIM], capture_output=True, text=True)
        print("%s s: SSIM %s" % (moment, result.stdout.strip()))
        if result.returncode != 0:
            failures.append("%s s: SSIM %s %s" % (moment, result.stdout.strip(), result.stderr.strip()))
    check(not failures, "frames unlike the Linux build's (below %s): %s" % (MINIMUM_SSIM, "; ".join(failures)))


CASES = {
    "prefix": case_prefix,
    "show": case_show,
    "damaged_data": case_damaged_data,
    "frames": case_frames,
}


def main():
    if len(sys.argv) < 4 or sys.argv[1] not in CASES:
        sys.exit("usage: %s {%s} ZIP OUTPUT_FOLDER [LINUX_RENDER SSIM]" % (sys.argv[0], ",".join(CASES)))
    name, zip_path, output = sys.argv[1], os.path.abspath(sys.argv[2]), os.path.abspath(sys.argv[3])
    tools = [os.path.abspath(tool) for tool in sys.argv[4:]]
    case_output = os.path.join(output, name)
    os.makedirs(case_output, exist_ok=True)
    try:
        display = e2e.Display(1280, 720)
    except Failure as failure:
        sys.exit("FAILED: %s" % failure)
    display.environment = wine_environment(display.environment, output)
    started = time.monotonic()
    try:
        CASES[name](display, zip_path, case_output, tools)
    except Failure as failure:
        print("FAILED: %s" % failure)
        display.screenshot(os.path.join(case_output, "failed.png"))
        print("windows:\n" + display.run("xwininfo", "-root", "-tree"))
        sys.exit(1)
    finally:
        # The prefix's server outlives the programs; it must not outlive the test.
        subprocess.run(["wineserver", "--kill"], env=display.environment, timeout=60)
        display.close()
    print("passed in %.0f s" % (time.monotonic() - started))


if __name__ == "__main__":
    main()
