#!/usr/bin/env python3
"""The split deriver's rules on a handful of real characters with made-up sources: the code a split
gives (identification letter, four roots and more, character roots), the order it tries candidates
in (a shape from the layout before one inferred from the code), hand splits, and what it leaves out."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools', 'gen_splits'))
import gen_splits as g  # noqa: E402
import stroke_check as sc  # noqa: E402

KEYS = {'氵': 'i', '又': 'c', '禾': 't', '口': 'k', '王': 'g', '五': 'g', '一': 'g', '八': 'w', '土': 'f',
        '也': 'b', '夕': 'q', '人': 'w', '丶': 'y', '彐': 'v', '艮': 'v'}
STROKES = {'氵': 'nnh', '又': 'zn', '禾': 'phspn', '口': 'szh', '王': 'hhsh', '五': 'hszh', '一': 'h',
           '八': 'pn', '土': 'hsh', '也': 'zsz', '夕': 'pzn', '人': 'pn', '丶': 'n', '彐': 'zhh', '艮': 'zhhzpn',
           '汉': 'nnhzn', '和': 'phspnszh', '地': 'hshzsz'}
DECOMP = {'汉': ('a', ['氵', '又']), '和': ('a', ['禾', '口']), '地': ('a', ['土', '也'])}


def splitter(hand=None, decomp=DECOMP):
    return g.Splitter(KEYS, set(), decomp, STROKES, {}, hand or {})


class Rules(unittest.TestCase):
    def test_identification_letter_by_last_stroke_and_shape(self):
        sp = splitter()
        # 和 tkg (横 左右), 汉 icy (捺 左右), 地 fbn (折 左右); the same roots under other shapes take
        # the zone's second and third keys.
        self.assertEqual(g.code_of(sp, ['禾', '口'], 'h', 1), 'tkg')
        self.assertEqual(g.code_of(sp, ['氵', '又'], 'n', 1), 'icy')
        self.assertEqual(g.code_of(sp, ['土', '也'], 'z', 1), 'fbn')
        self.assertEqual(g.code_of(sp, ['氵', '又'], 'n', 2), 'icu')
        self.assertEqual(g.code_of(sp, ['氵', '又'], 'n', 3), 'ici')
        self.assertEqual(g.code_of(sp, ['禾', '口'], 's', 3), 'tkk')
        self.assertEqual(g.code_of(sp, ['禾', '口'], 'p', 2), 'tkr')

    def test_four_roots_and_more_take_the_first_three_and_the_last(self):
        sp = splitter()
        self.assertEqual(g.code_of(sp, ['夕', '又', '人', '丶', '彐', '艮'], 'n', 1), 'qcwv')
        self.assertEqual(g.code_of(sp, ['王', '口', '又', '土'], None, 1), 'gkcf')

    def test_character_root_by_its_strokes(self):
        sp = splitter()
        self.assertEqual(g.character_root_split('五', sp, STROKES, 'gghg'), 'hsh')
        self.assertEqual(g.character_root_split('八', sp, STROKES, 'wty'), 'pn')
        # A single stroke: its key twice and ll, whatever its stroke's key would be.
        self.assertEqual(g.character_root_split('一', sp, STROKES, 'ggll'), 'h')
        self.assertIsNone(g.character_root_split('一', sp, STROKES, 'gggg'))
        self.assertIsNone(g.character_root_split('五', sp, STROKES, 'gghh'))

    def test_a_hand_split_is_taken_over_the_data(self):
        # Strokes as Wubi counts them, where the stroke data counts otherwise.
        strokes = dict(STROKES, 八='pz')
        self.assertIsNone(g.character_root_split('八', splitter(), strokes, 'wty'))
        sp = splitter({'八': g.HandSplit(['pn'], None, None)})
        self.assertEqual(g.character_root_split('八', sp, strokes, 'wty'), 'pn')
        # 汉 written by hand as top and bottom (shape 2): its code then ends on the zone's second key.
        sp = splitter({'汉': g.HandSplit(['氵', '又'], 2, None)})
        self.assertEqual(g.find_split('汉', sp, 'icu', {'字形取自编码': 0}), (['氵', '又'], 'n2'))


class Search(unittest.TestCase):
    def test_the_layouts_shape_comes_first(self):
        counts = {'字形取自编码': 0}
        self.assertEqual(g.find_split('汉', splitter(), 'icy', counts), (['氵', '又'], 'n1'))
        self.assertEqual(counts['字形取自编码'], 0)

    def test_a_shape_from_the_code_is_counted(self):
        counts = {'字形取自编码': 0}
        self.assertEqual(g.find_split('汉', splitter(), 'ici', counts), (['氵', '又'], 'n3'))
        self.assertEqual(counts['字形取自编码'], 1)

    def test_no_split_of_the_code(self):
        self.assertIsNone(g.find_split('汉', splitter(), 'ick', {'字形取自编码': 0}))

    def test_what_is_kept_and_what_is_left_out(self):
        sp = splitter()
        codes = {'汉': 'icy', '王': 'gggg', '五': 'gghg', '和': 'tkk'}
        lines, left, counts = g.split_all(['汉', '王', '五', '和', '地'], sp, STROKES, codes)
        self.assertEqual(lines, [('汉', ['氵', '又'], 'n1'), ('王', ['王'], ''), ('五', ['五'], 'hsh')])
        # 和 gives tkg, not the tkk asked for: no split; 地 has no code at all.
        self.assertEqual(left, [('和', 'tkk'), ('地', '词典中没有')])
        self.assertEqual((counts['键名'], counts['成字字根'], counts['拆分']), (1, 1, 1))


class Strokes(unittest.TestCase):
    KEYS = dict(KEYS, 匚='a', 丨='h', 丿='t', 宀='p', 左框='n')
    STROKES = dict(STROKES, 呀='szhhzsp', 匚='hz', 丨='s', 丿='p', 宀='nnz', 左框='zh', 官='nnzszhzh')

    def splitter(self, checked):
        # 牙 (an unnamed piece here) as the data might draw it, with a vertical too many: its code is
        # the same (口 匚 丨 … 丿), its strokes are not.
        decomp = {'呀': ('a', ['口', '99999']), '99999': ('d', ['匚', '丨', '丨', '丿']), '官': ('d', ['宀', '㠯'])}
        sp = g.Splitter(self.KEYS, set(), decomp, self.STROKES, {}, {})
        if checked:
            st = sc.Strokes.__new__(sc.Strokes)
            st.chars, st.cut = dict(self.STROKES), {}
            sp.stroke_check = st
        return sp

    def test_a_split_whose_strokes_add_up_comes_first(self):
        counts = {'字形取自编码': 0, '笔画不合': 0}
        self.assertEqual(g.find_split('呀', self.splitter(False), 'kaht', counts)[0], ['口', '匚', '丨', '丨', '丿'])
        self.assertEqual(g.find_split('呀', self.splitter(True), 'kaht', counts)[0], ['口', '匚', '丨', '丿'])
        self.assertEqual(counts['笔画不合'], 0)

    def test_a_code_that_takes_the_roots_out_of_order_is_an_exception(self):
        # 官 is written 宀, the vertical, two closed frames; its code pnhn takes a frame first.
        lines, left, counts = g.split_all(['官'], self.splitter(True), self.STROKES, {'官': 'pnhn'})
        self.assertEqual(lines, [('官', ['宀', '丨', '左框', '左框'], '!o')])
        self.assertEqual((left, counts['例外']), ([], 1))


if __name__ == '__main__':
    unittest.main()
