#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "map/CodePageNames.h"
#include "map/FontAliases.h"
#include "map/FontLoaders.h"
#include "map/FontNameMatch.h"

namespace varnex {
namespace {

using ::testing::ElementsAre;

FontTable Fonts(std::vector<std::string> columns, std::vector<FontAlias> aliases = {}) {
    return FontTable{std::move(columns), {}, std::move(aliases)};
}

const FontTable& Shipped() {
    static const FontTable table = Fonts(LoadFontList(VARNEX_SHIPPED_FONT_MAP));
    return table;
}

struct TypedName {
    const char* typed;
    const char* font;
};

TEST(FontNameMatch, TheCodePagesOfTheShippedMapAnswerToTheirUsualNames) {
    const std::vector<TypedName> cases = {
        {"cp1251", "Windows-1251"},
        {"MS-CYRL", "Windows-1251"},
        {"x-cp1251", "Windows-1251"},
        {"ibm866", "CP866"},
        {"866", "CP866"},
        {"csIBM866", "CP866"},
        {"cyrillic", "ISO-8859-5"},
        {"iso-ir-144", "ISO-8859-5"},
        {"iso_8859-5:1988", "ISO-8859-5"},
        {"iso88595", "ISO-8859-5"},
        {"csisolatincyrillic", "ISO-8859-5"},
        {"cp10007", "Mac Cyrillic"},
        {"x-mac-cyrillic", "Mac Cyrillic"},
        {"x-mac-ukrainian", "Mac Cyrillic"},
        {"MAC-CYRILLIC", "Mac Cyrillic"},
        {"cskoi8r", "KOI8-R"},
        {"koi8_r", "KOI8-R"},
        {"koi8-ru", "KOI8-U"},
        {"ruscii", "CP1125"},
        {"IBM848", "CP1125"},
        {"ibm855", "CP855"},
        {"855", "CP855"},
        {"utf8", "UTF-8"},
        {"unicode-1-1-utf-8", "UTF-8"},
        {"UNICODE20UTF8", "UTF-8"},
        {"Windows 1251", "Windows-1251"},
    };
    for (const auto& [typed, font] : cases) {
        const FontNameMatch match = MatchFontName(Shipped(), typed);
        EXPECT_EQ(match.font, font) << typed;
        EXPECT_FALSE(match.ambiguous) << typed;
    }
}

TEST(FontNameMatch, ANameOfSeveralFontsListsThemAll) {
    for (const char* typed : {"koi8", "KOI", "Koi-8"}) {
        const FontNameMatch match = MatchFontName(Shipped(), typed);
        EXPECT_TRUE(match.ambiguous) << typed;
        EXPECT_TRUE(match.font.empty()) << typed;
        EXPECT_THAT(match.nearest, ElementsAre("KOI8-R", "KOI8-U")) << typed;
    }
    EXPECT_THAT(MatchFontName(Shipped(), "cp8").nearest, ElementsAre("CP866", "CP855"));
    // two columns of one code page: its other names find both
    const FontTable both = Fonts({"CP1251", "Windows-1251", "MIK"});
    const FontNameMatch family = MatchFontName(both, "ms-cyrl");
    EXPECT_TRUE(family.ambiguous);
    EXPECT_THAT(family.nearest, ElementsAre("CP1251", "Windows-1251"));
    EXPECT_EQ(MatchFontName(both, "cp-1251").font, "CP1251");  // its own name, folded, still wins
}

TEST(FontNameMatch, AFontsOwnNameComesBeforeAnotherFontsAlias) {
    const FontTable table = Fonts({"ISO-8859-5", "Cyrillic"}, {{"ISO-8859-5", "Kyrillisch"}});
    EXPECT_EQ(MatchFontName(table, "CYRILLIC").font, "Cyrillic");
    EXPECT_EQ(MatchFontName(table, "kyrillisch").font, "ISO-8859-5");
    // "Cyrillic" is a name of ISO-8859-5 too, so that code page's other names find both
    EXPECT_THAT(MatchFontName(table, "iso-ir-144").nearest, ElementsAre("ISO-8859-5", "Cyrillic"));
}

TEST(FontNameMatch, TheMapsAliasesComeBeforeTheCodePageNames) {
    const FontTable table =
        Fonts({"Windows-1251", "MIK", "CP866"}, {{"MIK", "cp1251"}, {"MIK", "Bulgarian DOS"}});
    EXPECT_EQ(MatchFontName(table, "CP-1251").font, "MIK");
    EXPECT_EQ(MatchFontName(table, "bulgarian-dos").font, "MIK");
    EXPECT_EQ(MatchFontName(table, "ms-cyrl").font, "Windows-1251");
}

TEST(FontNameMatch, AnAliasOfTwoFontsIsAmbiguous) {
    const FontTable table = Fonts({"CP866", "MIK", "KOI8-R"}, {{"CP866", "dos"}, {"MIK", "DOS"}});
    const FontNameMatch match = MatchFontName(table, "Dos");
    EXPECT_TRUE(match.ambiguous);
    EXPECT_THAT(match.nearest, ElementsAre("CP866", "MIK"));
}

TEST(FontNameMatch, ABeginningOfOneNameOrAnUnknownNameIsNotTaken) {
    for (const char* typed : {"gost", "1251", "l5", "latin5", "cp12"}) {
        const FontNameMatch match = MatchFontName(Shipped(), typed);
        EXPECT_TRUE(match.font.empty()) << typed;
        EXPECT_FALSE(match.ambiguous) << typed;
        EXPECT_FALSE(match.nearest.empty()) << typed;
    }
    EXPECT_EQ(MatchFontName(Shipped(), "gost").nearest.front(), "GOST 7.79-B Latin");
    // a bare list of names (a document's fonts) knows no aliases
    EXPECT_TRUE(MatchFontName(std::vector<std::string>{"Windows-1251"}, "cp1251").font.empty());
}

TEST(FontAliases, AFontsAliasesAreTheMapsThenItsCodePagesEachOnce) {
    const FontTable table =
        Fonts({"Windows-1251", "MIK", "GOST 7.79-B Latin"},
              {{"Windows-1251", "Russian Windows"}, {"Windows-1251", "cp1251"}, {"MIK", "Bulgarian DOS"}});
    EXPECT_THAT(AliasesOf(table, "Windows-1251"),
                ElementsAre("Russian Windows", "cp1251", "MS-CYRL", "x-cp1251"));
    EXPECT_THAT(AliasesOf(table, "MIK"), ElementsAre("Bulgarian DOS"));
    EXPECT_TRUE(AliasesOf(table, "GOST 7.79-B Latin").empty());
    EXPECT_TRUE(AliasesOf(table, "cp1251").empty());  // not a font of the table
}

TEST(CodePageNames, EachNameBelongsToOneFamilyAndFindsIt) {
    std::vector<std::string> seen;
    for (const auto& family : CodePageNameFamilies()) {
        EXPECT_GE(family.size(), 2u) << family.front();
        for (std::string_view name : family) {
            const std::string folded = FoldedFontName(name);
            EXPECT_EQ(std::count(seen.begin(), seen.end(), folded), 0) << name;
            seen.push_back(folded);
            EXPECT_EQ(&CodePageNamesOf(name), &family) << name;
        }
    }
    for (const char* left : {"koi8", "koi", "l5", "MIK"}) EXPECT_TRUE(CodePageNamesOf(left).empty()) << left;
}

}  // namespace
}  // namespace varnex
