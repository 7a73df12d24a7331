#include <gtest/gtest.h>

#include <sstream>

#include "Failure.h"
#include "MapCommand.h"
#include "TestDatabase.h"
#include "map/FontLoaders.h"
#include "map/FontTableTsv.h"
#include "maptools/MapDiff.h"

namespace varnex::map {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

int RunMap(const std::vector<std::string>& args, std::string* out = nullptr) {
    std::ostringstream stdoutText;
    std::ostringstream stderrText;
    const int code = cli::RunMapCommand(args, VARNEX_SHIPPED_FONT_MAP, stdoutText, stderrText);
    if (out) *out = stdoutText.str();
    EXPECT_LT(code, 2) << stderrText.str();
    return code;
}

std::string LoadFailure(const FontTable& table, const std::string& source, const std::string& target,
                        FontMap& map) {
    try {
        BuildFontMap(table, source, target, map);
    } catch (const Failure& failure) {
        return failure.Description();
    }
    return {};
}

// Every ordered pair loads to the same entries from both maps, or fails in both.
void ExpectSameFontMaps(const fs::path& a, const fs::path& b) {
    const FontTable before = ReadFontTable(a);
    const FontTable after = ReadFontTable(b);
    ASSERT_EQ(before.columns, after.columns);
    for (const auto& source : before.columns) {
        for (const auto& target : before.columns) {
            FontMap mapA;
            FontMap mapB;
            ASSERT_EQ(LoadFailure(before, source, target, mapA), LoadFailure(after, source, target, mapB));
            for (int code = 1; code < 256; ++code) {
                ASSERT_EQ(mapA.Entry(code), mapB.Entry(code))
                    << a << " " << source << " -> " << target << " " << code;
            }
            std::size_t characters = 0;
            mapA.Characters().ForEach([&](char32_t c, std::string_view codes) {
                ++characters;
                ASSERT_EQ(codes, mapB.CharacterEntry(c))
                    << a << " " << source << " -> " << target << " U+" << static_cast<unsigned>(c);
            });
            mapB.Characters().ForEach([&](char32_t, std::string_view) { --characters; });
            ASSERT_EQ(characters, 0u) << "both maps hold the same characters";
        }
    }
}

TEST(MapRoundTrip, ExportThenBuildLoadsToTheSameFontMaps) {
    const fs::path jet = VARNEX_JET_FIXTURES;
    for (const fs::path& map : {fs::path(VARNEX_SHIPPED_FONT_MAP), jet / "good/small.mdb",
                                jet / "good/big.mdb", jet / "good/big_nocomp.mdb", jet / "good/memo.mdb"}) {
        TempDir dir;
        ASSERT_EQ(RunMap({"export", map.string(), "-o", (dir / "map.tsv").string()}), 0) << map;
        ASSERT_EQ(RunMap({"build", (dir / "map.tsv").string(), "-o", (dir / "mskvmap16.dll").string(),
                          "--allow-errors"}),
                  0)
            << map;
        ExpectSameFontMaps(map, dir / "mskvmap16.dll");
        EXPECT_EQ(ReadFontTable(map).rows, ReadFontTable(dir / "mskvmap16.dll").rows) << map;
    }
}

TEST(MapRoundTrip, TheShippedExportIsTheSourceTableWithItsCharactersNamedByIconv) {
    std::string exported;
    ASSERT_EQ(RunMap({"export"}, &exported), 0);
    const FontTable source = ReadFontTableTsv(VARNEX_SHIPPED_FONT_TSV);
    const FontTable again = ParseFontTableTsv(exported);
    EXPECT_EQ(again.columns, source.columns);
    EXPECT_TRUE(again.rows == source.rows);
    EXPECT_TRUE(exported.starts_with("#character\tKOI8-R\t"));
    // the source's notes read "U+0416 CYRILLIC CAPITAL LETTER ZHE"; iconv gives the code point
    std::istringstream exportedLines(exported);
    std::istringstream sourceLines(test::ReadFile(VARNEX_SHIPPED_FONT_TSV));
    std::string exportedLine;
    std::string sourceLine;
    std::size_t lines = 0;
    while (std::getline(exportedLines, exportedLine) && std::getline(sourceLines, sourceLine)) {
        if (lines++ == 0) continue;
        const std::string name = exportedLine.substr(0, exportedLine.find('\t'));
        EXPECT_EQ(name, sourceLine.substr(0, sourceLine.find_first_of(" \t"))) << "line " << lines;
    }
    EXPECT_EQ(lines, source.rows.size() + 1);
}

// The path of a map of one's own to Unicode: its "#character" column filled in, built with
// --unicode, exported and built again.
TEST(MapRoundTrip, BuildWithUnicodeWritesTheUnicodeFontFromTheCharacterColumn) {
    TempDir dir;
    test::WriteFile(dir / "mine.tsv",
                    "#character\tMine\nU+0416 CYRILLIC CAPITAL LETTER ZHE\t246\n"
                    "U+1F600\t200\nU+0041\t65\nnot known\t1\n");
    const fs::path built = dir / "mskvmap16.dll";
    ASSERT_EQ(RunMap({"build", (dir / "mine.tsv").string(), "-o", built.string(), "--unicode"}), 0);
    const FontTable table = ReadFontTable(built);
    EXPECT_EQ(table.columns, (std::vector<std::string>{"Mine", "UTF-8"}));
    ASSERT_EQ(table.rows.size(), 4u);
    EXPECT_EQ(table.rows[0][1], "208,150");
    EXPECT_EQ(table.rows[1][1], "240,159,152,128");
    EXPECT_EQ(table.rows[2][1], "65");
    EXPECT_EQ(table.rows[3][1], std::nullopt) << "a row without a code point";
    FontMap map;
    LoadFontMap(built, "UTF-8", "Mine", map);
    EXPECT_EQ(map.CharacterEntry(0x416), "\xF6");
    EXPECT_EQ(map.CharacterEntry(0x1F600), "\xC8");

    ASSERT_EQ(RunMap({"export", built.string(), "-o", (dir / "again.tsv").string()}), 0);
    EXPECT_TRUE(
        test::ReadFile(dir / "again.tsv").starts_with("#character\tMine\tUTF-8\nU+0416\t246\t208,150\n"));
    ASSERT_EQ(RunMap({"build", (dir / "again.tsv").string(), "-o", (dir / "again.dll").string()}), 0);
    ExpectSameFontMaps(built, dir / "again.dll");

    std::ostringstream out, err;
    EXPECT_EQ(cli::RunMapCommand({"build", built.string(), "-o", (dir / "x.dll").string(), "--unicode"},
                                 built, out, err),
              1);
    EXPECT_NE(err.str().find("no \"#character\" column"), std::string::npos) << err.str();
}

TEST(MapFile, ADatabaseOfMoreFontsThanAMapCanHoldIsRefusedBeforeAnyPairIsLookedAt) {
    FontTable wide;
    for (int c = 0; c < 2000; ++c) wide.columns.push_back("F" + std::to_string(c));
    wide.rows.assign(3, std::vector<FontTable::Cell>(wide.columns.size(), "65"));
    TempDir dir;
    const fs::path map = test::WriteFontMap(dir, wide);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::RunMapCommand({"check", map.string()}, map, out, err), 1);
    EXPECT_EQ(err.str(),
              "varnex: \"" + map.string() + "\" holds 2000 fonts, more than the 255 a font map can hold.\n");
    EXPECT_EQ(cli::RunMapCommand({"diff", map.string(), map.string()}, map, out, err), 1);
}

