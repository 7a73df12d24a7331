// Word documents converted run by run: which runs convert, how their fonts are found and renamed.
#include <gtest/gtest.h>

#include "Failure.h"
#include "Packages.h"
#include "TestDatabase.h"
#include "map/FontLoaders.h"

namespace varnex::test {
namespace {

const std::string kPrivet = "\xF0\xD2\xC9\xD7\xC5\xD4";      // Привет in KOI8-R
const std::string kPrivet1251 = "\xCF\xF0\xE8\xE2\xE5\xF2";  // in Windows-1251
const std::string kKoi8Fonts = R"(<w:rPr><w:rFonts w:ascii="KOI8-R" w:hAnsi="KOI8-R"/></w:rPr>)";

std::string TextRun(const std::string& properties, const std::string& text) {
    return "<w:r>" + properties + "<w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
}

std::string Paragraph(const std::string& runs, const std::string& style = "") {
    return "<w:p>" + (style.empty() ? "" : "<w:pPr><w:pStyle w:val=\"" + style + "\"/></w:pPr>") + runs +
           "</w:p>";
}

class DocxConversion : public ::testing::Test {
protected:
    std::string ConvertBody(const std::string& body, const std::string& styles = "",
                            const std::string& theme = "", const DocumentFonts& fonts = Koi8Fonts()) {
        WritePackage(dir / "in.docx", Docx(body, styles, theme));
        Convert(dir / "in.docx", dir / "out.docx", Koi8ToCp1251(), fonts);
        return PartOf(dir / "out.docx", "word/document.xml");
    }
    bool Holds(const std::string& xml, const std::string& text) {
        return xml.find(text) != std::string::npos;
    }
    int Count(const std::string& xml, const std::string& text) {
        int count = 0;
        for (auto at = xml.find(text); at != std::string::npos; at = xml.find(text, at + 1)) ++count;
        return count;
    }

