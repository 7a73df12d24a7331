#!/usr/bin/python3
"""The varnex codecs against Python's own, on the same text, in one run: 1 MiB (the speed of
the conversion) and 100 bytes (the cost of a call), both directions; MIK and CP1125 beside.

    PYTHONPATH=BUILD/python bench/python/codec_bench.py
"""
import random
import timeit

import varnex  # noqa: F401  (registers the codecs)

LETTERS = "абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЭЮЯ     ,.!"


def best(call, size):
    number = max(1, int(2e6 // max(size, 1)))
    return min(timeit.repeat(call, number=number, repeat=7)) / number


def main():
    random.seed(36)
    print("%-10s %-8s %-7s %12s %12s %8s" % ("font", "size", "way", "Python µs", "varnex µs", "speed-up"))
    for font, builtin in (("KOI8-R", "koi8_r"), ("CP1125", "cp1125"), ("MIK", None)):
        for size in (1 << 20, 100):
            text = "".join(random.choice(LETTERS) for _ in range(size)).replace("ё", "е")
            data = text.encode("varnex:" + font)
            ways = [("decode", lambda: data.decode(builtin), lambda: data.decode("varnex:" + font)),
                    ("encode", lambda: text.encode(builtin), lambda: text.encode("varnex:" + font))]
            for way, ours_builtin, ours in ways:
                assert builtin is None or (ours() == ours_builtin())
                theirs = best(ours_builtin, size) * 1e6 if builtin else float("nan")
                mine = best(ours, size) * 1e6
                print("%-10s %-8s %-7s %12.2f %12.2f %8.2f" % (font, size, way, theirs, mine, theirs / mine))


main()
