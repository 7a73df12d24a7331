#!/usr/bin/python3
"""Zip layouts given to the real varnex. Those that office suites read convert, with the text
converted and every other entry kept; those that break the zip rules (entries that share bytes
or lie outside the file, sizes that lie) end with exit status 1, a clear message and no file.
   zip_layouts_test.py PATH/TO/varnex"""
import io
import struct
import subprocess
import sys
import tempfile
import warnings
import zipfile
from pathlib import Path

VARNEX = sys.argv[1]
W = 'xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"'
TYPES = '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>'
KOI8_TEXT = 'Привет'.encode('koi8-r').decode('cp1252')  # KOI8-R codes as Word keeps them
STYLES = (f'<w:styles {W}><w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii="KOI8-R" w:hAnsi="KOI8-R"/>'
          '</w:rPr></w:rPrDefault></w:docDefaults></w:styles>')
failures = []


def document(text):
    return f'<w:document {W}><w:body><w:p><w:r><w:t>{text}</w:t></w:r></w:p></w:body></w:document>'


ENTRIES = [('[Content_Types].xml', TYPES), ('word/document.xml', document(KOI8_TEXT)),
           ('word/styles.xml', STYLES), ('docProps/app.xml', '<Properties/>')]


class Unseekable(io.RawIOBase):
    """A stream zipfile cannot seek back in: it writes each entry with a data descriptor."""

    def __init__(self):
        self.data = bytearray()

    def writable(self):
        return True

    def write(self, b):
        self.data += b
        return len(b)


def streamed(path):
    out = Unseekable()
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:
        for name, data in ENTRIES:
            z.writestr(name, data)
    path.write_bytes(bytes(out.data))


def zip64_records(path):
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        for name, data in ENTRIES:
            with z.open(name, 'w', force_zip64=True) as entry:
                entry.write(data.encode())


def info_zip(path):
    """Info-ZIP's own tool: extended-time fields, longer in the local header than in the central."""
    folder = path.parent / 'unpacked'
    for name, data in ENTRIES:
        (folder / name).parent.mkdir(parents=True, exist_ok=True)
        (folder / name).write_text(data)
    subprocess.run(['zip', '-q', '-X-', str(path), *[name for name, _ in ENTRIES]], cwd=folder, check=True)


def extra_fields(path):
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        for name, data in ENTRIES:
            info = zipfile.ZipInfo(name)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.extra = struct.pack('<HH', 0xCAFE, 4) + b'kept'
            z.writestr(info, data)


def plain(path, entries=ENTRIES):
    with warnings.catch_warnings():
        warnings.simplefilter('ignore')  # a duplicate name may be the point
        with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
            for name, data in entries:
                z.writestr(name, data)


def run(path, out):
    return subprocess.run([VARNEX, '-f', 'KOI8-R', '-t', 'Windows-1251', str(path), '-o', str(out)],
                          capture_output=True, text=True, timeout=60)


def expect_converted(path, name=None):
    out = path.with_name(path.stem + '_out.docx')
    result = run(path, out)
    if result.returncode != 0:
        failures.append(path.name)
        print(f'FAILED: {path.name}: exit {result.returncode}, {result.stderr.strip()!r}')
        return None
    with zipfile.ZipFile(out) as converted, zipfile.ZipFile(path) as source:
        text = converted.read(name or 'word/document.xml').decode()
        kept = [n for n in source.namelist() if n not in ('word/document.xml', 'word/styles.xml')]
        changed = [n for n in kept if converted.read(n) != source.read(n)]
    if 'Привет'.encode('cp1251').decode('cp1252') not in text or changed:
        failures.append(path.name)
        print(f'FAILED: {path.name}: text not converted, or entries changed: {changed}')
    return out


def expect_refused(path, message):
    out = path.with_name(path.stem + '_out.docx')
    result = run(path, out)
    if result.returncode != 1 or message not in result.stderr or out.exists():
        failures.append(path.name)
        print(f'FAILED: {path.name}: exit {result.returncode}, {result.stderr.strip()!r}')


