// The ARM64 paths against the plain rule, cross-compiled and run under qemu-aarch64 (see
// neon_cross_test.sh). Plain main: the cross build has no test framework.
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "PlainRule.h"
#include "convert/CharacterRule.h"

namespace {

using varnex::FontMap;
using varnex::VectorLevel;

int failures = 0;
int checks = 0;

void Expect(bool ok, const std::string& what) {
    ++checks;
    if (!ok) {
        ++failures;
        std::printf("FAILED: %s\n", what.c_str());
    }
}

FontMap RandomMap(std::mt19937& random, std::size_t longest, int holesInSixteen) {
    std::uniform_int_distribution<int> byte(0, 255), sixteenth(0, 15);
    std::uniform_int_distribution<std::size_t> length(1, longest);
    FontMap map;
    for (int code = 1; code < 256; ++code) {
        if (sixteenth(random) < holesInSixteen) continue;
        std::string entry(length(random), '\0');
        for (auto& c : entry) c = static_cast<char>(byte(random));
        map.Set(code, entry);
    }
    return map;
}

std::string Convert(VectorLevel level, const FontMap& map, const std::string& text) {
    std::vector<std::uint8_t> out(varnex::ConvertedCapacity(map, text.size()));
    const std::size_t n = varnex::ConvertCodesAt(
        level, map, reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), out.data());
    return std::string(reinterpret_cast<const char*>(out.data()), n);
}

// Codes 1..127 to themselves and the upper half moved within itself: the loops that look up
// the upper half alone. Then every code to a value of its own: one value alone is free.
std::vector<FontMap> FixedMaps() {
    FontMap ascii;
    for (int code = 1; code < 256; ++code) {
        ascii.Set(code, std::string(1, static_cast<char>(code < 128 ? code : code ^ 0x5A)));
    }
    ascii.Set(200, "");
    FontMap distinct;
    for (int code = 1; code < 256; ++code) distinct.Set(code, std::string(1, static_cast<char>(code + 7)));
    FontMap transliteration = ascii;
    for (int code = 0xC0; code < 0x100; code += 3) transliteration.Set(code, code % 2 ? "sh" : "shc");
    return {ascii, distinct, transliteration};
}

// Random maps, and the fixed ones; each with entries of several codes also with its pair
// table built, as a loaded map has it.
std::vector<FontMap> Maps(std::mt19937& random) {
    std::vector<FontMap> maps;
    for (const std::size_t longest : {1, 1, 1, 2, 3, 8, 255}) {
        for (const int holes : {0, 1, 8, 15}) maps.push_back(RandomMap(random, longest, holes));
    }
    for (FontMap& map : FixedMaps()) maps.push_back(map);
    const std::size_t unpaired = maps.size();
    for (std::size_t i = 0; i < unpaired; ++i) {
        FontMap paired = maps[i];
        paired.PreparePairs();
        if (paired.PairEntries()) maps.push_back(paired);
    }
    return maps;
}

void PathsAgreeWithThePlainRule() {
    std::mt19937 random(2010);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::size_t> sizes;
    for (std::size_t size = 0; size <= 40; ++size) sizes.push_back(size);
    for (const std::size_t size : {63, 64, 65, 100, 1023, 1024, 4099}) sizes.push_back(size);
    const std::vector<FontMap> maps = Maps(random);
    for (std::size_t m = 0; m < maps.size(); ++m) {
        const FontMap& map = maps[m];
        for (const std::size_t size : sizes) {
            std::string text(size, '\0');
            for (auto& c : text) c = static_cast<char>(byte(random));
            const std::string expected = varnex::test::PlainRule(map, text);
            for (const VectorLevel level : {VectorLevel::Neon, VectorLevel::Scalar}) {
                Expect(Convert(level, map, text) == expected,
                       std::string(varnex::VectorLevelName(level)) + ", map " + std::to_string(m) +
                           " (longest " + std::to_string(map.MaxEntryLength()) +
                           (map.PairEntries() ? ", pair table" : "") + "), " + std::to_string(size) +
                           " codes");
            }
        }
    }
}

void ChoosesNeonAndRefusesX86Paths() {
    Expect(varnex::SupportedVectorLevel() == VectorLevel::Neon, "NEON is the fastest path here");
    Expect(varnex::VectorChoiceProblem("neon").empty(), "neon can be forced");
    Expect(!varnex::VectorChoiceProblem("avx2").empty(), "avx2 is refused");
    Expect(!varnex::VectorChoiceProblem("avx512").empty(), "avx512 is refused");
}

}  // namespace

int main() {
    PathsAgreeWithThePlainRule();
    ChoosesNeonAndRefusesX86Paths();
    std::printf("%d passed, %d failed\n", checks - failures, failures);
    return failures == 0 ? 0 : 1;
}
