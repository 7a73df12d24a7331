// Maps whose source is the Unicode font: UTF-8 read by sequences, on every path, whole and in
// pieces, with what is left out told by its offset.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "PlainRule.h"
#include "convert/CharacterRule.h"
#include "convert/PieceConversion.h"

namespace varnex {
namespace {

using test::EncodeUtf8;

std::string Convert(const FontMap& map, const std::string& input, VectorLevel level) {
    return test::ConvertAt(level, map, input);
}

// ASCII kept, the Russian letters to the upper half as in KOI8-R's order of its own, a few
// characters of three and four bytes, and holes.
FontMap CyrillicToCodes() {
    FontMap map;
    map.ReadUtf8();
    for (int c = 1; c < 128; ++c) map.Set(c, std::string(1, static_cast<char>(c)));
    for (char32_t c = 0x410; c < 0x450; ++c)
        map.SetCharacter(c, std::string(1, static_cast<char>(0xC0 + (c - 0x410))));
    map.SetCharacter(0x401, "\xB3");
    map.SetCharacter(0x20AC, "\x80");   // three bytes
    map.SetCharacter(0x1F600, "\x81");  // four bytes
    map.SetCharacter(0x416, "");        // a hole among the two-byte characters
    return map;
}

struct MapCase {
    const char* name;
    FontMap map;
};

std::vector<MapCase> Utf8Maps() {
    std::vector<MapCase> cases;
    FontMap empty;
    empty.ReadUtf8();
    cases.push_back({"no entries", empty});
    cases.push_back({"to one code", CyrillicToCodes()});
    FontMap moved = CyrillicToCodes();
    moved.Set('A', "z");
    moved.Set('B', "");
    cases.push_back({"to one code, ASCII moved", moved});
    FontMap zero = CyrillicToCodes();
    zero.SetCharacter(0x44F, std::string(1, '\0'));  // a target code 0 is written, not dropped
    cases.push_back({"to one code, one to 0", zero});
    FontMap full = CyrillicToCodes();  // every value taken: no marker is free
    for (int v = 0; v < 256; ++v) full.SetCharacter(0x3000 + v, std::string(1, static_cast<char>(v)));
    cases.push_back({"every value taken", full});
    FontMap several = CyrillicToCodes();
    several.SetCharacter(0x416, "Zh");
    several.SetCharacter(0x429, "Shh");
    several.SetCharacter(0x1F600, std::string(12, ':'));
    cases.push_back({"several codes", several});
    return cases;
}

// Well-formed characters of every length, mixed with ill-formed bytes of every kind.
std::string RandomUtf8(std::mt19937& random, std::size_t length) {
    static const char32_t kCharacters[] = {0x20,  0x0A,  'A',  'z',    0x00,   0x401,  0x410,   0x416,
                                           0x44F, 0x7FF, 0x80, 0x20AC, 0xFEFF, 0xFFFF, 0x1F600, 0x10FFFF};
    std::uniform_int_distribution<int> kind(0, 19), pick(0, 1000);
    std::string text;
    while (text.size() < length) {
        const int k = kind(random);
        if (k == 0) {
            text += test::kIllFormedUtf8[pick(random) % std::size(test::kIllFormedUtf8)];
        } else if (k < 6) {
            text += static_cast<char>(0x20 + pick(random) % 0x5F);
        } else {
            text += EncodeUtf8(kCharacters[pick(random) % std::size(kCharacters)]);
        }
    }
    text.resize(length);  // may cut a character short at the end
    return text;
}

TEST(Utf8Source, EveryPathAgreesWithThePlainRule) {
    std::mt19937 random(25);
    for (const auto& mapCase : Utf8Maps()) {
        for (const VectorLevel level : VectorLevelsHere()) {
            for (std::size_t length = 0; length <= 200; ++length) {
                for (int round = 0; round < 3; ++round) {
                    const std::string input = RandomUtf8(random, length);
                    ASSERT_EQ(Convert(mapCase.map, input, level), test::PlainRule(mapCase.map, input))
                        << mapCase.name << ", " << VectorLevelName(level) << ", length " << length;
                }
            }
            const std::string cyrillic = [&] {
                std::string text;
                while (text.size() < 5000)
                    text += EncodeUtf8(0x410 + text.size() % 64) + (text.size() % 7 ? "" : " ");
                return text;
            }();
            EXPECT_EQ(Convert(mapCase.map, cyrillic, level), test::PlainRule(mapCase.map, cyrillic))
                << mapCase.name << ", " << VectorLevelName(level);
        }
    }
}

// The loops' tables follow every change: entries emptied and moved, and a second script
// that comes to outnumber the first.
TEST(Utf8Source, AMapChangedAfterAConversionConvertsAsChanged) {
    FontMap map = CyrillicToCodes();
    std::string text;
    for (char32_t c : {0x410, 0x3B1, 0x61, 0x44F, 0x20, 0x3C9, 0xE9})
        for (int k = 0; k < 40; ++k) text += EncodeUtf8(c + static_cast<char32_t>(k % 3));
    for (const VectorLevel level : VectorLevelsHere())
        ASSERT_EQ(Convert(map, text, level), test::PlainRule(map, text));
    map.SetCharacter(0x410, "");
    map.Set('a', "");
    map.Set('b', "q");
    for (char32_t c = 0x391; c < 0x3CA; ++c)
        map.SetCharacter(c, std::string(1, static_cast<char>(c - 0x391 + 0x20)));
    map.SetCharacter(0xE9, "\xE9");
    for (const VectorLevel level : VectorLevelsHere())
        EXPECT_EQ(Convert(map, text, level), test::PlainRule(map, text)) << VectorLevelName(level);
}

TEST(Utf8Source, WholeCharactersConvertAsUnitsAndTheRestIsLeftOut) {
    const FontMap map = CyrillicToCodes();
    const VectorLevel plain = VectorLevel::Scalar;
    EXPECT_EQ(Convert(map, "\xD0\x90\xD0\xAF!", plain), "\xC0\xDF!");
    EXPECT_EQ(Convert(map, "\xE2\x82\xAC\xF0\x9F\x98\x80", plain), "\x80\x81");
    EXPECT_EQ(Convert(map, "\xD0\x96", plain), "");  // no entry
    EXPECT_EQ(Convert(map,
                      "\xEF\xBB\xBF"
                      "A\xEF\xBB\xBF",
                      plain),
              "A");  // a mark at the start
    EXPECT_EQ(Convert(map,
                      "\x80"
                      "A\xC0\xAF"
                      "B\xED\xA0\x80"
                      "C\xE2\x82"
                      "D\xD0",
                      plain),
              "ABCD");
}

// Splits `text` at `cuts` and converts the pieces one after the other.
std::string ConvertInPieces(const FontMap& map, const std::string& text, const std::vector<std::size_t>& cuts,
                            std::vector<Dropped>* dropped = nullptr) {
    PieceConversion conversion(
        map, dropped ? DropReport([&](const Dropped& d) { dropped->push_back(d); }) : DropReport());
    std::string out;
    std::size_t from = 0;
    for (std::size_t k = 0; k <= cuts.size(); ++k) {
        const std::size_t to = k < cuts.size() ? cuts[k] : text.size();
        std::vector<std::uint8_t> buffer(conversion.Capacity(to - from));
        const std::size_t n =
            conversion.Convert(std::string_view(text).substr(from, to - from), buffer.data());
        out.append(reinterpret_cast<const char*>(buffer.data()), n);
        from = to;
    }
    conversion.Finish();
    return out;
}

TEST(Utf8Source, APieceBoundaryInsideACharacterChangesNothing) {
    std::mt19937 random(1024);
    for (const auto& mapCase : Utf8Maps()) {
        for (int round = 0; round < 20; ++round) {
            const std::string text = "\xEF\xBB\xBF" + RandomUtf8(random, 40);
            const std::string whole = test::PlainRule(mapCase.map, text);
            std::vector<Dropped> wholeDrops;
            ConvertInPieces(mapCase.map, text, {}, &wholeDrops);
            for (std::size_t cut = 0; cut <= text.size(); ++cut) {
                ASSERT_EQ(ConvertInPieces(mapCase.map, text, {cut}), whole) << mapCase.name << " cut " << cut;
                std::vector<Dropped> drops;
                ASSERT_EQ(ConvertInPieces(mapCase.map, text, {cut}, &drops), whole);
                ASSERT_EQ(drops.size(), wholeDrops.size()) << mapCase.name << " cut " << cut;
                for (std::size_t i = 0; i < drops.size(); ++i)
                    EXPECT_EQ(drops[i].offset, wholeDrops[i].offset);
            }
            std::vector<std::size_t> everyByte(text.size());
            for (std::size_t i = 0; i < everyByte.size(); ++i) everyByte[i] = i + 1;
            EXPECT_EQ(ConvertInPieces(mapCase.map, text, everyByte), whole) << mapCase.name;
        }
    }
}

TEST(Utf8Source, WhatIsLeftOutIsToldWithItsOffset) {
    const FontMap map = CyrillicToCodes();
    std::vector<Dropped> dropped;
    const std::string text =
        "\xEF\xBB\xBF\x80\xD0\x96"
        "A\xE0\x80\x80\xE2\x82"
        "B\xF0\x9F";
    EXPECT_EQ(ConvertInPieces(map, text, {4, 5, 11}, &dropped), "AB");
    ASSERT_EQ(dropped.size(), 7u);
    EXPECT_EQ(DescribeDropped(dropped[0]), "the bytes 80");
    EXPECT_EQ(dropped[0].offset, 3u);
    EXPECT_EQ(DescribeDropped(dropped[1]), "U+0416");
    EXPECT_EQ(dropped[1].offset, 4u);
    EXPECT_EQ(DescribeDropped(dropped[2]), "the bytes E0");  // an overlong form, byte by byte
    EXPECT_EQ(dropped[2].offset, 7u);
    EXPECT_EQ(dropped[3].offset, 8u);
    EXPECT_EQ(dropped[4].offset, 9u);
    EXPECT_EQ(DescribeDropped(dropped[5]), "the bytes E2 82");
    EXPECT_EQ(dropped[5].offset, 10u);
    EXPECT_EQ(DescribeDropped(dropped[6]), "the bytes F0 9F");  // cut short by the end
    EXPECT_EQ(dropped[6].offset, 13u);
}

TEST(Utf8Source, AMapOfCodesToldOfItsCodesWithoutEntries) {
    FontMap map;
    map.Set('A', "a");
    std::vector<Dropped> dropped;
    EXPECT_EQ(ConvertInPieces(map, std::string("AB\0A", 4), {2}, &dropped), "aa");
    ASSERT_EQ(dropped.size(), 2u);
    EXPECT_EQ(DescribeDropped(dropped[0]), "the code 66");
    EXPECT_EQ(dropped[1].offset, 2u);
}

}  // namespace
}  // namespace varnex
