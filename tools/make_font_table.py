#!/usr/bin/env python3
"""Writes data/font_info.tsv, the source of the shipped font map.

The code page columns come from glibc's iconv tables, the transliteration column from
GOST 7.79-2000 System B, the UTF-8 column from each row's character. Run it again only to add a font or to check the table; the
committed TSV is what the build uses.

Row order matters, because the loader lets the last row with a given source code win:
  1. rows for a second byte that a code page gives to an already known character,
  2. one row per character, the non-ASCII characters first,
  3. the control codes and ASCII last, so that the transliteration, used as a source,
     maps Latin letters to Latin letters rather than to the Cyrillic rows that share them.
"""
import subprocess
import sys
import unicodedata

CODE_PAGES = [  # (column name, iconv name)
    ("KOI8-R", "KOI8-R"),
    ("KOI8-U", "KOI8-U"),
    ("Windows-1251", "CP1251"),
    ("CP866", "CP866"),
    ("ISO-8859-5", "ISO-8859-5"),
    ("Mac Cyrillic", "MAC-CYRILLIC"),
    ("CP855", "CP855"),
    ("CP1125", "CP1125"),
    ("MIK", "MIK"),
]
TRANSLIT_COLUMN = "GOST 7.79-B Latin"
# The Unicode font: each row's character as its UTF-8 bytes. The program reads a source
# text in this font as UTF-8 and writes a target text in it as UTF-8.
UNICODE_COLUMN = "UTF-8"

# GOST 7.79-2000 System B, capital letters; small letters follow by lower-casing.
# Ц is written "Cz" throughout: the context rule (c before e, i, y, j) needs more than one
# character of input, which a per-character map cannot see.
GOST_B = {
    "А": "A", "Б": "B", "В": "V", "Г": "G", "Д": "D", "Е": "E", "Ё": "Yo", "Ж": "Zh",
    "З": "Z", "И": "I", "Й": "J", "К": "K", "Л": "L", "М": "M", "Н": "N", "О": "O",
    "П": "P", "Р": "R", "С": "S", "Т": "T", "У": "U", "Ф": "F", "Х": "X", "Ц": "Cz",
    "Ч": "Ch", "Ш": "Sh", "Щ": "Shh", "Ъ": "``", "Ы": "Y'", "Ь": "`", "Э": "E`",
    "Ю": "Yu", "Я": "Ya",
    "Ґ": "G`", "Є": "Ye", "І": "I", "Ї": "Yi", "Ў": "U`",
    "Ѓ": "G`", "Ѕ": "Z`", "Ј": "J", "Љ": "L`", "Њ": "N`", "Ќ": "K`", "Џ": "Dh",
}


def translit(ch):
    if ord(ch) < 128:
        return ch
    if ch in GOST_B:
        return GOST_B[ch]
    up = ch.upper()
    if up != ch and up in GOST_B:
        return GOST_B[up].lower()
    return None


def decode_table(iconv_name):
    """byte -> character, for every byte 1..255 that iconv decodes."""
    table = {}
    for b in range(1, 256):
        r = subprocess.run(["iconv", "-f", iconv_name, "-t", "UTF-8"], input=bytes([b]),
                           capture_output=True)
        if r.returncode == 0 and r.stdout:
            text = r.stdout.decode("utf-8")
            if len(text) == 1:
                table[b] = text
    return table


def encode_char(iconv_name, ch):
    r = subprocess.run(["iconv", "-f", "UTF-8", "-t", iconv_name], input=ch.encode("utf-8"),
                       capture_output=True)
    if r.returncode == 0 and len(r.stdout) == 1:
        return r.stdout[0]
    return None


def describe(ch):
    name = unicodedata.name(ch, "CONTROL")
    return "U+%04X %s" % (ord(ch), name)


def main(out_path):
    decoded = {name: decode_table(iconv) for name, iconv in CODE_PAGES}
    chars = sorted({ch for table in decoded.values() for ch in table.values()}, key=ord)
    primary = {}  # character -> {column: code}
    for ch in chars:
        primary[ch] = {name: encode_char(iconv, ch) for name, iconv in CODE_PAGES}

    extra_rows = []
    for name, _ in CODE_PAGES:
        for b, ch in sorted(decoded[name].items()):
            if primary[ch][name] != b:
                cells = dict(primary[ch])
                cells[name] = b
                extra_rows.append((ch, cells))

    non_ascii = [ch for ch in chars if ord(ch) >= 128]
    ascii_chars = [ch for ch in chars if ord(ch) < 128]

    def cell(code):
        return "\\N" if code is None else str(code)

    def unicode_cell(ch):
        return ",".join(str(b) for b in ch.encode("utf-8"))

    def translit_cell(ch):
        t = translit(ch)
        return "\\N" if t is None else ",".join(str(ord(c)) for c in t)

    with open(out_path, "w", encoding="utf-8", newline="\n") as out:
        out.write("\t".join(["#character"] + [n for n, _ in CODE_PAGES]
                            + [TRANSLIT_COLUMN, UNICODE_COLUMN]) + "\n")
        for ch, cells in extra_rows:
            out.write("\t".join([describe(ch) + " (second code)"]
                                + [cell(cells[n]) for n, _ in CODE_PAGES] + ["\\N", unicode_cell(ch)]) + "\n")
        for ch in non_ascii + ascii_chars:
            out.write("\t".join([describe(ch)] + [cell(primary[ch][n]) for n, _ in CODE_PAGES]
                                + [translit_cell(ch), unicode_cell(ch)]) + "\n")
    print("%d characters, %d second-code rows" % (len(chars), len(extra_rows)))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "data/font_info.tsv")
