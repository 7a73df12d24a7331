#!/usr/bin/python3
"""Documents written by independent writers (python-docx, odfpy, LibreOffice), converted by the real
varnex, and read back by independent readers (python-docx, odfpy, LibreOffice's text export, the
standard library's zip and XML readers). The converted text must equal iconv's conversion of the
same text; every other run and every other entry must be as it was.
   independent_readers_test.py PATH/TO/varnex"""
import io
import os
import re
import struct
import subprocess
import sys
import tempfile
import zipfile
import zlib
from pathlib import Path
from xml.etree import ElementTree

import docx
from docx.shared import Pt
from odf import teletype
from odf.opendocument import OpenDocumentText, load
from odf.style import FontFace, ParagraphProperties, Style, TextProperties, MasterPage, Header, Footer, PageLayout
from odf.table import Table, TableCell, TableColumn, TableRow
from odf.text import H, Note, NoteBody, NoteCitation, P, S, Span, Tab

VARNEX = sys.argv[1]
UNASSIGNED = {0x81, 0x8D, 0x8F, 0x90, 0x9D}
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print('FAILED:', what)


def stored(codes):
    """KOI8-R or other 8-bit codes as a word processor keeps them: Windows-1252 characters."""
    return ''.join(chr(c) if c in UNASSIGNED else bytes([c]).decode('cp1252') for c in codes)


def codes_of(text):
    return bytes(ord(c) if ord(c) in UNASSIGNED else c.encode('cp1252')[0] for c in text)


def iconv(text, symbol=False):
    """What the conversion must make of stored KOI8-R text: iconv's Windows-1251, stored the same way."""
    codes = bytes(ord(c) - 0xF000 for c in text) if symbol else codes_of(text)
    out = subprocess.run(['iconv', '-f', 'KOI8-R', '-t', 'WINDOWS-1251'], input=codes, capture_output=True,
                         check=True).stdout
    return ''.join(chr(0xF000 + c) for c in out) if symbol else stored(out)


PRIVET = stored('Привет'.encode('koi8_r'))
MIR = stored('мир'.encode('koi8_r'))
TABLE = stored('Таблица'.encode('koi8_r'))
HEAD = stored('Верх'.encode('koi8_r'))
FOOT = stored('Низ'.encode('koi8_r'))
NOTE = stored('Сноска'.encode('koi8_r'))
SYMBOL = ''.join(chr(0xF000 + c) for c in 'Ура'.encode('koi8_r'))
ZHE = 'Ж'  # already Unicode: kept


def tiny_png():
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    raw = b''.join(b'\0' + bytes([x % 256, 0, 0] * 64) for x in range(64))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 64, 64, 8, 2, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


def make_docx(path):
    document = docx.Document()
    legacy = document.styles.add_style('Legacy', 1)
    legacy.font.name = 'KOI8-R'
    paragraph = document.add_paragraph()
    paragraph.add_run('Hello ').font.name = 'Arial'
    for piece in (PRIVET[:3], PRIVET[3:]):
        paragraph.add_run(piece).font.name = 'KOI8-R'
    run = paragraph.add_run(MIR)
    run.font.name = 'KOI8-R'
    run.add_tab()
    run.add_text(MIR + ZHE)
    document.add_paragraph(PRIVET, style='Legacy')
    symbol = document.add_paragraph().add_run(SYMBOL)
    symbol.font.name = 'Symbol'
    table = document.add_table(rows=1, cols=2)
    table.cell(0, 0).paragraphs[0].add_run(TABLE).font.name = 'KOI8-R'
    table.cell(0, 1).paragraphs[0].add_run('Arial ' + TABLE).font.name = 'Arial'
    section = document.sections[0]
    section.header.paragraphs[0].add_run(HEAD).font.name = 'KOI8-R'
    section.footer.paragraphs[0].add_run(FOOT).font.name = 'KOI8-R'
    document.add_picture(io.BytesIO(tiny_png()))
    document.save(path)


