#!/usr/bin/env python3
"""Draws a seeded random sample of the drilled characters' splits for judging by hand.

  python3 tools/gen_splits/sample_splits.py --data build/data --splits tools/gen_lexicon/lists/splits.txt \
      --seed 28 --per-category 20

The sample is stratified over the single-character drill's six categories (their batch ranges in
zk.db): the same number of distinct characters from each, drawn with Python's random.Random(seed).
Prints one line a character: category, character, its split as splits.txt holds it (or "-" when it
has none). Judge each line by the rules and count the wrong ones per category; the category sizes
printed first give the weighted figure.
"""

import argparse
import random
import sqlite3

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
    args = ap.parse_args()
    splits = {}
    for line in open(args.splits, encoding='utf-8'):
        if line.startswith('#') or not line.strip():
            continue
        f = line.rstrip('\n').split('\t')
        splits[f[0]] = '\t'.join(f[1:])
    db = sqlite3.connect(f'file:{args.data}/zk.db?mode=ro', uri=True)
    rng = random.Random(args.seed)
    for name, first, last in CATEGORIES:
        chars = []
        for row in db.execute('SELECT * FROM zk WHERE CAST(no AS INTEGER) BETWEEN ? AND ? ORDER BY id', (first, last)):
            for c in row[2:]:
                if c and c not in chars:
                    chars.append(c)
        print(f'# {name}: {len(chars)} characters')
        for c in rng.sample(chars, min(args.per_category, len(chars))):
            print(f'{name}\t{c}\t{splits.get(c, "-")}')


if __name__ == '__main__':
    main()
