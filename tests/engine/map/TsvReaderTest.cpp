#include <gtest/gtest.h>

#include "Failure.h"
#include "map/FontTableTsv.h"

namespace varnex {
namespace {

struct BadText {
    const char* what;
    std::string text;
    const char* message;  // a part of the description that places and names the fault
};

std::string Describe(const std::string& text) {
    try {
        ParseFontTableTsv(text);
    } catch (const Failure& failure) {
        return failure.Description();
    }
    return "(read without a fault)";
}

TEST(TsvReader, EachDamageIsReportedWithItsLineAndColumn) {
    const std::string header = "#character\tA\tB\n";
    const std::vector<BadText> cases = {
        {"empty file", "", "line 1: the file is empty"},
        {"byte order mark", "\xEF\xBB\xBF" + header, "line 1: the file starts with a byte order mark"},
        {"CRLF line ends", header + "x\t1\t2\r\n", "line 2: the line ends with a carriage return (CRLF"},
        {"carriage return inside", header + "x\t1\r\t2\n",
         "line 2: a carriage return inside the line, at byte 4"},
        {"NUL byte", header + "x\t1\t2\nx\t1\t" + std::string(1, '\0') + "\n",
         "line 3: a NUL byte at byte 5"},
        {"invalid UTF-8 in a cell", header + "x\t1\t\xC3(\n",
         "line 2: column 3 (\"B\"): invalid UTF-8 at byte 1"},
        {"invalid UTF-8 in the note column", header + "\xFF\t1\t2\n", "line 2: column 1: invalid UTF-8"},
        {"surrogate in a name", "#character\t\xED\xA0\x80\n", "line 1: column 2: invalid UTF-8"},
        {"ragged row, too few", header + "x\t1\t2\n\nx\t1\n", "line 4: the line has 2 cells for 3 columns"},
        {"ragged row, too many", header + "x\t1\t2\t3\n", "line 2: the line has 4 cells for 3 columns"},
        {"a million columns in a row", header + "x" + std::string(1000000, '\t') + "\n",
         "line 2: the line has 1000001 cells for 3 columns"},
        {"a million columns in the header", "#character" + std::string(1000000, '\t') + "\n",
         "line 1: names 1000000 fonts, more than the 255"},
    };
    for (const auto& bad : cases) {
        const std::string description = Describe(bad.text);
        EXPECT_NE(description.find(bad.message), std::string::npos) << bad.what << ": " << description;
        EXPECT_LT(description.size(), 200u) << bad.what;
    }
}

TEST(TsvReader, ReadsNullsEmptyTextNotesAndKeepsEachRowsLine) {
    const auto read = ParseFontTableTsvWithLines("#character\tA\tB\nfirst\t\\N\t\n\nthird\t65\t100,201");
    EXPECT_EQ(read.table.columns, (std::vector<std::string>{"A", "B"}));
    ASSERT_EQ(read.table.rows.size(), 2u);
    EXPECT_EQ(read.table.rows[0][0], std::nullopt);
    EXPECT_EQ(read.table.rows[0][1], std::optional<std::string>(""));
    EXPECT_EQ(read.table.rows[1][1], std::optional<std::string>("100,201"));
    EXPECT_EQ(read.rowLines, (std::vector<std::size_t>{2, 4}));
}

TEST(TsvReader, WithoutANoteColumnEveryColumnIsAFont) {
    const auto table = ParseFontTableTsv("A\tB\n1\t2\n");
    EXPECT_EQ(table.columns, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(table.rows.at(0).at(0), std::optional<std::string>("1"));
}

TEST(TsvReader, AFileThatCannotBeOpenedIsNamed) {
    try {
        ReadFontTableTsv("/nonexistent/fonts.tsv");
        FAIL() << "read a missing file";
    } catch (const Failure& failure) {
        EXPECT_NE(failure.Description().find("\"/nonexistent/fonts.tsv\""), std::string::npos);
    }
}

}  // namespace
}  // namespace varnex
