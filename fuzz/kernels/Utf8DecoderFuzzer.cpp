// Every UTF-8 decoding path this processor has against the plain rule, on a random map whose
// source is the Unicode font and a random text of well-formed characters and ill-formed bytes.
// The text ends where an inaccessible page begins, and so does the output buffer of exactly
// the capacity the callers give. The text is also converted in two pieces, cut anywhere, on
// every path: a character split between them must convert as if the text were whole.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "GuardedBuffer.h"
#include "PlainRule.h"
#include "convert/CharacterRule.h"
#include "convert/PieceConversion.h"

namespace {

using varnex::FontMap;

// Characters from the places a map of a script is likely to have them: the two-byte pages
// the vector loops look up (the first six), three-byte and four-byte ones, and the edges of
// each length.
constexpr char32_t kBases[] = {0x80,   0xC0,   0x400,  0x440,   0x780,   0x7C0,   0x800,
                               0x2500, 0xFEC0, 0xFFC0, 0x10000, 0x1F600, 0x10FFC0};
constexpr std::size_t kTwoByteBases = 6;

char32_t RandomCharacter(std::mt19937& random, std::size_t bases = std::size(kBases)) {
    return kBases[random() % bases] + static_cast<char32_t>(random() % 64);
}

std::string RandomEntry(std::mt19937& random, bool singleCodes) {
    const auto kind = random() % 8;
    if (kind == 0) return "";  // a hole
    const std::size_t length = singleCodes || kind < 5 ? 1 : kind == 7 ? 8 + random() % 33 : kind - 3;
    std::string entry(length, '\0');
    for (auto& c : entry) c = static_cast<char>(random());  // NUL targets too
    return entry;
}

// The map is drawn from a seed that the input gives, so that most of the input is left for
// the text.
FontMap RandomMap(FuzzedDataProvider& data) {
    std::mt19937 random(data.ConsumeIntegral<std::uint32_t>());
    FontMap map;
    map.ReadUtf8();
    const bool singleCodes = data.ConsumeBool();
    const bool asciiKept = data.ConsumeBool();
    for (int code = 1; code < 128; ++code) {
        map.Set(code, asciiKept ? std::string(1, static_cast<char>(code)) : RandomEntry(random, singleCodes));
    }
    const int characters = data.ConsumeIntegralInRange<int>(0, 400);
    for (int k = 0; k < characters; ++k)
        map.SetCharacter(RandomCharacter(random), RandomEntry(random, singleCodes));
    if (data.ConsumeIntegral<std::uint8_t>() < 16) {  // every value taken: no marker is free
        for (int v = 0; v < 256; ++v) map.SetCharacter(0x3000 + v, std::string(1, static_cast<char>(v)));
    }
    if (data.ConsumeBool()) map.PreparePairs();
    return map;
}

// Text of ASCII codes and two-byte characters, as a script below U+0800 is written, with now
// and then (as often as the input asks) an ill-formed sequence, a byte of any value, or a
// character of three or four bytes, so that the vector loops meet both their own windows and
// the places they leave to the plain loop.
std::string RandomText(FuzzedDataProvider& data) {
    std::mt19937 random(data.ConsumeIntegral<std::uint32_t>());
    const auto rareness = data.ConsumeIntegral<std::uint8_t>();
    std::string text;
    while (data.remaining_bytes() > 0 && text.size() < 4096) {
        const auto kind = data.ConsumeIntegral<std::uint8_t>();
        if (kind < rareness / 4) {
            const auto rare = random() % 3;
            if (rare == 0) {
                text += varnex::test::kIllFormedUtf8[random() % std::size(varnex::test::kIllFormedUtf8)];
            } else if (rare == 1) {
                text += static_cast<char>(random());
            } else {
                text += varnex::test::EncodeUtf8(RandomCharacter(random));
            }
        } else if (kind & 1) {
            text += static_cast<char>(kind >> 1);
        } else {
            text += varnex::test::EncodeUtf8(RandomCharacter(random, kTwoByteBases));
        }
    }
    return text;
}

[[noreturn]] void Differ(const char* what, varnex::VectorLevel level, std::size_t produced,
                         std::size_t expected) {
    std::fprintf(stderr, "path %s, %s: %zu bytes differ from the plain rule's %zu\n",
                 varnex::VectorLevelName(level), what, produced, expected);
    std::abort();
}

void CheckWhole(varnex::VectorLevel level, const FontMap& map, const varnex::fuzz::GuardedBuffer& text,
                const std::string& expected) {
    varnex::fuzz::GuardedBuffer out(varnex::ConvertedCapacity(map, text.size()));
    const std::size_t produced = varnex::ConvertCodesAt(level, map, text.data(), text.size(), out.data());
    if (produced != expected.size() || std::memcmp(out.data(), expected.data(), produced) != 0)
        Differ("whole", level, produced, expected.size());
}

// Two pieces through PieceConversion, each in a buffer of its own that ends at a guard page.
void CheckPieces(varnex::VectorLevel level, const FontMap& map, const std::string& text, std::size_t cut,
                 const std::string& expected) {
    varnex::ChooseVectorLevel(level);
    varnex::PieceConversion conversion(map);
    std::string out;
    for (const std::string_view piece :
         {std::string_view(text).substr(0, cut), std::string_view(text).substr(cut)}) {
        varnex::fuzz::GuardedBuffer in(piece.size());
        if (!piece.empty()) std::memcpy(in.data(), piece.data(), piece.size());
        varnex::fuzz::GuardedBuffer buffer(conversion.Capacity(piece.size()));
        const std::size_t n = conversion.Convert(
            std::string_view(reinterpret_cast<const char*>(in.data()), piece.size()), buffer.data());
        out.append(reinterpret_cast<const char*>(buffer.data()), n);
    }
    conversion.Finish();
    if (out != expected) Differ("in two pieces", level, out.size(), expected.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const FontMap map = RandomMap(data);
    const std::size_t cutAt = data.ConsumeIntegral<std::uint16_t>();
    const std::string codes = RandomText(data);
    varnex::fuzz::GuardedBuffer text(codes.size());
    if (!codes.empty()) std::memcpy(text.data(), codes.data(), codes.size());
    const std::string expected = varnex::test::PlainRule(map, codes);
    const std::size_t cut = codes.empty() ? 0 : cutAt % (codes.size() + 1);
    for (const varnex::VectorLevel level : varnex::VectorLevelsHere()) {
        CheckWhole(level, map, text, expected);
        CheckPieces(level, map, codes, cut, expected);
    }
    return 0;
}