    TempDir dir;
};

TEST_F(DocxConversion, OnlyRunsInTheSourceFontConvertAndGetTheTargetsName) {
    const std::string body =
        Paragraph(TextRun(R"(<w:rPr><w:rFonts w:ascii="Arial" w:hAnsi="Arial"/></w:rPr>)",
                          "Hello " + AsStored(kPrivet)) +
                  TextRun(kKoi8Fonts, AsStored(kPrivet.substr(0, 2))) +
                  TextRun(kKoi8Fonts, AsStored(kPrivet.substr(2))));
    const std::string out = ConvertBody(body);
    EXPECT_TRUE(Holds(out, "Hello " + AsStored(kPrivet))) << "text in Arial is untouched";
    EXPECT_TRUE(Holds(out, ">" + AsStored(kPrivet1251.substr(0, 2)) + "<")) << out;
    EXPECT_TRUE(Holds(out, ">" + AsStored(kPrivet1251.substr(2)) + "<")) << out;
    EXPECT_TRUE(Holds(out, R"(<w:rFonts w:ascii="Windows-1251" w:hAnsi="Windows-1251"/>)")) << out;
    EXPECT_FALSE(Holds(out, "KOI8-R"));
    EXPECT_TRUE(Holds(PartOf(dir / "out.docx", "word/fontTable.xml"), R"(<w:font w:name="Windows-1251"/>)"));

    // everything else is the same entry, compressed bytes and all, in the same order
    EXPECT_EQ(NamesOf(dir / "out.docx"), NamesOf(dir / "in.docx"));
    for (const std::string name : {"[Content_Types].xml", "word/styles.xml", "media/image1.png"}) {
        EXPECT_EQ(CompressedOf(dir / "out.docx", name), CompressedOf(dir / "in.docx", name)) << name;
    }
}

TEST_F(DocxConversion, AStyleThatSetsTheFontIsRenamedItselfAndItsRunsConvert) {
    const std::string styles =
        R"(<w:style w:type="paragraph" w:styleId="Legacy"><w:rPr><w:rFonts w:ascii="KOI8-R" w:hAnsi="KOI8-R"/></w:rPr></w:style>)"
        R"(<w:style w:type="paragraph" w:styleId="Child"><w:basedOn w:val="Legacy"/></w:style>)"
        R"(<w:style w:type="character" w:styleId="LegacyChar"><w:rPr><w:rFonts w:hAnsi="koi8r"/></w:rPr></w:style>)";
    const std::string body =
        Paragraph(TextRun("", AsStored(kPrivet)), "Child") +
        Paragraph(TextRun(R"(<w:rPr><w:rFonts w:ascii="Arial" w:hAnsi="Arial"/></w:rPr>)", AsStored(kPrivet)),
                  "Child") +
        Paragraph(TextRun(R"(<w:rPr><w:rStyle w:val="LegacyChar"/></w:rPr>)", AsStored(kPrivet)));
    const std::string out = ConvertBody(body, styles);
    EXPECT_EQ(Count(out, AsStored(kPrivet1251)), 2)
        << "the parent style's and the character style's font: " << out;
    EXPECT_EQ(Count(out, AsStored(kPrivet)), 1) << "the run's own font wins over the style";
    EXPECT_FALSE(Holds(out, "Windows-1251")) << "the runs get no font of their own: " << out;
    const std::string renamed = PartOf(dir / "out.docx", "word/styles.xml");
    EXPECT_TRUE(Holds(
        renamed, R"(w:styleId="Legacy"><w:rPr><w:rFonts w:ascii="Windows-1251" w:hAnsi="Windows-1251"/>)"))
        << renamed;
    EXPECT_TRUE(Holds(renamed, R"(<w:rFonts w:hAnsi="Windows-1251"/>)"))
        << "the character style, matched as -f is";
}

TEST_F(DocxConversion, DefaultsAndThemeFontsApplyPerSlot) {
    // Default paragraph style in the legacy font for w:hAnsi only: ASCII text is drawn in Arial.
    const std::string styles =
        R"(<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:asciiTheme="minorHAnsi" w:hAnsiTheme="minorHAnsi" )"
        R"(w:hAnsi="KOI8-R"/></w:rPr></w:rPrDefault></w:docDefaults>)"
        R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:rPr><w:rFonts w:ascii="Arial"/></w:rPr></w:style>)";
    const std::string out = ConvertBody(Paragraph(TextRun("", "AB" + AsStored(kPrivet))), styles, "KOI8-R");
    EXPECT_TRUE(Holds(out, ">AB" + AsStored(kPrivet1251) + "<"))
        << "A and B are Arial's; the rest the theme's: " << out;
    const std::string theme = PartOf(dir / "out.docx", "word/theme/theme1.xml");
    EXPECT_TRUE(Holds(theme, R"(<a:minorFont><a:latin typeface="Windows-1251"/>)")) << theme;
    EXPECT_TRUE(Holds(theme, R"(<a:latin typeface="Cambria"/>)"));
    EXPECT_TRUE(Holds(PartOf(dir / "out.docx", "word/styles.xml"), R"(w:hAnsi="Windows-1251")"))
        << "the plain name kept beside the theme's is renamed too";
}

TEST_F(DocxConversion, StyleLoopsEndAndUnknownStylesFallBackToTheDefault) {
    const std::string styles = R"(<w:style w:type="paragraph" w:styleId="A"><w:basedOn w:val="B"/></w:style>)"
                               R"(<w:style w:type="paragraph" w:styleId="B"><w:basedOn w:val="A"/></w:style>)"
                               R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal">)" +
                               kKoi8Fonts + "</w:style>";
    const std::string out = ConvertBody(
        Paragraph(TextRun("", "x"), "A") + Paragraph(TextRun("", AsStored(kPrivet)), "Nowhere"), styles);
    EXPECT_TRUE(Holds(out, ">x<"));
    EXPECT_TRUE(Holds(out, AsStored(kPrivet1251))) << out;
}

TEST_F(DocxConversion, TablesTextBoxesHeadersFootersNotesAndCommentsConvert) {
    const std::string legacy = TextRun(kKoi8Fonts, AsStored(kPrivet));
    const std::string box =
        "<w:r><w:pict><v:shape xmlns:v=\"urn:schemas-microsoft-com:vml\"><v:textbox><w:txbxContent>" +
        Paragraph(legacy) + "</w:txbxContent></v:textbox></v:shape></w:pict></w:r>";
    Entries entries =
        Docx("<w:tbl><w:tr><w:tc>" + Paragraph(legacy) + "</w:tc></w:tr></w:tbl>" + Paragraph(box));
    const std::string w = R"(xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")";
    for (const std::string part : {"header1", "footer2", "footnotes", "endnotes", "comments"}) {
        entries.push_back({"word/" + part + ".xml", "<w:x " + w + ">" + Paragraph(legacy) + "</w:x>"});
    }
    entries.push_back({"word/glossary.xml", "<w:x " + w + ">" + Paragraph(legacy) + "</w:x>"});
    WritePackage(dir / "in.docx", entries);
    const DocumentTotals totals = Convert(dir / "in.docx", dir / "out.docx", Koi8ToCp1251(), Koi8Fonts());
    EXPECT_EQ(totals.convertedCharacters, 7 * kPrivet.size());
    const std::string body = PartOf(dir / "out.docx", "word/document.xml");
    EXPECT_EQ(body.find(AsStored(kPrivet)), std::string::npos) << body;
    for (const std::string part : {"header1", "footer2", "footnotes", "endnotes", "comments"}) {
        EXPECT_TRUE(Holds(PartOf(dir / "out.docx", "word/" + part + ".xml"), AsStored(kPrivet1251))) << part;
    }
    EXPECT_EQ(CompressedOf(dir / "out.docx", "word/glossary.xml"),
              CompressedOf(dir / "in.docx", "word/glossary.xml"));
}

