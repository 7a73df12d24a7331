#!/usr/bin/python3
"""The Python module as a program uses it: codecs through bytes.decode, str.encode, open() and
pandas, their error handlers, incremental forms cut anywhere, and the agreement of the module
with the program varnex on the same text.

    module_test.py VARNEX_PROGRAM WORK_FOLDER   (PYTHONPATH names the module)
"""
import codecs
import io
import os
import subprocess
import sys
import threading
import unittest

import varnex

PROGRAM, WORK = sys.argv[1], sys.argv[2]
RUSSIAN = "Съешь же еще этих мягких французских булок, да выпей чаю. Еж!"  # MIK has no Ё


class Codecs(unittest.TestCase):
    def test_every_font_round_trips_what_it_can_write(self):
        for font in varnex.Map().fonts:
            if font in ("UTF-8", "GOST 7.79-B Latin"):
                continue
            data = RUSSIAN.encode("varnex:" + font, "replace")
            self.assertEqual(data.decode("varnex:" + font).count("?"), data.count(b"?"), font)
            back = data.decode("varnex:" + font)
            self.assertEqual(back.encode("varnex:" + font), data, font)

    def test_the_program_and_the_codec_give_the_same_bytes(self):
        source = os.path.join(WORK, "utf8.txt")
        with open(source, "w", encoding="utf-8") as file:
            file.write(RUSSIAN * 50)
        for font in ("KOI8-R", "CP866", "MIK", "CP1125", "GOST 7.79-B Latin"):
            made = subprocess.run([PROGRAM, "-f", "UTF-8", "-t", font, source], capture_output=True, check=True).stdout
            self.assertEqual((RUSSIAN * 50).encode("varnex:" + font, "ignore"), made, font)
            self.assertEqual(varnex.convert(RUSSIAN * 50, "UTF-8", font, errors="ignore"), made, font)

    def test_a_str_comes_in_the_narrowest_form_that_holds_it(self):
        # ASCII, Latin-1 and Cyrillic text, and a stop whose text before it is narrower
        for data, font in ((b"plain", "KOI8-R"), (b"\xfd\xa0", "ISO-8859-5"), (b"\xc1", "KOI8-R")):
            text = data.decode("varnex:" + font)
            self.assertEqual(text, data.decode(font.replace("-", "_").lower()), font)
            self.assertEqual(hash(text), hash(data.decode(font.replace("-", "_").lower())))
        self.assertEqual(b"ab\x00\xc1".decode("varnex:KOI8-R", "replace"), "ab\ufffdа")
        # codes without an entry at the end of a block of the decoder: the str is of the measured size
        self.assertEqual((b"a" * 20 + b"\x00" * 8).decode("varnex:KOI8-R", "replace"), "a" * 20 + "\ufffd" * 8)
        self.assertEqual((b"\xc1" * 700 + b"\x00" * 300).decode("varnex:KOI8-R", "ignore"), "а" * 700)
        with self.assertRaises(TypeError):
            varnex._varnex.Codec()  # only make_codec makes one
        with self.assertRaises(UnicodeDecodeError) as raised:
            b"ab\x00\xc1".decode("varnex:KOI8-R")
        self.assertEqual(raised.exception.start, 2)

    def test_long_texts_other_buffers_and_threads_decode_as_short_ones(self):
        long_text = RUSSIAN * 2000  # past the length that converts with the GIL let go
        data = long_text.encode("koi8_r")
        for given in (data, bytearray(data), memoryview(data)):
            self.assertEqual(codecs.decode(given, "varnex:KOI8-R"), long_text)
        self.assertEqual(long_text.encode("varnex:KOI8-R"), data)
        dropped = (b"\x00" + b"\xc1" * 20000).decode("varnex:KOI8-R", "ignore")
        self.assertEqual(dropped, "а" * 20000)
        self.assertEqual(hash(dropped), hash("а" * 20000))
        self.assertEqual(("ab" * 10000).encode("varnex:KOI8-R"), b"ab" * 10000)
        results = []

        def work():
            results.append(all(data.decode("varnex:KOI8-R") == long_text for _ in range(20)))

        threads = [threading.Thread(target=work) for _ in range(4)]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        self.assertEqual(results, [True] * 4)

    def test_names_as_people_type_them(self):
        self.assertEqual(codecs.lookup("varnex:koi8r").name, "varnex:KOI8-R")
        self.assertEqual(codecs.lookup("varnex:cp1251").name, "varnex:Windows-1251")
        self.assertEqual(codecs.lookup("varnex:x-mac-cyrillic").name, "varnex:Mac Cyrillic")
        self.assertIn("ms-cyrl", [name.lower() for name in varnex.Map().aliases["Windows-1251"]])
        self.assertEqual(codecs.lookup("varnex:GOST 7.79-B Latin").name, "varnex:GOST 7.79-B Latin")
        self.assertEqual("Жук".encode("varnex:GOST 7.79-B Latin"), b"Zhuk")
        with self.assertRaises(LookupError):
            codecs.lookup("varnex:no such font")
        with self.assertRaises(ValueError) as raised:
            varnex.convert(b"x", "no such font", "KOI8-R")
        self.assertIn("the nearest are", str(raised.exception))

    def test_errors_strict_ignore_replace_and_the_others(self):
        with self.assertRaises(UnicodeEncodeError) as raised:
            "мир ☺ мир".encode("varnex:KOI8-R")
        self.assertEqual((raised.exception.start, raised.exception.end), (4, 5))
        self.assertEqual("мир ☺".encode("varnex:KOI8-R", "ignore"), b"\xcd\xc9\xd2 ")
        self.assertEqual("мир ☺".encode("varnex:KOI8-R", "replace"), b"\xcd\xc9\xd2 ?")
        self.assertEqual("☺".encode("varnex:KOI8-R", "xmlcharrefreplace"), b"&#9786;")
        # code 0 has no character in any font of the map
        data = b"ab\x00c"
        with self.assertRaises(UnicodeDecodeError) as raised:
            data.decode("varnex:ISO-8859-5")
        self.assertEqual(raised.exception.start, 2)
        self.assertEqual(data.decode("varnex:ISO-8859-5", "replace"), "ab\ufffdc")
        self.assertEqual(data.decode("varnex:ISO-8859-5", "ignore"), "abc")
        self.assertEqual(data.decode("varnex:ISO-8859-5", "backslashreplace"), "ab\\x00c")
        with self.assertRaises(UnicodeDecodeError):
            varnex.convert(data, "ISO-8859-5", "KOI8-R")
        self.assertEqual(varnex.convert(data, "ISO-8859-5", "KOI8-R", errors="replace"), b"ab?c")

    def test_incremental_forms_cut_anywhere_give_the_whole(self):
        whole = RUSSIAN.encode("varnex:CP866")
        for cut in range(len(whole)):
            decoder = codecs.getincrementaldecoder("varnex:CP866")()
            self.assertEqual(decoder.decode(whole[:cut]) + decoder.decode(whole[cut:], True), RUSSIAN)
        text = RUSSIAN * 3
        encoder = codecs.getincrementalencoder("varnex:MIK")()
        self.assertEqual(b"".join(encoder.encode(text[i:i + 7]) for i in range(0, len(text), 7)),
                         text.encode("varnex:MIK"))

    def test_files_and_pandas(self):
        path = os.path.join(WORK, "table.csv")
        with open(path, "w", encoding="varnex:MIK", newline="") as file:
            file.write("город,жители\nМосква,13\nКиев,3\n")
        with open(path, "rb") as file:
            self.assertEqual(file.read().decode("varnex:MIK").splitlines()[1], "Москва,13")
        try:
            import pandas
        except ImportError:
            return
        frame = pandas.read_csv(path, encoding="varnex:MIK")
        self.assertEqual(list(frame.columns), ["город", "жители"])
        self.assertEqual(frame["город"].tolist(), ["Москва", "Киев"])


