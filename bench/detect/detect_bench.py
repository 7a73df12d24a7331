#!/usr/bin/python3
"""How often the font detector is right, beside four detectors from Debian, in one run.

    bench/detect/detect_bench.py BUILD_DIR [--half test|dev] [--per 100] [--lengths 16,32,64,256]

The test text is not what the models were made from: the Russian, Ukrainian, Macedonian and
Serbian manual pages (Debian's manpages-ru, -uk, -mk, -sr), and the Bulgarian and Belarusian
sentences in this folder. Each source is cut in two halves (alternate pages, alternate lines):
"dev" is for tuning the detector, "test" for the figures. Snippets of each length are cut from
each language's text, written in each of the nine code pages of the shipped map that can write
the language, and given to each detector. An answer is right when decoding the snippet with it
gives the text back (KOI8-U for Russian text is right). "Cannot tell" is never right.
"""
import argparse
import codecs
import collections
import ctypes
import glob
import os
import random
import re
import subprocess
import sys
import tempfile
import unicodedata

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(os.path.dirname(HERE))
CODE_PAGES = ["KOI8-R", "KOI8-U", "Windows-1251", "CP866", "ISO-8859-5", "Mac Cyrillic", "CP855", "CP1125", "MIK"]
# The letters a code page must have to write a language (rare letters aside: ґ, ѝ, and the
# Russian ё, which is mostly written е). Snippets with a character it lacks are left out.
CORE = {
    "ru": "абвгдежзийклмнопрстуфхцчшщъыьэюя",
    "uk": "абвгдеєжзиіїйклмнопрстуфхцчшщьюя",
    "be": "абвгдеёжзійклмнопрстуўфхцчшыьэюя",
    "bg": "абвгдежзийклмнопрстуфхцчшщъьюя",
    "sr": "абвгдђежзијклљмнњопрстћуфхцчџш",
    "mk": "абвгдѓежзѕијклљмнњопрстќуфхцчџш",
}
NAMES = {"ru": "Russian", "uk": "Ukrainian", "be": "Belarusian", "bg": "Bulgarian", "sr": "Serbian",
         "mk": "Macedonian"}
ENCA = {"ru": "russian", "uk": "ukrainian", "be": "belarusian", "bg": "bulgarian", "sr": "none", "mk": "none"}
CHARSET_PAGE = re.compile(r"/man7/(ascii|charsets|cp1251|iso_8859|iso-8859|iso8859|koi8|latin|unicode|utf-8|utf8)")
PLAIN = str.maketrans({"«": '"', "»": '"', "„": '"', "“": '"', "”": '"', "‘": "'", "’": "'", "–": "-",
                       "—": "-", "…": "...", "\u00a0": " ", "\u00ad": ""})


def read_tables():
    """font -> (decode: code -> character, encode: character -> code), from data/font_info.tsv."""
    with open(os.path.join(TOP, "data", "font_info.tsv"), encoding="utf-8") as tsv:
        header = tsv.readline().rstrip("\n").split("\t")
        rows = [line.rstrip("\n").split("\t") for line in tsv]
    unicode_column = header.index("UTF-8")
    tables = {}
    for column, font in enumerate(header):
        if font not in CODE_PAGES:
            continue
        decode = {}
        for row in rows:
            cell, utf8 = row[column], row[unicode_column]
            if cell == "\\N" or "," in cell or utf8 == "\\N":
                continue
            decode[int(cell)] = bytes(int(b) for b in utf8.split(",")).decode("utf-8")
        encode = {}
        for code in sorted(decode, reverse=True):
            encode[decode[code]] = code
        tables[font] = (decode, encode)
    return tables


def man_text(path):
    out = subprocess.run(["man", "-l", "-E", "UTF-8", path], capture_output=True, env=dict(os.environ, MANWIDTH="200"))
    text = re.sub(r".\x08", "", out.stdout.decode("utf-8", "replace"))
    return [line.strip() for line in text.splitlines() if re.search("[а-яА-Я]{3}", line)]


def texts(half):
    """language -> its text (one line per sentence or man page line), the chosen half."""
    found = {}
    for language in ("ru", "uk", "mk", "sr"):
        # not the pages that list the characters of code pages: they are tables, not text
        pages = sorted(p for p in glob.glob(f"/usr/share/man/{language}/man*/*.gz") if not CHARSET_PAGE.search(p))
        if not pages:
            sys.exit(f"detect_bench: no manual pages in /usr/share/man/{language} (install manpages-{language})")
        chosen = pages[0 if half == "dev" else 1::2]
        lines = []
        for page in chosen:
            lines += man_text(page)
        found[language] = lines
    for language in ("bg", "be"):
        with open(os.path.join(HERE, language + ".txt"), encoding="utf-8") as own:
            lines = [line.strip() for line in own if line.strip()]
        found[language] = lines[0 if half == "dev" else 1::2]
    for language, lines in found.items():
        found[language] = [re.sub(r"\s+", " ", unicodedata.normalize("NFC", l.translate(PLAIN))) for l in lines]
    return found