TEST(MapDiff, OneChangedCellShowsAsTheCodesOfThePairsThatReadIt) {
    FontTable changed = ReadFontTable(VARNEX_SHIPPED_FONT_MAP);
    const std::size_t row = 200;
    const std::size_t cp866 = 3;
    ASSERT_EQ(changed.columns[cp866], "CP866");
    const std::string old = changed.rows[row][cp866].value();
    changed.rows[row][cp866] = "63";
    TempDir dir;
    const fs::path copy = test::WriteFontMap(dir, changed);

    const MapDifferences differences = DiffFontTables(ReadFontTable(VARNEX_SHIPPED_FONT_MAP), changed);
    EXPECT_TRUE(differences.onlyBefore.empty() && differences.onlyAfter.empty());
    // as a target: every other font's code in that row; as a source: 63 and the old code
    for (const auto& pair : differences.pairs) {
        ASSERT_TRUE(pair.source == "CP866" || pair.target == "CP866") << pair.source << " -> " << pair.target;
        EXPECT_FALSE(pair.codes.empty());
        for (const auto& code : pair.codes) {
            if (pair.target == "CP866") {
                EXPECT_EQ(code.after, "?");
            }
        }
    }
    EXPECT_GE(differences.pairs.size(), 9u);

    std::string out;
    EXPECT_EQ(RunMap({"diff", VARNEX_SHIPPED_FONT_MAP, copy.string()}, &out), 1);
    EXPECT_NE(out.find("\"KOI8-R\" -> \"CP866\", code "), std::string::npos) << out;
    EXPECT_NE(out.find(": " + old + " in "), std::string::npos) << out;
    EXPECT_EQ(RunMap({"diff", VARNEX_SHIPPED_FONT_MAP, VARNEX_SHIPPED_FONT_MAP}, &out), 0);
    EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace varnex::map