def make_odt(path):
    document = OpenDocumentText()
    document.fontfacedecls.addElement(FontFace(name='KOI8-R', fontfamily='KOI8-R'))
    document.fontfacedecls.addElement(FontFace(name='Arial', fontfamily='Arial'))
    legacy = Style(name='Legacy', family='paragraph')
    legacy.addElement(TextProperties(fontname='KOI8-R'))
    document.styles.addElement(legacy)
    arial = Style(name='ArialText', family='text')
    arial.addElement(TextProperties(fontname='Arial'))
    document.automaticstyles.addElement(arial)
    layout = PageLayout(name='Layout')
    document.automaticstyles.addElement(layout)
    master = MasterPage(name='Standard', pagelayoutname=layout)
    header, footer = Header(), Footer()
    header.addElement(P(stylename=legacy, text=HEAD))
    footer.addElement(P(stylename=legacy, text=FOOT))
    master.addElement(header)
    master.addElement(footer)
    document.masterstyles.addElement(master)
    paragraph = P(stylename=legacy)
    paragraph.addElement(Span(stylename=arial, text='Hello '))
    paragraph.addText(PRIVET[:3])
    paragraph.addElement(S(c=2))
    paragraph.addText(PRIVET[3:])
    paragraph.addElement(Tab())
    paragraph.addText(MIR + ZHE)
    note = Note(id='n1', noteclass='footnote')
    note.addElement(NoteCitation(text='1'))
    body = NoteBody()
    body.addElement(P(stylename=legacy, text=NOTE))
    note.addElement(body)
    paragraph.addElement(note)
    document.text.addElement(paragraph)
    table = Table(name='T')
    table.addElement(TableColumn())
    row = TableRow()
    cell = TableCell()
    cell.addElement(P(stylename=legacy, text=TABLE))
    row.addElement(cell)
    table.addElement(row)
    document.text.addElement(table)
    document.save(path)


def libreoffice(outdir, kind, *files):
    profile = Path(outdir) / 'profile'
    subprocess.run(['soffice', f'-env:UserInstallation=file://{profile}', '--headless', '--convert-to', kind,
                    '--outdir', str(outdir), *map(str, files)], check=True, capture_output=True, timeout=240)


def varnex(*args):
    return subprocess.run([VARNEX, *map(str, args)], capture_output=True, text=True)


def raw_entries(path):
    with zipfile.ZipFile(path) as z, open(path, 'rb') as f:
        out = {}
        for info in z.infolist():
            f.seek(info.header_offset)
            header = f.read(30)
            name_length, extra_length = struct.unpack('<HH', header[26:30])
            f.seek(info.header_offset + 30 + name_length + extra_length)
            out[info.filename] = (info.compress_type, info.CRC, f.read(info.compress_size))
        return [i.filename for i in z.infolist()], out


def check_unchanged_entries(source, converted, changed):
    names_in, raw_in = raw_entries(source)
    names_out, raw_out = raw_entries(converted)
    check(names_in == names_out, f'{converted.name}: the entries keep their order')
    for name in names_in:
        if name not in changed:
            check(raw_in[name] == raw_out.get(name), f'{converted.name}: {name} copied as it was')


def check_docx(source, converted):
    before, after = docx.Document(source), docx.Document(converted)
    runs_before = [(r, r.font.name or p.style.font.name) for p in before.paragraphs for r in p.runs]
    runs_after = [r for p in after.paragraphs for r in p.runs]
    check(len(runs_before) == len(runs_after), 'docx: the runs stay')
    for (old, font), new in zip(runs_before, runs_after):
        if font == 'KOI8-R' and old.font.name is None:
            check(new.text == iconv(old.text) and new.font.name is None, f'docx run {old.text!r} in the style')
        elif font == 'KOI8-R':
            expected = iconv(old.text.replace(ZHE, '')) + (ZHE if ZHE in old.text else '')
            if '\t' in old.text:
                left, right = old.text.split('\t')
                expected = iconv(left) + '\t' + iconv(right.replace(ZHE, '')) + ZHE
            check(new.text == expected, f'docx run {old.text!r}: {new.text!r} == {expected!r}')
            check(new.font.name == 'Windows-1251', f'docx run renamed: {new.font.name}')
        elif old.font.name == 'Symbol':
            check(new.text == iconv(old.text, symbol=True), f'docx symbol run: {new.text!r}')
        else:
            check((new.text, new.font.name) == (old.text, old.font.name), f'docx run {old.text!r} kept')
    styled = after.paragraphs[1]
    check(styled.text == iconv(PRIVET) and styled.style.font.name == 'Windows-1251', 'docx: the style is renamed')
    cells = after.tables[0].rows[0].cells
    check(cells[0].text == iconv(TABLE) and cells[1].text == 'Arial ' + TABLE, 'docx: the table')
    section = after.sections[0]
    check(section.header.paragraphs[0].text == iconv(HEAD), 'docx: the header')
    check(section.footer.paragraphs[0].text == iconv(FOOT), 'docx: the footer')
    check_unchanged_entries(source, converted, {'word/document.xml', 'word/styles.xml', 'word/fontTable.xml',
                                                'word/header1.xml', 'word/footer1.xml'})


