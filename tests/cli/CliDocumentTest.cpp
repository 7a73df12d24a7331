// Documents through the real varnex: where they may go, --report, --strict and the font options.
#include <gtest/gtest.h>

#include "CliSupport.h"
#include "Packages.h"

namespace varnex::test {
namespace {

const std::string kLegacyRun = R"(<w:p><w:r><w:rPr><w:rFonts w:ascii="Kiril" w:hAnsi="Kiril"/></w:rPr><w:t>)";

void WriteLetter(const std::filesystem::path& path, const std::string& extra = "") {
    WritePackage(path,
                 Docx(kLegacyRun + AsStored("\xF0\xD2\xC9\xD7\xC5\xD4") + extra + "</w:t></w:r></w:p>"));
}

TEST(CliDocuments, ConvertIntoAFileOrBesideKeepingTheExtension) {
    TempDir dir;
    WriteLetter(dir / "letter.docx", "\xE2\x84\x96");  // and №, which has no code
    const RunResult result =
        Varnex({"-f", "koi8r", "-t", "Windows-1251", "--doc-font", "Kiril", "--target-doc-font", "Times 1251",
                "--report", (dir / "letter.docx").string(), "-o", (dir / "out.docx").string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "varnex: " + (dir / "letter.docx").string() +
                              ": 6 characters converted; 1 character without a code kept: U+2116 (1x)\n");
    const std::string xml = PartOf(dir / "out.docx", "word/document.xml");
    EXPECT_NE(xml.find(R"(<w:rFonts w:ascii="Times 1251" w:hAnsi="Times 1251"/>)"), std::string::npos) << xml;
    EXPECT_NE(xml.find(AsStored("\xCF\xF0\xE8\xE2\xE5\xF2") + "\xE2\x84\x96"), std::string::npos) << xml;

    const RunResult beside = Varnex(
        {"-f", "KOI8-R", "-t", "CP866", "--doc-font", "Kiril", "--beside", (dir / "letter.docx").string()});
    ASSERT_EQ(beside.exitCode, 0) << beside.err;
    EXPECT_EQ(FilesIn(dir.Path()),
              (std::vector<std::string>{"letter.docx", "letter_CP866.docx", "out.docx"}));
}

TEST(CliDocuments, TemplatesAndMacroDocumentsKeepTheirExtensionBeside) {
    TempDir dir;
    for (const char* name : {"form.dotx", "tools.docm", "tools.dotm"}) WriteLetter(dir / name);
    Entries odt = Odt("", "<text:p>x</text:p>");
    odt[0].second = "application/vnd.oasis.opendocument.text-template";
    WritePackage(dir / "memo.ott", odt, true);
    std::vector<std::string> args = {"-f", "KOI8-R", "-t", "CP866", "--doc-font", "Kiril", "--beside"};
    for (const char* name : {"form.dotx", "tools.docm", "tools.dotm", "memo.ott"})
        args.push_back((dir / name).string());
    const RunResult beside = Varnex(args);
    ASSERT_EQ(beside.exitCode, 0) << beside.err;
    EXPECT_EQ(FilesIn(dir.Path()),
              (std::vector<std::string>{"form.dotx", "form_CP866.dotx", "memo.ott", "memo_CP866.ott",
                                        "tools.docm", "tools.dotm", "tools_CP866.docm", "tools_CP866.dotm"}));
    EXPECT_NE(
        PartOf(dir / "tools_CP866.dotm", "word/document.xml").find(AsStored("\x8F\xE0\xA8\xA2\xA5\xE2")),
        std::string::npos);
}

TEST(CliDocuments, GoOnlyIntoAFileOfTheirOwn) {
    TempDir dir;
    WriteLetter(dir / "letter.docx");
    WriteFile(dir / "note.txt", "x");
    const std::string letter = (dir / "letter.docx").string();
    const std::vector<std::vector<std::string>> refused = {
        {letter},
        {letter, "-o", "/dev/null"},
        {letter, (dir / "note.txt").string(), "-o", (dir / "both").string()},
    };
    for (auto args : refused) {
        args.insert(args.begin(), {"-f", "KOI8-R", "-t", "CP866"});
        const RunResult result = Varnex(args);
        EXPECT_EQ(result.exitCode, 2) << args.back();
        EXPECT_NE(result.err.find("a document is converted"), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"letter.docx", "note.txt"}));

    RunSetup redirected;
    redirected.standardInput = dir / "letter.docx";
    const RunResult toOutput = Varnex({"-f", "KOI8-R", "-t", "CP866"}, redirected);
    EXPECT_EQ(toOutput.exitCode, 2) << "a document on standard input is no text either";
    EXPECT_EQ(toOutput.err,
              "varnex: standard input: a document is converted into a file: give -o FILE or --beside\n");
    const RunResult intoFile =
        Varnex({"-f", "KOI8-R", "-t", "CP866", "--doc-font", "Kiril", "-o", (dir / "out.docx").string()},
               redirected);
    ASSERT_EQ(intoFile.exitCode, 0) << intoFile.err;
    const std::string xml = PartOf(dir / "out.docx", "word/document.xml");
    EXPECT_NE(xml.find(R"(w:ascii="CP866")"), std::string::npos) << xml;
    EXPECT_NE(xml.find(AsStored("\x8F\xE0\xA8\xA2\xA5\xE2")), std::string::npos) << xml;
}

TEST(CliDocuments, StrictnessAndDamageEndWithoutAFile) {
    TempDir dir;
    WriteLetter(dir / "letter.docx", "\xE2\x84\x96");
    const RunResult strict = Varnex({"-f", "KOI8-R", "-t", "CP866", "--doc-font", "Kiril", "--strict",
                                     (dir / "letter.docx").string(), "-o", (dir / "out.docx").string()});
    EXPECT_EQ(strict.exitCode, 1);
    EXPECT_EQ(strict.err,
              "varnex: " + (dir / "letter.docx").string() +
                  ": word/document.xml, paragraph 1, character 7: the character U+2116 of source-font "
                  "text has no code\n");
    const std::string whole = ReadFile(dir / "letter.docx");
    WriteFile(dir / "cut.docx", whole.substr(0, whole.size() - 30));
    const RunResult cut = Varnex({"-f", "KOI8-R", "-t", "CP866", "--beside", (dir / "cut.docx").string()});
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_EQ(cut.err.rfind("varnex: " + (dir / "cut.docx").string() + ": damaged package: ", 0), 0u)
        << cut.err;
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"cut.docx", "letter.docx"}));
}

