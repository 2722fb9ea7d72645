#!/usr/bin/env python3
"""End-to-end tests of the real halvorine program on a private Xvfb display.

Usage: halvorine_e2e.py CASE PROGRAM OUTPUT_FOLDER
Runs PROGRAM from the current directory (the run directory with Data/), drives its setup dialog
and window with xdotool and checks exit codes, windows and messages. Every wait has a timeout.
"""
import ctypes
import os
import re
import subprocess
import sys
import time

WINDOW_TITLE = "Corvale - Halvorine"
# Dialog units scale to two pixels; positions of the dialog's controls in its window.
DIALOG_SIZE = (294, 254)
OK_BUTTON = ((22 + 25) * 2, (105 + 7) * 2)
CANCEL_BUTTON = ((74 + 25) * 2, (105 + 7) * 2)
FULLSCREEN_BOX = ((27 + 4) * 2, (74 + 4) * 2)
RESOLUTION_LIST = ((22 + 51) * 2, (53 + 6) * 2)
# The third row of the open list, 1024x768.
THIRD_RESOLUTION = (80, 176)


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def load_xlib():
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return x11


X11 = load_xlib()


class Display:
    """A private Xvfb server; -displayfd picks a free display number, so tests may run in parallel."""

    def __init__(self, width, height):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (width, height), "-nolisten", "tcp",
             "-noreset"],  # the probe below is its first client; its leaving must not reset the server
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        check(number, "Xvfb did not start")
        self.name = ":" + number
        self.environment = dict(os.environ, DISPLAY=self.name)
        self.environment.pop("SDL_VIDEODRIVER", None)
        self.environment["SDL_AUDIODRIVER"] = "dummy"
        try:
            self.wait_until_accepting()
        except Failure:
            self.close()
            raise

    def wait_until_accepting(self, timeout=10.0):
        """The program is started only once a client can connect, so a server slow to take its
        first client is told apart from a program that cannot open the display."""
        deadline = time.monotonic() + timeout
        while True:
            connection = X11.XOpenDisplay(self.name.encode())
            if connection:
                X11.XCloseDisplay(connection)
                return
            check(time.monotonic() < deadline, "Xvfb %s took no client within %.0f s" % (self.name, timeout))
            time.sleep(0.1)

    def close(self):
        self.server.terminate()
        self.server.wait(10)

    def run(self, *arguments):
        try:
            result = subprocess.run(arguments, env=self.environment, capture_output=True, text=True, timeout=10)
        except subprocess.TimeoutExpired:
            raise Failure("%s did not finish within 10 s" % " ".join(arguments))
        return result.stdout

    def xdotool(self, *arguments):
        return self.run("xdotool", *arguments)

    def find_windows(self, **query):
        """Visible windows of a process (pid=) or with an exact title (name=)."""
        if "pid" in query:
            return [int(line) for line in self.xdotool("search", "--all", "--onlyvisible", "--pid", str(query["pid"])).split()]
        # xwininfo, not xdotool: the message box's UTF-8 title is invisible to xdotool's name search.
        tree = self.run("xwininfo", "-root", "-tree")
        windows = [int(match.group(1), 16) for match in re.finditer(r'^\s*(0x[0-9a-f]+) "(.*)":', tree, re.M)
                   if match.group(2) == query["name"]]
        return [window for window in windows if "IsViewable" in self.run("xwininfo", "-id", str(window))]

    def wait_for_window(self, program, timeout=30.0, **query):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            check(program.poll() is None, "the program ended (code %s) while a window %s was awaited" % (program.returncode, query))
            windows = self.find_windows(**query)
            if windows:
                return windows[0]
            time.sleep(0.1)
        raise Failure("no window %s appeared within %.0f s" % (query, timeout))

    def geometry(self, window):
        text = self.xdotool("getwindowgeometry", str(window))
        position = re.search(r"Position: (-?\d+),(-?\d+)", text)
        size = re.search(r"Geometry: (\d+)x(\d+)", text)
        check(position and size, "no geometry for window %d: %s" % (window, text))
        return int(position.group(1)), int(position.group(2)), int(size.group(1)), int(size.group(2))

    def click(self, window, x, y):
        # Pointer moves and the button's press and release are separate events with pauses
        # between them, so even a slowly drawn dialog sees the hover, the press and the release.
        self.xdotool("mousemove", "--window", str(window), str(x), str(y))
        time.sleep(0.3)
        self.xdotool("mousedown", "1")
        time.sleep(0.15)
        self.xdotool("mouseup", "1")
        time.sleep(0.3)

    def press(self, window, key):
        self.xdotool("windowfocus", "--sync", str(window))
        self.xdotool("key", key)

    def type_keys(self, window, *keys):
        """Keys one after another, each given time to be drawn, as a person types them."""
        self.xdotool("windowfocus", "--sync", str(window))
        time.sleep(1.0)  # past the race between mapping and taking focus
        for key in keys:
            self.xdotool("key", key)
            time.sleep(0.3)

    def press_until(self, window, key, happened, timeout=20.0):
        """Presses key until happened() is true. Without a window manager a key typed right after a
        window is mapped can race with the client taking focus and be lost, so a press that shows
        no effect within a second is repeated."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            self.press(window, key)
            retry = time.monotonic() + 2.0
            while time.monotonic() < retry:
                if happened():
                    return
                time.sleep(0.05)
        raise Failure("pressing %s had no effect within %.0f s" % (key, timeout))

    def screenshot(self, path):
        self.run("import", "-window", "root", path)

    def request_close(self, window):
        """What a window manager sends for the close box: WM_PROTOCOLS / WM_DELETE_WINDOW."""
        class ClientMessage(ctypes.Structure):
            _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                        ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                        ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]

        display = X11.XOpenDisplay(self.name.encode())
        check(display, "cannot open display " + self.name)
        event = ClientMessage()
        event.type = 33  # ClientMessage
        event.window = window
        event.message_type = X11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.format = 32
        event.data[0] = X11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.data[1] = 0  # CurrentTime
        X11.XSendEvent(display, window, 0, 0, ctypes.byref(event))
        X11.XFlush(display)
        X11.XCloseDisplay(display)


class Program:
    def __init__(self, display, path, folder=None, launcher=()):
        """launcher: what runs the program, if not the system itself (["wine"])."""
        self.display = display
        self.process = subprocess.Popen([*launcher, path], env=display.environment, cwd=folder, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, text=True)
        self.stderr = ""

    def poll(self):
        return self.process.poll()

    @property
    def returncode(self):
        return self.process.returncode

    @property
    def pid(self):
        return self.process.pid

    def finish(self, timeout=30.0):
        try:
            _, self.stderr = self.process.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.communicate()
            raise Failure("the program did not end within %.0f s" % timeout)
        return self.process.returncode

    def kill(self):
        """Ends the program if it still runs and collects what it wrote to stderr."""
        if self.process.returncode is None:
            self.process.kill()
            _, self.stderr = self.process.communicate()


def wait_for_dialog(display, program):
    dialog = display.wait_for_window(program, pid=program.pid)
    x, y, width, height = display.geometry(dialog)
    check((width, height) == DIALOG_SIZE, "the dialog is %dx%d, expected %dx%d" % ((width, height) + DIALOG_SIZE))
    time.sleep(0.3)  # its first frames
    return dialog


def expect_no_show_window(display, program):
    """Waits for the program to end, watching that the show's window never appears."""
    deadline = time.monotonic() + 20.0
    while program.poll() is None and time.monotonic() < deadline:
        check(not display.find_windows(name=WINDOW_TITLE), "the show's window opened after Cancel")
        time.sleep(0.05)
    code = program.finish()
    check(code == 0, "exit code %d after Cancel, expected 0; stderr: %s" % (code, program.stderr))


