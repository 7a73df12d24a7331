#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "Failure.h"
#include "map/FontTableTsv.h"
#include "maptools/AliasCheck.h"
#include "maptools/FontTableTsvWriter.h"
#include "maptools/MapCheck.h"

namespace varnex::map {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

FontTable Table(std::vector<FontAlias> aliases) {
    return FontTable{{"CP866", "MIK", "KOI8-R"}, {{"65", "65", "65"}}, std::move(aliases)};
}

std::vector<FindingKind> Kinds(const CheckReport& report) {
    std::vector<FindingKind> kinds;
    for (const auto& finding : report.findings) kinds.push_back(finding.kind);
    return kinds;
}

TEST(AliasCheck, AnAliasOfTwoFontsIsAnErrorNamingBoth) {
    const CheckReport report =
        CheckFontTable(Table({{"CP866", "dos"}, {"MIK", "DOS"}, {"MIK", "Bulgarian"}}));
    ASSERT_THAT(Kinds(report), ElementsAre(FindingKind::AliasOfTwoFonts));
    const Finding& finding = report.findings.front();
    EXPECT_EQ(finding.severity, Severity::Error);
    EXPECT_EQ(finding.column, 0u);
    EXPECT_THAT(finding.message, HasSubstr("the alias \"dos\" is declared for \"CP866\" and \"MIK\""));
    EXPECT_EQ(report.errors, 1u);
    EXPECT_EQ(report.fonts[0].errors, 1u);
}

TEST(AliasCheck, AnAliasThatIsAnotherFontsNameIsAnError) {
    const CheckReport report = CheckFontTable(Table({{"MIK", "koi8r"}, {"MIK", "mik"}}));
    ASSERT_THAT(Kinds(report), ElementsAre(FindingKind::AliasIsFontName));
    EXPECT_EQ(report.findings.front().column, 1u);
    EXPECT_THAT(report.findings.front().message,
                HasSubstr("the alias \"koi8r\" is the name of the font \"KOI8-R\""));
}

TEST(AliasCheck, AliasesOfOneFontEachOnceAreNoFault) {
    EXPECT_TRUE(
        CheckFontAliases(Table({{"MIK", "Bulgarian"}, {"MIK", "bulgarian"}, {"CP866", "alt"}})).empty());
    // a check of one pair reports only the aliases of its fonts
    const auto pair = CheckFontTable(Table({{"CP866", "dos"}, {"MIK", "dos"}}), PairChoice{2, 1});
    EXPECT_TRUE(pair.findings.empty());
    EXPECT_EQ(KindName(FindingKind::AliasOfTwoFonts), std::string("alias-of-two-fonts"));
    EXPECT_EQ(KindName(FindingKind::AliasIsFontName), std::string("alias-is-font-name"));
}

std::string Written(const FontTable& table) {
    std::ostringstream out;
    WriteFontTableTsv(table, {"a"}, out);
    return out.str();
}

TEST(TsvWriter, WritesOneAliasLinePerFontAndReadsThemBack) {
    const FontTable table = Table({{"MIK", "Bulgarian"}, {"CP866", "alt"}, {"MIK", "bg dos"}});
    const std::string text = Written(table);
    EXPECT_EQ(text,
              "#character\tCP866\tMIK\tKOI8-R\n#alias\tMIK\tBulgarian\tbg "
              "dos\n#alias\tCP866\talt\na\t65\t65\t65\n");
    EXPECT_THAT(
        ParseFontTableTsv(text).aliases,
        ElementsAre(FontAlias{"MIK", "Bulgarian"}, FontAlias{"MIK", "bg dos"}, FontAlias{"CP866", "alt"}));
    EXPECT_EQ(Written(Table({})), "#character\tCP866\tMIK\tKOI8-R\na\t65\t65\t65\n");
}

TEST(TsvWriter, AnAliasTheTextFormCannotHoldIsRefusedBeforeAnything) {
    for (const char* alias : {"two\tcells", "two\nlines", "bad \xFF"}) {
        std::ostringstream out;
        try {
            WriteFontTableTsv(Table({{"MIK", alias}}), {}, out);
            ADD_FAILURE() << alias << " was written";
        } catch (const Failure& failure) {
            EXPECT_THAT(failure.Description(), HasSubstr("of the font \"MIK\"")) << alias;
        }
        EXPECT_TRUE(out.str().empty()) << alias;
    }
}

}  // namespace
}  // namespace varnex::map
