"""Varnex: text typed for one legacy 8-bit font (KOI8-R, CP866, MIK, ...) converted into the
codes of another, or to and from Unicode, with the font map that the programs varnex and
Varnex2010 use. A text converted here is the same, byte for byte, as converted by them.

    >>> import varnex
    >>> varnex.convert(b"\\xf0\\xd2\\xc9\\xd7\\xc5\\xd4", "KOI8-R", "Windows-1251")
    b'\\xcf\\xf0\\xe8\\xe2\\xe5\\xf2'
    >>> b"\\xf0\\xd2\\xc9\\xd7\\xc5\\xd4".decode("varnex:KOI8-R")
    'Привет'

Importing the module registers the codecs "varnex:FONT" for every font of the shipped map, so
that bytes.decode, str.encode, open(..., encoding=...) and the libraries built on them (pandas,
csv) read and write those fonts. Font names are matched as `varnex -f` matches them.
"""

import codecs as _codecs
import os as _os
import threading as _threading

from . import _varnex

__all__ = ["Map", "convert", "convert_file", "convert_document", "convert_batch", "detect", "Detection",
           "version"]

version = _varnex.version


class Map:
    """A font map: the shipped one (path=None), or a map file (SQLite, Jet 4.0 or .tsv)."""

    def __init__(self, path=None):
        self._native = _varnex.Map(None if path is None else _os.fspath(path))
        self.path = path

    @property
    def fonts(self):
        """The fonts of the map, in its order."""
        return self._native.fonts

    @property
    def aliases(self):
        """Each font with the other names it is known by (the map's own and its code page's)."""
        return {font: self._native.aliases(index) for index, font in enumerate(self.fonts)}

    def find_font(self, name):
        """The map's name for a font as a person types it; ValueError names the nearest."""
        return self._native.find_font(name)

    def __repr__(self):
        return "varnex.Map(%r)" % (self.path,)


_shipped = None
_shipped_lock = _threading.Lock()


def _map_of(map):
    global _shipped
    if map is not None:
        return map
    with _shipped_lock:
        if _shipped is None:
            _shipped = Map()
        return _shipped


def _is_unicode(map, font):
    return map.find_font(font) == "UTF-8"


def convert(data, source, target, map=None, errors="strict"):
    """Converts `data` from font `source` to font `target`.

    bytes give bytes. A str is text already: it is converted from the Unicode font, so
    `source` must be "UTF-8" (or left as it is by giving source=str). With errors="strict" a code
    without an entry in the target raises UnicodeDecodeError (from a legacy font) or
    UnicodeEncodeError (from a str); "ignore" leaves it out, as the programs do; "replace" puts
    "?" in its place.
    """
    map = _map_of(map)
    if isinstance(data, str):
        if source is not str and not _is_unicode(map, source):
            raise ValueError("a str is Unicode text: convert it from \"UTF-8\", not from %r" % (source,))
        return _encode(map, data, target, errors)[0]
    data = bytes(data)
    converter = _varnex.Converter(map._native, source, target, errors != "ignore")
    out = []
    at = 0
    while True:
        piece, taken, status, offset = converter.convert(data[at:], True)
        out.append(piece)
        at += taken  # a stop takes what has no entry: the next call goes on after it
        if status != _UNMAPPED:
            return b"".join(out)
        if errors == "strict":
            raise UnicodeDecodeError("varnex:" + source, data, offset, at,
                                     "%r has no entry in %s" % (data[offset:at], target))
        out.append(b"?")


_UNMAPPED = 3


def _handler(errors):
    return None if errors in ("strict", "ignore", "replace") else _codecs.lookup_error(errors)


_converters = _threading.local()  # a converter belongs to one thread


def _converter(map, source, target, stop):
    """A converter kept for the calls of this thread: making one builds its tables."""
    kept = getattr(_converters, "kept", None)
    if kept is None:
        kept = _converters.kept = {}
    key = (id(map), source, target, stop)
    found = kept.get(key)
    if found is None or found[0] is not map:
        found = kept[key] = (map, _varnex.Converter(map._native, source, target, stop))
    return found[1]


def _decode(map, data, font, errors, name=None):
    """Codes of `font` to a str: (text, codes taken)."""
    name = name or "varnex:" + font
    if not isinstance(data, bytes):
        data = bytes(data)
    converter = _converter(map, font, "UTF-8", errors != "ignore")
    parts = []
    at = 0
    while at < len(data) or not parts:
        text, taken, stopped, offset = converter.decode(data[at:])
        parts.append(text)
        if not stopped:
            break
        start = at + offset
        problem = UnicodeDecodeError(name, data, start, start + 1, "code 0x%02X has no character" % data[start])
        if errors == "strict":
            raise problem
        if errors == "replace":
            parts.append("\ufffd")
            at = start + 1
        else:
            replacement, at = _handler(errors)(problem)
            parts.append(replacement)
    return "".join(parts), len(data)


def _encode(map, text, font, errors, name=None):
    """A str to codes of `font`: (bytes, characters taken)."""
    name = name or "varnex:" + font
    converter = _converter(map, "UTF-8", font, errors != "ignore")
    parts = []
    at = 0
    while at < len(text) or not parts:
        codes, taken, stopped, offset = converter.encode(text[at:] if at else text)
        parts.append(codes)
        if not stopped:
            break
        start = at + offset
        problem = UnicodeEncodeError(name, text, start, start + 1,
                                     "U+%04X has no code in %s" % (ord(text[start]), font))
        if errors == "strict":
            raise problem
        if errors == "replace":
            parts.append(converter.encode("?")[0])
            at = start + 1
        else:
            replacement, at = _handler(errors)(problem)
            parts.append(replacement if isinstance(replacement, bytes) else _encode(map, replacement, font,
                                                                                   "strict", name)[0])
    return b"".join(parts), len(text)


