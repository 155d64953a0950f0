#!/usr/bin/python3
"""The trainer typed through a real Wubi input method, as a learner would, and read from outside.

Runs the trainer on a private X display with a private D-Bus session and one input-method
framework with its Wubi 86 table (IBus or Fcitx 5, see ime_session.py), sends real key and mouse
events through XTest (as xdotool sends them), and reads what the learner sees through the
accessibility bus (AT-SPI), never from inside the program:

 1. the two key drills: letters typed with the engine on reach the entry box as letters;
 2. each of the six character categories, one batch typed by the codes the hint shows (one of them
    at full speed); nothing is left in the next code box, and a blank typed after a code (as the
    rules memo says) is refused;
 3. a batch of two-character phrases by the hint codes, its fifth phrase committed by the engine
    into its accepted box, and two long phrases;
 4. the first passage of the typing test typed through the engine, in phrases where the engine has
    them (one of them crossing the end of a line) and with one deliberately wrong phrase: the mark
    under every character is right, and the finish message reports a speed;
 5. a half-typed code when the focus moves (to the next line, inside the line, Tab, Enter, another
    page, the end of a phrase batch) lands once, in its own box, or nowhere;
 6. while a typing-test run is under way, Enter or Tab in the last line and the blank a Wubi typist
    presses next (with a code pending or not) leave the run going;
 7. a blank pressed by habit after every commit (also after a code the engine committed by itself)
    is left out of the typed line, and every mark stays right.

The frameworks differ in what a half-typed code is when the toolkit commits it on a focus move:
IBus shows the candidate, so the character lands in its box; Fcitx 5 shows the code letters, which
the trainer drops, so nothing lands. A click inside the same line differs by version too (PENDING):
each framework is held to what its installed version does, which the test prints first.

Usage: tst_ime.py [--framework ibus|fcitx5] [--shots DIR] <trainer program>. Exits 0 when every
step passed; otherwise names the framework and the step that broke, and what it saw. With --shots,
saves screenshots of a code box and of a typed line with the engine on.
"""

import argparse
import concurrent.futures
import os
import re
import signal
import sqlite3
import subprocess
import sys
import time
import traceback

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ime_session import FRAMEWORKS, Session, StepFailed, installed_version, wait_for  # noqa: E402

IBUS_TABLE = "/usr/share/ibus-table/tables/wubi-jidian86.db"
FCITX5_TABLE = "/usr/share/libime/wbx.main.dict"
# The engines' full-width punctuation, by the key that gives it (the same in both).
PUNCTUATION_KEYS = {"，": ",", "。": ".", "？": "?", "：": ":", "、": "\\", "！": "!"}
CATEGORIES = ["键名字", "成字字根", "一级简码", "二级简码", "三级简码", "识别码"]
RIGHT, WRONG = "—", "×"
MARKS = 59
# A step ends as soon as its condition holds; the limit is long so that a loaded machine or a
# sanitizer build (several times slower) does not fail a step that is merely slow.
STEP_TIMEOUT = 30.0
# Longer than the toolkit's double-click interval (400 ms unless a desktop sets another).
DOUBLE_CLICK_SPAN = 1.0


def ibus_table():
    """The IBus table: {code: [(phrase, frequency)]}."""
    entries = {}
    with sqlite3.connect(f"file:{IBUS_TABLE}?mode=ro", uri=True) as db:
        for code, phrase, freq in db.execute("SELECT tabkeys, phrase, freq FROM phrases"):
            entries.setdefault(code, []).append((phrase, freq))
    return entries


class Codes:
    """What to type for a text so that the engine gives it, from the engine's own table.

    For each character or phrase: its shortest code (no 'z', the engines' wildcard key) under which
    it is the first candidate (see first()), then the key that commits it (commit_key()). A
    candidate the test commits only rises further, so it stays first for the whole run.
    """

    def __init__(self, entries):
        self.entries = entries  # {code: [(phrase, rank)]}, a higher rank first
        self.codes = {}
        for code, candidates in entries.items():
            for phrase, _ in candidates:
                self.codes.setdefault(phrase, []).append(code)

    def first(self, code, phrase):
        rivals = [f for p, f in self.entries[code] if p != phrase]
        mine = max(f for p, f in self.entries[code] if p == phrase)
        return all(f < mine for f in rivals)

    def commit_key(self, code):
        return " "

    def code(self, phrase):
        best = None
        for code in self.codes.get(phrase, []):
            if "z" not in code and self.first(code, phrase) and (best is None or len(code) < len(best)):
                best = code
        return best

    def typed(self, phrase):
        """The keys that type `phrase` as one commit."""
        code = self.code(phrase)
        return code + self.commit_key(code)

    def keys(self, text):
        """The keys for `text` as a list of (text, keys), phrases of up to four characters first."""
        out, i = [], 0
        while i < len(text):
            if text[i] in PUNCTUATION_KEYS:
                out.append((text[i], PUNCTUATION_KEYS[text[i]]))
                i += 1
                continue
            for n in (4, 3, 2, 1):
                if self.code(text[i:i + n]):
                    out.append((text[i:i + n], self.typed(text[i:i + n])))
                    i += n
                    break
            else:
                raise StepFailed(f"the engine's table gives no code for {text[i]!r}")
        return out