def snippets(lines, length, count, rng):
    """`count` pieces of `length` characters, each beginning at a word of one line or more."""
    text = " ".join(lines)
    starts = [m.start() for m in re.finditer(r"(?<![\w])\w", text) if m.start() + length <= len(text)]
    rng.shuffle(starts)
    pieces = []
    for start in starts:
        piece = text[start:start + length]
        letters = [c for c in piece if c.isalpha()]
        cyrillic = [c for c in letters if "\u0400" <= c <= "\u04ff"]
        if cyrillic and 2 * len(cyrillic) >= len(letters):  # Cyrillic text, with a Latin word at most
            pieces.append(piece)
        if len(pieces) == count:
            break
    return pieces


def writable(font_encode, language):
    return all(c in font_encode and c.upper() in font_encode for c in CORE[language])


def encode(text, table):
    try:
        return bytes(table[c] for c in text)
    except KeyError:
        return None


class Case:
    def __init__(self, page, language, length, text, data):
        self.page, self.language, self.length, self.text, self.data = page, language, length, text, data
        self.path = None


def decodes_back(case, name, tables):
    """True when reading the case's bytes as `name` (a font of the map or a Python codec name)
    gives its text back."""
    if not name:
        return False
    if name in tables:
        decode = tables[name][0]
        return "".join(decode.get(b, "\ufffd") for b in case.data) == case.text
    try:
        return case.data.decode(codecs.lookup(name).name) == case.text
    except (LookupError, UnicodeDecodeError, ValueError):
        return False


# --- the detectors -------------------------------------------------------------------------


def run_varnex(varnex, cases):
    answers = {}
    for start in range(0, len(cases), 2000):
        chunk = cases[start:start + 2000]
        out = subprocess.run([varnex, "detect", "--format=tsv"] + [c.path for c in chunk],
                             capture_output=True, check=False).stdout.decode("utf-8")
        for line in out.splitlines():
            fields = line.split("\t")
            answers[fields[0]] = (fields[1], float(fields[2]) if fields[2] else 0.0)
    return [answers.get(c.path, ("?", 0.0)) for c in cases]


def false_warnings(varnex, cases):
    """Right fonts named with -f that varnex warns of, at 64 characters and more: (warned, given)."""
    warned = given = 0
    by_page = collections.defaultdict(list)
    for case in cases:
        if case.length >= 64:
            by_page[case.page].append(case)
    for page, chosen in by_page.items():
        for start in range(0, len(chosen), 2000):
            chunk = chosen[start:start + 2000]
            err = subprocess.run([varnex, "-f", page, "-t", "UTF-8", "-o", "/dev/null"] + [c.path for c in chunk],
                                 capture_output=True).stderr.decode("utf-8", "replace")
            warned += sum(1 for line in err.splitlines() if " reads as " in line)
            given += len(chunk)
    return warned, given


def run_uchardet(cases):
    lib = ctypes.CDLL("libuchardet.so.0")
    lib.uchardet_new.restype = ctypes.c_void_p
    lib.uchardet_get_charset.restype = ctypes.c_char_p
    lib.uchardet_get_charset.argtypes = [ctypes.c_void_p]
    lib.uchardet_handle_data.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_size_t]
    lib.uchardet_data_end.argtypes = [ctypes.c_void_p]
    lib.uchardet_delete.argtypes = [ctypes.c_void_p]
    answers = []
    for case in cases:
        detector = lib.uchardet_new()
        lib.uchardet_handle_data(detector, case.data, len(case.data))
        lib.uchardet_data_end(detector)
        answers.append(lib.uchardet_get_charset(detector).decode())
        lib.uchardet_delete(detector)
    return answers


def run_chardet(cases):
    import chardet
    return [chardet.detect(c.data)["encoding"] for c in cases]


def run_charset_normalizer(cases):
    import charset_normalizer
    answers = []
    for case in cases:
        best = charset_normalizer.from_bytes(case.data).best()
        answers.append(best.encoding if best else None)
    return answers


def run_enca(cases):
    answers = {}
    by_language = collections.defaultdict(list)
    for case in cases:
        by_language[case.language].append(case)
    for language, chosen in by_language.items():
        for start in range(0, len(chosen), 1000):
            chunk = chosen[start:start + 1000]
            out = subprocess.run(["enca", "-L", ENCA[language], "-i"] + [c.path for c in chunk],
                                 capture_output=True).stdout.decode("utf-8", "replace")
            for line in out.splitlines():
                path, _, name = line.rpartition(": ")
                answers[path] = name.strip()
    return [answers.get(c.path) for c in cases]


