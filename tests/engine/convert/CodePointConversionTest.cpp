// Text as code points converts to what the same text as UTF-8 converts to, on both sides.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "PlainRule.h"
#include "convert/CodePointConversion.h"

namespace varnex {
namespace {

std::string Utf8Of(const std::u32string& points) {
    std::string text;
    for (const char32_t point : points) text += test::EncodeUtf8(point);
    return text;
}

TEST(CodePointConversion, DecodingGivesTheCharactersOfTheUtf8Conversion) {
    FontMap map;  // codes to UTF-8: one, two and four bytes, two characters, U+0000, holes
    for (int c = 1; c < 128; ++c) map.Set(c, std::string(1, static_cast<char>(c)));
    for (int c = 0xC0; c < 0x100; ++c) map.Set(c, test::EncodeUtf8(0x410 + (c - 0xC0)));
    map.Set(0x80, test::EncodeUtf8(0x1F600));
    map.Set(0x81, test::EncodeUtf8(0x41) + test::EncodeUtf8(0x301));
    map.Set(0x82, std::string(1, '\0'));
    const CodePointDecoder decoder(map);
    EXPECT_FALSE(decoder.FitsSixteenBits());
    EXPECT_EQ(decoder.MaxEntryLength(), 2u);

    std::mt19937 random(7);
    std::uniform_int_distribution<int> code(1, 255);
    for (int round = 0; round < 200; ++round) {
        std::string input(static_cast<std::size_t>(round * 7), '\0');  // past one block
        for (char& c : input)  // every other round, codes of one code point only
            c = static_cast<char>(round % 2 ? 0xC0 + code(random) % 64 : code(random));
        std::vector<std::uint64_t> told;
        std::u32string points(input.size() * decoder.MaxEntryLength() + 1, U'\0');
        char32_t largest = 0;
        const std::size_t written =
            decoder.Decode(reinterpret_cast<const std::uint8_t*>(input.data()), input.size(), points.data(),
                           largest, 100, [&](const Dropped& dropped) { told.push_back(dropped.offset); });
        points.resize(written);
        std::size_t measured = 0;
        char32_t measuredLargest = 0;
        decoder.Measure(reinterpret_cast<const std::uint8_t*>(input.data()), input.size(), measured, measuredLargest);
        EXPECT_EQ(measured, written);
        EXPECT_EQ(measuredLargest, largest);
        ASSERT_EQ(Utf8Of(points), test::PlainRule(map, input)) << "round " << round;
        char32_t joined = 0;
        for (const char32_t point : points) joined |= point;
        EXPECT_EQ(largest, joined);
        for (const std::uint64_t offset : told)
            EXPECT_EQ(map.Entry(static_cast<std::uint8_t>(input[offset - 100])), "");
    }
}

TEST(CodePointConversion, EncodingGivesTheCodesOfTheUtf8Conversion) {
    FontMap map;
    map.ReadUtf8();
    for (int c = 1; c < 128; ++c) map.Set(c, std::string(1, static_cast<char>(c)));
    for (char32_t c = 0x410; c < 0x450; ++c)
        map.SetCharacter(c, std::string(1, static_cast<char>(0xC0 + (c - 0x410))));
    map.SetCharacter(0x416, "Zh");
    map.SetCharacter(0x1F600, ":-)");
    map.Set('q', "");
    map.SetCharacter(0xFEFF, "#");  // a character, not a mark
    const CodePointEncoder encoder(map);

    const char32_t kPoints[] = {'a', 'q', 0, 0x410, 0x416, 0x44F, 0x451, 0xFEFF, 0xD800, 0x1F600, 0x10FFFF};
    std::mt19937 random(8);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kPoints) - 1);
    for (int round = 0; round < 300; ++round) {
        std::u32string points(static_cast<std::size_t>(round % 40), U'\0');
        for (char32_t& point : points) point = kPoints[pick(random)];
        std::string out(points.size() * encoder.MaxEntryLength() + 1, '\0');
        std::vector<std::uint64_t> told;
        const std::size_t written =
            encoder.Encode(points.data(), points.size(), reinterpret_cast<std::uint8_t*>(out.data()), 0,
                           [&](const Dropped& dropped) { told.push_back(dropped.offset); });
        out.resize(written);
        // A surrogate has no UTF-8 form: its UTF-8 twin is a character without an entry. U+FEFF
        // has an entry; ahead of UTF-8 text it would be a byte order mark, hence the 'a'.
        std::u32string wellFormed;
        for (const char32_t point : points) wellFormed += point >= 0xD800 && point <= 0xDFFF ? U'q' : point;
        ASSERT_EQ(out, test::PlainRule(map, "a" + Utf8Of(wellFormed)).substr(1)) << "round " << round;
        for (const std::uint64_t offset : told)
            EXPECT_TRUE(map.CharacterEntry(points[offset]).empty() ||
                        (points[offset] >= 0xD800 && points[offset] <= 0xDFFF));
    }
}

}  // namespace
}  // namespace varnex
