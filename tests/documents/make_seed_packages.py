#!/usr/bin/python3
"""Writes the small packages of the document reader's seed corpus (fuzz/corpus/document_reader).
   make_seed_packages.py FOLDER"""
import sys
import warnings
import zipfile
from pathlib import Path

W = 'xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"'
TYPES = ('<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
         '<Default Extension="xml" ContentType="application/xml"/></Types>')
STYLES = (f'<w:styles {W}><w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii="Arial" w:hAnsi="Arial"/>'
          '</w:rPr></w:rPrDefault></w:docDefaults><w:style w:type="paragraph" w:styleId="Legacy"><w:basedOn w:val="Base"/>'
          '</w:style><w:style w:type="paragraph" w:styleId="Base"><w:rPr><w:rFonts w:ascii="KOI8-R" w:hAnsi="KOI8-R"/>'
          '</w:rPr></w:style></w:styles>')
DOCUMENT = (f'<w:document {W}><w:body><w:p><w:pPr><w:pStyle w:val="Legacy"/></w:pPr><w:r><w:t>\u00f0\u00d2\u00c9</w:t>'
            '<w:tab/><w:t xml:space="preserve"> \u00d7\u00c5</w:t></w:r><w:r><w:rPr><w:rFonts w:ascii="Symbol"/></w:rPr>'
            '<w:t>\uf041\u0416</w:t></w:r></w:p><w:tbl><w:tr><w:tc><w:p><w:r><w:rPr><w:rFonts w:hAnsi="koi8r"/></w:rPr>'
            '<w:t>\u00c1</w:t></w:r></w:p></w:tc></w:tr></w:tbl></w:body></w:document>')
ODT_STYLES = ('<office:document-styles xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
              'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" '
              'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
              'xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0">'
              '<office:font-face-decls><style:font-face style:name="K" svg:font-family="\'KOI8-R\'"/></office:font-face-decls>'
              '<office:styles><style:style style:name="Legacy" style:family="paragraph"><style:text-properties '
              'style:font-name="K"/></style:style></office:styles><office:master-styles><style:master-page style:name="S">'
              '<style:header><text:p text:style-name="Legacy">\u00c1<text:s text:c="2"/>\u00c2</text:p></style:header>'
              '</style:master-page></office:master-styles></office:document-styles>')
ODT_CONTENT = ('<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
               'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" '
               'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
               'xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0">'
               '<office:automatic-styles><style:style style:name="T1" style:family="text"><style:text-properties '
               'fo:font-family="KOI8-R"/></style:style></office:automatic-styles><office:body><office:text>'
               '<text:p text:style-name="Legacy">\u00f0<text:span text:style-name="T1">\u00d2<text:tab/>\u00c9</text:span></text:p>'
               '</office:text></office:body></office:document-content>')


def package(path, entries, method=zipfile.ZIP_DEFLATED):
    warnings.simplefilter('ignore')  # a name twice is one of the layouts
    with zipfile.ZipFile(path, 'w') as z:
        for name, text in entries:
            z.writestr(zipfile.ZipInfo(name), text.encode(), compress_type=zipfile.ZIP_STORED if name == 'mimetype' else method)


def main(folder):
    out = Path(folder)
    out.mkdir(parents=True, exist_ok=True)
    docx = [('[Content_Types].xml', TYPES), ('word/document.xml', DOCUMENT), ('word/styles.xml', STYLES),
            ('word/fontTable.xml', f'<w:fonts {W}/>')]
    package(out / 'docx', docx)
    package(out / 'docx-stored', docx, zipfile.ZIP_STORED)
    odt = [('mimetype', 'application/vnd.oasis.opendocument.text'), ('content.xml', ODT_CONTENT), ('styles.xml', ODT_STYLES)]
    package(out / 'odt', odt)
    package(out / 'odt-stored', odt, zipfile.ZIP_STORED)
    rels = ('<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
            '<Relationship Id="r1" Type="http://purl.oclc.org/ooxml/officeDocument/relationships/{}" Target="{}"/>'
            '</Relationships>')
    package(out / 'docx-related', [('[Content_Types].xml', TYPES), ('_rels/.rels', rels.format('officeDocument', '/text/main.xml')),
                                   ('text/_rels/main.xml.rels', rels.format('glossaryDocument', 'g.xml')),
                                   ('text/main.xml', DOCUMENT), ('text/g.xml', DOCUMENT)])
    package(out / 'docx-twice', docx + [('word/document.xml', DOCUMENT)])
    package(out / 'dtd', [('word/document.xml', '<!DOCTYPE d [<!ENTITY a "aaaa">]><d>&a;</d>')], zipfile.ZIP_STORED)
    package(out / 'deep', [('word/document.xml', f'<w:document {W}>' + '<w:p>' * 500 + '</w:p>' * 500 + '</w:document>')])


if __name__ == '__main__':
    main(sys.argv[1])
