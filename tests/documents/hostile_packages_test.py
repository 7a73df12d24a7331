#!/usr/bin/python3
"""Packages that the zip library itself would not write, given to the real varnex: each ends with
exit status 1, a clear message and no new file.
   hostile_packages_test.py PATH/TO/varnex"""
import os
import struct
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

VARNEX = sys.argv[1]
W = 'xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"'
DOCUMENT = f'<w:document {W}><w:body><w:p><w:r><w:t>x</w:t></w:r></w:p></w:body></w:document>'
failures = []


def docx(path, extra=()):
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('[Content_Types].xml', '<Types/>')
        z.writestr('word/document.xml', DOCUMENT)
        for name, data in extra:
            z.writestr(name, data)


def claim_size(path, name, size):
    """Makes the entry's headers claim another inflated size, as a zip bomb's do."""
    data = bytearray(Path(path).read_bytes())
    encoded = name.encode()
    for signature, size_at in ((b'PK\x03\x04', 22), (b'PK\x01\x02', 24)):
        start = 0
        while (start := data.find(signature, start)) >= 0:
            name_at = start + (30 if signature == b'PK\x03\x04' else 46)
            if data[name_at:name_at + len(encoded)] == encoded:
                data[start + size_at:start + size_at + 4] = struct.pack('<I', size)
            start += 4
    Path(path).write_bytes(bytes(data))


def expect_refused(path, message):
    out = path.with_name(path.stem + '_out.docx')
    result = subprocess.run([VARNEX, '-f', 'KOI8-R', '-t', 'CP866', str(path), '-o', str(out)], capture_output=True,
                            text=True, timeout=60)
    ok = result.returncode == 1 and message in result.stderr and not out.exists()
    leftovers = [p.name for p in path.parent.iterdir() if '.varnex-' in p.name]
    if not ok or leftovers:
        failures.append(path.name)
        print(f'FAILED: {path.name}: exit {result.returncode}, {result.stderr.strip()!r}, leftovers {leftovers}')


def main():
    work = Path(tempfile.mkdtemp())
    (work / 'word').mkdir()
    (work / 'word' / 'document.xml').write_text(DOCUMENT)
    subprocess.run(['zip', '-q', '-P', 'secret', 'locked.docx', 'word/document.xml'], cwd=work, check=True)
    expect_refused(work / 'locked.docx', 'encrypted package: the part word/document.xml is encrypted')

    docx(work / 'bomb.docx', [('word/header1.xml', os.urandom(1 << 20))])
    claim_size(work / 'bomb.docx', 'word/header1.xml', 600 << 20)
    expect_refused(work / 'bomb.docx', 'part too large: word/header1.xml inflates to 629145600 bytes')

    docx(work / 'liar.docx', [('word/header1.xml', b'<w:hdr ' + W.encode() + b'>' + b' ' * 5000 + b'</w:hdr>')])
    claim_size(work / 'liar.docx', 'word/header1.xml', 100)
    expect_refused(work / 'liar.docx', 'damaged package')

    docx(work / 'plain.docx', [('word/header1.xml', os.urandom(1 << 20))])
    whole = (work / 'plain.docx').read_bytes()
    (work / 'truncated.docx').write_bytes(whole[:len(whole) // 2])
    expect_refused(work / 'truncated.docx', 'damaged package')

    print(f'{len(failures)} failed' if failures else 'every hostile package is refused')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
