#!/usr/bin/env python3
"""Every split of tools/gen_lexicon/lists/splits.txt agrees with the splits of its two parts
(tools/gen_splits/parts.txt), or is listed with the form its part takes (part_forms.txt); and the
check catches the wrong roots it was made for, which give the code and add up."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools', 'gen_splits'))
import parts_check as pc  # noqa: E402


class PartsCheck(unittest.TestCase):
    def test_every_split_agrees_with_its_parts_or_is_listed(self):
        splits, parts = pc.read_splits(), pc.read_parts()
        self.assertGreater(len(parts), 4000)
        agree, problems = pc.check(splits, parts, pc.read_forms())
        print(f'{len(parts)} characters in two parts: {agree} split as their parts')
        self.assertEqual(problems, [], '\n'.join(problems))

    def test_wrong_roots_on_the_right_key_are_caught(self):
        splits, parts, forms = pc.read_splits(), pc.read_parts(), pc.read_forms()
        for c, roots in (('碎', ['石', '文', '人', '十']),   # 卒 is 亠 人 人 十
                         ('滚', ['氵', '六', '又', '𧘇']),   # 公's 厶, not 又
                         ('链', ['钅', '车', '冖', '丶']),   # the walk is one root
                         ('特', ['丿', '扌', '土', '寸'])):  # listed: 牛 on the left is 牜
            with self.subTest(c=c):
                _, problems = pc.check(dict(splits, **{c: roots}), parts, forms)
                self.assertEqual([p for p in problems if p.startswith(c)] != [], c != '特')


if __name__ == '__main__':
    unittest.main()
