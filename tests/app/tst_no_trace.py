"""The trainer in a bare X session leaves nothing behind.

The session has no session bus and no runtime folder, and the trainer's home and temporary folders
are empty. With the input method module and the accessibility bridge asked for (both look for a
bus and a runtime folder), the trainer is started, shown, and ended: once closed through its window
as a window manager closes it, once ended from outside. Afterwards both folders must still be empty
and no process the trainer started may be left: this process is made the subreaper of everything
it starts, so a daemon that detaches from the trainer ends up as its descendant and is seen here.

Usage: tst_no_trace.py <path of the vardelo program>
"""

import ctypes
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from x_display import StepFailed, alive, descendants, sanitizer_settings, start_display, wait_for  # noqa: E402

PR_SET_CHILD_SUBREAPER = 36
STEP_TIMEOUT = 60.0  # a condition that holds ends its wait at once; the limit is for a loaded machine


def command_of(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            return f.read().replace(b"\0", b" ").decode(errors="replace").strip()
    except OSError:
        return "?"


def reap():
    """Collects the exit status of every ended child, so that none stays a zombie."""
    while True:
        try:
            pid, _ = os.waitpid(-1, os.WNOHANG)
        except ChildProcessError:
            return
        if pid == 0:
            return


# -- the X connection: what a window manager does, through libX11 ----------------------------------

class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xclient", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("class_", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
                ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


CLIENT_MESSAGE = 33
IS_VIEWABLE = 2
STRUCTURE_NOTIFY_MASK = 1 << 17
XA_CARDINAL = 6


class X:
    """A connection to the display that looks at the trainer's windows and speaks to them as a
    window manager does: it finds them by the process id they carry, reads their protocols, pings
    them (_NET_WM_PING) and asks them to close (WM_DELETE_WINDOW)."""

    def __init__(self, display):
        x = self.lib = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XInternAtom.restype = ctypes.c_ulong
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XGetAtomName.restype = ctypes.c_void_p
        x.XGetAtomName.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                 ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                                 ctypes.POINTER(ctypes.c_uint)]
        x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(XWindowAttributes)]
        x.XGetWindowProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long,
                                         ctypes.c_long, ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                         ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
                                         ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
        x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
        x.XGetWMProtocols.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                                      ctypes.POINTER(ctypes.c_int)]
        x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(XEvent)]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XFree.argtypes = [ctypes.c_void_p]
        x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.d = x.XOpenDisplay(display.encode())
        if not self.d:
            raise StepFailed(f"cannot open display {display}")
        self.root = x.XDefaultRootWindow(self.d)
        # A client answers a ping on the root window, to whoever listens for its structure events
        # (or redirects its children's: the window manager, which this session lacks).
        x.XSelectInput(self.d, self.root, STRUCTURE_NOTIFY_MASK)
        self.pings = 0

    def close(self):
        self.lib.XCloseDisplay(self.d)

    def atom(self, name):
        return self.lib.XInternAtom(self.d, name.encode(), 0)

    def atom_name(self, atom):
        p = self.lib.XGetAtomName(self.d, atom)
        if not p:
            return str(atom)
        name = ctypes.string_at(p).decode()
        self.lib.XFree(p)
        return name

    def top_level_windows(self):
        root, parent, kids, n = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not self.lib.XQueryTree(self.d, self.root, ctypes.byref(root), ctypes.byref(parent), ctypes.byref(kids),
                                   ctypes.byref(n)):
            return []
        windows = [kids[i] for i in range(n.value)]
        if kids:
            self.lib.XFree(kids)
        return windows

    def pid_of(self, window):
        """The process id the window carries (_NET_WM_PID), or None."""
        kind, fmt, count, after = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong()
        data = ctypes.c_void_p()
        if self.lib.XGetWindowProperty(self.d, window, self.atom("_NET_WM_PID"), 0, 1, 0, XA_CARDINAL,
                                       ctypes.byref(kind), ctypes.byref(fmt), ctypes.byref(count),
                                       ctypes.byref(after), ctypes.byref(data)) != 0:
            return None
        pid = ctypes.cast(data, ctypes.POINTER(ctypes.c_ulong))[0] if data.value and count.value else None
        if data.value:
            self.lib.XFree(data)
        return pid

    def mapped(self, window):
        a = XWindowAttributes()
        return bool(self.lib.XGetWindowAttributes(self.d, window, ctypes.byref(a))) and a.map_state == IS_VIEWABLE

    def name(self, window):
        p = ctypes.c_char_p()
        if not self.lib.XFetchName(self.d, window, ctypes.byref(p)) or not p.value:
            return ""
        name = p.value.decode(errors="replace")
        self.lib.XFree(p)
        return name

    def protocols(self, window):
        atoms, n = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_int()
        if not self.lib.XGetWMProtocols(self.d, window, ctypes.byref(atoms), ctypes.byref(n)):
            return []
        names = [self.atom_name(atoms[i]) for i in range(n.value)]
        self.lib.XFree(atoms)
        return names

    def describe(self, window):
        return (f"0x{window:x} '{self.name(window)}' ({'mapped' if self.mapped(window) else 'not mapped'}, "
                f"_NET_WM_PID {self.pid_of(window)}, protocols {' '.join(self.protocols(window)) or 'none'})")

    def windows_of(self, pid):
        """The mapped top-level windows that carry `pid`."""
        return [w for w in self.top_level_windows() if self.pid_of(w) == pid and self.mapped(w)]

    def send(self, window, data):
        e = XEvent()
        e.xclient.type = CLIENT_MESSAGE
        e.xclient.window = window
        e.xclient.message_type = self.atom("WM_PROTOCOLS")
        e.xclient.format = 32
        for i, value in enumerate(data):
            e.xclient.data[i] = value
        # No event mask: the event goes to the client that made the window.
        self.lib.XSendEvent(self.d, window, 0, 0, ctypes.byref(e))
        self.lib.XFlush(self.d)

    def ping(self, window, timeout):
        """Pings `window` as a window manager does and waits for the answer, which its client sends
        from its event loop; True when it came within `timeout`."""
        self.pings += 1
        token = self.pings
        ping = self.atom("_NET_WM_PING")
        self.send(window, [ping, token, window, 0, 0])
        deadline = time.monotonic() + timeout
        e = XEvent()
        while time.monotonic() < deadline:
            while self.lib.XPending(self.d):
                self.lib.XNextEvent(self.d, ctypes.byref(e))
                c = e.xclient
                if e.type == CLIENT_MESSAGE and c.window == self.root and c.data[0] == ping and c.data[1] == token \
                        and c.data[2] == window:
                    return True
            time.sleep(0.01)
        return False

    def ask_to_close(self, window):
        self.send(window, [self.atom("WM_DELETE_WINDOW"), 0, 0, 0, 0])  # 0: CurrentTime


