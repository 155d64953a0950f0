#!/usr/bin/python3
"""The trainer typed through a real Wubi input method, as a learner would, and read from outside.

Runs the trainer on a private X display with a private D-Bus session and the IBus daemon with its
Wubi table engine (see ime_session.py), sends real key and mouse events with xdotool (XTest), and
reads what the learner sees through the accessibility bus (AT-SPI), never from inside the program:

 1. each of the six character categories, one batch typed by the codes the hint shows; nothing
    is left in the next code box, and a blank typed after a code (as the rules memo says) is
    refused;
 2. the first passage of the typing test typed through the engine, in phrases where the engine has
    them (one of them crossing the end of a line) and with one deliberately wrong phrase: the mark
    under every character is right, and the finish message reports a speed;
 3. a half-typed code when the focus moves (to the next line, inside the line, to another page)
    lands once, in its own box.

Usage: tst_ime.py <trainer program>. Exits 0 when every step passed; otherwise names the step
that broke and what it saw.
"""

import os
import re
import signal
import sqlite3
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ime_session import Session, StepFailed, wait_for  # noqa: E402

ENGINE_TABLE = "/usr/share/ibus-table/tables/wubi-jidian86.db"
# The engine's full-width punctuation, by the key that gives it.
PUNCTUATION_KEYS = {"，": ",", "。": ".", "？": "?", "：": ":", "；": ";", "、": "\\", "！": "!"}
CATEGORIES = ["键名字", "成字字根", "一级简码", "二级简码", "三级简码", "识别码"]
RIGHT, WRONG = "—", "×"
MARKS = 59
# A step ends as soon as its condition holds; the limit is long so that a loaded machine or a
# sanitizer build (several times slower) does not fail a step that is merely slow.
STEP_TIMEOUT = 30.0


class Codes:
    """What to type for a text so that the engine gives it, from the engine's own table.

    For each character or phrase: its shortest code (no 'z', the engine's wildcard key) under which
    it is the first candidate, that is, it has the highest frequency among the entries with exactly
    that code. Committing a candidate only raises it further, so it stays first for the whole run.
    """

    def __init__(self, path):
        self.entries = {}
        self.codes = {}
        with sqlite3.connect(f"file:{path}?mode=ro", uri=True) as db:
            for code, phrase, freq in db.execute("SELECT tabkeys, phrase, freq FROM phrases"):
                self.entries.setdefault(code, []).append((phrase, freq))
                self.codes.setdefault(phrase, []).append(code)

    def code(self, phrase):
        best = None
        for code in self.codes.get(phrase, []):
            if "z" in code:
                continue
            rivals = [f for p, f in self.entries[code] if p != phrase]
            mine = max(f for p, f in self.entries[code] if p == phrase)
            if all(f < mine for f in rivals) and (best is None or len(code) < len(best)):
                best = code
        return best

    def keys(self, text):
        """The keys for `text` as a list of (text, keys), phrases of up to four characters first."""
        out, i = [], 0
        while i < len(text):
            if text[i] in PUNCTUATION_KEYS:
                out.append((text[i], PUNCTUATION_KEYS[text[i]]))
                i += 1
                continue
            for n in (4, 3, 2, 1):
                code = self.code(text[i:i + n])
                if code:
                    out.append((text[i:i + n], code + " "))
                    i += n
                    break
            else:
                raise StepFailed(f"the engine's table gives no code for {text[i]!r}")
        return out


