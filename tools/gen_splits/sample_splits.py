#!/usr/bin/env python3
"""Draws a seeded random sample of the drilled characters' splits for judging by hand.

  python3 tools/gen_splits/sample_splits.py --data build/data --splits tools/gen_lexicon/lists/splits.txt \
      --seed 28 --per-category 20

The sample is stratified over the single-character drill's six categories (their batch ranges in
zk.db): the same number of distinct characters from each, drawn with Python's random.Random(seed).
Prints one line a character: category, character, its split as splits.txt holds it (or "-" when it
has none). Judge each line by the rules and count the wrong ones per category; the category sizes
printed first give the weighted figure.

With --over-sources (and --passages, --hand, --decomp) the strata are instead the sources a split
comes from: drilled characters, passage characters, the other characters of GB2312 level 1 and of
level 2, the hand splits, and the splits whose shape comes from the code rather than from the
decomposition's layout; a character is drawn once, in the first stratum it falls in.
"""

import argparse
import random
import sqlite3
import sys
from pathlib import Path

# The categories' batch numbers (zk.no), from drills/practice_plan.h: start batch to the batch
# holding the category's end marker.
CATEGORIES = [('键名字', 100, 109), ('成字字根', 131, 136), ('一级简码', 116, 125),
              ('二级简码', 151, 190), ('三级简码', 191, 206), ('识别码', 207, 226)]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--data', required=True)
    ap.add_argument('--splits', required=True)
    ap.add_argument('--seed', type=int, required=True)
    ap.add_argument('--per-category', type=int, default=20)
    ap.add_argument('--over-sources', action='store_true')
    ap.add_argument('--passages')
    ap.add_argument('--hand')
    ap.add_argument('--decomp')
    args = ap.parse_args()
    splits = {}
    for line in open(args.splits, encoding='utf-8'):
        if line.startswith('#') or not line.strip():
            continue
        f = line.rstrip('\n').split('\t')
        splits[f[0]] = '\t'.join(f[1:])
    db = sqlite3.connect(f'file:{args.data}/zk.db?mode=ro', uri=True)
    rng = random.Random(args.seed)
    if args.over_sources:
        return over_sources(args, splits, rng)
    for name, first, last in CATEGORIES:
        chars = []
        for row in db.execute('SELECT * FROM zk WHERE CAST(no AS INTEGER) BETWEEN ? AND ? ORDER BY id', (first, last)):
            for c in row[2:]:
                if c and c not in chars:
                    chars.append(c)
        print(f'# {name}: {len(chars)} characters')
        for c in rng.sample(chars, min(args.per_category, len(chars))):
            print(f'{name}\t{c}\t{splits.get(c, "-")}')


def over_sources(args, splits, rng):
    sys.path.insert(0, str(Path(__file__).resolve().parent))
    import gen_splits as g
    drilled = g.read_targets(args.data)
    passages = []
    for n in range(1, 7):
        for c in (Path(args.passages) / f'test{n}.txt').read_text(encoding='utf-8'):
            if '\u4e00' <= c <= '\u9fff' and c not in passages:
                passages.append(c)
    gb = g.gb2312_hanzi()
    hand = [line.split('\t', 1)[0] for line in open(args.hand, encoding='utf-8')
            if line.strip() and not line.startswith('#')]
    decomp = g.read_decomp(args.decomp)
    by_code = []
    for c in gb:
        f = splits.get(c, '').split('\t')
        if len(f) == 2 and len(f[1]) == 2 and f[1][1] in '123' and int(f[1][1]) != g.layout_shape(decomp, c):
            by_code.append(c)
    strata = [('操练', drilled), ('文章', passages), ('一级字', gb[:3755]), ('二级字', gb[3755:]),
              ('手写', hand), ('字形取自编码', by_code)]
    drawn = set()
    for name, chars in strata:
        pool = [c for c in chars if c in splits and c not in drawn]
        print(f'# {name}: {len(pool)} characters')
        for c in rng.sample(pool, min(args.per_category, len(pool))):
            drawn.add(c)
            print(f'{name}\t{c}\t{splits[c]}')


if __name__ == '__main__':
    main()
