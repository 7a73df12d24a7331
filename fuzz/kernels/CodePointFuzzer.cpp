// The decoding of codes to code points on every path this processor has, against the
// entries themselves: a random map of codes to one or two characters (or none), a random
// text, and an output of exactly the room of the points decoded, ending where an inaccessible
// page begins. The points, their OR and the codes told as dropped must be the same.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "GuardedBuffer.h"
#include "convert/CharacterRule.h"
#include "convert/CodePointConversion.h"

namespace {

using varnex::CodePointDecoder;
using varnex::FontMap;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Mostly the characters of legacy fonts: ASCII, Latin-1, Cyrillic, box drawing; now and
// then any character of the first plane, or (when `wide`) one beyond it.
char32_t RandomCharacter(FuzzedDataProvider& data, bool wide) {
    switch (data.ConsumeIntegralInRange<int>(0, 7)) {
        case 0:
            return data.ConsumeIntegralInRange<char32_t>(1, 0x7F);
        case 1:
            return data.ConsumeIntegralInRange<char32_t>(0x80, 0xFF);
        case 2:
            return data.ConsumeIntegralInRange<char32_t>(0x2500, 0x25FF);
        case 3: {
            const char32_t c = data.ConsumeIntegralInRange<char32_t>(1, 0xFFFD);
            return c >= 0xD800 && c <= 0xDFFF ? c - 0x800 : c;
        }
        case 4:
            if (wide) return data.ConsumeIntegralInRange<char32_t>(0x10000, 0x10FFFF);
            [[fallthrough]];
        default:
            return data.ConsumeIntegralInRange<char32_t>(0x400, 0x4FF);
    }
}

struct RandomMap {
    FontMap map;
    std::vector<std::u32string> entries = std::vector<std::u32string>(256);
};

RandomMap MakeMap(FuzzedDataProvider& data) {
    RandomMap made;
    const bool wide = data.ConsumeIntegralInRange<int>(0, 7) == 0;
    const int holes = data.ConsumeIntegralInRange<int>(0, 3);  // none, few, some, many
    for (int code = 1; code < 256; ++code) {
        const auto kind = data.ConsumeIntegral<std::uint8_t>();
        if (kind % 64 < holes * holes * 2) continue;
        std::u32string& points = made.entries[code];
        points += RandomCharacter(data, wide);
        if (kind % 16 == 15) points += RandomCharacter(data, wide);
        std::string utf8;
        for (const char32_t c : points) AppendUtf8(utf8, c);
        made.map.Set(code, utf8);
    }
    return made;
}

template <typename Unit>
void CheckPath(varnex::VectorLevel level, const CodePointDecoder& decoder,
               const std::vector<std::uint8_t>& codes, const std::u32string& expected, char32_t expectedOr,
               const std::vector<std::uint64_t>& expectedDrops) {
    varnex::ChooseVectorLevel(level);
    // exactly the room of the points: a write past them faults
    varnex::fuzz::GuardedBuffer out(expected.size() * sizeof(Unit));
    std::vector<std::uint64_t> drops;
    char32_t largest = 0;
    const std::size_t written =
        decoder.Decode(codes.data(), codes.size(), reinterpret_cast<Unit*>(out.data()), largest, 7,
                       [&](const varnex::Dropped& dropped) { drops.push_back(dropped.offset - 7); });
    std::u32string got;
    for (std::size_t i = 0; i < written; ++i) {
        Unit unit;
        std::memcpy(&unit, out.data() + i * sizeof(Unit), sizeof(Unit));
        got += static_cast<char32_t>(unit);
    }
    if (got != expected || largest != expectedOr || drops != expectedDrops) {
        std::fprintf(stderr,
                     "path %s, %zu-byte units: %zu points from %zu codes differ from the entries' %zu\n",
                     varnex::VectorLevelName(level), sizeof(Unit), written, codes.size(), expected.size());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const RandomMap random = MakeMap(data);
    const CodePointDecoder decoder(random.map);
    const std::vector<std::uint8_t> codes = data.ConsumeRemainingBytes<std::uint8_t>();
    std::u32string expected;
    char32_t expectedOr = 0;
    std::vector<std::uint64_t> drops;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const std::u32string& points = random.entries[codes[i]];
        if (points.empty()) drops.push_back(i);
        for (const char32_t c : points) expectedOr |= c;
        expected += points;
    }
    for (const varnex::VectorLevel level : varnex::VectorLevelsHere()) {
        CheckPath<char32_t>(level, decoder, codes, expected, expectedOr, drops);
        if (decoder.FitsSixteenBits())
            CheckPath<char16_t>(level, decoder, codes, expected, expectedOr, drops);
    }
    return 0;
}
