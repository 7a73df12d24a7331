#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "CheckReportFormat.h"
#include "map/FontTableTsv.h"
#include "maptools/CharacterNames.h"
#include "maptools/MapCheck.h"

namespace varnex::map {
namespace {

std::string Text(const MapFile& map, const CheckReport& report) {
    std::ostringstream out;
    WriteCheckText(map, report, out);
    return out.str();
}

MapFile FromTsv(const std::string& text) {
    auto read = ParseFontTableTsvWithLines(text);
    return MapFile{"t.tsv", std::move(read.table), std::move(read.rowLines), std::move(read.rowNotes)};
}

std::string CodeList(int codes) {
    std::string list = "1";
    for (int i = 1; i < codes; ++i) list += ",1";
    return list;
}

// One fault of each kind the check knows about a cell, a column or a pair.
const std::string kFaults = std::string("#c\tA\tB\tC\tD\n") +
                            "ok\t65\t66\t67\t1,2\n"        // line 2
                            "zero\t0\t10\t\\N\t\\N\n"      // 3: source code 0, read by A -> B
                            "word\tq1\t15\t\\N\t\\N\n"     // 4: not a number, as a source and as a target
                            "empty\t\\N\t11\t\t\\N\n"      // 4: empty text, read by B -> C
                            "piece\t\\N\t12\t1,,2\t\\N\n"  // 5: an empty piece
                            "big\t\\N\t13\t256\t\\N\n"     // 6: over 255, as a target and as a source
                            "again\t65\t20\t68\t\\N\n"     // 7: 65 again in A
                            "list\t70,71\t21\t\\N\t\\N\n"  // 8: a list as a source cell
                            "long\t\\N\t14\t" +
                            CodeList(256) +
                            "\t\\N\n"                        // 9: 256 codes (a 1 every other byte)
                            "unread\txyz\t\\N\t\\N\t\\N\n";  // 10: bad, but alone in its row

const char kExpectedReport[] =
    R"(t.tsv: row 2 (line 3), column 1 "A": error: the source code 0 is out of range (a source code lies from 1 to 255); it ends the load of "A" -> "B"
t.tsv: row 3 (line 4), column 1 "A": error: the target cell "q1" holds a piece that is not a number; it ends the load of "B" -> "A"
t.tsv: row 3 (line 4), column 1 "A": error: the source cell "q1" is not a number; it ends the load of "A" -> "B"
t.tsv: row 4 (line 5), column 3 "C": error: the target cell is empty text (not null); it ends the load of "B" -> "C"
t.tsv: row 5 (line 6), column 3 "C": error: the target cell "1,,2" holds a piece that is not a number; it ends the load of "B" -> "C"
t.tsv: row 6 (line 7), column 3 "C": error: the target cell "256" holds a code over 255; it ends the load of "B" -> "C"
t.tsv: row 6 (line 7), column 3 "C": error: the source code 256 is out of range (a source code lies from 1 to 255); it ends the load of "C" -> "B"
t.tsv: row 9 (line 10), column 3 "C": error: the target cell "1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1," (511 bytes in all) holds 256 codes (255 at most); it ends the load of "B" -> "C"
t.tsv: row 10 (line 11), column 1 "A": note: the source cell "xyz" is not a number; no pair reads it, since no other font has a cell in this row
t.tsv: row 8 (line 9), column 1 "A": note: the cell "70,71" holds several codes: as a source it is never converted as a unit, each code by its own entry
t.tsv: row 7 (line 8), column 1 "A": note: the source code 65 is in rows 1 and 7; for each target the last of them with a cell there wins
t.tsv: row 5 (line 6), column 3 "C": note: the cell "1,,2" holds several codes: as a source it is never converted as a unit, each code by its own entry
t.tsv: row 9 (line 10), column 3 "C": note: the cell "1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1," (511 bytes in all) holds several codes: as a source it is never converted as a unit, each code by its own entry
t.tsv: row 1 (line 2), column 4 "D": note: the cell "1,2" holds several codes: as a source it is never converted as a unit, each code by its own entry
t.tsv: column 4 "D": note: the font has no cell with a single code: as a source it converts nothing
t.tsv: row 7 (line 8): note: "A" -> "C": the source code 65 is in rows 1 and 7; row 7 wins with "68", row 1 would have given "67"
t.tsv: note: "A" -> "C": 2 codes of the source font without an entry, dropped on conversion: 70-71
t.tsv: note: "A" -> "D": 2 codes of the source font without an entry, dropped on conversion: 70-71
t.tsv: note: "B" -> "D": 8 codes of the source font without an entry, dropped on conversion: 10-15, 20-21
t.tsv: note: "C" -> "D": 1 code of the source font without an entry, dropped on conversion: 68
t.tsv: note: "D" -> "A": 2 codes of the source font without an entry, dropped on conversion: 1-2
t.tsv: note: "D" -> "B": 2 codes of the source font without an entry, dropped on conversion: 1-2
t.tsv: note: "D" -> "C": 2 codes of the source font without an entry, dropped on conversion: 1-2
t.tsv: font "A": 1 source code, 3 errors, 6 notes
t.tsv: font "B": 9 source codes, 0 errors, 1 note
t.tsv: font "C": 2 source codes, 5 errors, 3 notes
t.tsv: font "D": 0 source codes, 0 errors, 5 notes
t.tsv: 8 errors, 15 notes: the program would end on this map
)";

const char kExpectedUnicodeReport[] =
    R"(t.tsv: row 5 (line 6), column 2 "UTF-8": error: the source cell "208" is not one UTF-8 character; it ends the load of "UTF-8" -> "K"
t.tsv: row 2 (line 3), column 2 "UTF-8": error: the cell "208,150" is U+0416, but its row's #character is U+0417
t.tsv: row 2 (line 3), column 2 "UTF-8": note: the character U+0416 is in rows 1 and 2; for each target the last of them with a cell there wins
t.tsv: font "K": 4 source codes, 0 errors, 0 notes
t.tsv: font "UTF-8": 3 characters, 2 errors, 1 note
t.tsv: 2 errors, 1 note: the program would end on this map
)";