TEST_F(DocxConversion, TextOverRunsAndTabsConvertsAsOneText) {
    // A map of several codes per character, and a tab that converts to two blanks.
    FontMap gost;
    LoadFontMap(VARNEX_SHIPPED_FONT_MAP, "KOI8-R", "GOST 7.79-B Latin", gost);
    FontMap spread = gost;
    spread.Set('\t', "  ");
    const std::string text = "\xFD\xC1\xD2\xF6";  // ЩарЖ
    const std::string body = Paragraph(TextRun(kKoi8Fonts, AsStored(text.substr(0, 1))) + "<w:r>" +
                                       kKoi8Fonts + "<w:t>" + AsStored(text.substr(1, 2)) +
                                       "</w:t><w:tab/><w:t>" + AsStored(text.substr(3)) + "</w:t></w:r>");
    WritePackage(dir / "in.docx", Docx(body));
    DocumentFonts fonts = Koi8Fonts();
    Convert(dir / "in.docx", dir / "out.docx", spread, fonts);
    const std::string out = PartOf(dir / "out.docx", "word/document.xml");
    EXPECT_TRUE(Holds(out, ">Shh</w:t>")) << out;
    EXPECT_TRUE(Holds(out, ">ar</w:t><w:t xml:space=\"preserve\">  </w:t><w:t>Zh</w:t>")) << out;
    Convert(dir / "in.docx", dir / "kept.docx", gost, fonts);
    EXPECT_TRUE(Holds(PartOf(dir / "kept.docx", "word/document.xml"), ">ar</w:t><w:tab/><w:t>Zh<"))
        << "a tab that converts to itself stays a tab";
}

TEST_F(DocxConversion, SymbolCharactersUnicodeTextAndStrictness) {
    const std::string symbol = "\xEF\x83\x81";  // U+F0C1, the code 0xC1 of a symbol font
    const std::string zhe = "\xD0\x96";         // Ж, already Unicode
    const std::string body = Paragraph(TextRun(kKoi8Fonts, symbol + zhe + AsStored("\xC1")));
    WritePackage(dir / "in.docx", Docx(body));
    const DocumentTotals totals = Convert(dir / "in.docx", dir / "out.docx", Koi8ToCp1251(), Koi8Fonts());
    EXPECT_TRUE(
        Holds(PartOf(dir / "out.docx", "word/document.xml"), ">\xEF\x83\xA0" + zhe + AsStored("\xE0") + "<"))
        << "the symbol code goes back as a symbol character, Ж stays";
    EXPECT_EQ(totals.convertedCharacters, 2u);
    EXPECT_EQ(totals.withoutCode, (std::map<char32_t, std::uint64_t>{{0x416, 1}}));
    try {
        Convert(dir / "in.docx", dir / "strict.docx", Koi8ToCp1251(), Koi8Fonts(), true);
        FAIL() << "--strict let a character without a code pass";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Description(),
                  "in.docx: word/document.xml, paragraph 1, character 2: the character U+0416 of source-font "
                  "text has "
                  "no code");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "strict.docx"));
}

