"""Drives the real game on a private X server, as a player would.

Each test starts its own Xvfb, starts the game on it, finds windows with
xdotool, sends real pointer events through XTest and reads the screen back
with ImageMagick's import. Only the standard library is used (and libX11
through ctypes, for what no X tool sends); pixels come back as raw RGB bytes.

With TORMELL_E2E_WM=openbox in the environment the session runs openbox on
its server, as a player's desktop would: it frames, places and focuses the
windows, and closes them from its close box. Every window is found in root
coordinates, so the helpers work with a frame round it or without.

Geometry is derived from the window layout: controls sit at fixed twip
positions, 15 twips to a pixel, below the menu bar; the canvas has a
2-pixel border.
"""

import ctypes
import json
import math
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TWIPS_PER_PIXEL = 15.0
CANVAS_BORDER = 2                # pixels of sunken frame around the drawing area
CANVAS_SIDE = 400                # 6000 twips
MAIN_CLIENT_HEIGHT = 526         # 7890 twips: panel and status bar below the menu bar
STATUS_BAR_TOP = 7395 / TWIPS_PER_PIXEL
TITLE_BACKGROUND = (0xC0, 0xC0, 0xFF)

# Screen size of the private server: room for the main window and the dialog.
SCREEN = (1024, 768)

# Names the window manager a session runs; unset or empty for none.
WINDOW_MANAGER_VARIABLE = "TORMELL_E2E_WM"
# The window manager's settings: the tests know where its close box is.
OPENBOX_CONFIG = os.path.join(os.path.dirname(os.path.abspath(__file__)), "openbox-rc.xml")
# From the menu bar's left edge to the middle of its one item, 点数.
MENU_ITEM_X = 20
# Reads what a screen reader finds of the game.
ATSPI_TREE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_tree.py")
# Debian's python3-pyatspi is built for the system's interpreter.
SYSTEM_PYTHON = "/usr/bin/python3"

# START's display time as the tests type it. A screen grab and its scan take a
# few tenths of a second, more on a loaded machine, so the default 0.75 s can
# fall between two grabs; three seconds cannot.
DISPLAY_SECONDS = 3


def px(twips):
    return twips / TWIPS_PER_PIXEL


# ---- the figure's rest pose, in canvas twips ------------------------------
# Trunk anchors and segment lengths of the stick figure; joint i is the end of
# segment i. Recomputed here so a wrongly drawn figure cannot agree with itself.
NECK = (3000.0, 1800.0)
SHOULDERS = {2: (2500.0, 1800.0), 4: (3500.0, 1800.0)}
HIPS = {6: (2700.0, 3300.0), 8: (3300.0, 3300.0)}
LENGTHS = {1: 600, 2: 800, 3: 800, 4: 800, 5: 800, 6: 1000, 7: 1200, 8: 1000, 9: 1200}
LEFT = {2, 3, 6, 7}
REST_ANGLES = {1: 0, 2: 70, 3: 80, 4: 70, 5: 80, 6: 70, 7: 80, 8: 70, 9: 80}


def segment_start(joints, i):
    """Where segment i begins: a trunk anchor, or the joint above it."""
    if i == 1:
        return NECK
    if i in SHOULDERS:
        return SHOULDERS[i]
    if i in HIPS:
        return HIPS[i]
    return joints[i - 1]


def rest_joints():
    """Canvas twips of the nine joints in the rest pose."""
    joints = {}
    for i in range(1, 10):
        sx, sy = segment_start(joints, i)
        a = math.radians(REST_ANGLES[i])
        if i == 1:
            joints[i] = (sx, sy - LENGTHS[i])
        else:
            sign = -1 if i in LEFT else 1
            joints[i] = (sx + sign * LENGTHS[i] * math.cos(a), sy + LENGTHS[i] * math.sin(a))
    return joints


def canvas_px(point_twips):
    """Canvas twips to pixels inside the canvas widget, border included."""
    return (CANVAS_BORDER + px(point_twips[0]), CANVAS_BORDER + px(point_twips[1]))


# ---- screen images ---------------------------------------------------------

class Image:
    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def pixel(self, x, y):
        o = 3 * (int(y) * self.width + int(x))
        return tuple(self.data[o:o + 3])

    def count(self, rect, predicate):
        x0, y0, w, h = (int(v) for v in rect)
        return sum(1 for y in range(y0, y0 + h) for x in range(x0, x0 + w) if predicate(self.pixel(x, y)))


