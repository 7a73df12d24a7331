// Every conversion path this processor has against the plain rule, on a random map and a
// random text. The text ends where an inaccessible page begins, and so does the output
// buffer of exactly ConvertedCapacity bytes: a read past the text or a write past the
// capacity faults. Outputs must be byte-equal.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "GuardedBuffer.h"
#include "PlainRule.h"
#include "convert/CharacterRule.h"

namespace {

using varnex::FontMap;

// The longest entry a map may have, by the map's kind: one code (the byte loops), up to
// two, three, four or seven codes (the packed and plane loops), or any length.
constexpr std::size_t kLongestByKind[] = {1, 1, 2, 3, 4, 7, 255};

std::string RandomEntry(FuzzedDataProvider& data, std::size_t longest) {
    const auto kind = data.ConsumeIntegral<std::uint8_t>();
    if (kind % 8 == 0) return "";  // a hole
    std::size_t length = 1;
    if (longest > 1 && kind % 8 >= 5) {
        // Mostly short entries, now and then one of the longest allowed.
        length = kind % 8 == 7
                     ? longest
                     : data.ConsumeIntegralInRange<std::size_t>(1, std::min<std::size_t>(longest, 8));
    }
    std::string entry(length, '\0');
    for (auto& c : entry) c = static_cast<char>(data.ConsumeIntegral<std::uint8_t>());  // NUL targets too
    return entry;
}

// How the map starts before its random entries: as it comes, with codes 1..127 converting to
// themselves (as every ASCII-based code page does; one of them may then be changed), or with
// every code converting to a different value, so that one value alone is left unused.
enum class Layout { Random, AsciiKept, AsciiKeptButOne, AllValuesButOne, kCount };

void Prefill(FuzzedDataProvider& data, Layout layout, FontMap& map) {
    if (layout == Layout::AsciiKept || layout == Layout::AsciiKeptButOne) {
        for (int code = 1; code < 128; ++code) map.Set(code, std::string(1, static_cast<char>(code)));
    }
    if (layout == Layout::AllValuesButOne) {
        const int shift = data.ConsumeIntegral<std::uint8_t>();
        for (int code = 1; code < 256; ++code) map.Set(code, std::string(1, static_cast<char>(code + shift)));
    }
}

FontMap RandomMap(FuzzedDataProvider& data) {
    const std::size_t longest =
        kLongestByKind[data.ConsumeIntegralInRange<std::size_t>(0, std::size(kLongestByKind) - 1)];
    const auto layout =
        static_cast<Layout>(data.ConsumeIntegralInRange<int>(0, static_cast<int>(Layout::kCount) - 1));
    FontMap map;
    Prefill(data, layout, map);
    const int first = layout == Layout::AsciiKept || layout == Layout::AsciiKeptButOne ? 128
                      : layout == Layout::AllValuesButOne                              ? 256
                                                                                       : 1;
    for (int code = first; code < 256; ++code) {
        // Now and then the same entry as an earlier code.
        if (code > 1 && data.ConsumeIntegral<std::uint8_t>() < 16) {
            map.Set(code, map.Entry(data.ConsumeIntegralInRange<int>(1, code - 1)));
        } else {
            map.Set(code, RandomEntry(data, longest));
        }
    }
    if (layout == Layout::AsciiKeptButOne || (layout == Layout::AllValuesButOne && data.ConsumeBool())) {
        map.Set(data.ConsumeIntegralInRange<int>(1, 255), RandomEntry(data, longest));
    }
    // As a loaded map has it, half of the time; now and then one entry changed after that.
    if (data.ConsumeBool()) {
        map.PreparePairs();
        if (data.ConsumeBool()) map.Set(data.ConsumeIntegralInRange<int>(1, 255), RandomEntry(data, longest));
    }
    return map;
}

void CheckPath(varnex::VectorLevel level, const FontMap& map, const varnex::fuzz::GuardedBuffer& text,
               const std::string& expected) {
    varnex::fuzz::GuardedBuffer out(varnex::ConvertedCapacity(map, text.size()));
    const std::size_t produced = varnex::ConvertCodesAt(level, map, text.data(), text.size(), out.data());
    if (produced != expected.size() || std::memcmp(out.data(), expected.data(), produced) != 0) {
        std::fprintf(stderr, "path %s: %zu bytes from %zu codes differ from the plain rule's %zu\n",
                     varnex::VectorLevelName(level), produced, text.size(), expected.size());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const FontMap map = RandomMap(data);
    const std::vector<std::uint8_t> codes = data.ConsumeRemainingBytes<std::uint8_t>();
    varnex::fuzz::GuardedBuffer text(codes.size());
    if (!codes.empty()) std::memcpy(text.data(), codes.data(), codes.size());
    const std::string expected = varnex::test::PlainRule(
        map, std::string_view(reinterpret_cast<const char*>(codes.data()), codes.size()));
    for (const varnex::VectorLevel level : varnex::VectorLevelsHere()) CheckPath(level, map, text, expected);
    return 0;
}