TEST_F(DocxConversion, DocumentFontNamesAndTheUnicodeTarget) {
    FontMap unicode;
    BuildFontMap(MakeTable({"KOI8-R", "UTF-8"}, {{"193", "208,176"}, {"215", "208,178"}}), "KOI8-R", "UTF-8",
                 unicode);
    const std::string body =
        Paragraph(TextRun(R"(<w:rPr><w:rFonts w:hAnsi="Kiril Times"/></w:rPr>)", AsStored("\xC1\xD7")));
    WritePackage(dir / "in.docx", Docx(body));
    DocumentFonts fonts{{"KOI8-R", "UTF-8"}, "KOI8-R", "UTF-8", {"kiril-times"}, "Liberation Serif"};
    Convert(dir / "in.docx", dir / "out.docx", unicode, fonts);
    const std::string out = PartOf(dir / "out.docx", "word/document.xml");
    EXPECT_TRUE(
        Holds(out, R"(<w:rFonts w:hAnsi="Liberation Serif"/></w:rPr><w:t xml:space="preserve">ав</w:t>)"))
        << out;
    EXPECT_TRUE(
        Holds(PartOf(dir / "out.docx", "word/fontTable.xml"), R"(<w:font w:name="Liberation Serif"/>)"));
    fonts.sourceNames.clear();
    Convert(dir / "in.docx", dir / "plain.docx", unicode, fonts);
    EXPECT_TRUE(Holds(PartOf(dir / "plain.docx", "word/document.xml"), AsStored("\xC1\xD7")))
        << "without --doc-font the font is not the source's";
}

// Text in the Unicode font over two runs, converted to KOI8-R character by character,
// a character without an entry counted or refused.
TEST_F(DocxConversion, TheUnicodeSourceConvertsCharactersAcrossRuns) {
    FontMap koi8;
    BuildFontMap(MakeTable({"UTF-8", "KOI8-R"}, {{"208,150", "246"}, {"65", "65"}}), "UTF-8", "KOI8-R", koi8);
    const std::string fonts = R"(<w:rPr><w:rFonts w:ascii="Arial" w:hAnsi="Arial"/></w:rPr>)";
    WritePackage(dir / "in.docx",
                 Docx(Paragraph(TextRun(fonts, "A\xD0\x96\xE2\x82\xAC") + TextRun(fonts, "A"))));
    DocumentFonts unicode{{"UTF-8", "KOI8-R"}, "UTF-8", "KOI8-R", {"arial"}, "KOI8-R"};
    const DocumentTotals totals = Convert(dir / "in.docx", dir / "out.docx", koi8, unicode);
    const std::string out = PartOf(dir / "out.docx", "word/document.xml");
    EXPECT_TRUE(Holds(out, ">A" + AsStored("\xF6") + "</w:t>")) << out;
    EXPECT_EQ(totals.droppedCharacters, (std::map<char32_t, std::uint64_t>{{0x20AC, 1}}));
    try {
        Convert(dir / "in.docx", dir / "strict.docx", koi8, unicode, true);
        FAIL() << "--strict let a character without an entry pass";
    } catch (const Failure& failure) {
        EXPECT_NE(failure.Description().find("the character U+20AC has no entry in the target font"),
                  std::string::npos)
            << failure.Description();
    }
}

TEST_F(DocxConversion, CodesWithoutAnEntryAreDroppedCountedOrRefused) {
    FontMap map = Koi8ToCp1251();
    map.Set(0xC1, "");
    WritePackage(dir / "in.docx", Docx(Paragraph(TextRun(kKoi8Fonts, AsStored("\xC1\xC2\xC1")))));
    const DocumentTotals totals = Convert(dir / "in.docx", dir / "out.docx", map, Koi8Fonts());
    EXPECT_EQ(totals.dropped, (std::map<int, std::uint64_t>{{0xC1, 2}}));
    EXPECT_TRUE(Holds(PartOf(dir / "out.docx", "word/document.xml"), ">" + AsStored("\xE1") + "<"));
    try {
        Convert(dir / "in.docx", dir / "strict.docx", map, Koi8Fonts(), true);
        FAIL() << "--strict let a code without an entry pass";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Description(),
                  "in.docx: word/document.xml, paragraph 1, character 1: the code 193 has no entry in the "
                  "target font");
    }
}

TEST_F(DocxConversion, CodesThatXmlCannotCarryAreAFailure) {
    FontMap map = Koi8ToCp1251();
    map.Set(0xC1, std::string(1, '\x02'));
    WritePackage(dir / "in.docx", Docx(Paragraph(TextRun(kKoi8Fonts, AsStored("\xC1")))));
    EXPECT_THROW(Convert(dir / "in.docx", dir / "out.docx", map, Koi8Fonts()), Failure);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.docx"));
}