def open_show(display, program):
    dialog = wait_for_dialog(display, program)
    display.press_until(dialog, "Return", lambda: program.poll() is not None or display.find_windows(name=WINDOW_TITLE))
    window = display.wait_for_window(program, name=WINDOW_TITLE)
    time.sleep(1.0)  # let the main loop run some frames
    if program.poll() is not None:
        code = program.finish()
        raise Failure("the program ended by itself (code %d): %s" % (code, program.stderr))
    return window


def case_dialog_escape(display, program, output):
    dialog = wait_for_dialog(display, program)
    display.xdotool("mousemove", "--window", str(dialog), "8", "240")  # on the background: no hover highlight
    time.sleep(0.3)
    display.screenshot(os.path.join(output, "dialog.png"))
    display.press_until(dialog, "Escape", lambda: program.poll() is not None or display.find_windows(name=WINDOW_TITLE))
    expect_no_show_window(display, program)


def case_dialog_cancel_button(display, program, output):
    dialog = wait_for_dialog(display, program)
    display.click(dialog, *CANCEL_BUTTON)
    expect_no_show_window(display, program)


def case_accept_then_escape(display, program, output):
    window = open_show(display, program)
    _, _, width, height = display.geometry(window)
    check((width, height) == (1280, 720), "the window's client area is %dx%d, expected 1280x720" % (width, height))
    display.screenshot(os.path.join(output, "show.png"))
    display.press_until(window, "Escape", lambda: program.poll() is not None)
    code = program.finish()
    check(code == 0, "exit code %d after Escape, expected 0; stderr: %s" % (code, program.stderr))


