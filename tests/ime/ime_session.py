"""A private desktop for driving the trainer through a real Wubi input method.

Starts, each as a child of this process and remembered by process id: an X server on a display
number it reports free, a D-Bus session bus, the IBus daemon with the Wubi table engine, and the
trainer with the input method and the accessibility bridge on. Everything runs with a private home
and runtime folder, so nothing of the person running it is read or written. stop() ends exactly
these processes and their descendants, by id.
"""

import os
import shutil
import signal
import subprocess
import tempfile
import time

WUBI_ENGINE = "table:wubi-jidian86"


class StepFailed(Exception):
    """A step of the session or of a test did not reach its condition in time."""


def wait_for(what, condition, timeout=30.0, interval=0.02):
    """Polls `condition` until it returns something true; raises StepFailed naming `what` (a text,
    or a function that makes one)."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = condition()
            if value:
                return value
        except Exception as e:  # a condition may fail while the thing it looks at is starting
            last_error = e
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            if callable(what):  # told at the end, so that it can say what it saw then
                what = what()
            raise StepFailed(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(interval)


def _children(pid):
    """Direct children of `pid`, from /proc."""
    kids = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                stat = f.read()
        except OSError:
            continue
        # The command name is in parentheses and may hold blanks; the parent id follows it.
        fields = stat[stat.rfind(")") + 2:].split()
        if int(fields[1]) == pid:
            kids.append(int(entry))
    return kids


def _descendants(pid):
    found, todo = [], [pid]
    while todo:
        for kid in _children(todo.pop()):
            found.append(kid)
            todo.append(kid)
    return found


def _alive(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().split(") ")[-1][0] != "Z"
    except OSError:
        return False


class Session:
    def __init__(self, program, log=None):
        self.program = program
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
        }
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)
        self.display = None
        self.trainer = None

    # -- starting -----------------------------------------------------------------------------

    def _start(self, name, argv, pass_fds=(), env=None):
        p = subprocess.Popen(argv, env=env or self.env, stdin=subprocess.DEVNULL,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=pass_fds)
        self.procs.append((name, p))
        self.log(f"started {name} as process {p.pid}")
        return p

    def _read_fd_line(self, fd, what, timeout=30.0):
        """Reads one line a child writes to the pipe `fd`, within `timeout`."""
        import select
        data = b""
        deadline = time.monotonic() + timeout
        while not data.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([fd], [], [], left)[0]:
                raise StepFailed(f"timed out after {timeout:.0f} s waiting for {what}")
            chunk = os.read(fd, 256)
            if not chunk:
                raise StepFailed(f"{what}: the process ended without an answer")
            data += chunk
        return data.decode().strip()

    def start_display(self):
        # The server picks a free display number itself and writes it to the pipe.
        r, w = os.pipe()
        self._start("Xvfb", ["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                             "-noreset"], pass_fds=(w,))
        os.close(w)
        try:
            number = self._read_fd_line(r, "the X server to report its display number")
        finally:
            os.close(r)
        self.display = ":" + number
        self.env["DISPLAY"] = self.display
        self.log(f"X display {self.display}")

    def start_bus(self):
        r, w = os.pipe()
        self._start("dbus-daemon", ["dbus-daemon", "--session", "--nofork", f"--print-address={w}"], pass_fds=(w,))
        os.close(w)
        try:
            self.env["DBUS_SESSION_BUS_ADDRESS"] = self._read_fd_line(r, "the D-Bus session bus address")
        finally:
            os.close(r)

    def start_input_method(self, timeout=30.0):
        self._start("ibus-daemon", ["ibus-daemon", "--panel=disable", "--emoji-extension=disable", "--config=disable"])

        def engine_set():
            done = subprocess.run(["ibus", "engine", WUBI_ENGINE], env=self.env, capture_output=True, timeout=10)
            return done.returncode == 0

        wait_for("the IBus daemon to take the Wubi engine", engine_set, timeout)

        def engine_is_wubi():
            done = subprocess.run(["ibus", "engine"], env=self.env, capture_output=True, text=True, timeout=10)
            return done.stdout.strip() == WUBI_ENGINE

        wait_for("the IBus daemon to report the Wubi engine", engine_is_wubi, timeout)

    def start_trainer(self, extra_env=None):
        env = dict(self.env)
        env.update({
            "QT_IM_MODULE": "ibus",
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_ACCESSIBILITY": "1",
        })
        env.update(extra_env or {})
        self.trainer = self._start("trainer", [self.program], env=env)

    def start(self):
        self.start_display()
        self.start_bus()
        self.start_input_method()

    # -- driving and looking ----------------------------------------------------------------------

    def xdotool(self, *args):
        """Real key and mouse events (XTest) on the session's display."""
        done = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True, timeout=20)
        if done.returncode != 0:
            raise StepFailed(f"xdotool {' '.join(args)} failed: {done.stderr.strip()}")

    def ink_right_edge(self, x, y, width, height):
        """The rightmost screen column of the area that holds a pixel unlike the area's most common
        colour (its background), relative to `x`; -1 for an empty area."""
        done = subprocess.run(["import", "-display", self.display, "-window", "root", "-crop",
                               f"{width}x{height}+{x}+{y}", "ppm:-"], env=self.env, capture_output=True,
                              timeout=20)
        if done.returncode != 0:
            raise StepFailed(f"no screenshot: {done.stderr.decode(errors='replace').strip()}")
        # Binary PPM: "P6", width, height, maximum value, then RGB triples.
        header, data = done.stdout.split(b"\n", 3)[:3], done.stdout.split(b"\n", 3)[3]
        w, h = (int(v) for v in header[1].split())
        pixels = [tuple(data[i:i + 3]) for i in range(0, w * h * 3, 3)]
        background = max(set(pixels), key=pixels.count)
        edge = -1
        for i, p in enumerate(pixels):
            if sum(abs(a - b) for a, b in zip(p, background)) > 90:
                edge = max(edge, i % w)
        return edge

    # -- helpers started on the bus -----------------------------------------------------------

    def bus_helper_pid(self, name):
        """The process id that owns `name` on the session bus, or None."""
        done = subprocess.run(
            ["dbus-send", "--session", "--print-reply=literal", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
             "org.freedesktop.DBus.GetConnectionUnixProcessID", f"string:{name}"],
            env=self.env, capture_output=True, text=True, timeout=10)
        words = done.stdout.split()
        return int(words[-1]) if done.returncode == 0 and words else None

    def remember_bus_helpers(self):
        # The accessibility bus launcher is started by the session bus on first use; remembered
        # here in case it leaves its parent.
        pid = self.bus_helper_pid("org.a11y.Bus")
        if pid and pid not in self.extra_pids:
            self.extra_pids.append(pid)

    # -- stopping ------------------------------------------------------------------------------

    def stop(self):
        try:
            self.remember_bus_helpers()
        except Exception:
            pass
        # Latest first: the trainer, the input method, the bus with what it started, the display.
        targets = []
        for name, p in reversed(self.procs):
            for pid in _descendants(p.pid) + [p.pid]:
                if pid not in targets:
                    targets.append(pid)
        for pid in self.extra_pids:
            for d in _descendants(pid) + [pid]:
                if d not in targets:
                    targets.append(d)
        for pid in targets:
            try:
                os.kill(pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + 5
        for name, p in self.procs:
            try:
                p.wait(max(0.1, deadline - time.monotonic()))
            except subprocess.TimeoutExpired:
                pass
        while time.monotonic() < deadline and any(_alive(pid) for pid in targets):
            time.sleep(0.05)
        for pid in targets:
            if _alive(pid):
                try:
                    os.kill(pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
        for name, p in self.procs:
            try:
                p.wait(2)
            except subprocess.TimeoutExpired:
                pass
        shutil.rmtree(self.home, ignore_errors=True)