TEST_F(DocxConversion, TableStylesGiveFontsBelowTheParagraphsStyle) {
    const std::string styles =
        R"(<w:style w:type="table" w:styleId="LegacyGrid"><w:rPr><w:rFonts w:ascii="KOI8-R" w:hAnsi="KOI8-R"/>)"
        R"(</w:rPr></w:style><w:style w:type="paragraph" w:styleId="Plain"><w:rPr>)"
        R"(<w:rFonts w:ascii="Arial" w:hAnsi="Arial"/></w:rPr></w:style>)";
    const auto table = [](const std::string& cell) {
        return "<w:tbl><w:tblPr><w:tblStyle w:val=\"LegacyGrid\"/></w:tblPr><w:tr><w:tc>" + cell +
               "</w:tc></w:tr></w:tbl>";
    };
    const std::string body = table(Paragraph(TextRun("", AsStored(kPrivet)))) +
                             table(Paragraph(TextRun("", AsStored(kPrivet) + "!"), "Plain")) +
                             Paragraph(TextRun("", AsStored(kPrivet) + "?"));
    const std::string out = ConvertBody(body, styles);
    EXPECT_TRUE(Holds(out, ">" + AsStored(kPrivet1251) + "<")) << "the table style's font";
    EXPECT_TRUE(Holds(out, ">" + AsStored(kPrivet) + "!<")) << "the paragraph style comes first";
    EXPECT_TRUE(Holds(out, ">" + AsStored(kPrivet) + "?<")) << "outside the table";
    EXPECT_TRUE(Holds(PartOf(dir / "out.docx", "word/styles.xml"), R"(w:ascii="Windows-1251")"));
}

TEST_F(DocxConversion, BothAlternatesAndFieldResultsConvertButNeverFieldInstructions) {
    const std::string box =
        "<w:txbxContent>" + Paragraph(TextRun(kKoi8Fonts, AsStored(kPrivet))) + "</w:txbxContent>";
    const std::string alternates =
        R"(<mc:AlternateContent xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006">)"
        "<mc:Choice Requires=\"wps\"><w:drawing><wps:txbx>" +
        box + "</wps:txbx></w:drawing></mc:Choice><mc:Fallback><w:pict><v:textbox>" + box +
        "</v:textbox></w:pict></mc:Fallback></mc:AlternateContent>";
    const std::string field = "<w:r>" + kKoi8Fonts + R"(<w:fldChar w:fldCharType="begin"/></w:r><w:r>)" +
                              kKoi8Fonts + "<w:instrText>REF " + AsStored(kPrivet) +
                              R"(</w:instrText></w:r><w:r><w:fldChar w:fldCharType="separate"/></w:r>)" +
                              TextRun(kKoi8Fonts, AsStored(kPrivet)) +
                              R"(<w:r><w:fldChar w:fldCharType="end"/></w:r>)";
    const std::string simple = "<w:fldSimple w:instr=\"TITLE " + AsStored(kPrivet) + "\">" +
                               TextRun(kKoi8Fonts, AsStored(kPrivet)) + "</w:fldSimple>";
    const std::string out =
        ConvertBody(Paragraph("<w:r>" + alternates + "</w:r>") + Paragraph(field + simple));
    EXPECT_EQ(Count(out, ">" + AsStored(kPrivet1251) + "<"), 4) << "both alternates and both field results";
    EXPECT_TRUE(Holds(out, "<w:instrText>REF " + AsStored(kPrivet) + "<")) << out;
    EXPECT_TRUE(Holds(out, "w:instr=\"TITLE " + AsStored(kPrivet) + "\"")) << out;
}

TEST_F(DocxConversion, SymbolsInTheSourceFontConvertInTheFormTheyHad) {
    const std::string body =
        Paragraph(R"(<w:r><w:sym w:font="KOI8-R" w:char="F0F0"/><w:sym w:font="KOI8-R" w:char="00F0"/>)"
                  R"(<w:sym w:font="Wingdings" w:char="F0F0"/><w:sym w:font="KOI8-R" w:char="zz"/></w:r>)");
    const std::string out = ConvertBody(body);
    // П: F0 in KOI8-R, CF in Windows-1251; the plain form is the code's Windows-1252 character
    EXPECT_TRUE(Holds(
        out, R"(<w:sym w:font="Windows-1251" w:char="F0CF"/><w:sym w:font="Windows-1251" w:char="00CF"/>)"))
        << out;
    EXPECT_TRUE(Holds(out, R"(<w:sym w:font="Wingdings" w:char="F0F0"/>)")) << "another font's symbol stays";
    EXPECT_TRUE(Holds(out, R"(<w:sym w:font="KOI8-R" w:char="zz"/>)")) << "a code that is no hex stays";
    EXPECT_TRUE(Holds(PartOf(dir / "out.docx", "word/fontTable.xml"), R"(<w:font w:name="Windows-1251"/>)"));
}