def case_choose_1024x768(display, program, output):
    dialog = wait_for_dialog(display, program)
    display.click(dialog, *RESOLUTION_LIST)
    display.screenshot(os.path.join(output, "dialog_list_open.png"))
    display.click(dialog, *THIRD_RESOLUTION)
    display.press_until(dialog, "Return", lambda: program.poll() is not None or display.find_windows(name=WINDOW_TITLE))
    window = display.wait_for_window(program, name=WINDOW_TITLE)
    _, _, width, height = display.geometry(window)
    check((width, height) == (1024, 768), "the window's client area is %dx%d, expected 1024x768" % (width, height))
    display.press_until(window, "Escape", lambda: program.poll() is not None)
    code = program.finish()
    check(code == 0, "exit code %d after Escape, expected 0; stderr: %s" % (code, program.stderr))


def case_ok_button_then_close_box(display, program, output):
    dialog = wait_for_dialog(display, program)
    display.click(dialog, *OK_BUTTON)
    window = display.wait_for_window(program, name=WINDOW_TITLE)
    time.sleep(0.5)
    display.request_close(window)
    code = program.finish()
    check(code == 0, "exit code %d after the close box, expected 0; stderr: %s" % (code, program.stderr))


def case_fullscreen_at_screen_size(display, program, output):
    dialog = wait_for_dialog(display, program)
    display.click(dialog, *FULLSCREEN_BOX)
    display.press_until(dialog, "Return", lambda: program.poll() is not None or display.find_windows(name=WINDOW_TITLE))
    window = display.wait_for_window(program, name=WINDOW_TITLE)
    time.sleep(0.5)
    x, y, width, height = display.geometry(window)
    check((x, y, width, height) == (0, 0, 1280, 720), "full-screen window at %d,%d size %dx%d" % (x, y, width, height))
    display.press_until(window, "Escape", lambda: program.poll() is not None)
    code = program.finish()
    check(code == 0, "exit code %d after Escape, expected 0; stderr: %s" % (code, program.stderr))


def case_fatal_error_at_start(display, program, output):
    """A 1280x720 full-screen mode on a 1024x768 screen is refused: a real start-up failure."""
    dialog = wait_for_dialog(display, program)
    display.click(dialog, *FULLSCREEN_BOX)
    display.press_until(dialog, "Return", lambda: program.poll() is not None or display.find_windows(name="Fatal Error"))
    box = display.wait_for_window(program, name="Fatal Error")
    time.sleep(0.3)
    display.screenshot(os.path.join(output, "fatal_error.png"))
    check(not display.find_windows(name=WINDOW_TITLE), "the show's window is still open under the error box")
    display.press_until(box, "Return", lambda: program.poll() is not None)
    code = program.finish()
    check(code == 1, "exit code %d after a fatal error, expected 1" % code)
    check("Could not create fullscreen window" in program.stderr, "stderr lacks the message: %r" % program.stderr)


def accept_into_fatal_error(display, program, message):
    """OK in the dialog, then one "Fatal Error" box and no show; its message (a pattern) on stderr."""
    dialog = wait_for_dialog(display, program)
    display.press_until(dialog, "Return", lambda: program.poll() is not None or display.find_windows(name="Fatal Error"))
    box = display.wait_for_window(program, name="Fatal Error")
    check(not display.find_windows(name=WINDOW_TITLE), "the show's window is still open under the error box")
    display.press_until(box, "Return", lambda: program.poll() is not None)
    code = program.finish()
    check(code == 1, "exit code %d after a fatal error, expected 1" % code)
    check(re.search(r"^Fatal Error: " + message + "$", program.stderr, re.M),
          "stderr lacks the message %r: %r" % (message, program.stderr))


def case_missing_data_folder(display, program, output):
    """Run from a folder without Data/: the first file the show loads stops it, named in the error."""
    accept_into_fatal_error(display, program, r'.*"Data/[^"]+"')


def case_driver_older_than_3_0(display, program, output):
    """A driver that offers OpenGL 2.1 only: the box says 3.0 is needed, with the version and renderer it has."""
    accept_into_fatal_error(display, program, r"This show needs OpenGL 3\.0; the driver offers OpenGL 2\.1 .+ on .+")


def case_no_display(display, program, output):
    """No display to open: one message naming it and exit code 1, not a dialog waiting unseen."""
    code = program.finish(timeout=20.0)
    check(code == 1, "exit code %d without a display, expected 1; stderr: %s" % (code, program.stderr))
    check("Could not show the setup dialog" in program.stderr, "stderr lacks the message: %r" % program.stderr)


