#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "Failure.h"
#include "JetMutations.h"
#include "JetWriter.h"
#include "TestDatabase.h"
#include "files/ExclusiveFile.h"
#include "map/FontLoaders.h"
#include "map/FontTable.h"
#include "map/FontTableTsv.h"
#include "map/JetFontTable.h"

namespace varnex {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

const fs::path kFixtures = VARNEX_JET_FIXTURES;

FontTable ReadWithin(const fs::path& path, std::chrono::milliseconds limit) {
    ExclusiveFile file(path);
    return ReadJetFontTable(file.Descriptor(), path, limit);
}

std::string Describe(const FontTable& table) {
    std::string text;
    for (const auto& column : table.columns) text += column + "|";
    text += "\n";
    for (const auto& row : table.rows) {
        for (const auto& cell : row) text += (cell ? "'" + *cell + "'" : "NULL") + "|";
        text += "\n";
    }
    return text;
}

TEST(JetFontTable, GoodFilesReadAsTheirExpectedContent) {
    for (const char* name : {"small", "big", "big_nocomp", "memo"}) {
        const fs::path file = kFixtures / "good" / (std::string(name) + ".mdb");
        const fs::path expected =
            kFixtures / "good" / (std::string(name == std::string("big_nocomp") ? "big" : name) + ".tsv");
        const FontTable table = ReadFontTable(file);
        const FontTable want = ReadFontTableTsv(expected);
        EXPECT_EQ(table.columns, want.columns) << name;
        EXPECT_TRUE(table.rows == want.rows) << name << ":\n" << Describe(table).substr(0, 2000);
    }
}

TEST(JetFontTable, NullIsToldApartFromEmptyTextAndMemosComeWhole) {
    const FontTable small = ReadFontTable(kFixtures / "good" / "small.mdb");
    ASSERT_GE(small.rows.size(), 2u);
    EXPECT_EQ(small.rows[0][2], std::nullopt);
    EXPECT_EQ(small.rows[1][1], std::optional<std::string>(""));
    std::size_t longest = 0;
    for (const auto& row : ReadFontTable(kFixtures / "good" / "memo.mdb").rows)
        for (const auto& cell : row) longest = std::max(longest, cell ? cell->size() : 0);
    EXPECT_GT(longest, 16384u) << "longer than libmdb's default bind size";
}

TEST(JetFontTable, TheTableNameIsFoundInAnyLetterCase) {
    TempDir dir;
    std::string bytes = ReadFile(kFixtures / "good" / "small.mdb");
    const std::size_t at = bytes.find("font_info");
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, 9, "FONT_Info");
    WriteFile(dir.Path() / "mskvmap16.dll", bytes);
    EXPECT_EQ(ReadFontTable(dir.Path() / "mskvmap16.dll").columns.size(), 4u);
}

TEST(JetFontTable, BadFilesFailCleanly) {
    for (const auto& entry : fs::directory_iterator(kFixtures / "bad")) {
        const auto start = std::chrono::steady_clock::now();
        try {
            ReadFontTable(entry.path());
            ADD_FAILURE() << entry.path().filename() << " was read";
        } catch (const Failure& failure) {
            EXPECT_NE(failure.Description().find(entry.path().filename().string()), std::string::npos)
                << failure.Description();
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30)) << entry.path();
    }
}

TEST(JetFontTable, AMissingReaderIsAClearFailure) {
    ExclusiveFile file(kFixtures / "good" / "small.mdb");
    try {
        ReadJetFontTable(file.Descriptor(), "small.mdb", std::chrono::milliseconds(1000), "/no/such/reader");
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_NE(failure.Description().find("/no/such/reader"), std::string::npos);
    }
}

std::string Template() { return ReadFile(kFixtures / "good" / "small.mdb"); }

