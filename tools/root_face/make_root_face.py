#!/usr/bin/python3
"""Cuts the few root glyphs the window writes outside GB2312 from an installed CJK face.

    make_root_face.py --source FAMILY --family NAME --text CHARACTERS --out FILE
    make_root_face.py --source FAMILY --copyright

FAMILY is the installed face to take them from (fontconfig finds its file, a collection too);
the result holds only CHARACTERS (and the empty glyph), is named NAME throughout so that it can
never stand for the whole face, and keeps the source's copyright and licence entries. The build
compiles it into the program, so the package needs no large CJK font for one or two glyphs.
With --copyright it prints the source's copyright notice, for the package's licence notice.

Needs fontconfig and fontTools (Debian: fontconfig, python3-fonttools).
"""

import argparse
import subprocess
import sys

from fontTools import subset
from fontTools.ttLib import TTFont


def installed_file(family):
    """The file and the index in it of an installed face, or exits saying what is there instead."""
    found = subprocess.run(
        ["fc-match", "-f", "%{family}\n%{file}\n%{index}", family], check=True, capture_output=True, text=True
    ).stdout.split("\n")
    if len(found) < 3 or family not in found[0].split(","):
        sys.exit(f"make_root_face: the face {family!r} is not installed (fontconfig gives {found[0]!r})")
    return found[1], int(found[2])


def rename(font, family):
    """Names the font NAME in its name table and its CFF table; other entries stay."""
    postscript = family.replace(" ", "")
    names = font["name"]
    # Typographic family and subfamily would name the source face again.
    names.names = [n for n in names.names if n.nameID not in (3, 16, 17, 21, 22)]
    for record in list(names.names):
        if record.nameID in (1, 4):
            names.setName(family, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 6:
            names.setName(postscript, 6, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 2:
            names.setName("Regular", 2, record.platformID, record.platEncID, record.langID)
    # Entries in other languages (a Chinese family name) would be names of the source face too.
    names.names = [n for n in names.names if n.nameID not in (1, 4, 6) or n.langID in (0, 0x409)]
    names.setName(f"{family};subset", 3, 3, 1, 0x409)
    if "CFF " in font:
        cff = font["CFF "].cff
        cff.fontNames = [postscript]
        top = cff.topDictIndex[0]
        for key, value in (("FullName", family), ("FamilyName", family)):
            if hasattr(top, key):
                setattr(top, key, value)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--source", required=True)
    parser.add_argument("--family")
    parser.add_argument("--text")
    parser.add_argument("--out")
    parser.add_argument("--copyright", action="store_true")
    args = parser.parse_args()

    path, index = installed_file(args.source)
    font = TTFont(path, fontNumber=index, lazy=False, recalcTimestamp=False)
    if args.copyright:
        print(font["name"].getDebugName(0))
        return
    if not (args.family and args.text and args.out):
        parser.error("--family, --text and --out are needed to cut a face")
    cmap = font.getBestCmap()
    absent = [c for c in args.text if ord(c) not in cmap]
    if absent:
        sys.exit(f"make_root_face: {args.source} has no glyph for {''.join(absent)}")

    options = subset.Options()
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.hinting = False
    options.desubroutinize = True
    options.layout_features = []
    options.notdef_outline = True
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=args.text)
    subsetter.subset(font)
    rename(font, args.family)
    # The source's dates, not the build's: the same fonts give the same file.
    font.save(args.out, reorderTables=True)


if __name__ == "__main__":
    main()
