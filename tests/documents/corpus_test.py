#!/usr/bin/python3
"""Real documents from other projects' test suites, converted by the real varnex.
   corpus_test.py PATH/TO/varnex CORPUS
For each .docx and .odt of CORPUS/docx and CORPUS/odt:
- converted from a font that no run uses, its text (as python-docx and odfpy read it) and every
  entry stay the same;
- converted from KOI8-R to KOI8-U with --doc-font naming its most used font, its text loses
  only the eight codes that KOI8-U lacks, in the runs of that font; entries that are no XML are
  byte for byte the same, in the same order;
- LibreOffice reads every output (one soffice for all, in a profile of its own).
Files of CORPUS/broken and flat OpenDocument files end with exit status 1, a clear message and
no output."""
import collections
import contextlib
import io
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

import docx
from lxml import etree
from odf import opendocument, teletype
from odf import text as odftext

VARNEX, CORPUS = sys.argv[1], Path(sys.argv[2])
W = '{http://schemas.openxmlformats.org/wordprocessingml/2006/main}'
STRICT_W = '{http://purl.oclc.org/ooxml/wordprocessingml/main}'
# the codes that KOI8-R has and KOI8-U gives other letters: dropped, as Word keeps them
EIGHT = {bytes([c]).decode('cp1252') for c in (0xA4, 0xA6, 0xA7, 0xAD, 0xB4, 0xB6, 0xB7, 0xBD)}
failures = []


def fail(path, what):
    failures.append(path.name)
    print(f'FAILED: {path.name}: {what}')


def docx_text(path):
    """Each paragraph's text of every XML part of the package, as python-docx reads the package."""
    try:
        package = docx.Document(str(path)).part.package
        parts = [(str(p.partname), p.blob) for p in package.iter_parts() if str(p.partname).endswith('.xml')]
    except (ValueError, KeyError):  # a template, a macro or a strict document: python-docx reads none
        with zipfile.ZipFile(path) as z:
            parts = [(n, z.read(n)) for n in z.namelist() if n.endswith('.xml')]
    text = []
    for name, blob in sorted(parts):
        root = etree.fromstring(blob, etree.XMLParser(resolve_entities=False, huge_tree=True))
        for ns in (W, STRICT_W):
            for p in root.iter(ns + 'p'):
                text.append((name, ''.join(t.text or '' for t in p.iter(ns + 't', ns + 'delText'))))
    return text


def odt_paragraphs(path):
    with contextlib.redirect_stdout(io.StringIO()):  # odfpy prints what its SAX parser meets
        document = opendocument.load(str(path))
    return [teletype.extractText(e) for kind in (odftext.P, odftext.H) for e in document.getElementsByType(kind)]


def text_of(path):
    return docx_text(path) if path.suffix.startswith('.do') else odt_paragraphs(path)


def most_used_font(path):
    with zipfile.ZipFile(path) as z:
        xml = ' '.join(z.read(n).decode('utf-8', 'replace') for n in z.namelist()
                       if n.endswith('.xml') and not n.endswith('fontTable.xml'))
    names = re.findall(r'w:(?:ascii|hAnsi)="([^"]+)"', xml) + re.findall(r'style:font-name="([^"]+)"', xml)
    return collections.Counter(names).most_common(1)[0][0] if names else None


def varnex(*args):
    return subprocess.run([VARNEX, *args], capture_output=True, timeout=120)


def entries(path):
    """The entries in order, an OpenDocument package's mimetype first, where the converter puts it."""
    with zipfile.ZipFile(path) as z:
        found = [(i.filename, z.read(i.filename)) for i in z.infolist()]
    return sorted(found, key=lambda entry: entry[0] != 'mimetype') if path.suffix in ('.odt', '.ott') else found


def only_eight_dropped(before, after):
    """`after` is `before` with some of the eight codes taken out, and nothing else changed."""
    i = 0
    for c in before:
        if i < len(after) and after[i] == c:
            i += 1
        elif c not in EIGHT:
            return False
    return i == len(after)


def check_no_op(path, out):
    result = varnex('-f', 'KOI8-R', '-t', 'KOI8-U', str(path), '-o', str(out))
    if result.returncode != 0:
        return fail(path, f'no-op: exit {result.returncode}: {result.stderr.decode().strip()}')
    if text_of(out) != text_of(path):
        fail(path, 'no-op: the text changed')
    if entries(out) != entries(path):
        fail(path, 'no-op: an entry changed')


def check_forced(path, out):
    font = most_used_font(path)
    if font is None:
        return False
    result = varnex('-f', 'KOI8-R', '-t', 'KOI8-U', '--doc-font', font, str(path), '-o', str(out))
    if result.returncode != 0:
        fail(path, f'--doc-font {font}: exit {result.returncode}: {result.stderr.decode().strip()}')
        return False
    before, after = text_of(path), text_of(out)
    if len(before) != len(after):
        fail(path, f'--doc-font {font}: {len(before)} paragraphs became {len(after)}')
    for old, new in zip(before, after):
        old, new = (old[1], new[1]) if isinstance(old, tuple) else (old, new)
        if old != new and not only_eight_dropped(old, new):
            fail(path, f'--doc-font {font}: {old[:60]!r} became {new[:60]!r}')
            break
    source, converted = entries(path), entries(out)
    if [n for n, _ in source] != [n for n, _ in converted]:
        fail(path, 'the entries or their order changed')
    changed = [n for (n, a), (_, b) in zip(source, converted) if a != b and not n.endswith(('.xml', '.rels'))]
    if changed:
        fail(path, f'entries that are no XML changed: {changed}')
    return True


def check_refused(path, out):
    result = varnex('-f', 'KOI8-R', '-t', 'KOI8-U', str(path), '-o', str(out))
    message = result.stderr.decode()
    if result.returncode != 1 or not message.startswith(f'varnex: {path}: ') or out.exists():
        fail(path, f'not refused clearly: exit {result.returncode}, {message.strip()!r}')


def libreoffice_reads(outputs, work):
    """One soffice start converts every output to text; each must give a file."""
    listed = work / 'txt'
    profile = work / 'profile'
    subprocess.run(['soffice', f'-env:UserInstallation=file://{profile}', '--headless', '--norestore',
                    '--convert-to', 'txt:Text', '--outdir', str(listed), *map(str, outputs)],
                   capture_output=True, timeout=170)
    for out in outputs:
        if not (listed / (out.stem + '.txt')).exists():
            fail(out, 'LibreOffice did not read the output')


def main():
    work = Path(tempfile.mkdtemp(prefix='varnex-corpus-'))
    documents = sorted(p for folder in ('docx', 'odt') for p in (CORPUS / folder).iterdir()
                       if p.suffix in ('.docx', '.dotx', '.docm', '.dotm', '.odt', '.ott'))
    read_back = []
    for index, path in enumerate(documents):
        stem = f'{index:03d}_{path.stem}'
        check_no_op(path, work / f'{stem}_same{path.suffix}')
        forced = work / f'{stem}{path.suffix}'
        if check_forced(path, forced):
            read_back.append(forced)
    refused = sorted((CORPUS / 'broken').iterdir()) + sorted((CORPUS / 'odt').glob('*.fodt'))
    for path in refused:
        check_refused(path, work / ('refused_' + path.name))
    libreoffice_reads(read_back, work)
    print(f'{len(documents)} documents, {len(read_back)} read back by LibreOffice, {len(refused)} refused; '
          + (f'{len(failures)} failed' if failures else 'all as they should be'))
    if not failures:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