class IBusCodes(Codes):
    """IBus orders a code's candidates by the frequency its table holds."""

    def __init__(self, session):
        super().__init__(ibus_table())


class Fcitx5Codes(Codes):
    """Fcitx 5's wbx keeps the table's order for codes of one or two letters; longer codes it
    orders by a language model this test cannot read, so there a phrase counts as first only when
    every rival is rarer by IBus's frequencies (a stand-in that holds for the passages' common
    characters). A four-letter code with one candidate commits on its last letter, without a
    blank."""

    def __init__(self, session):
        dump = os.path.join(session.home, "wbx.txt")
        done = session.run(["libime_tabledict", "-d", FCITX5_TABLE, dump], timeout=60)
        if done.returncode != 0:
            raise StepFailed(f"libime_tabledict could not read {FCITX5_TABLE}: {done.stderr.strip()}")
        frequency = {}
        for candidates in ibus_table().values():
            for phrase, freq in candidates:
                frequency[phrase] = max(freq, frequency.get(phrase, 0))
        entries, data = {}, False
        with open(dump, encoding="utf-8") as f:
            for line in f:
                line = line.rstrip("\n")
                if line == "[Data]":
                    data = True
                    continue
                code, _, phrase = line.partition(" ")
                if data and phrase and code.isalpha():
                    entries.setdefault(code, []).append(phrase)
        self.order = entries
        super().__init__({c: [(p, frequency.get(p, 0)) for p in ps] for c, ps in entries.items()})

    def first(self, code, phrase):
        if len(code) <= 2:
            return self.order[code][0] == phrase
        return self.order[code].count(phrase) == 1 and super().first(code, phrase)

    def commit_key(self, code):
        return "" if len(code) == 4 and len(self.order[code]) == 1 else " "


CODES = {"ibus": IBusCodes, "fcitx5": Fcitx5Codes}
# Where the frameworks differ with a code pending:
#  - lands: on a focus move the toolkit commits the preedit; IBus's is the candidate, which lands in
#    its box, Fcitx 5's is the code letters, which the trainer drops;
#  - click: what a click elsewhere in the same line does to it. IBus commits the candidate at the
#    old caret ("commits"); Fcitx 5.0 (Debian 12) keeps composing, and the code finished after the
#    click lands at the click ("keeps"); Fcitx 5.1 (Debian 13) ends the composition, and nothing
#    lands ("drops").
PENDING = {"ibus": {"lands": True, "click": "commits"}, "fcitx5": {"lands": False, "click": "keeps"}}
PENDING_SINCE = {("fcitx5", (5, 1)): {"click": "drops"}}


def pending_rules(framework, version):
    """The PENDING row of a framework at its installed version (a tuple of numbers)."""
    rules = dict(PENDING[framework])
    for (name, since), changed in sorted(PENDING_SINCE.items()):
        if name == framework and version >= since:
            rules.update(changed)
    return rules


