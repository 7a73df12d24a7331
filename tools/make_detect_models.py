#!/usr/bin/env python3
"""Writes data/detect/ngrams.tsv, the character n-gram counts of the languages that the font
detector knows.

Sources, all from Debian's packages (see data/detect/README.md for their licences):
  - python3-langdetect's profiles (n-gram counts of Wikipedia text): Russian, Ukrainian,
    Bulgarian, Macedonian, English;
  - the hunspell dictionaries of Belarusian (hunspell-be) and Serbian (hunspell-sr), every
    word form that their suffix rules make, each counted once: langdetect has no profile for
    either.

Each language keeps the n-grams of one to three characters over its own letters and the word
boundary (a blank), in lower case; the rarest trigrams and bigrams are left out so that each
language keeps about as many as a langdetect profile holds. Run it again only to change the
sources; the committed file is what the build uses.

    tools/make_detect_models.py > data/detect/ngrams.tsv
"""
import collections
import json
import re
import sys
import unicodedata

LANGDETECT = "/usr/lib/python3/dist-packages/langdetect/profiles"
HUNSPELL = "/usr/share/hunspell"

# language: (name, script, letters, source)
LANGUAGES = {
    "ru": ("Russian", "Cyrillic", "абвгдеёжзийклмнопрстуфхцчшщъыьэюя", ("langdetect", "ru")),
    "uk": ("Ukrainian", "Cyrillic", "абвгґдеєжзиіїйклмнопрстуфхцчшщьюя", ("langdetect", "uk")),
    "be": ("Belarusian", "Cyrillic", "абвгдеёжзійклмнопрстуўфхцчшыьэюя", ("hunspell", "be_BY")),
    "bg": ("Bulgarian", "Cyrillic", "абвгдежзийклмнопрстуфхцчшщъьюяѝ", ("langdetect", "bg")),
    "sr": ("Serbian", "Cyrillic", "абвгдђежзијклљмнњопрстћуфхцчџш", ("hunspell", "sr_RS")),
    "mk": ("Macedonian", "Cyrillic", "абвгдѓежзѕијклљмнњопрстќуфхцчџш", ("langdetect", "mk")),
    "en": ("English", "Latin", "abcdefghijklmnopqrstuvwxyz", ("langdetect", "en")),
}
KEEP = {3: 2000, 2: 900}  # the most of each length a language keeps


def langdetect_counts(code):
    with open(f"{LANGDETECT}/{code}", encoding="utf-8") as profile:
        freq = json.load(profile)["freq"]
    counts = collections.Counter()
    for gram, count in freq.items():
        counts[unicodedata.normalize("NFC", gram).lower()] += count
    return counts


def flags_of(text, kind):
    if kind == "num":
        return [f for f in text.split(",") if f]
    if kind == "long":
        return [text[i:i + 2] for i in range(0, len(text), 2)]
    return list(text)


def suffix_rules(aff_path):
    """flag -> [(strip, add, condition)] of the dictionary's suffix rules, and its flag kind."""
    kind, rules = "char", collections.defaultdict(list)
    with open(aff_path, encoding="utf-8", errors="replace") as aff:
        for line in aff:
            fields = line.split()
            if len(fields) >= 2 and fields[0] == "FLAG":
                kind = fields[1]
            if len(fields) < 4 or fields[0] != "SFX" or fields[2] in ("Y", "N") and len(fields) == 4 and fields[3].isdigit():
                continue
            strip = "" if fields[2] == "0" else fields[2]
            add = fields[3].split("/")[0]
            add = "" if add == "0" else add
            condition = fields[4] if len(fields) > 4 else "."
            rules[fields[1]].append((strip, add, re.compile("(?:" + condition + ")$")))
    return kind, rules


def word_forms(dictionary):
    kind, rules = suffix_rules(f"{HUNSPELL}/{dictionary}.aff")
    with open(f"{HUNSPELL}/{dictionary}.dic", encoding="utf-8", errors="replace") as dic:
        next(dic)  # the count of entries
        for line in dic:
            stem, _, flags = line.strip().partition("/")
            if not stem:
                continue
            yield stem
            for flag in flags_of(flags.split()[0] if flags else "", kind):
                for strip, add, condition in rules.get(flag, ()):
                    if stem.endswith(strip) and condition.search(stem):
                        yield stem[:len(stem) - len(strip)] + add


def hunspell_counts(dictionary):
    counts = collections.Counter()
    for word in set(w.lower() for w in word_forms(dictionary)):
        text = f" {word} "
        for n in (1, 2, 3):
            for i in range(len(text) - n + 1):
                counts[text[i:i + n]] += 1
    del counts[" "]
    return counts


def kept(counts, letters):
    allowed = set(letters) | {" "}
    grams = {g: c for g, c in counts.items() if g and set(g) <= allowed and g.strip() and "  " not in g}
    out = {}
    for n in (1, 2, 3):
        ranked = sorted(((c, g) for g, c in grams.items() if len(g) == n), reverse=True)
        for c, g in ranked[:KEEP.get(n, len(ranked))]:
            out[g] = c
    return out


def main():
    print("# Character n-gram counts of the languages that the font detector knows.")
    print("# Made by tools/make_detect_models.py from Debian's python3-langdetect profiles (Apache-2.0)")
    print("# and hunspell-be (CC-BY-SA 3.0) and hunspell-sr (LGPL-3) word lists; data/detect/README.md")
    print("# names them. Lines: #language CODE NAME SCRIPT LETTERS, then CODE NGRAM COUNT; a blank is")
    print("# the word boundary.")
    for code, (name, script, letters, (kind, source)) in LANGUAGES.items():
        counts = langdetect_counts(source) if kind == "langdetect" else hunspell_counts(source)
        print(f"#language\t{code}\t{name}\t{script}\t{letters}")
        grams = kept(counts, letters)
        for gram in sorted(grams, key=lambda g: (len(g), g)):
            print(f"{code}\t{gram}\t{grams[gram]}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
