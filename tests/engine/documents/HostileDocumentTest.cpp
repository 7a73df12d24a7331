// Documents made to harm: each is refused with a clear message, nothing is written, nothing hangs.
#include <gtest/gtest.h>

#include "Failure.h"
#include "Packages.h"
#include "TestDatabase.h"

namespace varnex::test {
namespace {

const std::string kW = R"(xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")";

struct Hostile {
    const char* name;
    Entries entries;
    const char* message;  // part of the failure's description
};

std::string Refusal(const std::filesystem::path& source, const std::filesystem::path& target) {
    try {
        if (RecogniseDocument(source, source.filename().string()) == DocumentKind::Text)
            return "taken for text";
        Convert(source, target, Koi8ToCp1251(), Koi8Fonts());
    } catch (const Failure& failure) {
        return failure.Description();
    }
    return "converted";
}

TEST(HostileDocuments, AreRefusedWithAClearMessage) {
    Entries missingTypes = Docx("<w:p/>");
    missingTypes.erase(missingTypes.begin());
    Entries dtd = Docx("<w:p/>");
    dtd[1].second = "<!DOCTYPE w [<!ENTITY a \"b\">]><w:document " + kW + "/>";
    Entries deep = Docx("<w:p/>");
    std::string nested;
    for (int i = 0; i < 450; ++i) nested += "<w:p>";
    for (int i = 0; i < 450; ++i) nested += "</w:p>";
    deep[1].second = "<w:document " + kW + ">" + nested + "</w:document>";
    Entries foreign = Docx("<w:p/>");
    foreign[1].second = "<document><body/></document>";
    Entries bomb = Docx("<w:p/>");
    bomb.push_back({"word/header1.xml", "<w:hdr " + kW + ">" + std::string(4u << 20, ' ') + "</w:hdr>"});
    const std::vector<Hostile> cases = {
        {"dtd", dtd,
         "in: damaged package: the part word/document.xml is refused: it holds a DTD, which is never read"},
        {"entity", Docx("<w:p><w:r><w:t>&ent;</w:t></w:r></w:p>"),
         "in: damaged package: the part word/document.xml is refused: it refers to an entity"},
        {"deep", deep, "in: damaged package: the part word/document.xml nests elements deeper than 400"},
        {"broken", Docx("<w:p><w:r></w:p>"),
         "in: damaged package: the part word/document.xml is not well-formed XML"},
        {"foreign", foreign, "in: not a word document: word/document.xml is not WordprocessingML"},
        {"no content types", missingTypes, "in: damaged package: the part [Content_Types].xml is missing"},
        {"bomb", bomb, "in: part too large: word/header1.xml inflates to "},
        {"odt without content",
         {{"mimetype", "application/vnd.oasis.opendocument.text"}, {"styles.xml", "<x/>"}},
         "in: damaged package: the part content.xml is missing"},
        {"spreadsheet",
         {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}},
         "in: not a word document: an OpenDocument package of the type "
         "application/vnd.oasis.opendocument.spreadsheet"},
        {"workbook",
         {{"[Content_Types].xml", "<Types/>"}, {"xl/workbook.xml", "<w/>"}},
         "in: not a word document: an Office Open XML package without a main document"},
        {"password",
         {{"mimetype", "application/vnd.oasis.opendocument.text"},
          {"META-INF/manifest.xml", "<m><manifest:encryption-data/></m>"}},
         "in: encrypted package: the document is protected by a password"},
    };
    TempDir dir;
    for (const Hostile& hostile : cases) {
        WritePackage(dir / "in", hostile.entries, false, 9);  // the strongest: a bomb's ratio
        const std::string refusal = Refusal(dir / "in", dir / "out");
        EXPECT_TRUE(refusal.starts_with(hostile.message)) << hostile.name << ": " << refusal;
        EXPECT_FALSE(std::filesystem::exists(dir / "out")) << hostile.name;
    }
}

TEST(HostileDocuments, AmpersandsOfCommentsAndCdataAreNoEntities) {
    TempDir dir;
    Entries entries = Docx("<!-- Q&A --><w:p><w:r><w:t><![CDATA[R&D]]>&amp;&#1046;&#x416;</w:t></w:r></w:p>");
    entries[1].second.insert(0, "<?xml version=\"1.0\"?><?note a&b?>");
    WritePackage(dir / "in.docx", entries);
    EXPECT_EQ(Refusal(dir / "in.docx", dir / "out.docx"), "converted");
}

TEST(HostileDocuments, TruncatedPackagesAndCompoundFilesAreNoText) {
    TempDir dir;
    WritePackage(dir / "whole.docx", Docx("<w:p/>"));
    const std::string whole = ReadFile(dir / "whole.docx");
    WriteFile(dir / "cut.docx", whole.substr(0, whole.size() / 2));
    EXPECT_TRUE(Refusal(dir / "cut.docx", dir / "out").starts_with("cut.docx: damaged package:"));
    WriteFile(dir / "old.doc", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\0'));
    EXPECT_TRUE(Refusal(dir / "old.doc", dir / "out")
                    .starts_with("old.doc: not converted: an OLE compound file"));
    WritePackage(dir / "plain.zip", {{"notes.txt", "hello"}});
    EXPECT_EQ(RecogniseDocument(dir / "plain.zip", "zip"), DocumentKind::Text)
        << "other zip files are text, as before";
    WriteFile(dir / "letter.docx", "PK but only text");
    EXPECT_EQ(RecogniseDocument(dir / "letter.docx", "t"), DocumentKind::Text) << "never by the name";
}

}  // namespace
}  // namespace varnex::test