class Window:
    """The trainer's window as the accessibility bus shows it.

    Every read is a round trip to the trainer, and a loaded machine makes each one slow: a control's
    text reader is looked up once, and the window is walked again for a control that is not shown
    only once between two clicks (a page shows for the first time only after a click)."""

    def __init__(self, session, pyatspi):
        self.session = session
        self.pyatspi = pyatspi
        self.walked = False  # walked for a control not shown since the last click
        self.tab_list = None  # the page tab list, named after the page shown
        self.readers = {}  # control: its Text interface, or None for a label read by its name
        self.last_click = None  # ((x, y), when)
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
                # The page tab list is named after the page shown: only its tabs count.
                tabs = child.getRole() == self.pyatspi.ROLE_PAGE_TAB_LIST
                if tabs and self.tab_list is None:
                    self.tab_list = child
                keys = () if tabs else (child.description, child.name)
                for key in keys:
                    if key:
                        self.controls.setdefault(key, []).append(child)
                if depth < 30:
                    walk(child, depth + 1)

        walk(self.app, 0)

    def find(self, key):
        """The control named or described `key`; of two (the key drills share their names), the
        one on the page shown."""
        for attempt in range(2):
            # A page shown for the first time brings its controls only now. A control of a page
            # not shown (read while another is) needs no second walk until the next click.
            if key not in self.controls or (attempt and not self.walked):
                self.index()
                self.walked = self.walked or attempt == 1
            nodes = self.controls.get(key, [])
            for node in nodes:
                node.clear_cache()
                if node.getState().contains(self.pyatspi.STATE_SHOWING):
                    return node
        if not nodes:
            raise StepFailed(f"no control named or described {key!r} in the window")
        return nodes[0]

    def text(self, key):
        node = self.find(key)
        if node not in self.readers:
            node.clear_cache()
            self.readers[node] = node.queryText() if "Text" in node.get_interfaces() else None
        reader = self.readers[node]
        if reader:
            return reader.getText(0, -1)  # never cached: one round trip
        node.clear_cache()  # the name is cached
        return node.name

    def center(self, key):
        e = self.find(key).queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        if e.width <= 0 or e.height <= 0:
            raise StepFailed(f"{key!r} is not on the screen")
        return e

    def click_at(self, x, y, right=None):
        # A second click on the same spot soon after the first is a double click, which selects
        # the word under it: the next key would replace the word. Such a click goes a few pixels
        # aside (beyond the toolkit's double-click distance; left of `right`, the control's edge),
        # which is the same spot to the test.
        if self.last_click and time.monotonic() - self.last_click[1] < DOUBLE_CLICK_SPAN \
                and abs(self.last_click[0][0] - x) < 8 and abs(self.last_click[0][1] - y) < 8:
            x = x + 10 if right is None or x + 10 < right else x - 10
        # No --sync: xdotool then waits for the pointer to move, forever when it is already there
        # (a second click on the same spot). The server takes the motion and the click in order.
        self.session.xdotool("mousemove", str(x), str(y), "click", "1")
        self.last_click = ((x, y), time.monotonic())
        self.walked = False  # a click may show another page

    def click(self, key, x=None):
        e = self.center(key)
        self.click_at(e.x + (x if x is not None else e.width // 2), e.y + e.height // 2, e.x + e.width)

    def page_shown(self):
        """The caption of the page in view, as the tab list names it."""
        if self.tab_list is None:
            self.index()
        self.tab_list.clear_cache()
        return self.tab_list.name

    def focused(self, key):
        return self.has_state(key, self.pyatspi.STATE_FOCUSED)

    def focus_owner(self):
        """The names of the control that has the focus, for a message (a walk of the window)."""
        try:
            self.index()
            for key, nodes in self.controls.items():
                for node in nodes:
                    node.clear_cache()
                    if node.getState().contains(self.pyatspi.STATE_FOCUSED):
                        return repr(key)
            return "no control of the window"
        except Exception as e:
            return f"(unknown: {e})"

    def checked(self, key):
        return self.has_state(key, self.pyatspi.STATE_CHECKED)

    def has_state(self, key, state):
        node = self.find(key)
        node.clear_cache()
        return node.getState().contains(state)

    def click_in_dialog(self, name):
        for window in self.app:
            if window is not None and self.is_dialog(window):
                # By role, not by the role's name: newer accessibility libraries call a push
                # button "button".
                buttons = self.pyatspi.findAllDescendants(window, lambda n: n.getRole() == self.pyatspi.ROLE_PUSH_BUTTON)
                for node in buttons:
                    if node.name.replace("&", "") == name:
                        e = node.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
                        self.click_at(e.x + e.width // 2, e.y + e.height // 2)
                        return
        raise StepFailed(f"no button {name!r} in a message box")

    def is_dialog(self, node):
        return node.getRole() in (self.pyatspi.ROLE_DIALOG, self.pyatspi.ROLE_ALERT)

    def dialog_text(self):
        """The text of a message box the trainer shows, or None."""
        for window in self.app:
            if window is None or not self.is_dialog(window):
                continue
            for node in self.pyatspi.findAllDescendants(window, lambda n: n.getRole() == self.pyatspi.ROLE_LABEL):
                if node.name:
                    return node.name
        return None


class Test:
    def __init__(self, program, framework, shots=None):
        self.framework = framework
        self.shots = shots
        version = installed_version(framework)
        self.pending = pending_rules(framework, version)
        print(f"{FRAMEWORKS[framework].title} {'.'.join(map(str, version)) or '(version unknown)'}: "
              f"a click in the line with a code pending {self.pending['click']} it", flush=True)
        self.session = Session(program, framework, log=lambda text: print("  " + text, flush=True))
        self.step_name = "start-up"
        self.started = time.monotonic()

    def step(self, name):
        self.step_name = name
        print(f"step: {name} (at {time.monotonic() - self.started:.1f} s)", flush=True)

    def wait(self, what, condition, timeout=STEP_TIMEOUT):
        """Waits for `condition`; on a time-out says what it waited for (`what`, a text or a
        function that makes one from what it sees then) and where the focus is."""
        try:
            return wait_for(what, condition, timeout)
        except StepFailed as e:
            if not hasattr(self, "w"):
                raise
            raise StepFailed(f"{e}; the focus is on {self.w.focus_owner()}") from None

    def open_page(self, page):
        """Clicks the tab of `page` and waits until the page is in view: its controls may share
        their names with those of the page shown before (the two key drills name their boxes alike),
        and a control is read, or clicked, on the page shown."""
        self.w.click(page)
        self.wait(lambda: f"the page {page} to show, the tabs show {self.w.page_shown()!r}",
                  lambda: self.w.page_shown() == page)

    def settled(self, what, read, want, before):
        """Checks that `read()` gives `want` once the event that ends an action has been waited for.
        What the action changes is waited for; what it must leave as it was is read once, since a
        wait for it would hold before the action had even arrived."""
        if want != before:
            self.wait(lambda: f"{what} to read {want!r}, it reads {read()!r}", lambda: read() == want)
        elif read() != want:
            raise StepFailed(f"{what} reads {read()!r}, not {want!r}")

    def type(self, keys, delay=10):
        if keys:
            self.session.xdotool("type", "--delay", str(delay), keys)

    def shot(self, name):
        if self.shots:
            os.makedirs(self.shots, exist_ok=True)
            path = os.path.join(self.shots, f"{self.framework}-{name}.png")
            self.session.screenshot(path)
            print(f"  screenshot {path}", flush=True)

    def run(self):
        # The engine's table is read while the session starts, which is mostly waiting.
        with concurrent.futures.ThreadPoolExecutor(max_workers=1) as pool:
            codes = pool.submit(CODES[self.framework], self.session)
            self.session.start()
            self.session.start_trainer()
            os.environ.update(self.session.env)
            import pyatspi  # reads the session's bus from the environment on first use

            self.w = Window(self.session, pyatspi)
            self.codes = codes.result()
        self.key_drills()
        self.character_drill()
        self.phrase_drill()
        self.typing_test()
        self.practise_missed()
        self.stray_blanks()
        self.pending_code()
        self.run_keys()
        self.lookup()
        print(f"all steps passed under {self.framework} in {time.monotonic() - self.started:.1f} s", flush=True)

    # -- 1. the key drills ---------------------------------------------------------------------

    def key_drills(self):
        w = self.w
        for page in ("口诀识记", "字根练习"):
            self.step(f"key drill {page}: open the page")
            # Both pages have a box 键位输入 and it has the focus on either: the page in view tells
            # them apart, else the hint would be read from the page left.
            self.open_page(page)
            self.wait("the entry box 键位输入 to take the focus", lambda: w.focused("键位输入"))
            # Every item takes the same path; one at a typist's pace, one at full speed.
            for i, delay in enumerate((10, 0)):
                # The hint and the box show capitals; the learner types the small letter.
                key = self.wait(lambda: f"the hint key, 答案提示键 reads {w.text('答案提示键')!r}",
                                lambda: w.text("答案提示键")).lower()
                wrong = "x" if key != "x" else "y"
                self.step(f"key drill {page}: item {i + 1}, a wrong letter then {key}, {delay} ms a key")
                # A wrong letter stays, selected: it arrived as a letter, not as a code. The right
                # one then empties the box, which tells that it has arrived.
                self.type(wrong, delay)
                self.wait(lambda: f"键位输入 to hold {wrong!r}, it holds {w.text('键位输入')!r}",
                          lambda: w.text("键位输入").lower() == wrong)
                self.type(key, delay)
                self.wait(lambda: f"键位输入 to be emptied by the right letter, it holds {w.text('键位输入')!r}",
                          lambda: w.text("键位输入") == "" and w.focused("键位输入"))

    # -- 2. the single-character drill ---------------------------------------------------------

    def character_drill(self):
        w = self.w
        self.step("single-character drill: open the page")
        self.open_page("单字练习")
        for category in CATEGORIES:
            # The first-level short codes are typed as the rules memo says: the code, then a blank.
            blank = " " if category == "一级简码" else ""
            fast = category == "二级简码"
            self.step(f"single-character drill: one batch of {category}" + (", a blank after each code" if blank else "")
                      + (", at full speed" if fast else ""))
            w.click(category)
            # The click that checks the category shows its batch in the same event, and slot 1 may
            # have had the focus already: the batch is read once the category is checked.
            self.wait(lambda: f"the batch of {category}: {category} checked ({w.checked(category)}) and 编码1 focused "
                      f"({w.focused('编码1')})", lambda: w.checked(category) and w.focused("编码1"))
            first = [w.text(f"目标字{n}") for n in range(1, 16)]
            if not all(first):
                raise StepFailed(f"the batch of {category} has empty targets: {first}")
            for n in range(1, 16):
                target = first[n - 1]
                code = self.wait(f"the hint for slot {n} ({target})",
                                 lambda: w.text("答案提示字") == target and w.text("答案提示编码"))
                if n == 3 and category == "键名字":
                    # Half a code, as the learner sees it with the engine on: letters, no preedit.
                    self.type(code[:2])
                    self.wait(lambda: f"编码3 to hold {code[:2]!r}, it holds {w.text('编码3')!r}",
                              lambda: w.text("编码3") == code[:2])
                    self.shot("code-box")
                    code = code[2:]
                self.type(code + blank, 0 if fast else 10)
                if n < 15:
                    # The focus moves on in the event that accepts the slot: one read while waiting.
                    self.wait(lambda: f"slot {n} ({target}, typed {code!r}) to be accepted, with 编码{n + 1} "
                              f"focused ({w.focused(f'编码{n + 1}')}); 已打出的字{n} holds "
                              f"{w.text(f'已打出的字{n}')!r}, 编码{n + 1} {w.text(f'编码{n + 1}')!r}",
                              lambda: w.focused(f"编码{n + 1}") and w.text(f"已打出的字{n}") == target)
            self.wait(lambda: f"the next batch after slot 15, 编码1 focused ({w.focused('编码1')}), targets "
                      f"{''.join(w.text(f'目标字{n}') for n in range(1, 16))} (the batch was {''.join(first)})",
                      lambda: w.focused("编码1") and [w.text(f"目标字{n}") for n in range(1, 16)] != first)
            left = {n: w.text(f"编码{n}") for n in range(1, 16) if w.text(f"编码{n}")}
            if left:
                raise StepFailed(f"code boxes hold letters after the batch: {left}")

    # -- 3. the phrase drill -------------------------------------------------------------------

    def phrase_targets(self):
        return [self.w.text(f"目标词组{n}") for n in range(1, 6)]

    def phrase_boxes(self):
        return {name: self.w.text(name) for n in range(1, 6) for name in (f"词组编码{n}", f"已打出的词组{n}")
                if self.w.text(name)}

    def phrase_slot(self, n, target):
        """Types phrase slot `n` by the code the hint shows; the focus goes on to the next slot."""
        w = self.w
        code = self.wait(f"the hint for phrase slot {n} ({target})",
                         lambda: w.text("答案提示词组") == target and w.text("答案提示编码"))
        self.type(code)
        self.wait(lambda: f"phrase slot {n} ({target}, typed {code!r}) to be accepted, with 词组编码{n + 1} empty "
                  f"(the boxes hold {self.phrase_boxes()})",
                  lambda: w.focused(f"词组编码{n + 1}") and w.text(f"已打出的词组{n}") == target
                  and w.text(f"词组编码{n + 1}") == "")

    def phrase_drill(self):
        w = self.w
        self.step("phrase drill: open the page, 双字词")
        self.open_page("词组练习")
        w.click("双字词")
        self.wait("双字词 checked and the code box 词组编码1 focused",
                  lambda: w.checked("双字词") and w.focused("词组编码1"))
        targets = self.wait(lambda: f"the five target phrases, they read {self.phrase_targets()}",
                            lambda: all(self.phrase_targets()) and self.phrase_targets())
        for n in range(1, 5):
            self.step(f"phrase drill: slot {n} ({targets[n - 1]}) by its hint code")
            self.phrase_slot(n, targets[n - 1])
        self.step(f"phrase drill: slot 5 ({targets[4]}) committed by the engine into its accepted box")
        w.click("已打出的词组5")
        self.wait("已打出的词组5 to take the focus", lambda: w.focused("已打出的词组5"))
        for _, keys in self.codes.keys(targets[4]):
            self.type(keys)
        self.wait(lambda: f"the next batch, every box empty and 词组编码1 focused (the boxes hold {self.phrase_boxes()})",
                  lambda: w.focused("词组编码1") and self.phrase_targets() != targets and not self.phrase_boxes())

        self.step("phrase drill: 多字词")
        w.click("多字词")
        self.wait("多字词 checked and the code box 词组编码 focused", lambda: w.checked("多字词") and w.focused("词组编码"))
        for i in range(2):
            target = self.wait(lambda: f"a long phrase, 目标词组 reads {w.text('目标词组')!r}", lambda: w.text("目标词组"))
            self.step(f"phrase drill: long phrase {i + 1} ({target}) by its hint code")
            code = self.wait(f"the hint for {target}", lambda: w.text("答案提示词组") == target and w.text("答案提示编码"))
            self.type(code)
            self.wait(lambda: f"the next long phrase with 词组编码 empty (it holds {w.text('词组编码')!r})",
                      lambda: w.text("目标词组") != target and w.text("词组编码") == "" and w.focused("词组编码"))

    # -- 4. the typing test --------------------------------------------------------------------

    def typed_lines(self):
        return [self.w.text(f"输入第{n}行") for n in range(1, 5)]

    def mark_lines(self):
        return [self.w.text(f"标记第{n}行") for n in range(1, 5)]

    def start_run(self):
        w = self.w
        self.wait("开始测试 to be enabled", lambda: w.find("开始测试").getState().contains(w.pyatspi.STATE_ENABLED))
        w.click("开始测试")
        # The ready state has the focus in the first typed line already: only the run going (开始测试
        # disabled) tells that the click was taken, and a key sent before then would be cleared by it.
        self.wait("the run to start, with the first typed line focused",
                  lambda: self.run_going() and w.focused("输入第1行"))

    def typing_test(self):
        w = self.w
        self.step("typing test: choose 测试一 and type at once, without 开始测试")
        self.open_page("文章测试")
        w.click("测试一")
        passage = self.wait(lambda: f"the passage of 测试一, its lines read {self.passage_lines()}",
                            lambda: all(self.passage_lines()) and self.passage_lines())
        # Ready, the first typed line has the focus: its first character lands in its place.
        self.wait("the first typed line to take the focus", lambda: w.focused("输入第1行"))

        text = "".join(passage)
        keys = self.codes.keys(text)
        # One deliberate wrong phrase: 还是 where the passage has 不是.
        at = text.index("不是")
        keys = self.codes.keys(text[:at]) + [("还是", self.codes.typed("还是"))] + self.codes.keys(text[at + 2:])
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

        def lines_of(typed):
            return [typed[(ends[n - 1] if n else 0):ends[n]] for n in range(4)]

        # Each commit is waited for before the next code goes out: keys sent ahead of a commit
        # race it through the engine (Fcitx 5 then loses and reorders letters).
        done = 0
        for i, (segment, key) in enumerate(keys):
            last = i == len(keys) - 1
            if last:
                # The whole window once, before the commit that ends the run: every line as typed,
                # and the marks under them.
                want = lines_of(typed_all[:done])
                if self.typed_lines() != want:
                    raise StepFailed(f"before the last commit the typed lines read {self.typed_lines()}, not {want}")
                self.check_marks(passage, typed_all[:done])
            self.step(f"typing test: commit {i + 1} of {len(keys)}, {segment} ({key.strip()})")
            before = lines_of(typed_all[:done])
            self.type(key)
            done += len(segment)
            if last:
                break
            so_far = typed_all[:done]
            want = lines_of(so_far)
            # A commit changes the line it lands in (and the next, where it crosses its end); the
            # others keep what they read, which the reads before the last commit confirm.
            changed = [n for n in range(4) if want[n] != before[n]]
            self.wait(lambda: f"typed line(s) {[n + 1 for n in changed]} to read {[want[n] for n in changed]}, "
                      f"they read {[self.w.text(f'输入第{n + 1}行') for n in changed]}",
                      lambda: all(self.w.text(f"输入第{n + 1}行") == want[n] for n in changed))
            if any(done - len(segment) < end <= done for end in ends):
                self.check_marks(passage, so_far)

        self.step("typing test: the finish message")
        message = self.wait("the speed message", w.dialog_text)
        if not re.fullmatch(r"您的速度为每分钟：\d+字，正确率：\d+%，错字：\d+个", message):
            raise StepFailed(f"the finish message reads {message!r}")
        print(f"  finish message: {message}", flush=True)
        w.click_in_dialog("确定")  # Qt's own text, in Chinese under every locale
        # The result stays on show until the next start: the lines as typed, with their marks.
        kept = lines_of(typed_all)
        self.wait(lambda: f"the message to close and the result to stay: the message reads {w.dialog_text()!r}, "
                  f"the typed lines {self.typed_lines()}",
                  lambda: w.dialog_text() is None and self.typed_lines() == kept
                  and w.find("开始测试").getState().contains(w.pyatspi.STATE_ENABLED))
        self.check_marks(passage, typed_all)

    def practise_missed(self):
        """From the run's review to the practice of what it missed, and back: the run typed 还是
        where the passage has 不是, so 不 is the one character missed."""
        w = self.w
        self.step("practice: 练习这些字 under the review opens 练错字 with 不")
        w.click("练习这些字")
        self.wait(lambda: f"单字练习 in view with 练错字 checked and 不 in slot 1: the page is {w.page_shown()!r}, "
                  f"slot 1 holds {w.text('目标字1')!r}",
                  lambda: w.page_shown() == "单字练习" and w.checked("练错字") and w.text("目标字1") == "不"
                  and w.focused("编码1"))
        code = self.wait("the hint for 不", lambda: w.text("答案提示字") == "不" and w.text("答案提示编码"))
        self.type(code)
        self.wait(lambda: f"slot 1 to take 不 ({code}), 已打出的字1 holds {w.text('已打出的字1')!r}",
                  lambda: w.text("已打出的字1") == "不" and w.focused("编码2"))
        self.step("practice: back to the typing test")
        w.click("返回文章测试")
        self.wait(lambda: f"文章测试 in view, the page is {w.page_shown()!r}", lambda: w.page_shown() == "文章测试")

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

    # -- 7. a blank pressed by habit --------------------------------------------------------------

    def stray_blanks(self):
        """The start of the passage with one more blank after every commit: under Fcitx 5 after a
        four-letter code the engine committed by itself, under both after a blank that already
        committed. The line leaves every blank out, so every mark stays right."""
        w = self.w
        self.step("stray blanks: start a run of 测试一")
        self.start_run()
        text = self.passage_lines()[0][:12]
        keys = self.codes.keys(text)
        done = ""
        for i, (segment, key) in enumerate(keys):
            # The next commit tells that the blank before it has arrived; the last one has none.
            last = i == len(keys) - 1
            self.step(f"stray blanks: {segment} ({key.strip()})" + ("" if last else " and a blank"))
            self.type(key + ("" if last else " "))
            done += segment
            self.wait(lambda: f"line 1 to read {done!r}, it reads {self.typed_lines()[0]!r}",
                      lambda: self.typed_lines()[0] == done)
        # The marks start all right, so a wait would hold before any key; every blank has arrived
        # before the commit after it, and the last commit has been waited for.
        self.settled("the marks of line 1", lambda: self.mark_lines()[0], RIGHT * MARKS, RIGHT * MARKS)
        self.shot("stray-blanks")
        w.click("停止测试")
        self.wait("开始测试 to be enabled again",
                  lambda: w.find("开始测试").getState().contains(w.pyatspi.STATE_ENABLED))

    # -- 5. a pending code when the focus moves ------------------------------------------------

    def half_type(self, box, character):
        """Types the code of `character` into `box` without committing it, and waits until the
        engine shows it as a preedit. Letter by letter, as each changes the preedit (the engine's
        candidate, or the letters): a wait for the whole code at once could end at a shorter
        code's preedit, which a focus move then commits. A letter changes more columns of the box
        than the blinking caret (a line of a pixel or two, at its old and new place) would."""
        e = self.w.center(box)
        area = (e.x, e.y, e.width, e.height)
        code = self.codes.code(character)
        for n in range(1, len(code) + 1):
            before = self.session.pixels(*area)

            def changed():
                return len({i % e.width for i, (p, q) in enumerate(zip(before, self.session.pixels(*area)))
                            if sum(abs(a - b) for a, b in zip(p, q)) > 90})

            self.type(code[n - 1])
            self.wait(lambda: f"{code[:n]!r} (of {character}, {code!r}) to show as a pending code in {box} "
                      f"({changed()} pixel columns changed by {code[n - 1]!r})", lambda: changed() > 4)

    def type_character(self, character):
        self.type(self.codes.typed(character))

    def lands(self, character):
        """What a half-typed code for `character` leaves in its box when the focus moves."""
        return character if self.pending["lands"] else ""

    def lookup(self):
        """The lookup page's box takes what the engine commits, and the page answers it."""
        w = self.w
        self.step("lookup: open the page, 经 through the engine")
        self.open_page("编码查询")
        self.wait("the box 查询内容 to take the focus", lambda: w.focused("查询内容"))
        self.type_character("经")
        self.wait(lambda: f"查询内容 to hold 经, it holds {w.text('查询内容')!r}", lambda: w.text("查询内容") == "经")
        self.wait(lambda: f"the answer line to find one character, it says {w.text('查询结果')!r}",
                  lambda: w.text("查询结果").startswith("1 个字"))

    def tab_and_enter_on_a_pending_code(self):
        """With a code pending in line 3 of a run under way, both engines take Tab and Enter
        themselves: Tab commits the first candidate (IBus then commits a tab, which the line
        refuses), Enter commits the code's letters, which the trainer drops. The focus stays."""
        w = self.w
        self.step("pending code: 总 half-typed in line 3, then Tab")
        w.click("输入第3行")
        self.wait("line 3 to take the focus", lambda: w.focused("输入第3行"))
        self.half_type("输入第3行", "总")
        self.session.xdotool("key", "Tab")
        self.wait(lambda: f"line 3 to read '总' and keep the focus, it reads {self.typed_lines()[2]!r}",
                  lambda: self.typed_lines()[2] == "总" and w.focused("输入第3行"))
        self.step("pending code: 总 half-typed in line 3, then Enter")
        self.half_type("输入第3行", "总")
        self.session.xdotool("key", "Return")
        self.type_character("人")
        self.wait(lambda: f"line 3 to read '总人' and keep the focus, it reads {self.typed_lines()[2]!r}",
                  lambda: self.typed_lines()[2] == "总人" and w.focused("输入第3行"))

    def pending_code(self):
        w = self.w
        self.step("pending code: start a run")
        self.start_run()

        self.step("pending code: 总 half-typed in line 1, then a click into line 2")
        self.half_type("输入第1行", "总")
        self.shot("typed-line")
        w.click("输入第2行")
        self.wait("line 2 to take the focus", lambda: w.focused("输入第2行"))
        # A character typed now arrives after anything the focus move committed.
        self.type_character("人")
        want = [self.lands("总"), "人"]
        self.wait(lambda: f"line 1 and 2 to read {want}, they read {self.typed_lines()}",
                  lambda: self.typed_lines()[:2] == want)

        self.step("pending code: 总 half-typed in line 2, then a click at the start of line 2")
        self.half_type("输入第2行", "总")
        w.click("输入第2行", x=1)
        click = self.pending["click"]
        if click == "keeps":
            self.type(" ")
            want = "总人"
        else:
            self.type_character("人")
            want = "人人总" if click == "commits" else "人人"
        self.wait(lambda: f"line 2 to read {want!r}, it reads {self.typed_lines()[1]!r}",
                  lambda: self.typed_lines()[1] == want)

        self.tab_and_enter_on_a_pending_code()

        self.step("pending code: 总 half-typed in line 3, then a switch to 单字练习")
        self.half_type("输入第3行", "总")
        self.open_page("单字练习")
        w.click("编码1")
        self.wait("编码1 to take the focus", lambda: w.focused("编码1"))
        self.type("q")
        self.wait(lambda: f"编码1 to hold only the letter typed, it holds {w.text('编码1')!r}", lambda: w.text("编码1") == "q")
        want = "总人" + self.lands("总")
        self.settled(f"line 3 (输入第3行), which read '总人'", lambda: self.typed_lines()[2], want, "总人")

        # The code is half-typed in the first accepted box, whose candidate list (Fcitx 5 shows
        # one) hangs over the first code box, not over the fourth.
        self.step("pending code: 总 half-typed in 已打出的词组1, then a click into 词组编码4 and the batch ends")
        self.open_page("词组练习")
        w.click("双字词")
        # The page was left in 多字词.
        self.wait("双字词 checked and the code box 词组编码1 focused",
                  lambda: w.checked("双字词") and w.focused("词组编码1"))
        targets = self.wait(lambda: f"the five target phrases, they read {self.phrase_targets()}",
                            lambda: all(self.phrase_targets()) and self.phrase_targets())
        for n in range(1, 4):
            self.phrase_slot(n, targets[n - 1])
        w.click("已打出的词组1")
        self.wait("已打出的词组1 to take the focus", lambda: w.focused("已打出的词组1"))
        self.half_type("已打出的词组1", "总")
        w.click("词组编码4")
        self.wait("词组编码4 to take the focus", lambda: w.focused("词组编码4"))
        want = targets[0] + self.lands("总")
        self.settled(f"已打出的词组1, which read {targets[0]!r}", lambda: w.text("已打出的词组1"), want, targets[0])
        for n in range(4, 6):
            code = self.wait(f"the hint for phrase slot {n}",
                             lambda: w.text("答案提示词组") == targets[n - 1] and w.text("答案提示编码"))
            self.type(code)
            if n == 4:
                self.wait(lambda: f"phrase slot 4 to be accepted (the boxes hold {self.phrase_boxes()})",
                          lambda: w.text("已打出的词组4") == targets[3] and w.focused("词组编码5"))
        self.wait(lambda: f"the next batch, every box empty and 词组编码1 focused (the boxes hold {self.phrase_boxes()})",
                  lambda: w.focused("词组编码1") and self.phrase_targets() != targets and not self.phrase_boxes())
        self.type("q")
        self.wait(lambda: f"词组编码1 to hold only the letter typed (the boxes hold {self.phrase_boxes()})",
                  lambda: self.phrase_boxes() == {"词组编码1": "q"})


    # -- 6. the keys of a typing-test run -------------------------------------------------------

    def run_going(self):
        return not self.w.find("开始测试").getState().contains(self.w.pyatspi.STATE_ENABLED)

    def run_keys(self):
        w = self.w
        self.step("run keys: stop the run left by the pending-code steps, start another, 人 in line 4")
        self.open_page("文章测试")
        w.click("停止测试")
        self.start_run()
        w.click("输入第4行")
        self.wait("line 4 to take the focus", lambda: w.focused("输入第4行"))
        self.type_character("人")
        self.wait(lambda: f"line 4 to read '人', the lines read {self.typed_lines()}", lambda: self.typed_lines()[3] == "人")
        # Under IBus, Tab never reaches the trainer: the engine commits a tab, which the line refuses.
        for key, pending in (("Return", False), ("Tab", False), ("Return", True)):
            self.step(f"run keys: {key} in the last line" + (" with 总 half-typed" if pending else "") + ", then a blank")
            # The key before may have left the focus in line 4; then a wait for it would hold before
            # the click arrived.
            if not w.focused("输入第4行"):
                w.click("输入第4行")
                self.wait("line 4 to take the focus", lambda: w.focused("输入第4行"))
            before = "".join(self.typed_lines())
            if pending:
                self.half_type("输入第4行", "总")
            self.session.xdotool("key", key)
            # The blank is left out of the line; the 人 typed after it tells that it has arrived.
            self.type(" ")
            self.type_character("人")

            self.wait(lambda: f"the run to go on with the blank left out, the lines read {self.typed_lines()} "
                      f"(before: {before!r}), 开始测试 {'disabled' if self.run_going() else 'enabled'}",
                      lambda: "".join(self.typed_lines()) == before + "人" and self.run_going())


class EndedFromOutside(BaseException):
    """SIGTERM: no Exception, so that no wait takes it for a condition that failed to read."""


def run_to_the_end(test, where, passing=()):
    """Runs `test`; a failure says where and why, with what the session can tell of the trainer.
    Whatever happens, it ends everything the session started. Exceptions of `passing` go on to the
    caller (once the session is ended). Returns the exit code."""
    # Ended from outside (a test driver's time limit): still end everything it started.
    def ended_from_outside(*_):
        raise EndedFromOutside("ended from outside")

    signal.signal(signal.SIGTERM, ended_from_outside)
    try:
        test.run()
        return 0
    except passing:
        raise
    except (Exception, EndedFromOutside) as e:
        why = str(e) if isinstance(e, (StepFailed, EndedFromOutside)) else traceback.format_exc().rstrip()
        print(f"FAILED under {where} at step '{test.step_name}': {why}", flush=True)
        # A trainer that crashed and one that lost its accessibility connection look the same
        # from the bus ("The application no longer exists"): its state and output tell them apart.
        try:
            for line in test.session.report():
                print("  " + line, flush=True)
            test.shot("failure")
        except Exception as e:
            print(f"  (no more to tell: {e})", flush=True)
        return 1
    finally:
        test.session.stop()


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--framework", choices=sorted(FRAMEWORKS), default="ibus")
    parser.add_argument("--shots", help="a folder for screenshots of a code box and a typed line")
    parser.add_argument("program")
    args = parser.parse_args(argv[1:])
    return run_to_the_end(Test(os.path.abspath(args.program), args.framework, args.shots), args.framework)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
