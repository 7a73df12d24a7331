#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Failure.h"
#include "TestDatabase.h"
#include "map/FontLoaders.h"

namespace varnex {
namespace {

using test::MakeTable;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string FailureOf(const FontTable& table, const std::string& source, const std::string& target) {
    FontMap map;
    try {
        BuildFontMap(table, source, target, map);
    } catch (const Failure& failure) {
        return failure.Description();
    }
    return "(no failure)";
}

TEST(LoadFontList, GivesTheColumnsInTableOrder) {
    test::TempDir dir;
    const auto path = test::WriteFontMap(dir, MakeTable({"C", "A", "B"}, {{"1", "2", "3"}}));
    EXPECT_THAT(LoadFontList(path), ElementsAre("C", "A", "B"));
}

TEST(LoadFontList, TableWithoutRowsFails) {
    test::TempDir dir;
    const auto path = test::WriteFontMap(dir, MakeTable({"A", "B"}, {}));
    EXPECT_THROW(LoadFontList(path), Failure);
}

TEST(BuildFontMap, FollowsTheRowRules) {
    const FontTable table = MakeTable({"A", "B"}, {
                                                      {"65", "100,201"},  // several target codes
                                                      {"66,67", "1"},     // several source codes: skipped
                                                      {"68", "1"},
                                                      {"68", "2"},  // a later row wins
                                                      {"\\N", "5"},
                                                      {"", "5"},
                                                      {"69", "\\N"},  // null target: skipped silently
                                                      {"70", "0"},
                                                      {" 71 ", "9"},
                                                  });
    FontMap map;
    map.Set(69, "left over");
    map.Set(99, "left over");
    BuildFontMap(table, "A", "B", map);
    EXPECT_EQ(map.Entry(65), std::string("\x64\xC9"));
    EXPECT_EQ(map.Entry(66), "");
    EXPECT_EQ(map.Entry(67), "");
    EXPECT_EQ(map.Entry(68), "\x02");
    EXPECT_EQ(map.Entry(69), "") << "an entry of an earlier pair must not survive";
    EXPECT_EQ(map.Entry(99), "");
    EXPECT_EQ(map.Entry(70), std::string(1, '\0'));
    EXPECT_EQ(map.Entry(71), "\x09");
}

TEST(BuildFontMap, BadSourceCellsFailWithTheCellAndFont) {
    for (const char* cell : {"0", "256", "abc", "-5", " ", "6 5"}) {
        const auto description = FailureOf(MakeTable({"A", "B"}, {{"65", "1"}, {cell, "1"}}), "A", "B");
        EXPECT_THAT(description, HasSubstr(std::string("\"") + cell + "\"")) << cell;
        EXPECT_THAT(description, HasSubstr("\"A\""));
        EXPECT_THAT(description, HasSubstr("Row 2"));
    }
}

TEST(BuildFontMap, BadTargetCellsFail) {
    for (const char* cell : {"", "1,,2", "300", "x"}) {
        const auto description = FailureOf(MakeTable({"A", "B"}, {{"65", cell}}), "A", "B");
        EXPECT_THAT(description, HasSubstr("\"B\"")) << cell;
    }
    std::string longList = "1";
    for (int i = 0; i < 255; ++i) longList += ",1";
    EXPECT_THAT(FailureOf(MakeTable({"A", "B"}, {{"65", longList}}), "A", "B"), HasSubstr("more than 255"));
}

TEST(BuildFontMap, TargetIsDecodedBeforeTheSourceIsRead) {
    const auto description = FailureOf(MakeTable({"A", "B"}, {{"999", "x"}}), "A", "B");
    EXPECT_THAT(description, HasSubstr("\"x\""));
}

TEST(BuildFontMap, FontNamesMustBeColumns) {
    const FontTable table = MakeTable({"Alpha", "Beta"}, {{"65", "66"}});
    EXPECT_THAT(FailureOf(table, "Gamma", "Beta"), HasSubstr("\"Gamma\" is not in the font map"));
    EXPECT_THAT(FailureOf(table, "Alpha", ""), HasSubstr("no font chosen"));
    FontMap map;
    BuildFontMap(table, "ALPHA", "beta", map);  // names match as the database matches them
    EXPECT_EQ(map.Entry(65), "B");
}

TEST(BuildFontMap, ExactNameWinsOverOneInOtherCase) {
    const FontTable table = MakeTable({"abc", "ABC", "T"}, {{"1", "2", "3"}});
    FontMap map;
    BuildFontMap(table, "ABC", "T", map);
    EXPECT_EQ(map.Entry(2), "\x03");
    EXPECT_EQ(map.Entry(1), "");
}

TEST(BuildFontMap, ANullTargetKeepsWhatAnEarlierRowSet) {
    const FontTable table = MakeTable({"A", "B"}, {{"65", "100"}, {"65", "\\N"}, {"66", "\\N"}, {"66", "7"}});
    FontMap map;
    BuildFontMap(table, "A", "B", map);
    EXPECT_EQ(map.Entry(65), "d") << "the null target of the later row changes nothing";
    EXPECT_EQ(map.Entry(66), "\x07");
}

TEST(BuildFontMap, LongSourceNumbersAreReadWhole) {
    const FontTable table =
        MakeTable({"A", "B"}, {{"0000000065", "66"}, {" 00000000000000000000067 ", "68"}});
    FontMap map;
    BuildFontMap(table, "A", "B", map);
    EXPECT_EQ(map.Entry(65), "B");
    EXPECT_EQ(map.Entry(67), "D");
    for (const char* cell : {"0000000000", "0000000256", "99999999999999999999999999"}) {
        EXPECT_THAT(FailureOf(MakeTable({"A", "B"}, {{cell, "1"}}), "A", "B"),
                    HasSubstr("not a code from 1 to 255"))
            << cell;
    }
}

TEST(LoadFontMap, ATableWithoutRowsFailsAndLeavesTheMap) {
    test::TempDir dir;
    const auto path = test::WriteFontMap(dir, MakeTable({"A", "B"}, {}));
    FontMap map;
    map.Set(65, "x");
    EXPECT_THROW(LoadFontMap(path, "A", "B", map), Failure);
    EXPECT_EQ(map.Entry(65), "x");
}

TEST(LoadFontMap, ReadsTheDatabase) {
    test::TempDir dir;
    const auto path = test::WriteFontMap(dir, MakeTable({"A", "B"}, {{"65", "66,67"}, {"10", "10"}}));
    FontMap map;
    LoadFontMap(path, "A", "B", map);
    EXPECT_EQ(map.Entry(65), "BC");
    EXPECT_EQ(map.Entry(10), "\n");
}

}  // namespace
}  // namespace varnex
