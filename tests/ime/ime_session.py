#!/usr/bin/python3
"""A private desktop for driving the trainer through a real Wubi input method.

Starts, each remembered by process id: an X server, a D-Bus session bus, an input-method framework
with its Wubi 86 table (IBus with `table:wubi-jidian86`, or Fcitx 5 with `wbx`), and the trainer
with that framework's Qt module and the accessibility bridge on. Everything runs with a private
home and runtime folder, so nothing of the person running it is read or written. stop() ends
exactly these processes and their descendants, by id.

The end-to-end test imports it; by hand (scripts/ime-session.sh wraps this):
  ime_session.py start [--framework ibus|fcitx5] [--display :99] --state FILE <trainer program>
  ime_session.py stop --state FILE
start leaves the session running and writes what stop needs to FILE.
"""

import argparse
import ctypes
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from x_display import (StepFailed, alive, descendants, read_line, sanitizer_settings, start_display,  # noqa: E402,F401
                       wait_for)


class IBus:
    name = "ibus"
    title = "IBus with table:wubi-jidian86"
    qt_module = "ibus"
    engine = "table:wubi-jidian86"
    bus_name = "org.freedesktop.IBus"
    version_argv = ["ibus", "version"]

    def start(self, session, timeout):
        argv = ["ibus-daemon", "--panel=disable", "--emoji-extension=disable", "--config=disable"]
        if session.detached:
            # The daemon ends itself when its parent does: detached, it is found by its bus name.
            if session.run(argv + ["--daemonize"]).returncode != 0:
                raise StepFailed("ibus-daemon did not start")
            session.extra_pids.append(
                wait_for("the IBus daemon on the session bus", lambda: session.bus_name_pid(self.bus_name), timeout))
        else:
            session.start_process("ibus-daemon", argv)
        wait_for("the IBus daemon to take the Wubi engine",
                 lambda: session.run(["ibus", "engine", self.engine]).returncode == 0, timeout)
        wait_for("the IBus daemon to report the Wubi engine",
                 lambda: session.run(["ibus", "engine"]).stdout.strip() == self.engine, timeout)


class Fcitx5:
    name = "fcitx5"
    title = "Fcitx 5 with wbx"
    qt_module = "fcitx"
    engine = "wbx"
    bus_name = "org.fcitx.Fcitx5"
    version_argv = ["fcitx5", "--version"]
    # The Wubi table and what it needs, the D-Bus front end the Qt module talks to, the X
    # connection and the candidate window; nothing that would read the person's desktop.
    addons = "dbus,dbusfrontend,xcb,keyboard,table,punctuation,pinyinhelper,classicui"

    def configure(self, config_home):
        folder = os.path.join(config_home, "fcitx5")
        os.makedirs(folder, exist_ok=True)
        # One group: the US layout for the inactive state, Wubi when active, and active from the
        # start in every window, as a learner who types Chinese all day has it.
        with open(os.path.join(folder, "profile"), "w") as f:
            f.write("[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=wbx\n\n"
                    "[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n\n"
                    "[Groups/0/Items/1]\nName=wbx\nLayout=\n\n"
                    "[GroupOrder]\n0=Default\n")
        with open(os.path.join(folder, "config"), "w") as f:
            f.write("[Behavior]\nActiveByDefault=True\nShareInputState=No\nPreeditEnabledByDefault=True\n"
                    "ShowInputMethodInformation=False\nShowFirstInputMethodInformation=False\n")

    def start(self, session, timeout):
        self.configure(session.env["XDG_CONFIG_HOME"])
        session.start_process("fcitx5", ["fcitx5", "-D", "--keep", "--disable=all", f"--enable={self.addons}"])
        wait_for("Fcitx 5 on the session bus", lambda: session.bus_name_pid(self.bus_name), timeout)


FRAMEWORKS = {f.name: f for f in (IBus, Fcitx5)}