TEST_F(DocxConversion, TheTextOfSmartArtAndChartsConvertsWhereItsTypefaceIsTheSourceFont) {
    const std::string a = R"(xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main")";
    Entries entries = Docx(Paragraph(TextRun(kKoi8Fonts, AsStored(kPrivet))));
    entries.push_back(
        {"word/diagrams/data1.xml",
         R"(<dgm:dataModel xmlns:dgm="http://schemas.openxmlformats.org/drawingml/2006/diagram" )" + a +
             R"(><dgm:ptLst><dgm:pt><dgm:t><a:p><a:r><a:rPr><a:latin typeface="KOI8-R"/></a:rPr><a:t>)" +
             AsStored(kPrivet) + R"(</a:t></a:r><a:r><a:rPr><a:latin typeface="Arial"/></a:rPr><a:t>)" +
             AsStored(kPrivet) + "</a:t></a:r></a:p></dgm:t></dgm:pt></dgm:ptLst></dgm:dataModel>"});
    entries.push_back(
        {"word/charts/chart1.xml",
         R"(<c:chartSpace xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart" )" + a +
             R"(><c:chart><c:title><c:tx><c:rich><a:p><a:pPr><a:defRPr><a:latin typeface="KOI8-R"/>)"
             R"(</a:defRPr></a:pPr><a:r><a:t>)" +
             AsStored(kPrivet) + "</a:t></a:r></a:p></c:rich></c:tx></c:title></c:chart></c:chartSpace>"});
    WritePackage(dir / "in.docx", entries);
    Convert(dir / "in.docx", dir / "out.docx", Koi8ToCp1251(), Koi8Fonts());
    const std::string data = PartOf(dir / "out.docx", "word/diagrams/data1.xml");
    EXPECT_TRUE(
        Holds(data, R"(<a:latin typeface="Windows-1251"/></a:rPr><a:t>)" + AsStored(kPrivet1251) + "<"))
        << data;
    EXPECT_TRUE(Holds(data, R"(<a:latin typeface="Arial"/></a:rPr><a:t>)" + AsStored(kPrivet) + "<"));
    const std::string chart = PartOf(dir / "out.docx", "word/charts/chart1.xml");
    EXPECT_TRUE(Holds(chart, R"(<a:latin typeface="Windows-1251"/>)")) << chart;
    EXPECT_TRUE(Holds(chart, "<a:t>" + AsStored(kPrivet1251) + "</a:t>")) << chart;

    // a chart part that is no XML we read is copied as it is, and the rest converts
    Entries damaged = entries;
    damaged.back().second = "<c:chartSpace><c:chart>cut sh";
    WritePackage(dir / "damaged.docx", damaged);
    Convert(dir / "damaged.docx", dir / "damaged-out.docx", Koi8ToCp1251(), Koi8Fonts());
    EXPECT_EQ(CompressedOf(dir / "damaged-out.docx", "word/charts/chart1.xml"),
              CompressedOf(dir / "damaged.docx", "word/charts/chart1.xml"));
    EXPECT_TRUE(Holds(PartOf(dir / "damaged-out.docx", "word/document.xml"), AsStored(kPrivet1251)));

    // found through the main part's relationships, a chart that is not named chart1.xml too
    entries.back().first = "word/charts/sales.xml";
    entries.push_back(
        {"word/_rels/document.xml.rels",
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
         R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/chart" Target="charts/sales.xml"/>)"
         "</Relationships>"});
    WritePackage(dir / "rels.docx", entries);
    Convert(dir / "rels.docx", dir / "rels-out.docx", Koi8ToCp1251(), Koi8Fonts());
    EXPECT_TRUE(Holds(PartOf(dir / "rels-out.docx", "word/charts/sales.xml"),
                      "<a:t>" + AsStored(kPrivet1251) + "</a:t>"));
    EXPECT_TRUE(Holds(PartOf(dir / "rels-out.docx", "word/diagrams/data1.xml"),
                      AsStored(kPrivet) + "</a:t></a:r><a:r>"))
        << "a part that no relationship names is left as it was";
}

}  // namespace
}  // namespace varnex::test
