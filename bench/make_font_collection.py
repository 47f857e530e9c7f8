#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes COUNT TrueType families with distinct names into FOLDER.

Each file is the same small face (the printable ASCII of SOURCE, unhinted)
under a name table of its own: family, full, PostScript and unique names
only. The typographic family names are left out, so that fontconfig sees
exactly one family per file. The names are made of syllables, so that they
sort in no particular relation to the order of the files.

With EVERY, every EVERY-th family is named in Chinese and the one after it
in Arabic, as families from those markets are: the face itself still has
only ASCII, so their names draw with glyphs borrowed from other faces.

    make_font_collection.py SOURCE FOLDER COUNT [EVERY]
"""

import io
import random
import struct
import sys
from pathlib import Path

from fontTools import subset
from fontTools.ttLib import TTFont, newTable

SYLLABLES = ["lu", "ma", "ve", "ra", "ti", "go", "no", "sa", "ki", "do", "pe", "zu", "fa", "ro", "mi", "ca",
             "bel", "tor", "den", "qui", "wen", "har", "ly", "jo"]
# The one face every family has.
STYLE = "Regular"
# Fixed, so that every run makes the same names.
SEED = 1996
WINDOWS_ENGLISH = (3, 1, 0x409)


def family_names(count):
    rng = random.Random(SEED)
    seen = set()
    while len(seen) < count:
        word = "".join(rng.choice(SYLLABLES) for _ in range(rng.randint(2, 4))).capitalize()
        name = f"{word} {rng.choice(['Sans', 'Serif', 'Text', 'Display', 'Mono', 'Grotesk'])} {rng.randint(1, 999)}"
        if name not in seen:
            seen.add(name)
            yield name


HAN = ["明", "宋", "黑", "楷", "圆", "隶", "仿", "魏", "行", "书", "综", "艺", "雅", "秀", "丽", "正"]
ARABIC = ["نسخ", "كوفي", "رقعة", "ثلث", "ديواني", "مغربي", "فارسي", "حديث"]


def localized(name, index, every):
    """The name, or a Chinese or Arabic one for every EVERY-th pair."""
    if not every or index % every > 1:
        return name
    rng = random.Random(index)
    number = name.rsplit(" ", 1)[1]
    if index % every == 0:
        return "".join(rng.choice(HAN) for _ in range(rng.randint(2, 4))) + "体 " + number
    return " ".join(rng.choice(ARABIC) for _ in range(2)) + " " + number


def template(source):
    """The face as sfnt tables, name table left out, with checksums."""
    font = TTFont(source)
    options = subset.Options()
    options.hinting = False
    options.name_IDs = []
    options.layout_features = ["kern", "liga"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=range(0x20, 0x7F))
    subsetter.subset(font)
    buffer = io.BytesIO()
    font.save(buffer)
    font = TTFont(io.BytesIO(buffer.getvalue()))
    tables = {}
    for tag in font.reader.keys():
        if tag != "name":
            tables[tag] = bytearray(font.reader[tag])
    # checkSumAdjustment is worked out again for every file.
    tables["head"][8:12] = b"\0\0\0\0"
    return tables


def checksum(data):
    padded = bytes(data) + b"\0" * (-len(data) % 4)
    return sum(struct.unpack(f">{len(padded) // 4}L", padded)) & 0xFFFFFFFF


def name_table(family, index):
    table = newTable("name")
    table.names = []
    # PostScript names are ASCII.
    plain = family.replace(" ", "") if family.isascii() else f"Generated{index:05d}"
    postscript = plain + "-" + STYLE
    for name_id, text in ((1, family), (2, STYLE), (3, postscript), (4, f"{family} {STYLE}"), (6, postscript)):
        table.setName(text, name_id, *WINDOWS_ENGLISH)
    return table.compile(None)


def sfnt(tables):
    """One TrueType file from its tables, as the OpenType format lays it out."""
    tags = sorted(tables)
    count = len(tags)
    power = 1
    while power * 2 <= count:
        power *= 2
    header = struct.pack(">LHHHH", 0x00010000, count, power * 16, power.bit_length() - 1, count * 16 - power * 16)
    offset = len(header) + 16 * count
    directory = b""
    body = b""
    head_offset = 0
    for tag in tags:
        data = bytes(tables[tag])
        if tag == "head":
            head_offset = offset + len(body)
        directory += struct.pack(">4sLLL", tag.encode("latin-1"), checksum(data), offset + len(body), len(data))
        body += data + b"\0" * (-len(data) % 4)
    whole = bytearray(header + directory + body)
    adjustment = (0xB1B0AFBA - checksum(whole)) & 0xFFFFFFFF
    whole[head_offset + 8:head_offset + 12] = struct.pack(">L", adjustment)
    return bytes(whole)


def main():
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    source, folder, count = sys.argv[1], Path(sys.argv[2]), int(sys.argv[3])
    every = int(sys.argv[4]) if len(sys.argv) == 5 else 0
    folder.mkdir(parents=True, exist_ok=True)
    tables = template(source)
    for index, family in enumerate(family_names(count)):
        tables["name"] = name_table(localized(family, index, every), index)
        (folder / f"family{index:05d}.ttf").write_bytes(sfnt(tables))


if __name__ == "__main__":
    main()