TEST(JetFontTable, TheShippedMapAsAJetFileGivesTheSameMapForEveryPair) {
    TempDir dir;
    const FontTable shipped = ReadFontTable(VARNEX_SHIPPED_FONT_MAP);
    const fs::path jet = dir.Path() / "mskvmap16.dll";
    WriteFile(jet, test::WriteJetFontMap(shipped, Template()));
    const auto start = std::chrono::steady_clock::now();
    const FontTable read = ReadFontTable(jet);
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(read.columns, shipped.columns);
    ASSERT_TRUE(read.rows == shipped.rows);
    for (const auto& source : shipped.columns) {
        for (const auto& target : shipped.columns) {
            FontMap fromSqlite, fromJet;
            LoadFontMap(VARNEX_SHIPPED_FONT_MAP, source, target, fromSqlite);
            LoadFontMap(jet, source, target, fromJet);
            for (int code = 1; code < 256; ++code) {
                ASSERT_EQ(fromJet.Entry(code), fromSqlite.Entry(code))
                    << source << " -> " << target << " " << code;
            }
        }
    }
    RecordProperty("load_ms", std::to_string(std::chrono::duration<double, std::milli>(took).count()));
}

TEST(JetFontTable, WideAndLongTables) {
    TempDir dir;
    const fs::path jet = dir.Path() / "mskvmap16.dll";
    FontTable wide;
    for (int c = 0; c < 255; ++c) wide.columns.push_back("Font " + std::to_string(c));
    for (int r = 0; r < 3; ++r) {
        auto& row = wide.rows.emplace_back();
        for (int c = 0; c < 255; ++c)
            row.push_back(c % 7 == 0 ? std::nullopt : std::optional(std::to_string(c + r)));
    }
    WriteFile(jet, test::WriteJetFontMap(wide, Template()));
    const FontTable wideRead = ReadFontTable(jet);
    EXPECT_EQ(wideRead.columns, wide.columns);
    EXPECT_TRUE(wideRead.rows == wide.rows);

    FontTable longTable;
    longTable.columns = {"A", "b"};
    for (int r = 0; r < 20000; ++r) longTable.rows.push_back({std::to_string(r % 255 + 1), std::nullopt});
    WriteFile(jet, test::WriteJetFontMap(longTable, Template()));
    const FontTable longRead = ReadFontTable(jet);
    EXPECT_EQ(longRead.rows.size(), 20000u);
    EXPECT_TRUE(longRead.rows == longTable.rows);
}

TEST(JetFontTable, ColumnNamesInAnotherLetterCaseStillLoad) {
    TempDir dir;
    FontTable table;
    table.columns = {"koi8-r", "WINDOWS-1251"};
    table.rows = {{"193", "224"}, {"194", "225,226"}};
    const fs::path jet = dir.Path() / "mskvmap16.dll";
    WriteFile(jet, test::WriteJetFontMap(table, Template()));
    FontMap map;
    LoadFontMap(jet, "KOI8-R", "Windows-1251", map);
    EXPECT_EQ(map.Entry(193), "\xE0");
    EXPECT_EQ(map.Entry(194), "\xE1\xE2");
}

// Damaged copies of the good files: each is read or fails with a Failure, within the time
// limit; a crash or a hang of the reader never reaches this process.
class JetMutationTest : public ::testing::TestWithParam<int> {};

TEST_P(JetMutationTest, NeverCrashesNorHangs) {
    TempDir dir;
    const fs::path damaged = dir.Path() / "mskvmap16.dll";
    const std::string sources[] = {ReadFile(kFixtures / "good" / "small.mdb"),
                                   ReadFile(kFixtures / "good" / "memo.mdb"),
                                   ReadFile(kFixtures / "good" / "big.mdb")};
    int read = 0, failed = 0;
    for (int i = 0; i < 250; ++i) {
        const auto seed = static_cast<std::uint32_t>(GetParam() * 1000 + i);
        WriteFile(damaged, test::MutateJet(sources[seed % 3], seed));
        try {
            ReadWithin(damaged, std::chrono::milliseconds(2000));
            ++read;
        } catch (const Failure&) {
            ++failed;
        }
    }
    EXPECT_EQ(read + failed, 250);
    RecordProperty("read", read);
    RecordProperty("failed", failed);
}

INSTANTIATE_TEST_SUITE_P(Seeds, JetMutationTest, ::testing::Range(0, 8));

}  // namespace
}  // namespace varnex
