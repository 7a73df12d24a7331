// Word packages as Word, LibreOffice and other writers lay them out: parts found through the
// relationships, strict OOXML, glossaries, templates and macro documents.
#include <gtest/gtest.h>

#include "Failure.h"
#include "Packages.h"
#include "TestDatabase.h"
#include "documents/PackageRelations.h"

namespace varnex::test {
namespace {

const std::string kPrivet = "\xF0\xD2\xC9\xD7\xC5\xD4";      // Привет in KOI8-R
const std::string kPrivet1251 = "\xCF\xF0\xE8\xE2\xE5\xF2";  // in Windows-1251
const std::string kTransitional = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
const std::string kStrict = "http://purl.oclc.org/ooxml/officeDocument/relationships/";
const std::string kWordMain = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
const std::string kStrictWordMain = "http://purl.oclc.org/ooxml/wordprocessingml/main";

std::string Relationships(const std::vector<std::pair<std::string, std::string>>& typesAndTargets) {
    std::string xml =
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)";
    int id = 0;
    for (const auto& [type, target] : typesAndTargets) {
        xml += "<Relationship Id=\"rId" + std::to_string(++id) + "\" Type=\"" + type + "\" Target=\"" +
               target + "\"/>";
    }
    return xml + "</Relationships>";
}

std::string Koi8Text(const std::string& root, const std::string& ns = kWordMain) {
    return "<w:" + root + " xmlns:w=\"" + ns +
           R"("><w:p><w:r><w:rPr><w:rFonts w:ascii="KOI8-R" w:hAnsi="KOI8-R"/></w:rPr><w:t>)" +
           AsStored(kPrivet) + "</w:t></w:r></w:p></w:" + root + ">";
}

std::string Types(const std::string& mainPart, const std::string& contentType) {
    return R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
           "<Override PartName=\"/" +
           mainPart + "\" ContentType=\"" + contentType + "\"/></Types>";
}

bool Converted(const std::filesystem::path& package, const std::string& part) {
    return PartOf(package, part).find(AsStored(kPrivet1251)) != std::string::npos;
}

class WordPackage : public ::testing::Test {
protected:
    std::string Refusal(const Entries& entries) {
        WritePackage(dir / "in.docx", entries);
        try {
            Convert(dir / "in.docx", dir / "out.docx", Koi8ToCp1251(), Koi8Fonts());
        } catch (const Failure& failure) {
            return failure.Description();
        }
        return "converted";
    }

    TempDir dir;
};

TEST_F(WordPackage, PartsAreFoundThroughTheRelationshipsNotByName) {
    const Entries entries = {
        {"[Content_Types].xml", "<Types/>"},
        {"_rels/.rels", Relationships({{kTransitional + "officeDocument", "/text/main.xml"}})},
        {"text/_rels/main.xml.rels", Relationships({{kTransitional + "header", "top.xml"},
                                                    {kTransitional + "footnotes", "../notes/n%201.xml"},
                                                    {kTransitional + "hyperlink", "http://example.org/"}})},
        {"text/main.xml", Koi8Text("document")},
        {"text/top.xml", Koi8Text("hdr")},
        {"notes/n 1.xml", Koi8Text("footnotes")},
        {"text/header2.xml", Koi8Text("hdr")},  // no relationship leads to it
        {"word/document.xml", Koi8Text("document")},
    };
    WritePackage(dir / "in.docx", entries);
    EXPECT_EQ(RecogniseDocument(dir / "in.docx", "in"), DocumentKind::WordDocument);
    Convert(dir / "in.docx", dir / "out.docx", Koi8ToCp1251(), Koi8Fonts());
    for (const char* part : {"text/main.xml", "text/top.xml", "notes/n 1.xml"}) {
        EXPECT_TRUE(Converted(dir / "out.docx", part)) << part;
    }
    for (const char* part : {"text/header2.xml", "word/document.xml"}) {
        EXPECT_EQ(CompressedOf(dir / "out.docx", part), CompressedOf(dir / "in.docx", part)) << part;
    }
}

TEST_F(WordPackage, StrictOoxmlAndTheGlossaryConvertWithTheirOwnStyles) {
    const std::string glossaryStyles =
        "<w:styles xmlns:w=\"" + kStrictWordMain +
        R"("><w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii="KOI8-R" w:hAnsi="KOI8-R"/>)"
        "</w:rPr></w:rPrDefault></w:docDefaults></w:styles>";
    const std::string plainGlossary = "<w:glossaryDocument xmlns:w=\"" + kStrictWordMain +
                                      "\"><w:p><w:r><w:t>" + AsStored(kPrivet) +
                                      "</w:t></w:r></w:p></w:glossaryDocument>";
    const Entries entries = {
        {"[Content_Types].xml", "<Types/>"},
        {"_rels/.rels", Relationships({{kStrict + "officeDocument", "word/document.xml"}})},
        {"word/_rels/document.xml.rels",
         Relationships({{kStrict + "comments", "comments.xml"},
                        {kStrict + "glossaryDocument", "glossary/document.xml"}})},
        {"word/document.xml", Koi8Text("document", kStrictWordMain)},
        {"word/comments.xml", Koi8Text("comments", kStrictWordMain)},
        {"word/glossary/_rels/document.xml.rels", Relationships({{kStrict + "styles", "styles.xml"}})},
        {"word/glossary/document.xml", plainGlossary},
        {"word/glossary/styles.xml", glossaryStyles},
    };
    WritePackage(dir / "in.docx", entries);
    Convert(dir / "in.docx", dir / "out.docx", Koi8ToCp1251(), Koi8Fonts());
    for (const char* part : {"word/document.xml", "word/comments.xml", "word/glossary/document.xml"}) {
        EXPECT_TRUE(Converted(dir / "out.docx", part)) << part;
    }
    EXPECT_NE(PartOf(dir / "out.docx", "word/glossary/styles.xml").find("Windows-1251"), std::string::npos);
}

