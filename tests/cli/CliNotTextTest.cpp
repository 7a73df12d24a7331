// Files named on the command line that are neither text nor a document: refused with what they
// look like and nothing written, unless --as-text asks for their bytes to convert.
#include <gtest/gtest.h>

#include "CliSupport.h"
#include "Packages.h"

namespace varnex::test {
namespace {

// An OLE compound file whose one directory entry names `stream`, as Word 97-2003 writes one.
std::string CompoundFile(const std::string& stream) {
    std::string file = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0');
    std::string entry(128, '\0');
    for (std::size_t i = 0; i < stream.size(); ++i) entry[2 * i] = stream[i];
    entry[64] = static_cast<char>((stream.size() + 1) * 2);
    return file + entry + std::string(384, '\0');
}

struct NotText {
    const char* name;
    std::string bytes;
    const char* looks;  // what the message says it is
};

std::vector<NotText> NotTextFiles(const std::filesystem::path& dir) {
    WritePackage(dir / "notes.zip", {{"a.txt", "x"}});
    WritePackage(dir / "sheet.ods", {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}}, true);
    return {
        {"scan.pdf", "%PDF-1.4\n%\xE2\xE3\n1 0 obj", "not plain text: a PDF document; --as-text converts it"},
        {"photo.png", "\x89PNG\r\n\x1A\nIHDR", "not plain text: an image (PNG)"},
        {"data.bin", std::string("ab\0cd", 5), "not plain text: a binary file (it holds NUL bytes)"},
        {"letter.rtf", "{\\rtf1\\ansi hello}", "not plain text: an RTF document"},
        {"piece.rtf", "{\\pard \\ql hello\\par}", "not plain text: an RTF document"},
        {"flat.fodt",
         "<?xml version=\"1.0\"?>\n<office:document "
         "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
         "office:mimetype=\"application/vnd.oasis.opendocument.text\"/>",
         "not plain text: a flat OpenDocument file"},
        {"old.doc", CompoundFile("WordDocument"),
         "not converted: a Word 97\u20132003 document; convert it to DOCX or ODT first"},
        {"old.xls", CompoundFile("Workbook"), "not converted: an Excel 97\u20132003 workbook"},
        {"locked.docx", CompoundFile("EncryptedPackage"),
         "not converted: a password-protected Office document"},
        {"notes.zip", ReadFile(dir / "notes.zip"), "not plain text: a zip archive that is no word document"},
        {"sheet.ods", ReadFile(dir / "sheet.ods"),
         "not a word document: an OpenDocument package of the type"},
    };
}

TEST(CliNotText, NamedFilesThatAreNoTextFailAndNothingIsWritten) {
    TempDir dir;
    for (const NotText& file : NotTextFiles(dir.Path())) {
        const std::filesystem::path folder = dir / (std::string(file.name) + ".d");
        std::filesystem::create_directory(folder);
        WriteFile(folder / file.name, file.bytes);
        const std::string path = (folder / file.name).string();
        for (const std::vector<std::string>& output :
             {std::vector<std::string>{"-o", (folder / "out").string()}, {"--beside"}, {}}) {
            std::vector<std::string> args = {"-f", "KOI8-R", "-t", "CP866", path};
            args.insert(args.end(), output.begin(), output.end());
            const RunResult result = Varnex(args);
            EXPECT_EQ(result.exitCode, 1) << file.name;
            EXPECT_NE(result.err.find("varnex: " + path + ": " + file.looks), std::string::npos)
                << result.err;
            EXPECT_EQ(result.out, "") << file.name;
        }
        EXPECT_EQ(FilesIn(folder), std::vector<std::string>{file.name});
    }
}

TEST(CliNotText, AsTextConvertsThemByteByByte) {
    TempDir dir;
    WriteFile(dir / "letter.rtf", "{\\rtf1 \xF0\xD2\xC9\xD7\xC5\xD4}");
    WriteFile(dir / "note.txt", "\xF0");
    const RunResult refused = Varnex({"-f", "KOI8-R", "-t", "Windows-1251", (dir / "note.txt").string(),
                                      (dir / "letter.rtf").string(), "-o", (dir / "both.txt").string()});
    EXPECT_EQ(refused.exitCode, 1) << "one file refused: the one output is not written";
    EXPECT_FALSE(std::filesystem::exists(dir / "both.txt"));
    const RunResult converted = Varnex({"-f", "KOI8-R", "-t", "Windows-1251", "--as-text",
                                        (dir / "letter.rtf").string(), "-o", (dir / "out.rtf").string()});
    ASSERT_EQ(converted.exitCode, 0) << converted.err;
    EXPECT_EQ(ReadFile(dir / "out.rtf"), "{\\rtf1 \xCF\xF0\xE8\xE2\xE5\xF2}");
}

TEST(CliNotText, FoldersLeaveThemOutQuietly) {
    TempDir dir;
    std::filesystem::create_directory(dir / "in");
    WriteFile(dir / "in" / "letter.rtf", "{\\rtf1 x}");
    WriteFile(dir / "in" / "note.txt", "\xF0");
    const RunResult result = Varnex({"-f", "KOI8-R", "-t", "CP866", "-r", (dir / "in").string()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "\x8F");
}

}  // namespace
}  // namespace varnex::test
