// A conversion into the caller's buffers: any cut of the input and any room for the output
// give the text of the plain rule, and a stop at each unmapped code resumes to the same text.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "PlainRule.h"
#include "convert/ResumableConversion.h"

namespace varnex {
namespace {

using Conversion = ResumableConversion;

// UTF-8 in, codes out: one code, several codes, and holes.
FontMap Utf8ToCodes() {
    FontMap map;
    map.ReadUtf8();
    for (int c = 1; c < 128; ++c) map.Set(c, std::string(1, static_cast<char>(c)));
    for (char32_t c = 0x410; c < 0x450; ++c)
        map.SetCharacter(c, std::string(1, static_cast<char>(0xC0 + (c - 0x410))));
    map.SetCharacter(0x416, "Zh");
    map.SetCharacter(0x429, "");
    map.SetCharacter(0x1F600, std::string(9, ':'));
    map.Set('q', "");
    return map;
}

// Codes in: the upper half to UTF-8 of two and three bytes, a few codes without an entry.
FontMap CodesToUtf8() {
    FontMap map;
    for (int c = 1; c < 128; ++c) map.Set(c, std::string(1, static_cast<char>(c)));
    for (int c = 0xC0; c < 0x100; ++c) map.Set(c, test::EncodeUtf8(0x410 + (c - 0xC0)));
    map.Set(0x80, test::EncodeUtf8(0x20AC));
    map.Set(0x81, "");
    map.Set(0x82, "");
    return map;
}

std::string RandomText(std::mt19937& random, bool utf8, std::size_t length) {
    std::uniform_int_distribution<int> pick(0, 1 << 20);
    std::string text;
    while (text.size() < length) {
        const int k = pick(random) % 10;
        if (!utf8) {
            text += static_cast<char>(k < 4 ? 0x20 + pick(random) % 0x5F : 0x80 + pick(random) % 0x80);
        } else if (k == 0) {
            text += test::kIllFormedUtf8[pick(random) % std::size(test::kIllFormedUtf8)];
        } else if (k < 4) {
            text += static_cast<char>(0x20 + pick(random) % 0x5F);
        } else {
            static const char32_t kCharacters[] = {0x410, 0x416, 0x429, 0x44F, 0x401, 0x1F600, 0x20AC};
            text += test::EncodeUtf8(kCharacters[pick(random) % std::size(kCharacters)]);
        }
    }
    text.resize(length);
    return text;
}

struct Outcome {
    std::string text;
    std::vector<std::uint64_t> stops;  // offsets of the unmapped, with Stop
};

// Feeds the input in random pieces and takes the output through random small buffers, as a
// caller of the library does, resuming after every stop.
Outcome ConvertInPieces(const FontMap& map, const std::string& input, Conversion::Missing missing,
                        std::mt19937& random) {
    Conversion conversion(map, missing);
    std::uniform_int_distribution<std::size_t> piece(1, 40), room(1, 48);
    Outcome outcome;
    std::size_t at = 0;
    for (int guard = 0; guard < 100000; ++guard) {
        const std::size_t length = std::min(piece(random), input.size() - at);
        const bool last = at + length == input.size();
        std::vector<std::uint8_t> out(room(random));
        const auto result =
            conversion.Convert(std::string_view(input).substr(at, length), out.data(), out.size(), last);
        EXPECT_LE(result.produced, out.size());
        outcome.text.append(reinterpret_cast<const char*>(out.data()), result.produced);
        at += result.consumed;
        if (result.status == Conversion::Status::Unmapped)
            outcome.stops.push_back(conversion.LastUnmapped().offset);
        if (last && at == input.size() && result.status == Conversion::Status::Done) return outcome;
    }
    ADD_FAILURE() << "the conversion never came to the end";
    return outcome;
}

TEST(ResumableConversion, AnyCutAndAnyRoomGiveThePlainRulesText) {
    std::mt19937 random(36);
    for (const bool utf8 : {false, true}) {
        const FontMap map = utf8 ? Utf8ToCodes() : CodesToUtf8();
        for (std::size_t length = 1; length <= 400; length += 3) {
            const std::string input = RandomText(random, utf8, length);
            const std::string expected = test::PlainRule(map, input);
            ASSERT_EQ(ConvertInPieces(map, input, Conversion::Missing::Drop, random).text, expected)
                << (utf8 ? "UTF-8" : "codes") << ", length " << length;

            Conversion tracked(map, Conversion::Missing::Drop, nullptr, true);
            std::vector<std::uint8_t> whole(input.size() * 16 + 64);
            tracked.Convert(input, whole.data(), whole.size(), true);
            const Outcome stopped = ConvertInPieces(map, input, Conversion::Missing::Stop, random);
            ASSERT_EQ(stopped.text, expected) << "resumed after each stop, length " << length;
            EXPECT_EQ(stopped.stops, tracked.DroppedOffsets()) << "length " << length;
        }
    }
}

TEST(ResumableConversion, RoomForLessThanOneCharacterIsOutputFull) {
    const FontMap map = CodesToUtf8();
    Conversion conversion(map, Conversion::Missing::Drop);
    std::uint8_t out[2];
    const auto result = conversion.Convert("\x80", out, 2, true);  // the euro sign takes 3 bytes
    EXPECT_EQ(result.status, Conversion::Status::OutputFull);
    EXPECT_EQ(result.consumed, 0u);
    EXPECT_EQ(result.produced, 0u);
}

}  // namespace
}  // namespace varnex
