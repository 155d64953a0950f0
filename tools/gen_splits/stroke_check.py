#!/usr/bin/env python3
"""The stroke check of the splits: a split's roots, written in its order, give the character's own
stroke sequence, or the split falls under one of the conventions below, and the character is
listed under that convention in tools/gen_splits/stroke_conventions.txt.

  python3 tools/gen_splits/stroke_check.py [--splits FILE] [--strokes FILE] [--write]
  python3 tools/gen_splits/stroke_check.py --extract /usr/share/rime-data/stroke.dict.yaml

prints how many splits add up, how many fall under each convention and the ones that fall under
none; --write rewrites the members of the conventions that are found by their pattern (the ones
with `listed` patterns keep the members written by hand). Exit status 1 when a split is
unexplained or a listed member no longer needs its convention.

A convention is a pattern that a split's strokes must still follow, so a root with a stroke that
is not in the character, or a stroke of the character that no root holds, is caught unless the
character is named by hand under one of the two conventions that allow it.
"""

import argparse
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
import gen_splits as g  # noqa: E402

SPLITS = HERE.parents[1] / 'tools' / 'gen_lexicon' / 'lists' / 'splits.txt'
CONVENTIONS = HERE / 'stroke_conventions.txt'
# The stroke sequences the check reads: those of the characters of GB2312 and of the roots, taken
# from Debian's rime-data-stroke by `--extract` and kept beside this file, so that the check
# gives the same answer whatever release of the data a machine has.
STROKES = HERE / 'strokes.txt'
SYSTEM_STROKES = '/usr/share/rime-data/stroke.dict.yaml'

# Roots whose strokes Wubi counts in another order than the stroke data writes them: the sweep of
# 力 乃 刀 before the fold (力 ltn), as the hand list writes those character roots.
# And the forms a root takes as a part, which the stroke data writes in another order or with
# another stroke: 雨 as a top (一 丶 乛 丨 …), 车 on the left (its last stroke a rising stroke, written
# after the vertical), 丬 as the left of 北 (丨 一 提).
WUBI_ORDER = {'力': ['pz'], '乃': ['pz'], '刀': ['pz'], '雨': ['hnzsnnnn'], '车': ['hzsh'], '丬': ['shh']}

# The roots that close round what they hold: their closing strokes come after it.
ENCLOSURES = set('囗匚冂凵勹门几口口⺆风气弓') | {'左框', '𠃜'}
# 戈 and its kin: the dot and the sweep are written after what stands inside them.
HALBERDS = set('戈弋戋戊戌戉七乙丶丿')

# Stroke names the stroke data gives one stroke differently in a host and in the root alone: a
# vertical ending in a sweep (月 in 有, 丿丨 in 介), a rising stroke or a dot drawn short and flat
# (衤 冫 in 初 冷), a vertical that ends in a hook or a turn (亦 西 水), a dot drawn as a sweep (办).
SAME_STROKE = {frozenset('sp'), frozenset('hn'), frozenset('sz'), frozenset('pn'), frozenset('hp')}

# The conventions: name, reason, how its members are found. `interleave` accepts a split whose
# roots, each taken whole and in the order of their first strokes, are written with their strokes
# interleaved; `renamed` accepts the same with strokes named otherwise (SAME_STROKE); `listed` is
# for the two conventions that let a stroke be shared or left out: a pattern cannot tell them from
# a wrong root, so each member is named by hand.
CONVENTIONS_LIST = [
    ('包围后封口', '包围的字根先写外框，里面的部分写完再封口（国 区 因），字根仍按首笔的先后取', 'interleave', 'enclosure'),
    ('戈的点后写', '戈 弋 戋 戊 一类字根的点和撇在包住的部分之后写（载 式 成 我），字根仍按首笔的先后取', 'interleave', 'halberd'),
    ('笔画穿插', '两个字根的笔画交叉或穿插着写（里 可 龙），五笔按每个字根的第一笔的先后取字根', 'interleave', 'other'),
    ('同笔异名', '笔画数据在这个字里给同一笔另一个名字：竖撇（月 在 有 里）、提和点（衤 冫）、'
     '带钩或折的竖（亦 西 水）、写成撇的点（办）', 'renamed', None),
    ('先取一边', '左右相对的部分，五笔先取一边再取另一边（非 先取左边的 三 两竖，北 的左边作 丬），字根的笔画都在字里，只是不按首笔的先后', 'interleave', 'unordered'),
    ('共用笔画', '两个字根共用一笔，五笔把它算进两个字根（延 丝 承 永），每个成员都由人看过', 'listed', 'extra'),
    ('省笔', '字里的一笔不归任何字根，或者一个字根在字里少写一笔，五笔仍按整个字根取码（声 尤 禺 曾），每个成员都由人看过', 'listed', 'missing'),
    ('字根变形', '字根在字里的写法和单写时不同（丑 的 土 先写竖），笔画数相同，每个成员都由人看过', 'listed', 'same'),
    ('笔画数据不合字形', '笔画数据给这个字的笔画不是大陆字形的笔画（毵 的是另一个字的，纛 的 毒 少一点，霈 的 巿 末笔作横），'
     '拆分按字形写，每个成员都由人对着字形看过', 'listed', 'any'),
    ('待改', '已知拆错：笔画检查查出而还没改正的拆分，每一个都要改掉；列在这里只是为了不让它们被忘掉', 'listed', 'any'),
]