TEST_F(WordPackage, MacroTemplatesConvertWithTheirOtherPartsKeptByteForByte) {
    const std::string macroType = "application/vnd.ms-word.template.macroEnabledTemplate.main+xml";
    const Entries entries = {
        {"[Content_Types].xml", Types("word/document.xml", macroType)},
        {"_rels/.rels", Relationships({{kTransitional + "officeDocument", "word/document.xml"}})},
        {"word/_rels/document.xml.rels",
         Relationships(
             {{"http://schemas.microsoft.com/office/2006/relationships/vbaProject", "vbaProject.bin"}})},
        {"word/document.xml", Koi8Text("document")},
        {"word/vbaProject.bin", std::string("\xD0\xCF\x11\xE0macros\0\x01", 12)},
    };
    WritePackage(dir / "in.dotm", entries);
    EXPECT_EQ(RecogniseDocument(dir / "in.dotm", "in"), DocumentKind::WordDocument);
    Convert(dir / "in.dotm", dir / "out.dotm", Koi8ToCp1251(), Koi8Fonts());
    EXPECT_TRUE(Converted(dir / "out.dotm", "word/document.xml"));
    for (const char* part : {"[Content_Types].xml", "word/vbaProject.bin", "_rels/.rels"}) {
        EXPECT_EQ(CompressedOf(dir / "out.dotm", part), CompressedOf(dir / "in.dotm", part)) << part;
    }
}

TEST_F(WordPackage, OpenDocumentTemplatesAndMasterDocumentsAreText) {
    for (const char* type : {"text-template", "text-master"}) {
        Entries entries = Odt("", "<text:p>x</text:p>");
        entries[0].second = std::string("application/vnd.oasis.opendocument.") + type;
        WritePackage(dir / "in.ott", entries, true);
        EXPECT_EQ(RecogniseDocument(dir / "in.ott", "in"), DocumentKind::OpenDocumentText) << type;
        std::filesystem::remove(dir / "out.ott");
        EXPECT_NO_THROW(Convert(dir / "in.ott", dir / "out.ott", Koi8ToCp1251(), Koi8Fonts())) << type;
    }
}

TEST_F(WordPackage, OtherMainPartsAndBrokenRelationshipsAreRefused) {
    const std::string officeDocument = Relationships({{kTransitional + "officeDocument", "xl/workbook.xml"}});
    const Entries workbook = {
        {"[Content_Types].xml",
         Types("xl/workbook.xml",
               "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml")},
        {"_rels/.rels", officeDocument},
        {"xl/workbook.xml", "<workbook/>"},
        {"word/document.xml", Koi8Text("document")},
    };
    EXPECT_EQ(Refusal(workbook), "in.docx: not a word document: a spreadsheet (an Office Open XML workbook)");
    const Entries missing = {{"[Content_Types].xml", "<Types/>"}, {"_rels/.rels", officeDocument}};
    EXPECT_EQ(Refusal(missing), "in.docx: damaged package: its main part xl/workbook.xml is missing");
    const Entries notWord = {{"[Content_Types].xml", "<Types/>"},
                             {"_rels/.rels", officeDocument},
                             {"xl/workbook.xml", "<workbook/>"}};
    EXPECT_EQ(Refusal(notWord), "in.docx: not a word document: xl/workbook.xml is not WordprocessingML");
    const Entries brokenRelationships = {{"[Content_Types].xml", "<Types/>"},
                                         {"_rels/.rels", "<Relationships><Relationship"},
                                         {"word/document.xml", Koi8Text("document")}};
    EXPECT_TRUE(
        Refusal(brokenRelationships).starts_with("in.docx: damaged package: the part _rels/.rels is not"));
}

TEST(RelationshipTargets, ResolveAgainstTheSourcePartsFolder) {
    EXPECT_EQ(ResolvedTarget("word/document.xml", "header1.xml"), "word/header1.xml");
    EXPECT_EQ(ResolvedTarget("word/document.xml", "/customXml/item1.xml"), "customXml/item1.xml");
    EXPECT_EQ(ResolvedTarget("word/document.xml", "../docProps/./app.xml"), "docProps/app.xml");
    EXPECT_EQ(ResolvedTarget("word/document.xml", "media/a%20b.png#frag"), "word/media/a b.png");
    EXPECT_EQ(ResolvedTarget("word/document.xml", "../../etc/passwd"), "") << "outside the package";
    EXPECT_EQ(ResolvedTarget("", "word/document.xml"), "word/document.xml");
}

}  // namespace
}  // namespace varnex::test