def is_black(p):
    return max(p) < 80


def is_red(p):
    return p[0] > 200 and p[1] < 80 and p[2] < 80


# Offsets of a filled disc of radius 3: a 3-pixel line or a 1-pixel grid line
# never contains one, a joint disc (10 or 15 pixels across) always does.
_CORE = [(dx, dy) for dx in range(-3, 4) for dy in range(-3, 4) if dx * dx + dy * dy <= 9]


def find_discs(img, rect):
    """Centres (screen pixels) of the filled black discs inside rect."""
    x0, y0, w, h = (int(v) for v in rect)
    black = set()
    for y in range(y0, y0 + h):
        row = 3 * y * img.width
        for x in range(x0, x0 + w):
            o = row + 3 * x
            if max(img.data[o], img.data[o + 1], img.data[o + 2]) < 80:
                black.add((x, y))
    cores = {(x, y) for (x, y) in black
             if all((x + dx, y + dy) in black for dx, dy in _CORE)}
    centres = []
    while cores:
        stack = [cores.pop()]
        blob = []
        while stack:
            x, y = stack.pop()
            blob.append((x, y))
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    n = (x + dx, y + dy)
                    if n in cores:
                        cores.remove(n)
                        stack.append(n)
        centres.append((sum(p[0] for p in blob) / len(blob), sum(p[1] for p in blob) / len(blob)))
    return centres


def distance(a, b):
    return math.hypot(a[0] - b[0], a[1] - b[1])


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


# ---- the X session ------------------------------------------------------------