def case_keyboard_1024x768_full_screen(display, program, output):
    """Keys alone: Down twice (the list stops at its last row), Up, Down: 1024x768; Tab to
    "Longboard", Space checks it; Tab to "Organic Mocha", Space presses it."""
    dialog = wait_for_dialog(display, program)
    display.type_keys(dialog, "Down", "Down", "Up", "Down", "Tab", "space")
    display.screenshot(os.path.join(output, "dialog_keyboard.png"))
    display.type_keys(dialog, "Tab", "space")
    window = display.wait_for_window(program, name=WINDOW_TITLE)
    time.sleep(0.5)
    x, y, width, height = display.geometry(window)
    check((x, y, width, height) == (0, 0, 1024, 768), "full-screen window at %d,%d size %dx%d" % (x, y, width, height))
    display.press_until(window, "Escape", lambda: program.poll() is not None)
    code = program.finish()
    check(code == 0, "exit code %d after Escape, expected 0; stderr: %s" % (code, program.stderr))


def case_keyboard_list_and_cancel(display, program, output):
    """Space opens the list, Down picks in it, Enter closes only the list; Shift+Tab from the
    list reaches "Monsanto", and Space presses it: nothing opens."""
    dialog = wait_for_dialog(display, program)
    display.type_keys(dialog, "space", "Down")
    display.screenshot(os.path.join(output, "dialog_keyboard_list.png"))
    display.type_keys(dialog, "Return")
    check(program.poll() is None, "Enter on the open list ended the dialog")
    display.type_keys(dialog, "shift+Tab", "space")
    expect_no_show_window(display, program)


def case_escape_held_while_loading(display, program, output):
    """Escape goes down as the dialog closes and stays down: the show ends before its first frame."""
    dialog = wait_for_dialog(display, program)
    display.press_until(dialog, "Return", lambda: program.poll() is not None or not display.find_windows(pid=program.pid)
                        or display.find_windows(name=WINDOW_TITLE))
    display.xdotool("keydown", "Escape")
    try:
        window = display.wait_for_window(program, name=WINDOW_TITLE)
        display.xdotool("windowfocus", str(window))
        code = program.finish(timeout=60.0)
    finally:
        display.xdotool("keyup", "Escape")
    check(code == 0, "exit code %d with Escape held, expected 0; stderr: %s" % (code, program.stderr))


CASES = {
    "dialog_escape": (case_dialog_escape, (1280, 720)),
    "dialog_cancel_button": (case_dialog_cancel_button, (1280, 720)),
    "accept_then_escape": (case_accept_then_escape, (1280, 720)),
    "choose_1024x768": (case_choose_1024x768, (1280, 800)),
    "ok_button_then_close_box": (case_ok_button_then_close_box, (1280, 720)),
    "fullscreen_at_screen_size": (case_fullscreen_at_screen_size, (1280, 720)),
    "fatal_error_at_start": (case_fatal_error_at_start, (1024, 768)),
    "missing_data_folder": (case_missing_data_folder, (1280, 720)),
    "driver_older_than_3_0": (case_driver_older_than_3_0, (1280, 720)),
    "no_display": (case_no_display, (1280, 720)),
    "keyboard_1024x768_full_screen": (case_keyboard_1024x768_full_screen, (1024, 768)),
    "keyboard_list_and_cancel": (case_keyboard_list_and_cancel, (1280, 720)),
    "escape_held_while_loading": (case_escape_held_while_loading, (1280, 720)),
}


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in CASES:
        sys.exit("usage: %s {%s} PROGRAM OUTPUT_FOLDER" % (sys.argv[0], ",".join(CASES)))
    case, screen = CASES[sys.argv[1]]
    program_path, output = os.path.abspath(sys.argv[2]), sys.argv[3]
    os.makedirs(output, exist_ok=True)
    failure_picture = os.path.join(output, "failed_%s.png" % sys.argv[1])
    if os.path.exists(failure_picture):
        os.remove(failure_picture)
    try:
        display = Display(*screen)
    except Failure as failure:
        sys.exit("FAILED: %s" % failure)
    program = None
    try:
        folder = None
        if case is case_missing_data_folder:
            folder = os.path.join(output, "empty_run_folder")
            os.makedirs(folder, exist_ok=True)
        if case is case_driver_older_than_3_0:
            display.environment["MESA_GL_VERSION_OVERRIDE"] = "2.1"
        if case is case_no_display:
            display.environment["DISPLAY"] = display.name + ".9"  # a screen this server lacks
        program = Program(display, program_path, folder)
        case(display, program, output)
    except Failure as failure:
        print("FAILED: %s" % failure)
        display.screenshot(failure_picture)
        print("windows:\n" + display.run("xwininfo", "-root", "-tree"))
        if program:
            program.kill()
        if program and program.stderr:
            print("program stderr:\n" + program.stderr)
        sys.exit(1)
    finally:
        if program:
            program.kill()
        display.close()
    print("passed")


if __name__ == "__main__":
    main()
