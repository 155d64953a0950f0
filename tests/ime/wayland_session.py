#!/usr/bin/python3
"""The input-method session of ime_session.py on a headless Wayland compositor instead of X.

sway with its headless back end and software renderer draws into memory; the trainer runs on it
through Qt's Wayland module (qt6-wayland), the input method and the accessibility bridge as
under X, on the session's own D-Bus bus. Keys come from a virtual keyboard (wtype), clicks from
sway's own seat commands (swaymsg), pictures from grim. sway will not run as root: started by
root, it runs as `nobody` in a folder of its own, and the rest connects to its socket by path.

Where the compositor cannot start (not installed, or it ends at once), start() raises Unavailable
with the reason, which the tests turn into a skip.
"""

import json
import os
import pwd
import shutil
import subprocess
import tempfile

from ime_session import FRAMEWORKS, Fcitx5, IBus, Session, StepFailed, wait_for


class Unavailable(Exception):
    """The compositor could not start here; the message says why."""


class WaylandIBus(IBus):
    def start(self, session, timeout):
        session.start_process("ibus-daemon", ["ibus-daemon", "--panel=disable", "--emoji-extension=disable",
                                              "--config=disable"])
        # `ibus engine NAME` fails here even when it switches: it also sets the engine's X keyboard
        # layout, and there is no X server. The engine is the one the daemon reports.
        def switched():
            session.run(["ibus", "engine", self.engine])
            return session.run(["ibus", "engine"]).stdout.strip() == self.engine

        wait_for("the IBus daemon to take the Wubi engine", switched, timeout)


class WaylandFcitx5(Fcitx5):
    # No X connection and no candidate window: the D-Bus front end and the Wubi table are all the
    # Qt module talks to.
    addons = "dbus,dbusfrontend,keyboard,table,punctuation,pinyinhelper"


