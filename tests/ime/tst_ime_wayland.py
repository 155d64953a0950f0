#!/usr/bin/python3
"""The end-to-end input-method test of tst_ime.py in a Wayland session.

The trainer runs natively on a headless sway (wayland_session.py) with IBus or Fcitx 5 through
its Qt module; keys come from a virtual keyboard, clicks through the accessibility bus (the
headless seat has no pointer), and the window is read through the accessibility bus as under X.
The steps are tst_ime.py's own where they need no click at a place:

 1. the window is named after the desktop entry vardelo.desktop (sway's app id), which a Wayland
    desktop takes its icon and name from, and it cannot be resized;
 2. the two key drills: letters typed with the engine on reach the entry box as letters;
 3. each of the six character categories, one batch typed by the codes the hint shows;
 4. the first line of a passage typed through the engine, in phrases, with a mark under every
    character;
 5. a half-typed code in a typed line, then Tab, then Enter: the line keeps the focus and takes
    what it takes under X;
 6. the lookup box takes what the engine commits, and the page answers it.

Usage: tst_ime_wayland.py [--framework ibus|fcitx5] [--scale 1|2] [--shots DIR] <trainer program>.
With --shots it saves a picture of the window on every page (each tab clicked in turn) before
the steps. Exits 0 when every step passed, 1 naming the step that broke, 77 (a skip) when the
compositor cannot start here, saying why.
"""

import argparse
import concurrent.futures
import os
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ime_session import StepFailed, installed_version, wait_for  # noqa: E402
from tst_ime import (CODES, FRAMEWORKS, MARKS, RIGHT, STEP_TIMEOUT, Test, Window,  # noqa: E402
                     pending_rules, run_to_the_end)
from wayland_session import Unavailable, WaylandSession  # noqa: E402

SKIP = 77


class WaylandWindow(Window):
    """The window as under X, but clicked through the accessibility bus: sway's headless seat has
    no pointer, and Debian has no tool that adds a virtual one and clicks at a place. A button or a
    tab is pressed by its own action; a radio button or check box is focused by its action and
    clicked with a blank from the keyboard; a box is given the focus."""

    def __init__(self, session, pyatspi):
        # An action runs the learner's whole chain before the trainer answers (a page shown for the
        # first time reads its tables): on a loaded machine that outlasts the bus library's 0.8 s.
        from gi.repository import Atspi

        Atspi.set_timeout(int(STEP_TIMEOUT * 1000), 60000)
        super().__init__(session, pyatspi)

    def click(self, key, x=None):
        if x is not None:
            raise StepFailed(f"a click at a place inside {key!r} is not made under Wayland")
        node = self.find(key)
        node.clear_cache()
        if "Action" in node.get_interfaces():
            action = node.queryAction()
            names = {action.getName(i).lower(): i for i in range(action.nActions)}
            self.walked = False  # a click may show another page
            for wanted in ("press", "click"):
                if wanted in names:
                    action.doAction(names[wanted])
                    return
            if "toggle" in names and "setfocus" in names:
                # A radio button or check box: its toggle action only checks it, which is not the
                # learner's click that the page answers. Focused, it takes a blank as a click.
                action.doAction(names["setfocus"])
                wait_for(f"{key!r} to take the focus", lambda: self.focused(key), 30)
                self.session.xdotool("key", "space")
                return
            if "setfocus" in names:
                action.doAction(names["setfocus"])
                return
        if not node.queryComponent().grabFocus():
            raise StepFailed(f"{key!r} can be neither pressed nor focused through the accessibility bus")
        self.walked = False