class FilesAndDetection(unittest.TestCase):
    def test_a_file_converts_as_the_program_converts_it_and_never_over_an_output(self):
        source = os.path.join(WORK, "koi.txt")
        with open(source, "wb") as file:
            file.write(RUSSIAN.encode("varnex:KOI8-R") * 100)
        output = os.path.join(WORK, "koi.866")
        varnex.convert_file(source, output, "KOI8-R", "CP866")
        made = subprocess.run([PROGRAM, "-f", "KOI8-R", "-t", "CP866", source], capture_output=True,
                              check=True).stdout
        with open(output, "rb") as file:
            self.assertEqual(file.read(), made)
        with self.assertRaises(OSError) as raised:
            varnex.convert_file(source, output, "KOI8-R", "CP866")
        self.assertIn("exists already", str(raised.exception))
        with self.assertRaises(OSError):
            varnex.convert_file(os.path.join(WORK, "missing.txt"), output + ".2", "KOI8-R", "CP866")
        self.assertFalse(os.path.exists(output + ".2"))

    def test_a_batch_tells_progress_and_stops_when_asked(self):
        folder = os.path.join(WORK, "batch")
        os.makedirs(folder, exist_ok=True)
        for i in range(4):
            with open(os.path.join(folder, "f%d.txt" % i), "wb") as file:
                file.write(RUSSIAN.encode("varnex:KOI8-R") * 2000)
        told = []
        done = varnex.convert_batch([folder], "KOI8-R", "UTF-8", beside=True, recursive=True,
                                    progress=lambda d, t: told.append((d, t)) and False)
        self.assertEqual((done["converted"], done["failed"]), (4, 0))
        self.assertTrue(told and told[-1][0] == told[-1][1])
        stopped = varnex.convert_batch([folder], "KOI8-R", "CP866", beside=True, recursive=True, jobs=1,
                                       progress=lambda d, t: True)
        self.assertTrue(stopped["cancelled"])

    def test_detection(self):
        found = varnex.detect(RUSSIAN.encode("varnex:CP866") * 3)
        self.assertEqual((found.verdict, found.font), ("font", "CP866"))
        self.assertEqual(varnex.detect(b"plain ASCII text").verdict, "any font")
        mojibake = RUSSIAN.encode("utf-8").decode("cp1251", "replace").encode("utf-8")
        found = varnex.detect(mojibake)
        self.assertEqual((found.typed, found.read_as), ("UTF-8", "Windows-1251"))


unittest.main(argv=[sys.argv[0], "-v"])