def central_records(data):
    """(offset of the central directory, its bytes, the end record) of a zip without a comment."""
    end = data.rindex(b'PK\x05\x06')
    size, offset = struct.unpack('<II', data[end + 12:end + 20])
    return offset, data[offset:offset + size], data[end:]


def with_central(data, offset, central, count):
    end = struct.pack('<IHHHHIIH', 0x06054b50, 0, 0, count, count, len(central), offset, 0)
    return data[:offset] + central + end


def overlapping(path):
    """A second directory entry for the bytes of the first one: one stream read twice."""
    plain(path, [('[Content_Types].xml', TYPES), ('word/document.xml', document('x' * 4000))])
    data = path.read_bytes()
    offset, central, _ = central_records(data)
    second = central.index(b'PK\x01\x02', 4)
    copy = bytearray(central[second:])
    copy[46:46 + len('word/document.xml')] = b'word/header9.xml\x00'[:len('word/document.xml')]
    path.write_bytes(with_central(data, offset, central + bytes(copy) * 3, 5))


def outside(path, field_at, value):
    """The last directory entry's field (compressed size 20, local header offset 42) changed."""
    plain(path)
    data = path.read_bytes()
    offset, central, _ = central_records(data)
    last = central.rindex(b'PK\x01\x02')
    patched = bytearray(central)
    patched[last + field_at:last + field_at + 4] = struct.pack('<I', value)
    path.write_bytes(with_central(data, offset, bytes(patched), len(ENTRIES)))


def claimed_size(path, name, size):
    """Both headers of the entry claim another inflated size."""
    data = bytearray(path.read_bytes())
    encoded = name.encode()
    for signature, size_at in ((b'PK\x03\x04', 22), (b'PK\x01\x02', 24)):
        start = 0
        while (start := data.find(signature, start)) >= 0:
            name_at = start + (30 if signature == b'PK\x03\x04' else 46)
            if data[name_at:name_at + len(encoded)] == encoded:
                data[start + size_at:start + size_at + 4] = struct.pack('<I', size)
            start += 4
    path.write_bytes(bytes(data))


def readable_layouts(work):
    for name, write in (('streamed', streamed), ('zip64', zip64_records), ('infozip', info_zip),
                        ('extra', extra_fields)):
        path = work / f'{name}.docx'
        write(path)
        expect_converted(path)

    twice = work / 'twice.docx'
    plain(twice, ENTRIES + [('word/document.xml', document(KOI8_TEXT + '!'))])
    out = expect_converted(twice)
    if out:
        with zipfile.ZipFile(out) as z:
            names = z.namelist()
            last = z.read('word/document.xml').decode()
        if names.count('word/document.xml') != 1 or '!' not in last:
            failures.append('twice.docx')
            print(f'FAILED: twice.docx: not the later entry alone: {names}')


def broken_layouts(work):
    overlapping(work / 'overlap.docx')
    expect_refused(work / 'overlap.docx', 'damaged package: its entries need at least')
    outside(work / 'long.docx', 20, 1 << 30)
    expect_refused(work / 'long.docx', 'the entry docProps/app.xml claims 1073741824 compressed bytes, past the end')
    outside(work / 'far.docx', 42, 1 << 30)
    expect_refused(work / 'far.docx', 'damaged package: docProps/app.xml')

    plain(work / 'short.docx')
    claimed_size(work / 'short.docx', 'word/styles.xml', 10000)
    expect_refused(work / 'short.docx', 'word/styles.xml: it inflates to 212 bytes, not the 10000 that the directory says')
    plain(work / 'long-stream.docx')
    claimed_size(work / 'long-stream.docx', 'word/styles.xml', 100)
    expect_refused(work / 'long-stream.docx', 'word/styles.xml: it inflates to more than the 100 bytes')


def main():
    work = Path(tempfile.mkdtemp())
    readable_layouts(work)
    broken_layouts(work)
    print(f'{len(failures)} failed' if failures else 'every layout is read or refused as it should be')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