class WaylandTest(Test):
    def __init__(self, program, framework, shots=None, scale=1):
        # Test's own start, on a Wayland session.
        self.framework = framework
        self.shots = shots
        version = installed_version(framework)
        self.pending = pending_rules(framework, version)
        print(f"{FRAMEWORKS[framework].title} {'.'.join(map(str, version)) or '(version unknown)'} "
              f"on a headless Wayland compositor", flush=True)
        self.session = WaylandSession(program, framework, log=lambda text: print("  " + text, flush=True),
                                      scale=scale)
        self.step_name = "start-up"
        self.started = time.monotonic()

    def shot(self, name):
        if self.shots:
            os.makedirs(self.shots, exist_ok=True)
            path = os.path.join(self.shots, f"wayland-{self.framework}-{name}.png")
            self.session.window_shot(path)
            print(f"  screenshot {path}", flush=True)

    def run(self):
        with concurrent.futures.ThreadPoolExecutor(max_workers=1) as pool:
            codes = pool.submit(CODES[self.framework], self.session)
            self.session.start()
            self.session.start_trainer()
            self.step("the trainer's window on the compositor")
            node = self.session.wait_for_window()
            os.environ.update(self.session.env)
            import pyatspi  # reads the session's bus from the environment on first use

            self.w = WaylandWindow(self.session, pyatspi)
            self.codes = codes.result()
        self.window_identity(node)
        if self.shots:
            self.page_shots()
        self.key_drills()
        self.character_drill()
        self.typing_line()
        self.pending_keys()
        self.lookup()
        print(f"all steps passed under {self.framework} on Wayland in {time.monotonic() - self.started:.1f} s",
              flush=True)

    # -- 1. what the desktop knows the window by -------------------------------------------------

    def window_identity(self, node):
        self.step("the window names its desktop entry and keeps its size")
        if node.get("app_id") != "vardelo":
            raise StepFailed(f"the window's app id is {node.get('app_id')!r}, not 'vardelo' (vardelo.desktop)")
        # A window of fixed size is one the compositor floats at the size the trainer asks for.
        if node.get("type") != "floating_con":
            raise StepFailed(f"the window is tiled ({node.get('type')}), as a window whose size may change")
        print(f"  app id {node['app_id']!r}, title {node.get('name')!r}, "
              f"{node['window_rect']['width']}x{node['window_rect']['height']}", flush=True)

    # -- pictures of every page ------------------------------------------------------------------

    def page_shots(self):
        self.step("a picture of every page")
        pyatspi = self.w.pyatspi
        tabs = pyatspi.findDescendant(self.w.app, lambda n: n.getRole() == pyatspi.ROLE_PAGE_TAB_LIST)
        captions = [tab.name for tab in tabs if tab is not None and tab.getRole() == pyatspi.ROLE_PAGE_TAB]

        def shown():  # the tab list is named after the page shown
            tabs.clear_cache()
            return tabs.name

        for page, caption in enumerate(captions, 1):
            if page > 1:
                self.w.click(caption)
            self.wait(lambda: f"page {page} ({caption}) to show, {shown()!r} shows", lambda: shown() == caption)
            self.settled_shot(f"page{page}")

    def settled_shot(self, name):
        """A picture once two in a row agree: the page has been painted whole."""
        if not self.shots:
            return
        os.makedirs(self.shots, exist_ok=True)
        path = os.path.join(self.shots, f"wayland-{self.framework}-x{self.session.scale}-{name}.png")
        previous = None
        for _ in range(50):
            self.session.window_shot(path)
            with open(path, "rb") as f:
                now = f.read()
            if now == previous:
                break
            previous = now
            time.sleep(0.2)
        print(f"  screenshot {path}", flush=True)

    # -- 4. a typing line ------------------------------------------------------------------------

    def typing_line(self):
        w = self.w
        self.step("typing line: choose 测试一 and start")
        w.click("文章测试")
        self.wait("the test buttons", lambda: w.find("测试一"))
        w.click("测试一")
        passage = self.wait(lambda: f"the passage of 测试一, its lines read {self.passage_lines()}",
                            lambda: all(self.passage_lines()) and self.passage_lines())
        self.start_run()
        line = passage[0]
        typed = ""
        for segment, key in self.codes.keys(line):
            self.step(f"typing line: {segment} ({key.strip()})")
            self.type(key)
            typed += segment
            self.wait(lambda: f"line 1 to read {typed!r}, it reads {self.typed_lines()[0]!r}",
                      lambda: self.typed_lines()[0] == typed)
        want = RIGHT * MARKS
        self.wait(lambda: f"every mark of line 1 to be right, they read {self.mark_lines()[0]!r}",
                  lambda: self.mark_lines()[0] == want)
        self.shot("typing-line")
        w.click("停止测试")
        self.wait("开始测试 to be enabled again",
                  lambda: w.find("开始测试").getState().contains(w.pyatspi.STATE_ENABLED))


    # -- 5. a pending code and the keys that would move the focus --------------------------------

    def pending_keys(self):
        """As under X (tst_ime.py's pending-code steps): with a code pending, both engines take Tab
        and Enter themselves; Tab commits the first candidate, Enter the code's letters, which the
        trainer drops. The line keeps the focus either way."""
        w = self.w
        self.step("pending code: start a run")
        self.start_run()
        self.tab_and_enter_on_a_pending_code()
        w.click("停止测试")
        self.wait("开始测试 to be enabled again",
                  lambda: w.find("开始测试").getState().contains(w.pyatspi.STATE_ENABLED))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--framework", choices=sorted(FRAMEWORKS), default="ibus")
    parser.add_argument("--scale", type=int, choices=(1, 2), default=1)
    parser.add_argument("--shots", help="a folder for pictures of every page and of a typed line")
    parser.add_argument("program")
    args = parser.parse_args(argv[1:])
    test = WaylandTest(os.path.abspath(args.program), args.framework, args.shots, args.scale)
    try:
        return run_to_the_end(test, f"{args.framework} on Wayland", passing=Unavailable)
    except Unavailable as e:
        print(f"SKIPPED under {args.framework}: no Wayland compositor here: {e}", flush=True)
        return SKIP


if __name__ == "__main__":
    sys.exit(main(sys.argv))