def installed_version(framework):
    """The installed version of a framework as a tuple of numbers, (5, 1, 12); () if it says none."""
    said = subprocess.run(FRAMEWORKS[framework].version_argv, capture_output=True, text=True, timeout=60).stdout
    found = re.search(r"\d+(?:\.\d+)+", said)
    return tuple(int(n) for n in found.group(0).split(".")) if found else ()


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


class XTest:
    """Real key and mouse events through the XTest extension, sent from this process as xdotool
    sends them, and the screen's pixels, without starting a process for each (which a loaded
    machine makes slow)."""

    def __init__(self, display):
        x = self.x = ctypes.CDLL("libX11.so.6")
        t = self.t = ctypes.CDLL("libXtst.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XStringToKeysym.restype = ctypes.c_ulong
        x.XStringToKeysym.argtypes = [ctypes.c_char_p]
        x.XKeysymToKeycode.restype = ctypes.c_ubyte
        x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x.XkbKeycodeToKeysym.restype = ctypes.c_ulong
        x.XkbKeycodeToKeysym.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int, ctypes.c_int]
        x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XGetImage.restype = ctypes.POINTER(XImage)
        x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x.XFree.argtypes = [ctypes.c_void_p]
        t.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        t.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        t.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
        self.d = x.XOpenDisplay(display.encode())
        if not self.d:
            raise StepFailed(f"cannot open display {display} for key events")
        self.shift = x.XKeysymToKeycode(self.d, x.XStringToKeysym(b"Shift_L"))

    def close(self):
        self.x.XCloseDisplay(self.d)

    def stroke(self, keysym, what, delay=0):
        """Presses and releases the key that gives `keysym`, with Shift where the key's second level
        gives it; the server holds each event `delay` / 2 ms, a typist's pace."""
        code = self.x.XKeysymToKeycode(self.d, keysym)
        if not code:
            raise StepFailed(f"no key gives {what!r}")
        shifted = self.x.XkbKeycodeToKeysym(self.d, code, 0, 0) != keysym
        if shifted:
            self.t.XTestFakeKeyEvent(self.d, self.shift, 1, 0)
        self.t.XTestFakeKeyEvent(self.d, code, 1, delay // 2)
        self.t.XTestFakeKeyEvent(self.d, code, 0, delay - delay // 2)
        if shifted:
            self.t.XTestFakeKeyEvent(self.d, self.shift, 0, 0)

    def type(self, text, delay):
        for c in text:
            if not " " <= c <= "~":
                raise StepFailed(f"cannot type {c!r}: only printable ASCII")
            self.stroke(ord(c), c, delay)  # a Latin-1 character's keysym is its code
        self.x.XSync(self.d, 0)

    def key(self, name):
        keysym = self.x.XStringToKeysym(name.encode())
        if not keysym:
            raise StepFailed(f"no key named {name!r}")
        self.stroke(keysym, name)
        self.x.XSync(self.d, 0)

    def pixels(self, x, y, width, height):
        """The screen's pixels in an area, as RGB triples row by row."""
        image = self.x.XGetImage(self.d, self.x.XDefaultRootWindow(self.d), x, y, width, height, ~0, 2)  # ZPixmap
        if not image:
            raise StepFailed(f"cannot read the screen at {width}x{height}+{x}+{y}")
        try:
            i = image.contents
            if i.bits_per_pixel != 32 or i.byte_order != 0:
                raise StepFailed(f"a screen of {i.bits_per_pixel} bits a pixel, byte order {i.byte_order}: "
                                 "only 32 bits, least significant byte first, are read")
            data = ctypes.string_at(i.data, i.bytes_per_line * i.height)
            # Each pixel is blue, green, red and an unused byte.
            return [(data[o + 2], data[o + 1], data[o]) for row in range(i.height)
                    for o in range(row * i.bytes_per_line, row * i.bytes_per_line + 4 * i.width, 4)]
        finally:
            self.x.XFree(image.contents.data)
            self.x.XFree(image)

    def click(self, x, y):
        # The server takes the move before the press: no wait for the pointer in between.
        self.t.XTestFakeMotionEvent(self.d, -1, x, y, 0)
        self.t.XTestFakeButtonEvent(self.d, 1, 1, 0)
        self.t.XTestFakeButtonEvent(self.d, 1, 0, 0)
        self.x.XSync(self.d, 0)


class Session:
    def __init__(self, program, framework="ibus", log=None, detached=False):
        self.program = program
        self.detached = detached  # runs on after this process (see detach())
        self.framework = FRAMEWORKS[framework]()
        self.log = log or (lambda text: None)
        self.procs = []  # (name, Popen), in start order
        self.extra_pids = []  # helpers started by the bus on our behalf
        self.home = tempfile.mkdtemp(prefix="vardelo-ime-")
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, "config"),
            "XDG_CACHE_HOME": os.path.join(self.home, "cache"),
            "XDG_DATA_HOME": os.path.join(self.home, "data"),
            "XDG_RUNTIME_DIR": os.path.join(self.home, "runtime"),
            "LANG": "C.UTF-8",
            "GSETTINGS_BACKEND": "memory",
            "NO_AT_BRIDGE": "0",
            **sanitizer_settings(),
        }
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)
        self.logs = os.path.join(self.home, "logs")
        os.makedirs(self.logs)
        self.display = None
        self.trainer = None
        self.x = None  # the XTest connection, opened on first use

    def xtest(self):
        if self.x is None:
            self.x = XTest(self.display)
        return self.x

    # -- starting -----------------------------------------------------------------------------

    def start_process(self, name, argv, pass_fds=(), env=None):
        # Its output is kept, to be shown when a step fails (see report()).
        with open(self.output_file(name), "ab") as out:
            p = subprocess.Popen(argv, env=env or self.env, stdin=subprocess.DEVNULL, stdout=out, stderr=out,
                                 pass_fds=pass_fds)
        self.procs.append((name, p))
        self.log(f"started {name} as process {p.pid}")
        return p

    def output_file(self, name):
        return os.path.join(self.logs, f"{name}.log")

    def run(self, argv, timeout=10):
        """A short command on the session's display and bus."""
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=timeout)

    def start_display(self, display=None):
        server, self.display = start_display(self.env, display)
        self.procs.append(("Xvfb", server))
        self.log(f"started Xvfb as process {server.pid}")
        self.env["DISPLAY"] = self.display
        self.log(f"X display {self.display}")

    def start_bus(self):
        r, w = os.pipe()
        self.start_process("dbus-daemon", ["dbus-daemon", "--session", "--nofork", f"--print-address={w}"],
                           pass_fds=(w,))
        os.close(w)
        try:
            self.env["DBUS_SESSION_BUS_ADDRESS"] = read_line(r, "the D-Bus session bus address")
        finally:
            os.close(r)

    def start_input_method(self, timeout=30.0):
        self.framework.start(self, timeout)
        self.log(f"input method: {self.framework.title}")

    def start_trainer(self, extra_env=None):
        env = dict(self.env)
        env.update({
            "QT_IM_MODULE": self.framework.qt_module,
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_ACCESSIBILITY": "1",
        })
        env.update(extra_env or {})
        self.trainer = self.start_process("trainer", [self.program], env=env)

    def wait_for_window(self, timeout=60.0):
        wait_for("the trainer's window",
                 lambda: self.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.trainer.pid)]).stdout.strip(),
                 timeout)

    def start(self, display=None):
        self.start_display(display)
        self.start_bus()
        self.start_input_method()

    # -- driving and looking ----------------------------------------------------------------------

    def xdotool(self, *args):
        """Real key and mouse events (XTest) on the session's display, given as xdotool's arguments:
        `type --delay MS TEXT`, `key NAME` and `mousemove X Y click 1` are sent from this process,
        anything else by xdotool."""
        a = list(args)
        if len(a) == 4 and a[:2] == ["type", "--delay"]:
            return self.xtest().type(a[3], int(a[2]))
        if len(a) == 2 and a[0] == "key" and "+" not in a[1]:
            return self.xtest().key(a[1])
        if len(a) == 5 and a[0] == "mousemove" and a[3:] == ["click", "1"] and "--sync" not in a:
            return self.xtest().click(int(a[1]), int(a[2]))
        done = self.run(["xdotool", *args], timeout=20)
        if done.returncode != 0:
            raise StepFailed(f"xdotool {' '.join(args)} failed: {done.stderr.strip()}")

    def screenshot(self, path, geometry=None):
        argv = ["import", "-display", self.display, "-window", "root"]
        if geometry:
            argv += ["-crop", geometry]
        done = subprocess.run(argv + [path], env=self.env, capture_output=True, timeout=20)
        if done.returncode != 0:
            raise StepFailed(f"no screenshot: {done.stderr.decode(errors='replace').strip()}")
        return done.stdout

    def pixels(self, x, y, width, height):
        """The screen's pixels in an area, as RGB triples row by row."""
        return self.xtest().pixels(x, y, width, height)

    # -- helpers started on the bus -----------------------------------------------------------

    def bus_name_pid(self, name):
        """The process id that owns `name` on the session bus, or None."""
        done = self.run(["dbus-send", "--session", "--print-reply=literal", "--dest=org.freedesktop.DBus",
                         "/org/freedesktop/DBus", "org.freedesktop.DBus.GetConnectionUnixProcessID", f"string:{name}"])
        words = done.stdout.split()
        return int(words[-1]) if done.returncode == 0 and words else None

    def remember_bus_helpers(self):
        # The accessibility bus launcher is started by the session bus on first use; remembered
        # here in case it leaves its parent.
        pid = self.bus_name_pid("org.a11y.Bus")
        if pid and pid not in self.extra_pids:
            self.extra_pids.append(pid)

    # -- what went wrong -----------------------------------------------------------------------

    def process_state(self, name):
        """Whether the process started as `name` still runs, or how it ended."""
        p = next((p for n, p in self.procs if n == name), None)
        if p is None:
            return "was not started"
        code = p.poll()
        if code is None:
            return f"still runs (process {p.pid})"
        if code < 0:
            try:
                return f"ended by signal {signal.Signals(-code).name}"
            except ValueError:
                return f"ended by signal {-code}"
        return f"exited with {code}"

    def output_tail(self, name, lines=40):
        try:
            with open(self.output_file(name), "rb") as f:
                text = f.read().decode(errors="replace")
        except OSError:
            return []
        return text.splitlines()[-lines:]

    def a11y_connections(self, pid):
        """The unique names process `pid` holds on the accessibility bus, or why they are unknown."""
        done = self.run(["dbus-send", "--session", "--print-reply=literal", "--dest=org.a11y.Bus", "/org/a11y/bus",
                         "org.a11y.Bus.GetAddress"])
        if done.returncode != 0 or not done.stdout.strip():
            return f"unknown (no accessibility bus address: {done.stderr.strip()})"
        address = done.stdout.strip()

        def ask(*args):
            return self.run(["dbus-send", f"--bus={address}", "--print-reply=literal", "--dest=org.freedesktop.DBus",
                             "/org/freedesktop/DBus", *args]).stdout

        names = [n for n in ask("org.freedesktop.DBus.ListNames").split() if n.startswith(":")]
        mine = [n for n in names if ask("org.freedesktop.DBus.GetConnectionUnixProcessID", f"string:{n}").split()[-1:]
                == [str(pid)]]
        return ", ".join(mine) or "none"

    def report(self):
        """What the trainer and the session's daemons were doing: for a step that failed."""
        lines = [f"the trainer {self.process_state('trainer')}"]
        if self.trainer and self.trainer.poll() is None:
            try:
                lines.append(f"  its connections on the accessibility bus: {self.a11y_connections(self.trainer.pid)}")
            except Exception as e:
                lines.append(f"  its connections on the accessibility bus: unknown ({e})")
        for name, _ in self.procs:
            if name == "Xvfb":
                continue
            tail = self.output_tail(name, 40 if name == "trainer" else 12)
            if name != "trainer":
                lines.append(f"{name} {self.process_state(name)}")
            lines.append(f"  {name}'s output" + (", its end:" if tail else ": none"))
            lines += ["    " + line for line in tail]
        return lines

    # -- stopping ------------------------------------------------------------------------------

    def pids(self):
        """Every process the session started, latest first: the trainer, the input method, the bus,
        the display, then the bus's helpers."""
        try:
            self.remember_bus_helpers()
        except Exception:
            pass
        return [p.pid for _, p in reversed(self.procs)] + self.extra_pids

    def stop(self):
        if self.x is not None:
            self.x.close()
            self.x = None
        end(self.pids(), children=[p for _, p in self.procs])
        shutil.rmtree(self.home, ignore_errors=True)

    # -- a session that outlives this process -------------------------------------------------

    def detach(self, state):
        """Writes what stop_detached needs to `state`; the session runs on after this process."""
        with open(state, "w") as f:
            json.dump({"pids": self.pids(), "home": self.home, "display": self.display,
                       "bus": self.env["DBUS_SESSION_BUS_ADDRESS"], "framework": self.framework.name}, f)


