#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "Failure.h"
#include "PlainRule.h"
#include "convert/CharacterRule.h"

namespace varnex {
namespace {

std::string Convert(const FontMap& map, const std::string& input,
                    VectorLevel level = SupportedVectorLevel()) {
    return test::ConvertAt(level, map, input);
}

std::string RandomCodes(std::mt19937& random, std::size_t length) {
    std::uniform_int_distribution<int> code(0, 255);
    std::string text(length, '\0');
    for (auto& c : text) c = static_cast<char>(code(random));
    return text;
}

FontMap ShiftedMap() {
    FontMap map;
    for (int c = 1; c < 256; ++c) map.Set(c, std::string(1, static_cast<char>((c + 7) & 0xFF)));
    return map;
}

struct MapCase {
    const char* name;
    FontMap map;
};

std::vector<MapCase> Maps() {
    std::vector<MapCase> cases;
    cases.push_back({"empty", FontMap()});
    cases.push_back({"one code each", ShiftedMap()});
    FontMap holes = ShiftedMap();
    for (int c : {1, 17, 40, 128, 200, 255}) holes.Set(c, "");
    cases.push_back({"one code or none", holes});
    FontMap zeros = ShiftedMap();
    zeros.Set(65, std::string(1, '\0'));  // a target code 0 is written, not dropped
    cases.push_back({"code 0 as a target", zeros});
    FontMap pairs = holes;
    for (int c = 0xC0; c < 0x100; c += 3) pairs.Set(c, "sh");
    cases.push_back({"up to two codes", pairs});
    FontMap sparse;
    for (int c = 2; c < 256; c += 2) sparse.Set(c, std::string(1, static_cast<char>(c ^ 0x55)));
    cases.push_back({"every other code dropped", sparse});
    // Codes 1..127 converting to themselves, as in every ASCII-based code page, and the
    // upper half moved within itself, with holes; then ways in which the lower half is not
    // the code itself.
    FontMap ascii;
    for (int c = 1; c < 128; ++c) ascii.Set(c, std::string(1, static_cast<char>(c)));
    for (int c = 128; c < 256; ++c) ascii.Set(c, std::string(1, static_cast<char>(c ^ 0x5A)));
    for (int c : {128, 200, 255}) ascii.Set(c, "");
    cases.push_back({"ASCII kept", ascii});
    FontMap asciiNul = ascii;
    asciiNul.Set(0xE0, std::string(1, '\0'));
    cases.push_back({"ASCII kept, an upper code to 0", asciiNul});
    FontMap asciiHole = ascii;
    asciiHole.Set(0x41, "");
    cases.push_back({"ASCII kept but for a hole", asciiHole});
    FontMap asciiMoved = ascii;
    asciiMoved.Set(0x7F, "~");
    cases.push_back({"ASCII kept but for one code", asciiMoved});
    FontMap multi = holes;
    multi.Set(66, "xy");
    multi.Set(70, std::string("\0\0\0", 3));
    cases.push_back({"up to three codes", multi});
    multi.Set(71, "abcd");
    cases.push_back({"up to four codes", multi});
    multi.Set(67, "1234567");
    multi.Set(68, "12345678");
    multi.Set(69, std::string(255, 'z'));
    cases.push_back({"several codes", multi});
    return cases;
}

// Each map as Set() left it, and again with its pair table built, as a loaded map has it.
std::vector<MapCase> MapsWithAndWithoutPairs() {
    std::vector<MapCase> cases = Maps();
    const std::size_t plain = cases.size();
    for (std::size_t i = 0; i < plain; ++i) {
        MapCase paired = cases[i];
        paired.map.PreparePairs();
        if (paired.map.PairEntries()) cases.push_back(paired);
    }
    return cases;
}

// Every length up to a few vector widths, so that every loop ends on every kind of tail,
// and a few long ones.
std::vector<std::size_t> Lengths() {
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n <= 130; ++n) lengths.push_back(n);
    for (const std::size_t n : {1024, 1025, 5000}) lengths.push_back(n);
    return lengths;
}

TEST(CharacterRule, FastPathsAgreeWithThePlainRule) {
    std::mt19937 random(2010);
    for (const VectorLevel level : VectorLevelsHere()) {
        for (const auto& mapCase : MapsWithAndWithoutPairs()) {
            for (const std::size_t length : Lengths()) {
                for (int round = 0; round < 4; ++round) {
                    std::string input = RandomCodes(random, length);
                    if (round == 1) {
                        for (auto& c : input)
                            c = static_cast<char>((c & 0x3F) | 0x40);  // mostly letters, rare holes
                    }
                    EXPECT_EQ(Convert(mapCase.map, input, level), test::PlainRule(mapCase.map, input))
                        << mapCase.name << ", " << length << " codes, round " << round << ", level "
                        << VectorLevelName(level);
                }
            }
        }
    }
}

TEST(CharacterRule, AnEntryChangedAfterThePairTableIsBuiltIsConvertedAsChanged) {
    std::mt19937 random(7);
    for (const VectorLevel level : VectorLevelsHere()) {
        FontMap map = ShiftedMap();
        map.Set(0xC1, "sh");
        map.PreparePairs();
        ASSERT_NE(map.PairEntries(), nullptr);
        map.Set(0xC2, "zh");
        map.Set(0xC4, "shc");
        // 40 codes: too few for the AVX-512 loop, which would otherwise take the 4,096.
        for (const std::size_t length : {std::size_t{40}, std::size_t{4096}}) {
            const std::string input = RandomCodes(random, length);
            EXPECT_EQ(Convert(map, input, level), test::PlainRule(map, input)) << VectorLevelName(level);
        }
        map.Set(0xC3, "shchy");  // longer than the pair table takes
        map.PreparePairs();
        EXPECT_EQ(map.PairEntries(), nullptr);
        const std::string input = RandomCodes(random, 4096);
        EXPECT_EQ(Convert(map, input, level), test::PlainRule(map, input)) << VectorLevelName(level);
    }
}

// The fast forms of the byte table are taken where they apply: a fault that never took them
// would still convert correctly, only slowly.
TEST(FontMap, MarksDroppedCodesWithAFreeValueAndSeesAnUnchangedLowerHalf) {
    const std::vector<MapCase> cases = Maps();
    const auto find = [&](const std::string& name) -> const FontMap& {
        for (const auto& c : cases)
            if (c.name == name) return c.map;
        throw std::runtime_error(name);
    };
    EXPECT_TRUE(find("ASCII kept").KeepsLowerHalf());
    EXPECT_EQ(find("ASCII kept").DropMarker(), 0);
    for (const char* name : {"ASCII kept, an upper code to 0", "ASCII kept but for a hole",
                             "ASCII kept but for one code", "one code each"}) {
        EXPECT_FALSE(find(name).KeepsLowerHalf()) << name;
    }
    // Every value but 7 is taken by the shifted map (code 249 converts to 0).
    EXPECT_EQ(find("one code each").DropMarker(), 7);
    for (const auto& c : cases) {
        for (int code = 1; code < 256; ++code) {
            if (c.map.ByteKeeps()[code]) {
                EXPECT_NE(c.map.ByteValues()[code], c.map.DropMarker()) << c.name;
            }
        }
    }
}

TEST(CharacterRule, CodeZeroHasNoEntry) {
    const FontMap map = ShiftedMap();
    EXPECT_EQ(Convert(map, std::string("A\0B", 3)), "HI");
    EXPECT_EQ(FindCodeWithoutEntry(std::string("ab\0", 3)), 2u);
    EXPECT_EQ(FindCodeWithoutEntry("abc"), std::string::npos);
}

TEST(VectorChoice, NamesEveryPathAndRefusesWhatThisProcessorLacks) {
    EXPECT_EQ(VectorChoiceProblem(""), "");
    for (const VectorLevel level : VectorLevelsHere())
        EXPECT_EQ(VectorChoiceProblem(VectorLevelName(level)), "");
    EXPECT_NE(VectorChoiceProblem("sse9").find("VARNEX_VECTOR=sse9 names no conversion path"),
              std::string::npos);
    EXPECT_NE(VectorChoiceProblem("AVX2").find("names no conversion path"), std::string::npos);
    const VectorLevel foreign = ProcessorHas(VectorLevel::Neon) ? VectorLevel::Avx2 : VectorLevel::Neon;
    const std::string problem = VectorChoiceProblem(VectorLevelName(foreign));
    EXPECT_NE(problem.find("which this processor does not have"), std::string::npos) << problem;
    EXPECT_THROW(ChooseVectorLevel(foreign), Failure);
}

// The programs call ApplyVectorChoice once at start; a bad setting is a Failure, not a crash
// at the first conversion.
TEST(VectorChoice, EnvironmentForcesAPathOrFailsClearly) {
    const VectorLevel before = ChosenVectorLevel();
    ::setenv("VARNEX_VECTOR", "scalar", 1);
    ApplyVectorChoice();
    EXPECT_EQ(ChosenVectorLevel(), VectorLevel::Scalar);
    ::setenv("VARNEX_VECTOR", "neon-avx", 1);
    try {
        ApplyVectorChoice();
        ADD_FAILURE() << "an unknown path was accepted";
    } catch (const Failure& failure) {
        EXPECT_NE(failure.Description().find("VARNEX_VECTOR=neon-avx"), std::string::npos);
    }
    EXPECT_EQ(ChosenVectorLevel(), VectorLevel::Scalar);
    ::unsetenv("VARNEX_VECTOR");
    ApplyVectorChoice();
    EXPECT_EQ(ChosenVectorLevel(), SupportedVectorLevel());
    ChooseVectorLevel(before);
}

TEST(FontMap, TracksItsLongestEntry) {
    FontMap map;
    EXPECT_EQ(map.MaxEntryLength(), 0u);
    map.Set(5, "abc");
    EXPECT_FALSE(map.AllEntriesSingleOrEmpty());
    map.Set(5, "a");
    EXPECT_TRUE(map.AllEntriesSingleOrEmpty());
    map.Clear();
    EXPECT_EQ(map.Entry(5), "");
}

}  // namespace
}  // namespace varnex