def odt_texts(path):
    document = load(str(path))
    return [teletype.extractText(p) for p in document.getElementsByType(P)]


def check_odt(source, converted):
    before, after = odt_texts(source), odt_texts(converted)
    expected = {HEAD: iconv(HEAD), FOOT: iconv(FOOT), NOTE: iconv(NOTE), TABLE: iconv(TABLE)}
    main = 'Hello ' + PRIVET[:3] + '  ' + PRIVET[3:] + '\t' + MIR + ZHE
    expected[main + '1' + NOTE] = 'Hello ' + iconv(PRIVET[:3]) + '  ' + iconv(PRIVET[3:]) + '\t' + iconv(MIR) + ZHE + \
        '1' + iconv(NOTE)
    check(len(before) == len(after), 'odt: the paragraphs stay')
    for old, new in zip(before, after):
        check(new == expected.get(old, old), f'odt paragraph {old!r}: {new!r}')
    check_unchanged_entries(source, converted, {'content.xml', 'styles.xml'})
    with zipfile.ZipFile(converted) as z:
        first = z.infolist()[0]
        check(first.filename == 'mimetype' and first.compress_type == zipfile.ZIP_STORED, 'odt: mimetype first, stored')


def footnote_texts(path):
    with zipfile.ZipFile(path) as z:
        root = ElementTree.fromstring(z.read('word/footnotes.xml'))
    w = '{http://schemas.openxmlformats.org/wordprocessingml/2006/main}'
    return [''.join(t.text or '' for t in note.iter(w + 't')) for note in root.iter(w + 'footnote')]


def main():
    work = Path(tempfile.mkdtemp())
    make_docx(work / 'writer.docx')
    make_odt(work / 'writer.odt')
    libreoffice(work / 'lo', 'docx', work / 'writer.odt')
    (work / 'lo' / 'writer.docx').rename(work / 'office.docx')
    for name in ('writer.docx', 'writer.odt', 'office.docx'):
        result = varnex('-f', 'KOI8-R', '-t', 'Windows-1251', '--doc-font', 'Symbol', '--beside', work / name)
        check(result.returncode == 0, f'{name}: varnex ends with 0: {result.stderr}')
    check_docx(work / 'writer.docx', work / 'writer_Windows-1251.docx')
    check_odt(work / 'writer.odt', work / 'writer_Windows-1251.odt')
    notes = footnote_texts(work / 'office_Windows-1251.docx')
    check(iconv(NOTE) in notes and NOTE not in notes, f'LibreOffice\'s docx: the footnote {notes}')

    converted = [work / 'writer_Windows-1251.docx', work / 'writer_Windows-1251.odt', work / 'office_Windows-1251.docx']
    libreoffice(work / 'txt', 'txt:Text', *converted)
    for path in converted:
        text = (work / 'txt' / (path.stem + '.txt')).read_text(encoding='utf-8-sig')
        for legacy in (PRIVET[3:], TABLE):
            check(iconv(legacy) in text, f'{path.name}: LibreOffice reads {iconv(legacy)!r}')
            check(legacy not in text, f'{path.name}: no {legacy!r} left')
        check('Hello' in text, f'{path.name}: LibreOffice reads the untouched text')
    print(f'{len(failures)} failed' if failures else 'every document reads back as expected')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