class WaylandSession(Session):
    def __init__(self, program, framework="ibus", log=None, scale=1):
        super().__init__(program, framework, log)
        self.framework = {"ibus": WaylandIBus, "fcitx5": WaylandFcitx5}[framework]()
        self.scale = scale
        self.compositor = None  # sway's folder: its runtime folder and its configuration

    # -- starting -----------------------------------------------------------------------------

    def start_display(self, display=None):
        for tool in ("sway", "swaymsg", "wtype", "grim"):
            if not shutil.which(tool, path=self.env["PATH"]):
                raise Unavailable(f"{tool} is not installed (scripts/setup-debian.sh installs it)")
        self.compositor = tempfile.mkdtemp(prefix="vardelo-sway-")
        argv = ["sway", "--config", os.path.join(self.compositor, "config")]
        if os.geteuid() == 0:
            try:
                nobody = pwd.getpwnam("nobody")
            except KeyError:
                raise Unavailable("sway refuses to run as root, and there is no user nobody to run it as") from None
            os.chown(self.compositor, nobody.pw_uid, nobody.pw_gid)
            argv = ["setpriv", f"--reuid={nobody.pw_uid}", f"--regid={nobody.pw_gid}", "--clear-groups"] + argv
        with open(os.path.join(self.compositor, "config"), "w") as f:
            # One output as large as the X screen in logical pixels; the pointer moves only when told to. Each virtual
            # keyboard stays a keyboard of its own with its own keymap (grouped, a new one could
            # be taken for the last and typed through its keymap), and a key held by a process the
            # machine's load holds up never repeats.
            f.write(f"output HEADLESS-1 resolution {1280 * self.scale}x{1024 * self.scale} scale {self.scale}\n"
                    "focus_follows_mouse no\n"
                    "seat * keyboard_grouping none\n"
                    "input type:keyboard repeat_delay 60000\n")
        env = {
            "PATH": self.env["PATH"],
            "HOME": self.compositor,
            "XDG_RUNTIME_DIR": self.compositor,
            "WLR_BACKENDS": "headless",
            "WLR_LIBINPUT_NO_DEVICES": "1",
            "WLR_RENDERER": "pixman",
        }
        sway = self.start_process("sway", argv, env=env)

        def sockets():
            if sway.poll() is not None:
                raise Unavailable(f"sway ended at once ({self.process_state('sway')}): "
                                  + " | ".join(self.output_tail("sway", 5)))
            names = os.listdir(self.compositor)
            wayland = [n for n in names if n.startswith("wayland-") and not n.endswith(".lock")]
            ipc = [n for n in names if n.startswith("sway-ipc.")]
            return wayland and ipc and (wayland[0], ipc[0])

        try:
            wayland, ipc = wait_for("sway's sockets", sockets, 30)
        except StepFailed as e:
            raise Unavailable(f"sway did not start: {e}") from None
        self.env["WAYLAND_DISPLAY"] = os.path.join(self.compositor, wayland)
        self.env["SWAYSOCK"] = os.path.join(self.compositor, ipc)
        self.env.pop("DISPLAY", None)
        wait_for("sway to answer on its socket", lambda: self.run(["swaymsg", "-t", "get_outputs"]).returncode == 0, 30)
        # The headless seat has no keyboard of its own, and a virtual keyboard that comes and goes
        # with each wtype would give the trainer a keyboard only after wtype's keys have gone to
        # nobody. One virtual keyboard stays for the whole session (a wtype that sleeps), so that
        # the seat has a keyboard from the start; each wtype after it types through its own.
        self.start_process("keyboard", ["wtype", "-s", str(7 * 24 * 3600 * 1000)])
        wait_for("the seat to have a keyboard", self.seat_has_keyboard, 30)
        self.display = f"sway (headless, scale {self.scale}) on {self.env['WAYLAND_DISPLAY']}"
        self.log(f"Wayland display: {self.display}")

    def seat_has_keyboard(self):
        done = self.run(["swaymsg", "-t", "get_seats"])
        return done.returncode == 0 and any(d.get("type") == "keyboard" for seat in json.loads(done.stdout)
                                            for d in seat.get("devices", []))

    def start_trainer(self, extra_env=None):
        super().start_trainer({"QT_QPA_PLATFORM": "wayland", **(extra_env or {})})

    # -- the trainer's window as sway has it -----------------------------------------------------

    def window_node(self):
        """sway's node of the trainer's window, or None while it has none."""
        done = self.run(["swaymsg", "-t", "get_tree"])
        if done.returncode != 0:
            return None
        todo = [json.loads(done.stdout)]
        while todo:
            node = todo.pop()
            if node.get("pid") == self.trainer.pid and node.get("visible"):
                return node
            todo += node.get("nodes", []) + node.get("floating_nodes", [])
        return None

    def wait_for_window(self, timeout=60.0):
        return wait_for("the trainer's window on sway", self.window_node, timeout)

    def origin(self):
        """Where the window's content starts on the output, in logical pixels."""
        node = self.window_node()
        if not node:
            raise StepFailed("the trainer has no window on sway")
        return node["rect"]["x"] + node["window_rect"]["x"], node["rect"]["y"] + node["window_rect"]["y"]

    # -- driving and looking ----------------------------------------------------------------------

    def xdotool(self, *args):
        """The X session's key and mouse events, given as xdotool's arguments, sent through a
        virtual keyboard and sway's seat. Positions are in the window: a Wayland client does not
        know where its window is, so the accessibility bus gives them in the window."""
        a = list(args)
        if len(a) == 4 and a[:2] == ["type", "--delay"]:
            # wtype takes no delay of 0: without one it types at full speed.
            argv = ["wtype"] + (["-d", a[2]] if int(a[2]) > 0 else []) + [a[3]]
        elif len(a) == 2 and a[0] == "key":
            argv = ["wtype"]
            *mods, key = a[1].split("+")
            for m in mods:
                argv += ["-M", {"ctrl": "ctrl", "shift": "shift", "alt": "alt"}[m]]
            argv += ["-k", key]
            for m in reversed(mods):
                argv += ["-m", m]
        elif len(a) == 5 and a[0] == "mousemove" and a[3:] == ["click", "1"]:
            x0, y0 = self.origin()
            x, y = x0 + int(a[1]), y0 + int(a[2])
            argv = ["swaymsg", f"seat - cursor set {x} {y}, seat - cursor press button1, "
                    "seat - cursor release button1"]
        else:
            raise StepFailed(f"no Wayland way to do xdotool {' '.join(args)}")
        done = self.run(argv, timeout=20)
        if done.returncode != 0:
            raise StepFailed(f"{' '.join(argv)} failed: {(done.stderr or done.stdout).strip()}")

    def screenshot(self, path, geometry=None):
        """The output, or the area `geometry` (WxH+X+Y, as for import), as grim takes it."""
        argv = ["grim"]
        if geometry:
            size, x, y = geometry.split("+")
            argv += ["-g", f"{x},{y} {size}"]
        done = subprocess.run(argv + [path], env=self.env, capture_output=True, timeout=20)
        if done.returncode != 0:
            raise StepFailed(f"no screenshot: {done.stderr.decode(errors='replace').strip()}")

    def window_shot(self, path):
        """The trainer's window alone."""
        node = self.window_node()
        if not node:
            raise StepFailed("the trainer has no window on sway")
        r = node["rect"]
        self.screenshot(path, f"{r['width']}x{r['height']}+{r['x']}+{r['y']}")

    def pixels(self, x, y, width, height):
        """The window's pixels in an area given in the window, as RGB triples row by row, one for
        each logical pixel whatever the output's scale."""
        x0, y0 = self.origin()
        done = subprocess.run(["grim", "-t", "ppm", "-s", "1", "-g", f"{x0 + x},{y0 + y} {width}x{height}", "-"],
                              env=self.env, capture_output=True, timeout=20)
        if done.returncode != 0:
            raise StepFailed(f"cannot read the screen at {width}x{height}+{x}+{y}: {done.stderr.decode().strip()}")
        # A binary PPM: P6, width, height and the largest value, each after white space, then the bytes.
        fields, data = done.stdout.split(maxsplit=4), None
        if len(fields) != 5 or fields[0] != b"P6" or (int(fields[1]), int(fields[2])) != (width, height):
            raise StepFailed(f"grim gave no {width}x{height} picture")
        data = fields[4]
        return [tuple(data[i:i + 3]) for i in range(0, 3 * width * height, 3)]

    # -- stopping ------------------------------------------------------------------------------

    def stop(self):
        super().stop()
        if self.compositor:
            shutil.rmtree(self.compositor, ignore_errors=True)


__all__ = ["FRAMEWORKS", "Unavailable", "WaylandSession"]