TEST(CliDocuments, ASymbolBecomesItsCharacterInUnicode) {
    TempDir dir;
    WritePackage(dir / "sign.docx",
                 Docx(R"(<w:p><w:r><w:rPr><w:rFonts w:ascii="Kiril" w:hAnsi="Kiril"/></w:rPr>)"
                      R"(<w:sym w:font="Kiril" w:char="F0F0"/></w:r>)"
                      R"(<w:del><w:r><w:sym w:font="Kiril" w:char="F0F0"/></w:r></w:del></w:p>)"));
    const RunResult result = Varnex({"-f", "KOI8-R", "-t", "UTF-8", "--doc-font", "Kiril",
                                     (dir / "sign.docx").string(), "-o", (dir / "out.docx").string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string xml = PartOf(dir / "out.docx", "word/document.xml");
    EXPECT_NE(xml.find(R"(<w:rFonts w:ascii="UTF-8" w:hAnsi="UTF-8"/></w:rPr><w:t xml:space="preserve">)"
                       "\xD0\x9F</w:t></w:r>"),
              std::string::npos)
        << "the run that now holds the character is renamed: " << xml;
    EXPECT_NE(xml.find("<w:del><w:r><w:delText xml:space=\"preserve\">\xD0\x9F</w:delText></w:r></w:del>"),
              std::string::npos)
        << xml;
}

}  // namespace
}  // namespace varnex::test
