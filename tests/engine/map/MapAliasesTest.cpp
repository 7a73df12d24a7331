#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <utility>
#include <vector>

#include "Failure.h"
#include "TestDatabase.h"
#include "map/FontAliases.h"
#include "map/FontTable.h"
#include "map/FontTableTsv.h"
#include "map/LoadedMap.h"
#include "map/SqliteFontMapWriter.h"

namespace varnex {
namespace {

using test::TempDir;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string TsvFault(const std::string& text) {
    try {
        ParseFontTableTsv(text);
    } catch (const Failure& failure) {
        return failure.Description();
    }
    return "(read without a fault)";
}

TEST(MapAliases, TheTextFormDeclaresThemOnAliasLines) {
    const FontTable table = ParseFontTableTsv(
        "#character\tA\tB\n#alias\tA\tfirst\tsecond\nx\t65\t66\n#alias\tB\tthird\n#aliases\t1\t2\n");
    EXPECT_THAT(table.aliases,
                ElementsAre(FontAlias{"A", "first"}, FontAlias{"A", "second"}, FontAlias{"B", "third"}));
    ASSERT_EQ(table.rows.size(), 2u);  // "#aliases" is a row's note, not an alias line
    EXPECT_TRUE(ParseFontTableTsv("A\tB\n65\t66\n").aliases.empty());
}

TEST(MapAliases, ABadAliasLineIsRefusedWithItsLine) {
    const std::string header = "#character\tA\tB\nx\t65\t66\n";
    EXPECT_THAT(TsvFault(header + "#alias\tA\n"),
                HasSubstr("line 3: an alias line names a font and its aliases"));
    EXPECT_THAT(TsvFault(header + "#alias\n"), HasSubstr("line 3: an alias line"));
    EXPECT_THAT(TsvFault(header + "#alias\tC\tc\n"),
                HasSubstr("line 3: the alias \"c\" is of the font \"C\", which is not in the map"));
    EXPECT_THAT(TsvFault(header + "#alias\tA\tok\t\n"),
                HasSubstr("line 3: the alias \"\" of the font \"A\" has no"));
    EXPECT_THAT(TsvFault(header + "#alias\tA\t--\n"), HasSubstr("has no letter or digit"));
    EXPECT_THAT(TsvFault(header + "#alias\t\ta\n"), HasSubstr("line 3: the alias \"a\" names no font"));
    EXPECT_THAT(TsvFault(header + "#alias\tA\t\xFF\n"),
                HasSubstr("line 3: column 3 of the alias line is not valid UTF-8"));
    EXPECT_THAT(TsvFault(header + "#alias\tA\ta\r\n"),
                HasSubstr("line 3: the line ends with a carriage return"));
}

TEST(MapAliases, AnSqliteMapKeepsThemInItsTableFontAliases) {
    TempDir dir;
    FontTable table = test::MakeTable({"A", "B"}, {{"65", "66"}});
    table.aliases = {{"B", "bee"}, {"A", "ay"}, {"B", "b2"}};
    const LoadedMap map = LoadMap(test::WriteFontMap(dir, table));
    EXPECT_EQ(map.table.aliases, table.aliases);
    EXPECT_EQ(ResolveFont(map, "BEE"), "B");
    EXPECT_THAT(AliasesOf(map, "B"), ElementsAre("bee", "b2"));
    // a map without aliases has no such table and loads as before
    table.aliases.clear();
    EXPECT_TRUE(LoadMap(test::WriteFontMap(dir, table, "old.dll")).table.aliases.empty());
}

// Runs SQL on the database at path, as another program that writes maps might.
void Execute(const std::filesystem::path& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

std::string LoadFault(const std::filesystem::path& path) {
    try {
        LoadMap(path);
    } catch (const Failure& failure) {
        return failure.Description();
    }
    return "(loaded)";
}

TEST(MapAliases, AnSqliteMapWithABadAliasFailsNamingItsRow) {
    TempDir dir;
    const FontTable good = test::MakeTable({"A", "B"}, {{"65", "66"}});
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"insert into font_aliases values ('A', 'ay'), ('C', 'sea')",
         "row 2 of font_aliases: the alias \"sea\" is of the font \"C\", which is not in the map"},
        {"insert into font_aliases values ('A', null)",
         "row 1 of font_aliases: the alias \"\" of the font \"A\""},
        {"insert into font_aliases values (null, 'x')",
         "row 1 of font_aliases: the alias \"x\" names no font"},
    };
    for (const auto& [rows, message] : cases) {
        const auto path = test::WriteFontMap(dir, good);
        Execute(path, "create table font_aliases (font text, alias text); " + rows);
        EXPECT_THAT(LoadFault(path), HasSubstr(message)) << rows;
    }
    const auto path = test::WriteFontMap(dir, good);
    Execute(path,
            "create table font_aliases (name text, other text); insert into font_aliases values ('A', 'x')");
    EXPECT_THAT(LoadFault(path), HasSubstr("cannot be read: no such column: font"));
    // numbers are names too: an alias 866 stored as an integer
    Execute(path,
            "drop table font_aliases; create table font_aliases (font, alias); "
            "insert into font_aliases values ('B', 866)");
    EXPECT_EQ(ResolveFont(LoadMap(path), "866"), "B");
}

TEST(AmbiguousFontName, ListsTheCandidatesAndIsToldApartFromAMissingName) {
    TempDir dir;
    const LoadedMap map =
        LoadMap(test::WriteFontMap(dir, test::MakeTable({"KOI8-R", "KOI8-U"}, {{"65", "66"}})));
    try {
        ResolveFont(map, "koi8");
        FAIL() << "koi8 was taken for one font";
    } catch (const AmbiguousFontName& fault) {
        EXPECT_THAT(fault.Description(),
                    HasSubstr("\"koi8\" is ambiguous: it may be \"KOI8-R\", \"KOI8-U\""));
    }
    try {
        ResolveFont(map, "EBCDIC");
        FAIL() << "EBCDIC was found";
    } catch (const AmbiguousFontName&) {
        FAIL() << "a name of no font was called ambiguous";
    } catch (const Failure& failure) {
        EXPECT_THAT(failure.Description(), HasSubstr("\"EBCDIC\" is not in the map"));
    }
}

}  // namespace
}  // namespace varnex
