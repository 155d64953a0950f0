"""An X server of a test's own, and the process helpers of the tests that run the trainer on one.

tst_no_trace.py (a bare X session) and ime_session.py (a session with a bus and an input method,
also behind scripts/ime-session.sh) start their X server here, so that both pick a free display
the same way and wait for it the same way.
"""

import os
import select
import subprocess
import time


def sanitizer_settings():
    """The sanitizers' settings of this process's environment, for a trainer started with an
    environment of its own: a sanitizer build runs it as the test runner asks (leak checking off,
    as in the other tests: its tracer can crash at exit on a busy machine)."""
    names = ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS")
    return {name: os.environ[name] for name in names if name in os.environ}


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


def read_line(fd, what, timeout=30.0):
    """Reads the one line a child writes to the pipe `fd`, within `timeout`."""
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


def start_display(env, display=None, timeout=30.0):
    """Starts Xvfb with `env`, on `display` (such as ":99") or on a free one; returns its process
    and its display once it takes connections."""
    # The server writes its display number to the pipe once it takes connections; without a
    # number asked for, it picks a free one.
    r, w = os.pipe()
    argv = ["Xvfb"] + ([display] if display else []) + ["-displayfd", str(w), "-screen", "0", "1280x1024x24",
                                                        "-nolisten", "tcp", "-noreset"]
    try:
        server = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL, pass_fds=(w,))
    finally:
        os.close(w)
    try:
        return server, ":" + read_line(r, "the X server to report its display number", timeout)
    except StepFailed:
        server.kill()
        server.wait()
        raise
    finally:
        os.close(r)


def children(pid):
    """Direct children of `pid`, from /proc, ended ones not yet collected included."""
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


def descendants(pid):
    found, todo = [], [pid]
    while todo:
        for kid in children(todo.pop()):
            found.append(kid)
            todo.append(kid)
    return found


def alive(pid):
    """Whether `pid` runs (an ended process not yet collected does not)."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().split(") ")[-1][0] != "Z"
    except OSError:
        return False