def end(pids, children=()):
    """Ends `pids` and all their descendants: TERM first, KILL what is left after five seconds."""
    targets = []
    for pid in pids:
        for d in descendants(pid) + [pid]:
            if d not in targets:
                targets.append(d)
    for pid in targets:
        try:
            os.kill(pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
    deadline = time.monotonic() + 5
    for p in children:  # our own children are reaped here; others by their new parent
        try:
            p.wait(max(0.1, deadline - time.monotonic()))
        except subprocess.TimeoutExpired:
            pass
    while time.monotonic() < deadline and any(alive(pid) for pid in targets):
        time.sleep(0.05)
    for pid in targets:
        if alive(pid):
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
    for p in children:
        try:
            p.wait(2)
        except subprocess.TimeoutExpired:
            pass


def stop_detached(state):
    if not os.path.exists(state):
        return "no session"
    with open(state) as f:
        saved = json.load(f)
    # The accessibility bus may have been started since, by a tool looking at the trainer.
    done = subprocess.run(["dbus-send", f"--bus={saved['bus']}", "--print-reply=literal", "--dest=org.freedesktop.DBus",
                           "/org/freedesktop/DBus", "org.freedesktop.DBus.GetConnectionUnixProcessID",
                           "string:org.a11y.Bus"], capture_output=True, text=True, timeout=10)
    words = done.stdout.split()
    end(saved["pids"] + ([int(words[-1])] if done.returncode == 0 and words else []))
    shutil.rmtree(saved["home"], ignore_errors=True)
    os.remove(state)
    return f"stopped the session on {saved['display']}"


def main(argv):
    parser = argparse.ArgumentParser(description="The trainer on a private display with a real Wubi input method.")
    parser.add_argument("action", choices=["start", "stop"])
    parser.add_argument("program", nargs="?", help="the trainer (start)")
    parser.add_argument("--framework", choices=sorted(FRAMEWORKS), default="ibus")
    parser.add_argument("--display", help="an X display such as :99 (start; a free one otherwise)")
    parser.add_argument("--state", required=True, help="the file that remembers the session's processes")
    args = parser.parse_intermixed_args(argv)
    if args.action == "stop":
        print(stop_detached(args.state))
        return 0
    if not args.program:
        parser.error("start needs the trainer program")
    if os.path.exists(args.state):
        print(f"A session already runs ({args.state}); stop it first.", file=sys.stderr)
        return 1
    session = Session(os.path.abspath(args.program), args.framework, detached=True)
    try:
        session.start(args.display)
        session.start_trainer()
        session.wait_for_window()
    except (StepFailed, OSError) as e:
        session.stop()
        print(f"The session did not start: {e}", file=sys.stderr)
        return 1
    session.detach(args.state)
    print(f"Vardelo runs on {session.display} with {session.framework.title}; the window is centred on a "
          f"1280x1024 screen.\nSession bus: {session.env['DBUS_SESSION_BUS_ADDRESS']}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