TEST(MapCheck, AMapWithOneFaultOfEachKindGivesTheExpectedReport) {
    const MapFile map = FromTsv(kFaults);
    EXPECT_EQ(Text(map, CheckFontTable(map.table)), kExpectedReport);
}

TEST(MapCheck, OnePairLimitsTheReportToWhatThatPairReads) {
    const MapFile map = FromTsv(kFaults);
    const CheckReport report = CheckFontTable(map.table, PairChoice{2, 1});  // "C" -> "B"
    ASSERT_EQ(report.errors, 1u);
    EXPECT_EQ(report.fontsInScope, (std::vector<std::size_t>{1, 2}));
    const std::string text = Text(map, report);
    EXPECT_NE(text.find("row 6 (line 7), column 3 \"C\": error: the source code 256 is out of range"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("\"B\" -> \"C\""), std::string::npos) << text;
    EXPECT_EQ(CheckFontTable(map.table, PairChoice{2, 0}).errors, 0u);  // "C" -> "A"
}

// The Unicode font's cells are characters: a cell that is not one, a cell that is not its
// row's character, a character in two rows, and the characters a pair drops.
TEST(MapCheck, TheUnicodeFontIsCheckedByCharacters) {
    MapFile map = FromTsv(
        "#character\tK\tUTF-8\n"
        "U+0416 ZHE\t246\t208,150\n"
        "U+0417 ZE\t247\t208,150\n"  // Ж again, in the row of З
        "U+0041\t65\t65\n"
        "U+00E9\t\\N\t195,169\n"  // no code in K
        "half\t1\t208\n");        // not a whole character
    const auto characters = RowCharacters(map.rowNotes);
    EXPECT_EQ(Text(map, CheckFontTable(map.table, std::nullopt, characters)), kExpectedUnicodeReport);
    map.table.rows.pop_back();
    const CheckReport fine = CheckFontTable(map.table, PairChoice{1, 0});
    EXPECT_EQ(fine.errors, 0u) << "without the #character column nothing says which row is which";
    EXPECT_EQ(fine.pairs.at(0).droppedCodes, (std::vector<int>{0xE9}));
}

}  // namespace
}  // namespace varnex::map