# -- one run of the trainer -----------------------------------------------------------------------

def contents(folder):
    found = []
    for root, dirs, files in os.walk(folder):
        found += [os.path.relpath(os.path.join(root, n), folder) for n in dirs + files]
    return sorted(found)


def ended_how(returncode):
    if returncode is None:
        return "still runs"
    if returncode < 0:
        return f"ended by signal {signal.Signals(-returncode).name}"
    return f"exited with {returncode}"


def wait_for_trainer(what, trainer, condition, timeout=STEP_TIMEOUT):
    """wait_for, cut short when the trainer ends."""
    def ready():
        if trainer.poll() is not None:
            raise StepFailed(f"while waiting for {what}, the trainer {ended_how(trainer.returncode)}")
        return condition()

    try:
        return wait_for(what, ready, timeout)
    except StepFailed:
        if trainer.poll() is not None:
            raise StepFailed(f"while waiting for {what if isinstance(what, str) else what()}, "
                             f"the trainer {ended_how(trainer.returncode)}") from None
        raise


def run_once(program, display, xvfb_pid, how):
    home = tempfile.mkdtemp(prefix="vardelo-home-")
    temp = tempfile.mkdtemp(prefix="vardelo-tmp-")
    log = tempfile.TemporaryFile()
    x = X(display)
    problems = []
    trainer = None
    try:
        env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": home,
            "TMPDIR": temp,
            "DISPLAY": display,
            "LANG": "C.UTF-8",
            "QT_QPA_PLATFORM": "xcb",
            "QT_IM_MODULE": "ibus",
            "QT_ACCESSIBILITY": "1",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            **sanitizer_settings(),
        }
        trainer = subprocess.Popen([program], env=env, cwd=home, stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        try:
            # Found by the process it belongs to and by being on the screen: Qt also makes a hidden
            # window of its own (the client leader), which may carry the same title first.
            window = wait_for_trainer(
                lambda: "a mapped window of the trainer's process; the top-level windows are: "
                + ("; ".join(x.describe(w) for w in x.top_level_windows()) or "none"),
                trainer, lambda: x.windows_of(trainer.pid))[0]
            protocols = x.protocols(window)
            for wanted in ("WM_DELETE_WINDOW", "_NET_WM_PING"):
                if wanted not in protocols:
                    raise StepFailed(f"the trainer's window {x.describe(window)} does not take {wanted}")
            # Answered from its event loop: the trainer is through its start-up, in which the
            # platform layer looked for its buses, and it has handled the events of its window
            # being shown (painting it, which loads the fonts).
            for n in (1, 2):
                wait_for_trainer(f"the trainer's answer to ping {n} of its window 0x{window:x}", trainer,
                                 lambda: x.ping(window, 1.0))
            if how == "window":
                x.ask_to_close(window)
            else:
                trainer.send_signal(signal.SIGTERM)
            try:
                trainer.wait(STEP_TIMEOUT)
            except subprocess.TimeoutExpired:
                raise StepFailed(f"the trainer did not end within {STEP_TIMEOUT:.0f} s of being "
                                 + ("asked to close its window " + x.describe(window) if how == "window"
                                    else "sent SIGTERM")) from None
        except StepFailed as e:
            problems.append(str(e))
        finally:
            if trainer.poll() is None:
                trainer.kill()
                trainer.wait()
        # Every process the trainer started is a descendant of this one: a child it left ends up
        # here when it ends, and the child of a daemon that detaches as soon as its parent ends.
        reap()
        left = [pid for pid in descendants(os.getpid()) if alive(pid) and pid != xvfb_pid
                and pid not in descendants(xvfb_pid)]
        for pid in left:
            problems.append(f"process {pid} outlived the trainer: {command_of(pid)}")
        for pid in left:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        for pid in left:
            wait_for(f"process {pid} to end after SIGKILL", lambda: not alive(pid), 10)
        reap()
        for name, folder in (("home", home), ("temporary", temp)):
            written = contents(folder)
            if written:
                problems.append(f"the {name} folder is no longer empty: {', '.join(written)}")
        if how == "window" and trainer.returncode != 0 and not problems:
            problems.append(f"closed through its window, the trainer {ended_how(trainer.returncode)}")
        if problems:
            log.seek(0)
            output = log.read().decode(errors="replace")
            problems.append(f"the trainer {ended_how(trainer.returncode)}; its output"
                            + (":\n    " + "\n    ".join(output[-2000:].splitlines()) if output.strip() else
                               " was empty"))
        return problems
    finally:
        x.close()
        log.close()
        shutil.rmtree(home, ignore_errors=True)
        shutil.rmtree(temp, ignore_errors=True)


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    program = os.path.abspath(sys.argv[1])
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
        print("FAIL: cannot become a subreaper")
        return 1
    if not shutil.which("dbus-launch"):
        print("note: dbus-launch is not installed, so a bus could not have been launched anyway")
    xvfb, display = start_display({"PATH": os.environ.get("PATH", "/usr/bin:/bin")})
    passed = failed = 0
    try:
        for how in ("window", "signal"):
            started = time.monotonic()
            try:
                problems = run_once(program, display, xvfb.pid, how)
            except StepFailed as e:
                problems = [str(e)]
            if problems:
                failed += 1
                print(f"FAIL: ended by {how}:")
                for p in problems:
                    print(f"  {p}")
            else:
                passed += 1
                print(f"PASS: ended by {how} ({time.monotonic() - started:.1f} s)")
    finally:
        xvfb.terminate()
        try:
            xvfb.wait(10)
        except subprocess.TimeoutExpired:
            xvfb.kill()
            xvfb.wait()
        reap()
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
