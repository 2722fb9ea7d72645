#!/usr/bin/env python3
"""The packages as a viewer gets them: build the .deb and the .tar.gz, install the .deb into a
scratch root (dpkg -x) and unpack the archive, then from an unrelated folder play each one's
launcher on a private Xvfb display (dialog, OK, the show, Escape: exit code 0) and render a frame
with each one's render tool.

Usage: package_e2e.py BUILD_DIR OUTPUT_FOLDER
"""
import glob
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from halvorine_e2e import Display, Failure, Program, check, open_show  # noqa: E402


def run(arguments, **options):
    result = subprocess.run(arguments, capture_output=True, text=True, timeout=600, **options)
    check(result.returncode == 0, "%s: exit %d\n%s%s" % (" ".join(arguments), result.returncode, result.stdout, result.stderr))


def install_packages(build, output):
    """Builds both packages and unpacks each into a folder of its own; returns (launcher, render tool) by package."""
    packages, root, unpacked = (os.path.join(output, name) for name in ("packages", "root", "archive"))
    for folder in (packages, root, unpacked):
        shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(unpacked)
    run(["cpack", "--config", os.path.join(build, "CPackConfig.cmake"), "-B", packages])
    (deb,), (archive,) = glob.glob(packages + "/halvorine_*.deb"), glob.glob(packages + "/halvorine-*.tar.gz")
    run(["dpkg", "-x", deb, root])
    run(["tar", "-xzf", archive, "-C", unpacked])
    (top,) = glob.glob(unpacked + "/halvorine-*")
    return {"deb": (root + "/usr/bin/halvorine", root + "/usr/bin/halvorine-render"),
            "archive": (top + "/run", top + "/bin/halvorine-render")}


def play(launcher, folder):
    display = Display(1280, 720)
    program = Program(display, launcher, folder)
    try:
        window = open_show(display, program)
        display.press_until(window, "Escape", lambda: program.poll() is not None)
        code = program.finish()
        check(code == 0, "%s: exit code %d after Escape, expected 0; stderr: %s" % (launcher, code, program.stderr))
    finally:
        program.kill()
        display.close()


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: %s BUILD_DIR OUTPUT_FOLDER" % sys.argv[0])
    build, output = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    elsewhere = os.path.join(output, "elsewhere")  # no Data/ here
    os.makedirs(elsewhere, exist_ok=True)
    try:
        for name, (launcher, render) in install_packages(build, output).items():
            play(launcher, elsewhere)
            frame = name + "-frame.png"
            run([render, "--size", "160x90", "--frame", "52", "--out", frame], cwd=elsewhere,
                env=dict(os.environ, SDL_VIDEODRIVER="offscreen"))
            check(os.path.getsize(os.path.join(elsewhere, frame)) > 0, "%s wrote no frame" % render)
    except (Failure, ValueError) as failure:  # ValueError: not exactly one package of a kind
        print("FAILED: %s" % failure)
        sys.exit(1)
    print("passed")


if __name__ == "__main__":
    main()