def read_splits(path=SPLITS):
    """splits.txt -> [(character, [root names])] for the splits of two roots and more (an
    exception's too: its roots are shown as the character's)."""
    out = []
    for line in open(path, encoding='utf-8'):
        if line.startswith('#') or '\t' not in line:
            continue
        f = line.rstrip('\n').split('\t')
        roots = [t.rsplit('/', 1)[0].split('@')[0] for t in f[1].split()]
        if len(roots) >= 2:
            out.append((f[0], roots))
    return out


class Strokes:
    def __init__(self, strokes_path=STROKES):
        self.chars = g.read_strokes(strokes_path)
        self.cut = g.read_cut_strokes(HERE / 'cut_strokes.txt')

    def of_root(self, r):
        """The stroke sequences a root may be written with (the table's, and Wubi's count)."""
        s = self.cut.get(r) or self.chars.get(r)
        if not s and g.VARIANTS.get(r):
            v = g.VARIANTS[r]
            s = self.cut.get(v) or self.chars.get(v)
        out = [s] if s else []
        out += [w for w in WUBI_ORDER.get(r, []) if w not in out]
        return out


def same(a, b, renamed):
    return a == b or (renamed and frozenset(a + b) in SAME_STROKE)


def interleaves(want, parts, renamed, ordered=True):
    """Whether `want` is the strokes of `parts` (each a stroke string), each taken whole as a
    subsequence, each starting after the one before it started. Returns the indexes of the parts
    whose strokes are not written in one run, or None."""
    n = len(parts)
    if sum(map(len, parts)) != len(want):
        return None
    best = []

    def walk(i, pos, broken):
        if i == len(want):
            best.append(broken)
            return True
        started = 0
        while started < n and pos[started] > 0:
            started += 1
        for k in range(min(started + 1, n) if ordered else n):
            if pos[k] < len(parts[k]) and same(parts[k][pos[k]], want[i], renamed):
                run = pos[k] == 0 or (i > 0 and last[0] == k)
                pos[k] += 1
                prev = last[0]
                last[0] = k
                if walk(i + 1, pos, broken | (set() if run else {k})):
                    return True
                last[0] = prev
                pos[k] -= 1
        return False

    last = [-1]
    return best[0] if walk(0, [0] * n, set()) else None


def root_choices(st, roots):
    import itertools
    options = [st.of_root(r) for r in roots]
    if not all(options):
        return []
    return [list(p) for p in itertools.product(*options)]


def classify(st, c, roots):
    """'' when the split adds up; the name of the first patterned convention that accepts it; or
    None (only a hand-listed convention can take it)."""
    want = st.chars.get(c)
    if not want:
        return None
    choices = root_choices(st, roots)
    for parts in choices:
        if ''.join(parts) == want:
            return ''
    for renamed, ordered in ((False, True), (True, True), (False, False), (True, False)):
        for parts in choices:
            broken = interleaves(want, parts, renamed, ordered)
            if broken is None:
                continue
            if not ordered:
                return '先取一边'
            if renamed:
                return '同笔异名'
            names = {roots[k] for k in broken}
            if names & ENCLOSURES:
                return '包围后封口'
            if names & HALBERDS or any(r in HALBERDS for r in roots):
                return '戈的点后写'
            return '笔画穿插'
    return None


def listed_fits(st, c, roots, kind):
    """A hand-listed member still differs from the character by one stroke or more in the way its
    convention says: more strokes in the roots (`extra`) or fewer (`missing`)."""
    want = st.chars.get(c, '')
    lengths = {sum(map(len, p)) for p in root_choices(st, roots)}
    if kind == 'any':
        return True
    if kind == 'same':
        return len(want) in lengths
    return any((n > len(want)) if kind == 'extra' else (n < len(want)) for n in lengths)


def read_conventions(path=CONVENTIONS):
    """stroke_conventions.txt -> {name: set of members}."""
    out = {name: set() for name, *_ in CONVENTIONS_LIST}
    current = None
    for line in open(path, encoding='utf-8'):
        line = line.split('#', 1)[0].rstrip()
        if not line:
            continue
        if line.startswith('[') and line.endswith(']'):
            current = line[1:-1]
            if current not in out:
                raise SystemExit(f'{path}: unknown convention {current}')
            continue
        out[current].update(line.split())
    return out


