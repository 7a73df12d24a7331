#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "Failure.h"
#include "convert/FontMap.h"
#include "map/FontLoaders.h"
#include "maptools/MapCheck.h"

namespace varnex::map {
namespace {

struct TableFault {
    const char* what;
    FontTable table;
    FindingKind kind;
    const char* message;
};

TEST(MapCheck, TablesTheFontListOrAChoiceOfFontCannotUseAreErrors) {
    const std::vector<TableFault> cases = {
        {"no rows", {{"A", "B"}, {}}, FindingKind::EmptyTable, "has no rows"},
        {"no columns", {{}, {{}}}, FindingKind::EmptyTable, "has no columns"},
        {"ragged row",
         {{"A", "B"}, {{"1", "2"}, {"1"}}},
         FindingKind::RaggedRow,
         "the row has 1 cells for 2 columns"},
        {"unnamed column", {{"A", ""}, {{"1", "2"}}}, FindingKind::UnnamedColumn, "can never be chosen"},
        {"name twice",
         {{"Ab", "B", "ab", "Ab"}, {{"1", "2", "3", "4"}}},
         FindingKind::ShadowedColumn,
         "the name is also that of column 1"},
    };
    for (const auto& fault : cases) {
        const CheckReport report = CheckFontTable(fault.table);
        ASSERT_EQ(report.errors, 1u) << fault.what;
        const auto& finding = report.findings.front();
        EXPECT_EQ(finding.kind, fault.kind) << fault.what;
        EXPECT_NE(finding.message.find(fault.message), std::string::npos)
            << fault.what << ": " << finding.message;
    }
}

// A cell drawn from what a map may hold, faults included.
FontTable::Cell RandomCell(std::mt19937& random) {
    static const std::vector<FontTable::Cell> cells = {std::nullopt, "",      "0",   "1",     "65",
                                                       "255",        "256",   " 7 ", "x",     "1,2",
                                                       "1,,2",       "300,1", ",",   "65,66", "-1"};
    return cells[random() % cells.size()];
}

TEST(MapCheck, ItsVerdictOnEveryPairIsTheLoadsOwn) {
    std::mt19937 random(17);
    for (int round = 0; round < 300; ++round) {
        FontTable table{{"A", "B", "C"}, {}};
        const int rows = 1 + static_cast<int>(random() % 6);
        for (int r = 0; r < rows; ++r)
            table.rows.push_back({RandomCell(random), RandomCell(random), RandomCell(random)});
        const CheckReport report = CheckFontTable(table);
        ASSERT_EQ(report.pairs.size(), 6u);
        for (const auto& pair : report.pairs) {
            FontMap map;
            bool fails = false;
            try {
                BuildFontMap(table, table.columns[pair.source], table.columns[pair.target], map);
            } catch (const Failure&) {
                fails = true;
            }
            ASSERT_EQ(pair.fails, fails) << "round " << round << " pair " << pair.source << pair.target;
            for (int code : pair.droppedCodes) EXPECT_TRUE(map.Entry(code).empty()) << round;
        }
    }
}

}  // namespace
}  // namespace varnex::map