ENCA_NAMES = {"KOI8-R": "koi8_r", "KOI8-U": "koi8_u", "CP1251": "cp1251", "IBM866": "cp866", "CP866": "cp866",
              "ISO-8859-5": "iso8859_5", "MAC-CYRILLIC": "mac_cyrillic", "MACCYRILLIC": "mac_cyrillic",
              "IBM855": "cp855", "CP855": "cp855", "CP1125": "cp1125", "KOI8-RU": "koi8_u"}


# --- the report ----------------------------------------------------------------------------


def share(right, total):
    return f"{100 * right / total:.1f}%" if total else "–"


def table(title, cases, results, key, columns):
    print(f"\n{title}\n")
    names = list(results)
    print("| " + " | ".join(["detector"] + [str(c) for c in columns]) + " |")
    print("| " + " | ".join(["---"] * (len(columns) + 1)) + " |")
    for name in names:
        right = collections.Counter()
        total = collections.Counter()
        for case, ok in zip(cases, results[name]):
            total[key(case)] += 1
            right[key(case)] += ok
        print("| " + " | ".join([name] + [share(right[c], total[c]) for c in columns]) + " |")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--half", default="test", choices=["test", "dev"])
    parser.add_argument("--per", type=int, default=100, help="snippets per language, length and code page")
    parser.add_argument("--lengths", default="16,32,64,256")
    parser.add_argument("--only-varnex", action="store_true")
    parser.add_argument("--show-wrong", type=int, default=0, help="print this many of varnex's wrong answers")
    args = parser.parse_args()
    varnex = os.path.join(args.build, "bin", "varnex")
    lengths = [int(n) for n in args.lengths.split(",")]
    tables = read_tables()
    rng = random.Random(2010)
    cases = []
    for language, lines in texts(args.half).items():
        for length in lengths:
            pieces = snippets(lines, length, args.per * 3, rng)
            for page in CODE_PAGES:
                if not writable(tables[page][1], language):
                    continue
                kept = [(p, encode(p, tables[page][1])) for p in pieces]
                kept = [(p, d) for p, d in kept if d is not None][:args.per]
                cases += [Case(page, language, length, p, d) for p, d in kept]
    with tempfile.TemporaryDirectory() as folder:
        for i, case in enumerate(cases):
            case.path = os.path.join(folder, f"{i}.txt")
            with open(case.path, "wb") as f:
                f.write(case.data)
        varnex_answers = run_varnex(varnex, cases)
        warned, given = false_warnings(varnex, cases)
        results = {"varnex": [decodes_back(c, a[0], tables) for c, a in zip(cases, varnex_answers)]}
        if not args.only_varnex:
            results["uchardet 0.0.7"] = [decodes_back(c, a, tables) for c, a in zip(cases, run_uchardet(cases))]
            results["Python chardet"] = [decodes_back(c, a, tables) for c, a in zip(cases, run_chardet(cases))]
            results["charset-normalizer"] = [decodes_back(c, a, tables)
                                             for c, a in zip(cases, run_charset_normalizer(cases))]
            enca = [ENCA_NAMES.get((a or "").upper(), a) for a in run_enca(cases)]
            results["enca (told the language)"] = [decodes_back(c, a, tables) for c, a in zip(cases, enca)]
    print(f"{len(cases)} snippets ({args.half} half): {args.per} per language, length and code page")
    table("Right, per length (characters)", cases, results, lambda c: c.length, lengths)
    for length in lengths:
        chosen = [i for i, c in enumerate(cases) if c.length == length]
        table(f"Right at {length} characters, per code page", [cases[i] for i in chosen],
              {k: [v[i] for i in chosen] for k, v in results.items()}, lambda c: c.page, CODE_PAGES)
    table("Right, per language (all lengths)", cases, results, lambda c: c.language, list(NAMES))
    sure = [(ok, a[1]) for ok, a in zip(results["varnex"], varnex_answers) if a[1] >= 0.9 and a[0] not in "?*"]
    print(f"\nvarnex calibration: {share(sum(ok for ok, _ in sure), len(sure))} right among the "
          f"{len(sure)} answers with confidence >= 0.9")
    print(f"varnex false warnings (the right font named, 64 characters and more): {warned} of {given}")
    told = collections.Counter(a[0] == "?" for a in varnex_answers)
    print(f"varnex cannot tell: {told[True]} of {len(cases)}")
    wrong = collections.Counter((c.page, a[0]) for c, a, ok in zip(cases, varnex_answers, results["varnex"]) if not ok)
    print("varnex's wrong answers (code page, answer): " + ", ".join(f"{p} as {a}: {n}" for (p, a), n in wrong.most_common(12)))
    shown = 0
    for case, answer, ok in zip(cases, varnex_answers, results["varnex"]):
        if not ok and shown < args.show_wrong:
            print(f"  {case.page} {case.language} {case.length}: {answer[0]} {answer[1]:.2f}: {case.text!r}")
            shown += 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