def convert_file(input, output, source, target, force=False, map=None, strict=False):
    """Converts the file `input` (text, DOCX or ODT, told by its content) into the new file
    `output`, which appears only once complete. An existing output is replaced only with
    force=True. Raises OSError or ValueError with the programs' message on failure."""
    return convert_batch([input], source, target, output=output, force=force, map=map, strict=strict,
                         _one=True)


def convert_document(input, output, source, target, force=False, map=None, strict=False):
    """Converts a DOCX or ODT document: the same as convert_file, which tells documents from text
    by their content; the runs in the source font are converted and every other part of the
    package is kept byte for byte."""
    return convert_file(input, output, source, target, force=force, map=map, strict=strict)


def convert_batch(inputs, source, target, output=None, beside=False, in_place=False, recursive=False,
                  force=False, backup=None, keep_time=False, jobs=0, strict=False, progress=None, map=None,
                  _one=False):
    """Converts many files as `varnex` does: into one file `output`, each beside itself
    (beside=True: NAME_TARGET.txt, a document keeping its extension) or in place. A folder among
    the inputs stands for the files below it with recursive=True. `source` may be "auto": each
    file's own font, as detected. `progress(done_bytes, total_bytes)` may return True to stop.

    Returns a dict: converted, failed, skipped, bytes, dropped, cancelled, messages (one per failed
    or skipped file). A single file (convert_file) raises on its failure instead."""
    if sum(bool(kind) for kind in (output, beside, in_place)) != 1:
        raise ValueError("give one of output=FILE, beside=True and in_place=True")
    kind = "file" if output else "beside" if beside else "in place"
    names = [_os.fspath(name) for name in ([inputs] if isinstance(inputs, (str, bytes, _os.PathLike)) else inputs)]
    result = _varnex.convert_batch(_map_of(map)._native, source, target, names, _os.fspath(output or ""), kind,
                                   recursive, force, backup, keep_time, jobs, strict, progress)
    if _one and result["error"]:
        raise OSError(result["error"])
    return result


class Detection:
    """Which font a sample is in: `verdict` is "font", "any font" (plain ASCII) or "cannot tell";
    `candidates` are (font, confidence 0..1, language), best first; `font` the first one's font
    when the verdict is "font". `typed` and `read_as` name a text read in the wrong font and
    saved again ("UTF-8" read as "Windows-1251"), else None."""

    def __init__(self, found):
        self.verdict = found["verdict"]
        self.candidates = found["candidates"]
        self.typed = found["typed"]
        self.read_as = found["read_as"]
        self.font = self.candidates[0][0] if self.verdict == "font" and self.candidates else None

    def __repr__(self):
        return "Detection(verdict=%r, candidates=%r)" % (self.verdict, self.candidates[:3])


def detect(data, map=None):
    """Ranks every font of the map for a sample of bytes (64 KiB is enough)."""
    return Detection(_varnex.detect(_map_of(map)._native, bytes(data[:65536])))


# ---- codecs ------------------------------------------------------------------------------

class _Codec:
    def __init__(self, font, name):
        self.font, self.name = font, name

    def encode(self, text, errors="strict"):
        return _encode(_map_of(None), text, self.font, errors, self.name)

    def decode(self, data, errors="strict"):
        return _decode(_map_of(None), data, self.font, errors, self.name)


def _codec_info(font, name):
    # the native codec does each call's whole work, and gives the calls that meet a code
    # without an entry to the Python one, which raises or replaces as Python's codecs do
    slow = _Codec(font, name)
    codec = _varnex.make_codec(_map_of(None)._native, font, slow.decode, slow.encode)

    class IncrementalEncoder(_codecs.IncrementalEncoder):
        def encode(self, text, final=False):
            return codec.encode(text, self.errors)[0]

    class IncrementalDecoder(_codecs.IncrementalDecoder):
        # A legacy font's code is one character on its own: no code waits for the next piece.
        def decode(self, data, final=False):
            return codec.decode(data, self.errors)[0]

    class StreamWriter(_codecs.StreamWriter):
        def encode(self, text, errors="strict"):
            return codec.encode(text, errors)

    class StreamReader(_codecs.StreamReader):
        def decode(self, data, errors="strict"):
            return codec.decode(data, errors)

    return _codecs.CodecInfo(name=name, encode=codec.encode, decode=codec.decode,
                             incrementalencoder=IncrementalEncoder, incrementaldecoder=IncrementalDecoder,
                             streamwriter=StreamWriter, streamreader=StreamReader)


def _search(name):
    # Python hands the name lowered, with its punctuation as underscores ("varnex_koi8_r").
    prefix = next((p for p in ("varnex:", "varnex_") if name.startswith(p)), None)
    if prefix is None:
        return None
    typed = name[len(prefix):]
    try:
        font = _map_of(None).find_font(typed)
    except ValueError:
        try:
            font = _map_of(None).find_font(typed.replace("_", " "))
        except ValueError:
            return None
    if font == "UTF-8":
        info = _codecs.lookup("utf-8")
        return _codecs.CodecInfo(name="varnex:UTF-8", encode=info.encode, decode=info.decode,
                                 incrementalencoder=info.incrementalencoder,
                                 incrementaldecoder=info.incrementaldecoder,
                                 streamwriter=info.streamwriter, streamreader=info.streamreader)
    return _codec_info(font, "varnex:" + font)


_codecs.register(_search)
