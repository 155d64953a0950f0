#!/usr/bin/env python3
"""Every split of tools/gen_lexicon/lists/splits.txt proven by its strokes: its roots, written in
its order, give the character's stroke sequence (tools/gen_splits/strokes.txt, from Debian's
rime-data-stroke), or the split follows a named convention of tools/gen_splits/stroke_conventions.txt
and is listed there; and the checker itself tells a wrong root from a convention on a handful of
real characters."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools', 'gen_splits'))
import stroke_check as sc  # noqa: E402


class StrokeCheck(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.st = sc.Strokes()

    def test_every_split_adds_up_or_follows_a_listed_convention(self):
        splits = sc.read_splits()
        self.assertGreater(len(splits), 6000)
        adds_up, found, problems = sc.check(splits, self.st, sc.read_conventions())
        print(f'{len(splits)} splits: {adds_up} add up; ' + ', '.join(f'{n} {len(v)}' for n, v in found.items()))
        self.assertEqual(problems, [], '\n'.join(problems))

    def test_conventions_against_wrong_roots(self):
        cases = [
            ('汉', ['氵', '又'], ''),                       # adds up
            ('国', ['囗', '王', '丶'], '包围后封口'),       # 囗 closed after 王 丶
            ('载', ['十', '戈', '车'], '戈的点后写'),       # 戈's dot and sweep after 车
            ('里', ['日', '土'], '笔画穿插'),     # 土's verticals run up through 日
            ('不', ['一', '小'], '同笔异名'),
            ('载', ['土', '戈', '车'], None),               # 土 has a stroke 载 has not
            ('呀', ['口', '匚', '丨', '丨', '丿'], None),    # a vertical too many
            ('决', ['冫', '乙', '人'], None),               # 乙 for the two-stroke frame
            ('决', ['冫', '左框', '人'], ''),
            ('掩', ['扌', '大', '日', '丨', '乙'], None),   # 电 is 日 乙: no vertical of its own
        ]
        for c, roots, want in cases:
            with self.subTest(c=c, roots=roots):
                self.assertEqual(sc.classify(self.st, c, roots), want)


if __name__ == '__main__':
    unittest.main()