class Window:
    """The trainer's window as the accessibility bus shows it."""

    def __init__(self, session, pyatspi):
        self.session = session
        self.pyatspi = pyatspi
        desktop = pyatspi.Registry.getDesktop(0)
        pid = session.trainer.pid
        self.app = wait_for("the trainer on the accessibility bus",
                            lambda: next((a for a in desktop if a and a.get_process_id() == pid), None), 60)
        wait_for("the trainer's window", lambda: self.app.childCount > 0, 60)
        self.index()

    def index(self):
        """Finds every control by its name, and by its description (what a label or line is)."""
        self.controls = {}

        def walk(node, depth):
            for child in node:
                if child is None:
                    continue
                for key in (child.description, child.name):
                    if key and key not in self.controls:
                        self.controls[key] = child
                if depth < 30:
                    walk(child, depth + 1)

        walk(self.app, 0)

    def find(self, key):
        if key not in self.controls:
            self.index()
        if key not in self.controls:
            raise StepFailed(f"no control named or described {key!r} in the window")
        return self.controls[key]

    def text(self, key):
        node = self.find(key)
        node.clear_cache()
        if "Text" in node.get_interfaces():
            return node.queryText().getText(0, -1)
        return node.name

    def center(self, key):
        e = self.find(key).queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        if e.width <= 0 or e.height <= 0:
            raise StepFailed(f"{key!r} is not on the screen")
        return e

    def click(self, key, x=None):
        e = self.center(key)
        self.session.xdotool("mousemove", "--sync", str(e.x + (x if x is not None else e.width // 2)),
                             str(e.y + e.height // 2), "click", "1")

    def focused(self, key):
        node = self.find(key)
        node.clear_cache()
        return node.getState().contains(self.pyatspi.STATE_FOCUSED)

    def click_in_dialog(self, name):
        for window in self.app:
            if window is not None and window.getRoleName() in ("dialog", "alert"):
                for node in self.pyatspi.findAllDescendants(window, lambda n: n.getRoleName() == "push button"):
                    if node.name.replace("&", "") == name:
                        e = node.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
                        self.session.xdotool("mousemove", "--sync", str(e.x + e.width // 2),
                                             str(e.y + e.height // 2), "click", "1")
                        return
        raise StepFailed(f"no button {name!r} in a message box")

    def dialog_text(self):
        """The text of a message box the trainer shows, or None."""
        for window in self.app:
            if window is None or window.getRoleName() not in ("dialog", "alert"):
                continue
            for node in self.pyatspi.findAllDescendants(window, lambda n: n.getRoleName() == "label"):
                if node.name:
                    return node.name
        return None


class Test:
    def __init__(self, program):
        self.session = Session(program, log=lambda text: print("  " + text, flush=True))
        self.step_name = "start-up"

    def step(self, name):
        self.step_name = name
        print(f"step: {name}", flush=True)

    def wait(self, what, condition, timeout=STEP_TIMEOUT):
        return wait_for(what, condition, timeout)

    def run(self):
        started = time.monotonic()
        self.session.start()
        self.session.start_trainer()
        os.environ.update(self.session.env)
        import pyatspi  # reads the session's bus from the environment on first use

        self.w = Window(self.session, pyatspi)
        self.codes = Codes(ENGINE_TABLE)
        self.character_drill()
        self.typing_test()
        self.pending_code()
        print(f"all steps passed in {time.monotonic() - started:.1f} s", flush=True)

    # -- 1. the single-character drill ---------------------------------------------------------

    def character_drill(self):
        w = self.w
        self.step("single-character drill: open the page")
        w.click("单字练习")
        self.wait("the category buttons", lambda: w.find("键名字"))
        for category in CATEGORIES:
            # The first-level short codes are typed as the rules memo says: the code, then a blank.
            blank = " " if category == "一级简码" else ""
            self.step(f"single-character drill: one batch of {category}" + (", a blank after each code" if blank else ""))
            w.click(category)
            self.wait("the code box 编码1 to take the focus", lambda: w.focused("编码1"))
            first = [w.text(f"目标字{n}") for n in range(1, 16)]
            for n in range(1, 16):
                target = first[n - 1]
                code = self.wait(f"the hint for slot {n} ({target})",
                                 lambda: w.text("答案提示字") == target and w.text("答案提示编码"))
                self.session.xdotool("type", "--delay", "10", code + blank)
                if n < 15:
                    self.wait(lambda: f"slot {n} ({target}, typed {code!r}) to be accepted, with 编码{n + 1} "
                              f"empty (it holds {w.text(f'编码{n + 1}')!r})",
                              lambda: w.text(f"已打出的字{n}") == target and w.focused(f"编码{n + 1}"))
            self.wait("the next batch after slot 15",
                      lambda: [w.text(f"目标字{n}") for n in range(1, 16)] != first and w.focused("编码1"))
            left = {n: w.text(f"编码{n}") for n in range(1, 16) if w.text(f"编码{n}")}
            if left:
                raise StepFailed(f"code boxes hold letters after the batch: {left}")

    # -- 2. the typing test --------------------------------------------------------------------

    def typed_lines(self):
        return [self.w.text(f"输入第{n}行") for n in range(1, 5)]

    def mark_lines(self):
        return [self.w.text(f"标记第{n}行") for n in range(1, 5)]

    def start_run(self):
        w = self.w
        self.wait("开始测试 to be enabled", lambda: w.find("开始测试").getState().contains(w.pyatspi.STATE_ENABLED))
        w.click("开始测试")
        self.wait("the first typed line to take the focus", lambda: w.focused("输入第1行"))

    def typing_test(self):
        w = self.w
        self.step("typing test: choose 测试一 and start")
        w.click("文章测试")
        self.wait("the test buttons", lambda: w.find("测试一"))
        w.click("测试一")
        passage = self.wait("the passage of 测试一", lambda: all(self.passage_lines()) and self.passage_lines())
        self.start_run()

        text = "".join(passage)
        keys = self.codes.keys(text)
        # One deliberate wrong phrase: 还是 where the passage has 不是.
        at = text.index("不是")
        keys = self.codes.keys(text[:at]) + [("还是", self.codes.code("还是") + " ")] + self.codes.keys(text[at + 2:])
        typed_all = text[:at] + "还是" + text[at + 2:]
        if at >= len(passage[0]):
            raise StepFailed("不是 is not in the first line: its wrong mark would be checked late")
        ends = [sum(len(line) for line in passage[:n + 1]) for n in range(4)]
        done, crossing = 0, []
        for segment, _ in keys:
            if any(done < end < done + len(segment) for end in ends):
                crossing.append(segment)
            done += len(segment)
        if not crossing:
            raise StepFailed("no phrase of the passage crosses the end of a line: the test lost its point")
        print(f"  {len(keys)} commits, {sum(len(s) > 1 for s, _ in keys)} of them phrases; "
              f"crossing a line end: {' '.join(crossing)}", flush=True)

        done = 0
        for i, (segment, key) in enumerate(keys):
            last = i == len(keys) - 1
            if last:
                self.check_marks(passage, typed_all[:done])
            self.step(f"typing test: commit {i + 1} of {len(keys)}, {segment} ({key.strip()})")
            self.session.xdotool("type", "--delay", "10", key)
            done += len(segment)
            if last:
                break
            so_far = typed_all[:done]
            want = [so_far[(ends[n - 1] if n else 0):ends[n]] for n in range(4)]
            self.wait(lambda: f"the typed lines to read {want}, they read {self.typed_lines()}",
                      lambda: self.typed_lines() == want)
            if any(done - len(segment) < end <= done for end in ends):
                self.check_marks(passage, so_far)

        self.step("typing test: the finish message")
        message = self.wait("the speed message", w.dialog_text)
        if not re.fullmatch(r"您的速度为每分钟：\d+字", message):
            raise StepFailed(f"the finish message reads {message!r}")
        print(f"  finish message: {message}", flush=True)
        w.click_in_dialog("OK")
        self.wait("the message to close and the page to reset",
                  lambda: w.dialog_text() is None and self.typed_lines() == [""] * 4
                  and self.mark_lines() == [RIGHT * MARKS] * 4)

    def passage_lines(self):
        return [self.w.text(f"原文第{n}行") for n in range(1, 5)]

    def check_marks(self, passage, typed):
        self.step(f"typing test: a mark under each of the {len(typed)} characters typed")
        ends = [sum(len(line) for line in passage[:n + 1]) for n in range(4)]
        want = []
        for n in range(4):
            line = typed[(ends[n - 1] if n else 0):ends[n]]
            marks = "".join(RIGHT if c == passage[n][j] else WRONG for j, c in enumerate(line))
            want.append(marks + RIGHT * (MARKS - len(marks)))
        self.wait(lambda: f"the mark lines to read {want}, they read {self.mark_lines()}", lambda: self.mark_lines() == want)

    # -- 3. a pending code when the focus moves ------------------------------------------------

    def half_type(self, line, character):
        """Types the code of `character` into typed line `line` without committing it, and waits
        until the engine shows it as a preedit: the line's ink then reaches further right."""
        e = self.w.center(f"输入第{line}行")
        before = self.session.ink_right_edge(e.x, e.y, e.width, e.height)
        self.session.xdotool("type", "--delay", "10", self.codes.code(character))
        self.wait(f"{character} to show as a pending code in line {line}",
                  lambda: self.session.ink_right_edge(e.x, e.y, e.width, e.height) > before + 6)

    def type_character(self, character):
        self.session.xdotool("type", "--delay", "10", self.codes.code(character) + " ")

    def pending_code(self):
        w = self.w
        self.step("pending code: start a run")
        self.start_run()

        self.step("pending code: 总 half-typed in line 1, then a click into line 2")
        self.half_type(1, "总")
        w.click("输入第2行")
        self.wait("line 2 to take the focus", lambda: w.focused("输入第2行"))
        # A character typed now arrives after anything the focus move committed.
        self.type_character("人")
        self.wait(lambda: f"总 once in line 1 and 人 alone in line 2, they read {self.typed_lines()}",
                  lambda: self.typed_lines()[:2] == ["总", "人"])

        self.step("pending code: 总 half-typed in line 2, then a click at the start of line 2")
        self.half_type(2, "总")
        w.click("输入第2行", x=1)
        self.type_character("人")
        self.wait(lambda: f"line 2 to hold 总 once and the new 人 at its start, it reads {self.typed_lines()[1]!r}",
                  lambda: self.typed_lines()[1] == "人人总")

        self.step("pending code: 人 half-typed in line 2, then a switch to 单字练习")
        self.half_type(2, "人")
        w.click("单字练习")
        w.click("编码1")
        self.wait("编码1 to take the focus", lambda: w.focused("编码1"))
        self.session.xdotool("type", "--delay", "10", "q")
        self.wait(lambda: f"编码1 to hold only the letter typed, it holds {w.text('编码1')!r}", lambda: w.text("编码1") == "q")
        # The pending 人 ends in line 2 once, or nowhere.
        line = self.typed_lines()[1]
        if line not in ("人人人总", "人人总"):
            raise StepFailed(f"line 2 reads {line!r}")


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    test = Test(os.path.abspath(argv[1]))
    # Ended from outside (a test driver's time limit): still end everything it started.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(f"FAILED at step '{test.step_name}': ended from outside"))
    try:
        test.run()
        return 0
    except StepFailed as e:
        print(f"FAILED at step '{test.step_name}': {e}", flush=True)
        return 1
    finally:
        test.session.stop()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
