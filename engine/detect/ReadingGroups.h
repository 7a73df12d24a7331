#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "detect/FontReadings.h"

namespace varnex {

// The bytes of a sample and how often each occurs.
struct SampleBytes {
    explicit SampleBytes(std::string_view sample);

    std::string_view sample;
    std::array<std::uint32_t, 256> count{};
    std::array<std::uint32_t, 256> repeats{};  // how often a code follows itself
    std::vector<std::uint8_t> present;         // the codes that occur, in order
    bool high = false;                         // a code from 128 up occurs
    bool continuations = false;                // a code from 0x80 to 0xBF occurs: UTF-8 may continue
};

// The fonts that read a sample as the same text; the first is the one to score and convert from.
struct ReadingGroup {
    std::vector<std::size_t> fonts;
    bool unicode = false;
};

// The fonts of a map grouped by the text they read the sample as, in the map's order. Plain
// ASCII reads in UTF-8 as in a font that keeps ASCII.
std::vector<ReadingGroup> GroupReadings(const std::vector<FontReading>& readings, const SampleBytes& bytes);

// A group's reading in one language that is worth scoring closely.
struct FirstPick {
    std::size_t group;
    std::size_t language;  // in Languages::Known().All()
};

// Every group's reading in every language, ranked by its characters' counts alone
// (ReadingScore::Alone): those within `margin` of the best. `letters` gets each group's count
// of letters.
std::vector<FirstPick> FirstCut(const std::vector<ReadingGroup>& groups,
                                const std::vector<FontReading>& readings, const SampleBytes& bytes,
                                double margin, std::vector<std::size_t>& letters);

}  // namespace varnex
