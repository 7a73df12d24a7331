#include <gtest/gtest.h>

#include "text/LetterCase.h"

namespace varnex {
namespace {

TEST(LetterCase, UpperCaseReachesEveryScript) {
    EXPECT_EQ(UpperCase("koi8-r Mac Cyrillic"), "KOI8-R MAC CYRILLIC");
    EXPECT_EQ(UpperCase("Мой шрифт ёжик"), "МОЙ ШРИФТ ЁЖИК");
    EXPECT_EQ(UpperCase("Ελληνικά ς"), "ΕΛΛΗΝΙΚΆ Σ");
    EXPECT_EQ(UpperCase("café señor žluťoučký ğ"), "CAFÉ SEÑOR ŽLUŤOUČKÝ Ğ");
    EXPECT_EQ(UpperCase("ı"), "I") << "a letter whose upper case is shorter in UTF-8";
    EXPECT_EQ(UpperCase("ɐ"), "Ɐ") << "and one whose upper case is longer";
    EXPECT_EQ(UpperCase("1,2 ß 中文 ✓"), "1,2 ß 中文 ✓") << "what has no single upper case stays";
}

TEST(LetterCase, BytesThatAreNotUtf8StayAsTheyAre) {
    const std::string broken =
        "a\xE4z\xD0\xC0\x80\xED\xA0\x80\xF0\x9F\x98";  // Latin-1, overlong, surrogate, cut
    std::string expected = broken;
    expected[0] = 'A';
    expected[2] = 'Z';
    EXPECT_EQ(UpperCase(broken), expected);
    EXPECT_TRUE(SameIgnoringCase(broken, expected));
    EXPECT_FALSE(SameIgnoringCase("\xE4", "\xC4")) << "Latin-1 bytes are no letters here";
    EXPECT_FALSE(SameIgnoringCase("\xC3", "\xC3\xA4"));
}

TEST(LetterCase, SameIgnoringCaseComparesLetterByLetter) {
    EXPECT_TRUE(SameIgnoringCase("/home/u/report.txt", "/home/u/REPORT.TXT"));
    EXPECT_TRUE(SameIgnoringCase("/home/u/письмо.txt", "/home/u/ПИСЬМО.txt"));
    EXPECT_TRUE(SameIgnoringCase("Ёлка Ωμέγα Été", "ёЛКА ΩΜΈΓΑ éTÉ"));
    EXPECT_TRUE(SameIgnoringCase("ΣΟΦΟΣ", "σοφος")) << "final sigma";
    EXPECT_TRUE(SameIgnoringCase("\u212A", "k")) << "the Kelvin sign";
    EXPECT_TRUE(SameIgnoringCase("", ""));
    EXPECT_FALSE(SameIgnoringCase("письмо.txt", "письма.txt"));
    EXPECT_FALSE(SameIgnoringCase("письмо.txt", "письмо.txt2"));
    EXPECT_FALSE(SameIgnoringCase("е", "e")) << "Cyrillic and Latin e look alike but differ";
    EXPECT_FALSE(SameIgnoringCase("report.txt", "report.txt "));
}

}  // namespace
}  // namespace varnex
