// What a file that is no text looks like, from its head and, for an OLE file, its streams.
#include <gtest/gtest.h>

#include "Failure.h"
#include "TestDatabase.h"
#include "documents/FileLooks.h"

namespace varnex::test {
namespace {

std::string CompoundFile(const std::vector<std::string>& streams, std::size_t sector = 512) {
    std::string file = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(sector - 8, '\0');
    for (const std::string& stream : streams) {
        std::string entry(128, '\0');
        for (std::size_t i = 0; i < stream.size(); ++i) entry[2 * i] = stream[i];
        entry[64] = static_cast<char>((stream.size() + 1) * 2);
        file += entry;
    }
    return file;
}

TEST(FileLooks, TextIsNothingAndTheRestIsNamed) {
    EXPECT_EQ(LooksLike("Hello, world\n\xD0\x9F\xD1\x80\xD0\xB8"), "");
    EXPECT_EQ(LooksLike("<?xml version=\"1.0\"?><note>an XML text</note>"), "");
    EXPECT_EQ(LooksLike("{ \"json\": true }"), "") << "a brace alone is no RTF";
    EXPECT_EQ(LooksLike("{\\rtf1\\ansi x}"), "an RTF document");
    EXPECT_EQ(LooksLike("%PDF-1.7"), "a PDF document");
    EXPECT_EQ(LooksLike("\xFF\xD8\xFF\xE0"), "an image (JPEG)");
    EXPECT_EQ(LooksLike(std::string("text\0more", 9)), "a binary file (it holds NUL bytes)");
    EXPECT_EQ(LooksLike("\n<?xml version=\"1.0\"?><office:document xmlns:office="
                        "\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\">"),
              "a flat OpenDocument file (one XML file)");
}

TEST(FileLooks, CompoundFilesSayWhatTheyHold) {
    TempDir dir;
    const auto holds = [&](const std::string& bytes) {
        WriteFile(dir / "f", bytes);
        return CompoundFileHolds(dir / "f", "f");
    };
    EXPECT_EQ(holds(CompoundFile({"Root Entry", "1Table", "WordDocument"})),
              "a Word 97\u20132003 document; convert it to DOCX or ODT first");
    EXPECT_EQ(holds(CompoundFile({"Root Entry", "Workbook"}, 4096)), "an Excel 97\u20132003 workbook")
        << "sectors of 4096 bytes";
    EXPECT_EQ(holds(CompoundFile({"EncryptedPackage", "WordDocument"})),
              "a Word 97\u20132003 document; convert it to DOCX or ODT first");
    EXPECT_EQ(holds(CompoundFile({"WordDocumentX"})),
              "an OLE compound file (an Office 97\u20132003 file or the like)");
    std::string shifted = CompoundFile({"WordDocument"});
    shifted.insert(520, 4, '\0');  // the name off the 128-byte grid: no directory entry
    EXPECT_EQ(holds(shifted), "an OLE compound file (an Office 97\u20132003 file or the like)");
    EXPECT_THROW(CompoundFileHolds(dir / "missing", "missing"), Failure);
}

}  // namespace
}  // namespace varnex::test
