"""The trainer in a bare X session leaves nothing behind.

The session has no session bus and no runtime folder, and the trainer's home and temporary folders
are empty. With the input method module and the accessibility bridge asked for (both look for a
bus and a runtime folder), the trainer is started, shown, and ended: once closed through its window
as a window manager closes it, once ended from outside. Afterwards both folders must still be empty
and no process the trainer started may be left: this process is made the subreaper of everything
it starts, so a daemon that detaches from the trainer ends up as its child and is seen here.

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
from x_display import StepFailed, alive, children, sanitizer_settings, start_display, wait_for  # noqa: E402

PR_SET_CHILD_SUBREAPER = 36
TITLE = "VardeloV5.0"


def running_children():
    """Processes whose parent is this process, ended ones left out."""
    return [pid for pid in children(os.getpid()) if alive(pid)]


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


def trainer_windows(display):
    env = {"DISPLAY": display, "PATH": os.environ.get("PATH", "/usr/bin:/bin")}
    done = subprocess.run(["xdotool", "search", "--name", f"^{TITLE}$"], env=env, capture_output=True, text=True,
                          timeout=20)
    return [int(w) for w in done.stdout.split()]


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("xclient", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


def close_windows(display, windows):
    """Asks each window to close, as a window manager does (WM_DELETE_WINDOW)."""
    x = ctypes.CDLL("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(XEvent)]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    d = x.XOpenDisplay(display.encode())
    if not d:
        raise StepFailed(f"cannot open display {display}")
    protocols = x.XInternAtom(d, b"WM_PROTOCOLS", 0)
    delete = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
    for w in windows:
        e = XEvent()
        e.xclient.type = 33  # ClientMessage
        e.xclient.window = w
        e.xclient.message_type = protocols
        e.xclient.format = 32
        e.xclient.data[0] = delete
        e.xclient.data[1] = 0  # CurrentTime
        x.XSendEvent(d, w, 0, 0, ctypes.byref(e))
    x.XFlush(d)
    x.XCloseDisplay(d)


def contents(folder):
    found = []
    for root, dirs, files in os.walk(folder):
        found += [os.path.relpath(os.path.join(root, n), folder) for n in dirs + files]
    return sorted(found)


def run_once(program, display, xvfb_pid, how):
    home = tempfile.mkdtemp(prefix="vardelo-home-")
    temp = tempfile.mkdtemp(prefix="vardelo-tmp-")
    log = tempfile.TemporaryFile()
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
        trainer = subprocess.Popen([program], env=env, cwd=home, stdin=subprocess.DEVNULL,
                                   stdout=log, stderr=log)
        try:
            windows = wait_for("the trainer's window", lambda: trainer_windows(display), 60, interval=0.05)
            time.sleep(2)  # long enough for the platform layer to have looked for its buses
            if how == "window":
                close_windows(display, windows)
            else:
                trainer.send_signal(signal.SIGTERM)
            trainer.wait(30)
        finally:
            if trainer.poll() is None:
                trainer.kill()
                trainer.wait()
        # A daemon that detaches goes on starting for a moment after its parent ends.
        time.sleep(1)
        reap()
        problems = []
        left = [pid for pid in running_children() if pid != xvfb_pid]
        for pid in left:
            problems.append(f"process {pid} outlived the trainer: {command_of(pid)}")
            os.kill(pid, signal.SIGKILL)
        reap()
        for name, folder in (("home", home), ("temporary", temp)):
            written = contents(folder)
            if written:
                problems.append(f"the {name} folder is no longer empty: {', '.join(written)}")
        if how == "window" and trainer.returncode != 0:
            problems.append(f"closed through its window, the trainer exited with {trainer.returncode}: "
                            + (log.seek(0) or log.read()).decode(errors="replace")[-800:])
        return problems
    finally:
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
                print(f"PASS: ended by {how}")
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
