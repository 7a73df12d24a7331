// OpenDocument text converted span by span, through automatic and common styles.
#include <gtest/gtest.h>

#include "Packages.h"
#include "TestDatabase.h"

namespace varnex::test {
namespace {

const std::string kPrivet = "\xF0\xD2\xC9\xD7\xC5\xD4";
const std::string kPrivet1251 = "\xCF\xF0\xE8\xE2\xE5\xF2";

bool Holds(const std::string& xml, const std::string& text) { return xml.find(text) != std::string::npos; }

TEST(OdtConversion, FontsComeThroughSpansParagraphStylesParentsAndTheDefault) {
    TempDir dir;
    const std::string automatic =
        R"(<style:style style:name="P1" style:family="paragraph" style:parent-style-name="Legacy"/>)"
        R"(<style:style style:name="T1" style:family="text"><style:text-properties fo:font-family="Arial"/></style:style>)"
        R"(<style:style style:name="T2" style:family="text"><style:text-properties style:font-name="K"/></style:style>)";
    const std::string common =
        R"(<style:default-style style:family="paragraph"><style:text-properties style:font-name="K"/></style:default-style>)"
        R"(<style:style style:name="Legacy" style:family="paragraph"><style:text-properties fo:font-family="'KOI8 R'"/></style:style>)"
        R"(<style:style style:name="Plain" style:family="paragraph"><style:text-properties style:font-name="Arial"/></style:style>)";
    const std::string a = AsStored(kPrivet), b = AsStored(kPrivet1251);
    const std::string text = "<text:p text:style-name=\"P1\">" + a + "<text:span text:style-name=\"T1\">" +
                             a + "<text:span text:style-name=\"T2\">" + a +
                             "</text:span></text:span></text:p>" + "<text:h text:style-name=\"Nothing\">" +
                             a + "</text:h><text:p text:style-name=\"Plain\">" + a + "</text:p>";
    WritePackage(dir / "in.odt", Odt(automatic, text, common));
    Convert(dir / "in.odt", dir / "out.odt", Koi8ToCp1251(), Koi8Fonts());
    const std::string content = PartOf(dir / "out.odt", "content.xml");
    EXPECT_TRUE(Holds(content, "<text:p text:style-name=\"P1\">" + b + "<text:span text:style-name=\"T1\">" +
                                   a + "<text:span text:style-name=\"T2\">" + b +
                                   "</text:span></text:span></text:p>"))
        << content;
    EXPECT_TRUE(Holds(content, "<text:h text:style-name=\"Nothing\">" + b + "</text:h>"))
        << "the default style's font";
    EXPECT_TRUE(Holds(content, "<text:p text:style-name=\"Plain\">" + a + "</text:p>"));
    EXPECT_TRUE(Holds(content, R"(<style:text-properties style:font-name="Windows-1251"/>)")) << content;
    EXPECT_TRUE(
        Holds(content, R"(<style:font-face style:name="Windows-1251" svg:font-family="Windows-1251"/>)"));
    const std::string styles = PartOf(dir / "out.odt", "styles.xml");
    EXPECT_TRUE(Holds(
        styles,
        R"(style:name="Legacy" style:family="paragraph"><style:text-properties fo:font-family="Windows-1251"/>)"))
        << styles;
    EXPECT_TRUE(Holds(
        styles,
        R"(<style:default-style style:family="paragraph"><style:text-properties style:font-name="Windows-1251"/>)"));
    EXPECT_EQ(NamesOf(dir / "out.odt"), NamesOf(dir / "in.odt"));
    EXPECT_EQ(MethodOf(dir / "out.odt", "mimetype"), 0) << "stored";
}

TEST(OdtConversion, SpacesTabsAndHeadersConvertAsText) {
    TempDir dir;
    const std::string common =
        R"(<style:style style:name="Legacy" style:family="paragraph"><style:text-properties style:font-name="K"/></style:style>)";
    const std::string master =
        "<style:master-page style:name=\"Standard\"><style:header><text:p text:style-name=\"Legacy\">" +
        AsStored("\xC1") + "</text:p></style:header></style:master-page>";
    const std::string text = "<text:p text:style-name=\"Legacy\">" + AsStored("\xC1") +
                             "<text:s text:c=\"3\"/>" + AsStored("\xC2") + "<text:tab/>" + AsStored("\xD7") +
                             "</text:p>";
    WritePackage(dir / "in.odt", Odt("", text, common, master));
    FontMap underscores = Koi8ToCp1251();
    underscores.Set(' ', "_");
    Convert(dir / "in.odt", dir / "out.odt", underscores, Koi8Fonts());
    EXPECT_TRUE(Holds(PartOf(dir / "out.odt", "content.xml"), "<text:p text:style-name=\"Legacy\">" +
                                                                  AsStored("\xE0___\xE1") + "<text:tab/>" +
                                                                  AsStored("\xE2") + "<"))
        << PartOf(dir / "out.odt", "content.xml");
    EXPECT_TRUE(
        Holds(PartOf(dir / "out.odt", "styles.xml"), ">" + AsStored("\xE0") + "</text:p></style:header>"));
    Convert(dir / "in.odt", dir / "kept.odt", Koi8ToCp1251(), Koi8Fonts());
    EXPECT_TRUE(Holds(PartOf(dir / "kept.odt", "content.xml"), "<text:s text:c=\"3\"/>"))
        << "blanks that stay blanks";
}

TEST(OdtConversion, TheMimetypeGoesFirstAndStored) {
    TempDir dir;
    Entries entries = Odt("", "<text:p>x</text:p>");
    std::rotate(entries.begin(), entries.begin() + 1, entries.end());  // mimetype last
    WritePackage(dir / "in.odt", entries);
    Convert(dir / "in.odt", dir / "out.odt", Koi8ToCp1251(), Koi8Fonts());
    const auto names = NamesOf(dir / "out.odt");
    EXPECT_EQ(names.front(), "mimetype");
    EXPECT_EQ(MethodOf(dir / "out.odt", "mimetype"), 0);
    EXPECT_EQ(CompressedOf(dir / "out.odt", "content.xml"), CompressedOf(dir / "in.odt", "content.xml"))
        << "nothing in the source font: nothing rewritten";
}

}  // namespace
}  // namespace varnex::test