class Session:
    """A private X server with the game running on it."""

    def __init__(self, binary, shots_dir, window_manager=None, screen=SCREEN):
        self.binary = binary
        self.screen = screen
        self.shots_dir = shots_dir
        os.makedirs(shots_dir, exist_ok=True)
        self.tmp = tempfile.mkdtemp(prefix="tormell-e2e-")
        os.chmod(self.tmp, 0o700)
        self.xvfb = None
        self.game = None
        self.display = None
        try:
            self._start_x()
        except Failure:
            shutil.rmtree(self.tmp, ignore_errors=True)
            raise
        self.env = dict(os.environ)
        # The game keeps its score record and its settings in the session's
        # folder, never the user's.
        self.env.update(DISPLAY=self.display, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=self.tmp,
                        XDG_DATA_HOME=os.path.join(self.tmp, "data"),
                        XDG_CONFIG_HOME=os.path.join(self.tmp, "config"),
                        XDG_CACHE_HOME=os.path.join(self.tmp, "cache"))
        for name in ("WAYLAND_DISPLAY", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "XAUTHORITY"):
            self.env.pop(name, None)
        self.wm = None
        self.bus = None
        try:
            if window_manager:
                self._start_wm(window_manager)
        except Failure:
            self.close()
            raise

    def _start_wm(self, command):
        """openbox with the tests' own settings, on this session's server."""
        self.wm = subprocess.Popen([command, "--config-file", OPENBOX_CONFIG, "--sm-disable"], env=self.env,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.wait_for("the window manager",
                      lambda: b"window id" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK",
                                                       check_exit=False), 10)

    def accessible_tree(self, python):
        """The game as a screen reader finds it, read with the interpreter
        python (see pyatspi_python): its node, with a node for each window
        below it and their contents below those; None until it has registered."""
        result = subprocess.run([python, ATSPI_TREE, str(self.game.pid)], env=self.env, stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=30)
        if result.returncode != 0:
            raise Failure("reading the accessibility tree failed: " + result.stderr.decode(errors="replace"))
        return json.loads(result.stdout)

    def start_screen_reader_bus(self):
        """A private session bus on which the accessibility bus is switched on,
        as a screen reader switches it on; the game started next speaks there."""
        self.bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"], env=self.env,
                                    stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                    start_new_session=True)  # its services go with it at the end
        address = self.bus.stdout.readline().decode().strip()
        check(address, "the private session bus did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self.run("dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                 "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status", "string:ScreenReaderEnabled",
                 "variant:boolean:true")

    def _start_x(self):
        # A random display number, not the first free one: tests and other
        # programs starting servers side by side would race for the same one.
        # -noreset keeps the server up when a probing client disconnects.
        for _ in range(20):
            number = random.randrange(100, 1000)
            if os.path.exists("/tmp/.X%d-lock" % number) or os.path.exists("/tmp/.X11-unix/X%d" % number):
                continue
            self.display = ":%d" % number
            self.xvfb = subprocess.Popen(
                ["Xvfb", self.display, "-screen", "0", "%dx%dx24" % self.screen, "-nolisten", "tcp", "-noreset"],
                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if self._x_answers():
                return
            self._stop_x()
        raise Failure("could not start a private X server")

    def _x_answers(self):
        for _ in range(100):
            if self.xvfb.poll() is not None:
                return False
            if subprocess.run(["xdpyinfo", "-display", self.display], stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0:
                return True
            time.sleep(0.1)
        return False

    def _stop_x(self):
        if self.xvfb and self.xvfb.poll() is None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(5)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait()

    def start_game(self, extra_env=None):
        env = dict(self.env)
        env.update(extra_env or {})
        self.log_path = os.path.join(self.tmp, "game.log")
        self.log = open(self.log_path, "w")
        self.game = subprocess.Popen([self.binary], env=env, stdin=subprocess.DEVNULL,
                                     stdout=self.log, stderr=subprocess.STDOUT)
        self.started = time.monotonic()

    def game_output(self):
        self.log.flush()
        with open(self.log_path) as f:
            return f.read()

    def close(self):
        if self.game and self.game.poll() is None:
            self.game.kill()
            self.game.wait()
        if self.wm and self.wm.poll() is None:
            self.wm.terminate()
            self.wm.wait()
        if self.bus:
            # The bus and the accessibility services it started, all in its process group.
            try:
                os.killpg(self.bus.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            self.bus.wait()
            self.bus.stdout.close()
        self._stop_x()
        shutil.rmtree(self.tmp, ignore_errors=True)

    # -- X tools --

    def run(self, *args, check_exit=True):
        result = subprocess.run(list(args), env=self.env, stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=20)
        if check_exit and result.returncode != 0:
            raise Failure("%s failed: %s" % (" ".join(args), result.stderr.decode(errors="replace")))
        return result.stdout

    def windows(self, name):
        """Visible windows whose title matches the regular expression name."""
        out = self.run("xdotool", "search", "--onlyvisible", "--name", name, check_exit=False)
        found = []
        for wid in out.split():
            # xwininfo reports the client area's place on the screen, with or
            # without a window manager's frame around it.
            info = self.run("xwininfo", "-id", wid.decode(), check_exit=False).decode()
            geo = {}
            for line in info.splitlines():
                key, _, value = line.strip().partition(":")
                geo[key] = value.strip()
            try:
                found.append(Window(int(wid), int(geo["Absolute upper-left X"]), int(geo["Absolute upper-left Y"]),
                                    int(geo["Width"]), int(geo["Height"])))
            except (KeyError, ValueError):
                pass  # the window went away between search and query
        return found

    def wait_for(self, what, probe, timeout):
        """Polls probe until it returns something true; fails with what after timeout."""
        deadline = time.monotonic() + timeout
        while True:
            value = probe()
            if value:
                return value
            if self.game and self.game.poll() is not None:
                raise Failure("the game exited (%s) while waiting for %s\n%s"
                              % (self.game.returncode, what, self.game_output()))
            if time.monotonic() > deadline:
                raise Failure("timed out waiting for " + what)
            time.sleep(0.05)

    def grab(self):
        data = self.run("import", "-window", "root", "-depth", "8", "rgb:-")
        width, height = self.screen
        check(len(data) == 3 * width * height, "screen grab has an unexpected size")
        return Image(width, height, data)

    def save(self, img, name, rect):
        """Writes the part rect of a grabbed screen as shots_dir/name."""
        x, y, w, h = (int(v) for v in rect)
        path = os.path.join(self.shots_dir, name)
        convert = subprocess.run(
            ["convert", "-size", "%dx%d" % self.screen, "-depth", "8", "rgb:-",
             "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", "-strip", path],
            input=img.data, capture_output=True, timeout=20)
        if convert.returncode != 0:
            raise Failure("could not write %s: %s" % (path, convert.stderr.decode(errors="replace")))
        return path

    def frame_extents(self, win):
        """(left, right, top, bottom): how far the window manager's frame reaches
        past the window on each side; all 0 without one, or for a frameless window."""
        out = self.run("xprop", "-id", str(win.id), "_NET_FRAME_EXTENTS", check_exit=False).decode()
        if "=" not in out:
            return (0, 0, 0, 0)
        return tuple(int(v) for v in out.split("=")[1].split(","))

    def frame_rect(self, win):
        """The window with the decorations a window manager put round it, if any."""
        left, right, top, bottom = self.frame_extents(win)
        # Only the part on the screen: a frame may reach past any edge.
        x, y = max(win.x - left, 0), max(win.y - top, 0)
        return (x, y, min(win.x + win.w + right, self.screen[0]) - x,
                min(win.y + win.h + bottom, self.screen[1]) - y)

    def active_window(self):
        """The window the window manager has given the focus, or None."""
        out = self.run("xprop", "-root", "_NET_ACTIVE_WINDOW", check_exit=False).decode()
        ids = [int(word, 16) for word in out.split() if word.startswith("0x")]
        return ids[0] if ids and ids[0] else None

    def wait_for_focus(self, win, timeout=5):
        """Under a window manager, waits until it has given win the focus."""
        if self.wm:
            self.wait_for("the focus on %r" % win, lambda: self.active_window() == win.id, timeout)

    # -- the pointer --

    def click(self, point):
        x, y = (int(round(v)) for v in point)
        self.run("xdotool", "mousemove", str(x), str(y), "sleep", "0.1", "click", "1")

    def press(self, point):
        x, y = (int(round(v)) for v in point)
        self.run("xdotool", "mousemove", str(x), str(y), "sleep", "0.15", "mousedown", "1")

    def move(self, start, end, steps=12):
        """Moves the pointer from start to end in small steps, as a hand would."""
        args = ["xdotool"]
        for k in range(1, steps + 1):
            t = k / steps
            args += ["sleep", "0.04", "mousemove",
                     str(round(start[0] + t * (end[0] - start[0]))), str(round(start[1] + t * (end[1] - start[1])))]
        self.run(*args, "sleep", "0.1")

    def replace_text(self, win, point, text):
        """Clicks into the text box at point in win and types text over what it
        holds, once the click has given the window the focus."""
        self.click(point)
        self.wait_for_focus(win)
        self.run("xdotool", "key", "ctrl+a", "type", "--delay", "20", text)

    def move_window(self, win, offset):
        """Moves win by offset as the player does: a drag of its title bar under
        the window manager; without one, a request to the X server."""
        if not self.wm:
            self.run("xdotool", "windowmove", str(win.id), str(win.x + offset[0]), str(win.y + offset[1]))
            return
        top = self.frame_extents(win)[2]
        grip = (win.x + win.w / 2, win.y - top / 2)
        self.drag(grip, (grip[0] + offset[0], grip[1] + offset[1]))

    def release(self):
        self.run("xdotool", "mouseup", "1", "sleep", "0.1")

    def drag(self, start, end, steps=12):
        """Presses at start, moves to end in small steps, releases there."""
        self.press(start)
        self.move(start, end, steps)
        self.release()

    # -- window manager requests --

    def close_window(self, win):
        """Closes win as a player does. Under the window manager: a click on
        its frame's close box or, for a frameless window, Alt+F4 once it has
        the focus; either way the window manager sends the window
        WM_DELETE_WINDOW. Without one, that message is sent directly."""
        if not self.wm:
            self.ask_to_close(win)
            return
        left, right, top, bottom = self.frame_extents(win)
        if top == 0:
            self.wait_for_focus(win)
            self.run("xdotool", "key", "alt+F4")
            return
        # In the theme of openbox-rc.xml the close box is a square at the right
        # end of the title bar, its middle as far from the frame's right edge
        # as from the frame's top edge.
        frame_right = win.x + win.w + right
        frame_top = win.y - top
        self.click((frame_right - top / 2, frame_top + top / 2))

    def ask_to_close(self, win):
        """Asks a window to close as a window manager does on Alt+F4 or its close
        box: a WM_DELETE_WINDOW client message (xdotool's windowclose destroys it)."""
        xlib = ctypes.CDLL("libX11.so.6")
        xlib.XOpenDisplay.restype = ctypes.c_void_p
        xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        xlib.XInternAtom.restype = ctypes.c_ulong
        xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                    ctypes.POINTER(_XEvent)]
        xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        display = xlib.XOpenDisplay(self.display.encode())
        check(display, "could not open the X display " + self.display)
        try:
            event = _XEvent()
            message = event.xclient
            message.type = _CLIENT_MESSAGE
            message.window = win.id
            message.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", False)
            message.format = 32
            message.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", False)
            message.data[1] = 0  # CurrentTime
            check(xlib.XSendEvent(display, win.id, False, 0, ctypes.byref(event)),
                  "could not send WM_DELETE_WINDOW")
        finally:
            xlib.XCloseDisplay(display)  # flushes the request

    # -- the game's windows --

    def title_window(self, timeout=15):
        """Waits for the title: the visible 'Tormell' window shorter than the main window's panel."""
        def probe():
            wins = [w for w in self.windows("^Tormell$") if w.h < MAIN_CLIENT_HEIGHT]
            return wins[0] if wins else None
        return self.wait_for("the title window", probe, timeout)

    def record_window(self, timeout=10):
        def probe():
            wins = self.windows("^点数の記録$")
            return wins[0] if wins else None
        return self.wait_for("the record window", probe, timeout)

    def main_window(self, timeout=15):
        """Waits for the main window: the visible 'Tormell' window with the panel below its canvas."""
        def probe():
            wins = [w for w in self.windows("^Tormell$") if w.h > MAIN_CLIENT_HEIGHT]
            return wins[0] if wins else None
        return MainWindow(self, self.wait_for("the main window", probe, timeout))

    def result_dialog(self, timeout=10):
        def probe():
            wins = self.windows("^採点結果$")
            return wins[0] if wins else None
        return self.wait_for("the result dialog", probe, timeout)

    def save_round(self, dialog):
        """点数保存 in the result dialog; returns once the dialog has closed."""
        self.click((dialog.x + px(120 + 1215 / 2), dialog.y + px(2040 + 255 / 2)))
        self.wait_for("the result dialog to close after 点数保存", lambda: not self.windows("^採点結果$"), 5)

    def wait_for_exit(self, timeout=15):
        try:
            return self.game.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not exit within %d s" % timeout)


_CLIENT_MESSAGE = 33


class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    # Xlib's XEvent is padded to 24 longs.
    _fields_ = [("xclient", _XClientMessageEvent), ("pad", ctypes.c_long * 24)]


class Window:
    def __init__(self, wid, x, y, w, h):
        self.id, self.x, self.y, self.w, self.h = wid, x, y, w, h

    @property
    def rect(self):
        return (self.x, self.y, self.w, self.h)

    def __repr__(self):
        return "Window(%d at %d,%d size %dx%d)" % (self.id, self.x, self.y, self.w, self.h)


class MainWindow:
    """Screen positions of the main window's controls and canvas."""

    def __init__(self, session, win):
        self.s, self.win = session, win
        # The client area ends at the window's bottom edge; the menu bar takes the rest.
        self.client = (win.x, win.y + win.h - MAIN_CLIENT_HEIGHT)

    def at(self, left, top, width, height):
        """Screen centre of a control placed at the given twips in the client area."""
        return (self.client[0] + px(left + width / 2), self.client[1] + px(top + height / 2))

    def canvas_point(self, point_twips):
        cx, cy = canvas_px(point_twips)
        return (self.client[0] + cx, self.client[1] + cy)

    @property
    def canvas_inside(self):
        return (self.client[0] + CANVAS_BORDER, self.client[1] + CANVAS_BORDER,
                CANVAS_SIDE - 2 * CANVAS_BORDER, CANVAS_SIDE - 2 * CANVAS_BORDER)

    @property
    def status_bar(self):
        top = self.client[1] + int(STATUS_BAR_TOP)
        return (self.win.x, top, self.win.w, self.win.y + self.win.h - top)

    def start(self):
        self.s.click(self.at(1560, 6960, 1095, 375))

    def check(self):
        self.s.click(self.at(2640, 6960, 1215, 375))

    def clear(self):
        self.s.click(self.at(480, 6960, 1095, 375))

    def end(self):
        self.s.click(self.at(4800, 6960, 1215, 375))

    def set_display_time(self, seconds=DISPLAY_SECONDS):
        self.s.replace_text(self.win, self.at(1800, 6240, 615, 270), str(seconds))

    def open_record(self):
        """The 点数 menu: returns the record window once it is shown."""
        self.s.click((self.win.x + MENU_ITEM_X, (self.win.y + self.client[1]) / 2))
        return self.s.record_window()

    def shows_red(self, img):
        x0, y0, w, h = self.canvas_inside
        return any(is_red(img.pixel(x, y)) for y in range(y0, y0 + h) for x in range(x0, x0 + w))

    def wait_for_target(self, shown, timeout=10):
        """The first grab in which the red target figure is shown (or gone)."""
        def probe():
            img = self.s.grab()
            return img if self.shows_red(img) == shown else None
        return self.s.wait_for("the target to be " + ("shown" if shown else "hidden"), probe, timeout)

    def wait_for_display(self, timeout=10):
        """After START: the grab that shows the target, once the display is over."""
        shown = self.wait_for_target(True, timeout)
        self.wait_for_target(False, timeout)
        return shown

    def status_pixels(self, img):
        x0, y0, w, h = self.status_bar
        return [img.data[3 * (y * img.width + x0):3 * (y * img.width + x0 + w)] for y in range(y0, y0 + h)]

    def wait_for_new_status(self, before, timeout=5):
        """The first grab whose status bar differs from the one in before."""
        old = self.status_pixels(before)
        def probe():
            img = self.s.grab()
            return img if self.status_pixels(img) != old else None
        return self.s.wait_for("the status text to change", probe, timeout)

    def status_text_right(self, img):
        """How far right the status text reaches, in pixels from the window's left edge."""
        x0, y0, w, h = self.status_bar
        grip = 20  # the size grip in the corner is not text
        for x in range(x0 + w - grip, x0, -1):
            if any(max(img.pixel(x, y)) < 100 for y in range(y0 + 2, y0 + h - 2)):
                return x - x0
        return 0

    def discs(self, img):
        return find_discs(img, self.canvas_inside)

    def wait_for_rest_figure(self, timeout=10):
        """(grab, discs) once the canvas shows the figure's nine discs: the
        window is drawn and takes input, which a merely mapped one may not yet."""
        def probe():
            img = self.s.grab()
            discs = self.discs(img)
            return (img, discs) if len(discs) >= 9 else None
        return self.s.wait_for("the rest figure on the canvas", probe, timeout)

    def wait_for_disc(self, at, timeout=5):
        """(grab, discs) once a joint's disc sits at the screen point at, where a drag dropped it."""
        def probe():
            img = self.s.grab()
            discs = self.discs(img)
            return (img, discs) if any(distance(at, d) < 2.5 for d in discs) else None
        return self.s.wait_for("a joint's disc at (%.0f, %.0f)" % at, probe, timeout)


def pyatspi_python():
    """An interpreter that can import pyatspi: the one running the tests, or
    else the system's; None when neither can."""
    for python in dict.fromkeys((sys.executable, SYSTEM_PYTHON)):
        if not python or not os.access(python, os.X_OK):
            continue
        if subprocess.run([python, "-c", "import pyatspi"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0:
            return python
    return None


def window_manager_asked():
    """The window manager TORMELL_E2E_WM names, as a command; None for none."""
    name = os.environ.get(WINDOW_MANAGER_VARIABLE, "")
    if not name:
        return None
    if name != "openbox":
        raise Failure("%s=%s: the tests know openbox alone" % (WINDOW_MANAGER_VARIABLE, name))
    command = shutil.which(name)
    if not command:
        raise Failure("%s=%s, but there is no openbox: scripts/install-deps.sh installs it"
                      % (WINDOW_MANAGER_VARIABLE, name))
    return command


def main(test, window_manager=None, screen=SCREEN):
    """Runs test(session) with the binary and screenshot folder from the command
    line, under window_manager or else the one TORMELL_E2E_WM names."""
    if len(sys.argv) < 2:
        sys.exit("usage: %s TORMELL_BINARY [SCREENSHOT_DIR]" % sys.argv[0])
    binary = sys.argv[1]
    shots = sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.getcwd(), "e2e-screenshots")
    began = time.monotonic()
    try:
        session = Session(binary, shots, window_manager or window_manager_asked(), screen)
    except Failure as failure:
        sys.exit("FAIL: %s" % failure)
    try:
        test(session)
    except Failure as failure:
        print("FAIL:", failure)
        try:
            path = session.save(session.grab(), "failure.png", (0, 0) + session.screen)
            print("screen at the failure:", path)
        except (Failure, subprocess.SubprocessError):
            pass
        if session.game is not None:
            print("game output:\n" + session.game_output())
        sys.exit(1)
    finally:
        session.close()
    print("PASS in %.1f s; screenshots in %s" % (time.monotonic() - began, shots))