def check(splits, st, members):
    """(count of splits that add up, {convention: [characters]}, [problems])."""
    adds_up = 0
    found = {name: [] for name, *_ in CONVENTIONS_LIST}
    problems = []
    kinds = {name: (how, arg) for name, _, how, arg in CONVENTIONS_LIST}
    for c, roots in splits:
        cls = classify(st, c, roots)
        if cls == '':
            adds_up += 1
            stale = [n for n, m in members.items() if c in m]
            if stale:
                problems.append(f'{c}: adds up, but listed under {"、".join(stale)}')
            continue
        if cls is not None:
            found[cls].append(c)
            if c not in members[cls]:
                problems.append(f'{c} {" ".join(roots)}: under {cls} but not listed there')
            stale = [n for n, (how, _) in kinds.items() if how == 'listed' and c in members[n]]
            if stale:
                problems.append(f'{c}: under {cls}, but listed under {"、".join(stale)}')
            continue
        listed = [n for n, (how, _) in kinds.items() if how == 'listed' and c in members[n]]
        if listed and listed_fits(st, c, roots, kinds[listed[0]][1]):
            found[listed[0]].append(c)
        else:
            problems.append(f'{c} {" ".join(roots)}: roots {"+".join(root_choices(st, roots)[0]) if root_choices(st, roots) else "?"}'
                            f', character {st.chars.get(c)}')
    known = {c for c, _ in splits}
    for name, m in members.items():
        for c in sorted(m - known):
            problems.append(f'{c}: listed under {name} but has no split of two roots or more')
    return adds_up, found, problems


def write_conventions(found, members, path=CONVENTIONS):
    with open(path, 'w', encoding='utf-8') as out:
        out.write(HEADER)
        for name, reason, how, _ in CONVENTIONS_LIST:
            chars = found[name] if how != 'listed' else sorted(members[name], key=lambda c: c.encode('gb2312', 'replace'))
            out.write(f'\n[{name}]\n# {reason}\n')
            for i in range(0, len(chars), 40):
                out.write(''.join(f'{c} ' for c in chars[i:i + 40]).rstrip() + '\n')


HEADER = """\
# The conventions under which a split's roots, written in its order, need not give the character's
# stroke sequence (of Debian's rime-data-stroke), each with its reason and its members; checked by
# tools/gen_splits/stroke_check.py and the test tst_split_strokes. The members of the patterned
# conventions are written by `stroke_check.py --write`; those of 共用笔画 and 省笔 are named by hand,
# each one looked at, since a stroke shared or left out cannot be told from a wrong root by pattern.
"""


def extract(source, path=STROKES):
    """Writes the stroke sequences the check needs (mainland order, as read_strokes resolves them):
    every character of GB2312 and every glyph the roots and their variants are written with."""
    chars = g.read_strokes(source)
    wanted = list(g.gb2312_hanzi())
    for line in open(HERE.parents[1] / 'tools' / 'gen_pictures' / 'data' / 'roots.txt', encoding='utf-8'):
        f = line.split('\t')
        if not line.startswith('#') and len(f) > 1:
            wanted.append(f[1])
    wanted += list(g.VARIANTS) + list(g.VARIANTS.values()) + list(WUBI_ORDER)
    with open(path, 'w', encoding='utf-8') as out:
        out.write(STROKES_HEADER)
        done = set()
        for c in wanted:
            if c in chars and c not in done:
                done.add(c)
                out.write(f'{c}\t{chars[c]}\n')


STROKES_HEADER = """\
# The stroke sequences of the characters of GB2312 and of the Wubi 86 roots, in the mainland order,
# from Debian's rime-data-stroke 0.0~git20230204.c8bc405-1 (LGPL-3; /usr/share/rime-data/
# stroke.dict.yaml, after the CNS11643 stroke data), written by tools/gen_splits/stroke_check.py
# --extract. h 横, s 竖, p 撇, n 捺 (and 点), z 折.
"""


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--splits', default=str(SPLITS))
    ap.add_argument('--strokes', default=str(STROKES))
    ap.add_argument('--write', action='store_true')
    ap.add_argument('--extract', metavar='STROKE_DICT', help=f'rewrite {STROKES.name} from it ({SYSTEM_STROKES})')
    args = ap.parse_args()
    if args.extract:
        extract(args.extract)
        return 0
    st = Strokes(args.strokes)
    splits = read_splits(args.splits)
    members = read_conventions() if CONVENTIONS.exists() else {n: set() for n, *_ in CONVENTIONS_LIST}
    adds_up, found, problems = check(splits, st, members)
    if args.write:
        write_conventions(found, members)
        members = read_conventions()
        adds_up, found, problems = check(splits, st, members)
    print(f'{len(splits)} splits of two roots or more: {adds_up} add up, '
          + ', '.join(f'{n} {len(v)}' for n, v in found.items()) + f'; {len(problems)} unexplained')
    for p in problems:
        print('  ' + p)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
