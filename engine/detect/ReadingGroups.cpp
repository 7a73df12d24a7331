#include "detect/ReadingGroups.h"

#include <algorithm>
#include <unordered_map>

#include "detect/Languages.h"
#include "detect/ReadingScore.h"

namespace varnex {

namespace {

bool SameReading(const FontReading& a, const FontReading& b, const SampleBytes& bytes) {
    return std::all_of(bytes.present.begin(), bytes.present.end(),
                       [&](std::uint8_t code) { return a.characters[code] == b.characters[code]; });
}

bool KeepsAscii(const FontReading& font, const SampleBytes& bytes) {
    return std::all_of(bytes.present.begin(), bytes.present.end(), [&](std::uint8_t code) {
        return code >= 0x80 || font.characters[code] == (code == 0 ? kNoCharacter : code);
    });
}

// How often each character occurs in the sample read as UTF-8: most are below U+0800 and are
// counted in place, the rest and the ill-formed sequences on their own.
std::vector<std::pair<Coded, std::uint32_t>> Utf8Counts(std::string_view sample, double& repeated) {
    std::vector<std::uint32_t> below(0x800, 0);
    std::unordered_map<char32_t, std::uint32_t> above;
    std::uint32_t illFormed = 0;
    char32_t previous = kNoCharacter;
    ForEachUtf8(sample, [&](char32_t c) {
        if (c == previous && c >= 0x2500 && c < 0x2600) repeated += ReadingScore::Repeated(CodedOf(c));
        previous = c;
        if (c < 0x800) {
            ++below[c];
        } else if (c == kNoCharacter) {
            ++illFormed;
        } else {
            ++above[c];
        }
    });
    std::vector<std::pair<Coded, std::uint32_t>> counts;
    for (char32_t c = 0; c < 0x800; ++c) {
        if (below[c]) counts.push_back({CodedOf(c), below[c]});
    }
    for (const auto& [c, count] : above) counts.push_back({CodedOf(c), count});
    if (illFormed) counts.push_back({Coded{SymbolKind::NoEntry}, illFormed});
    return counts;
}

// Without a byte from 0x80 to 0xBF no sequence continues: every other high byte is one
// ill-formed sequence, and the counts are the sample's own.
std::vector<std::pair<Coded, std::uint32_t>> LeadsOnly(const SampleBytes& bytes) {
    std::vector<std::pair<Coded, std::uint32_t>> counts;
    std::uint32_t illFormed = 0;
    for (const std::uint8_t code : bytes.present) {
        if (code < 0x80) {
            counts.push_back({CodedOf(code), bytes.count[code]});
        } else {
            illFormed += bytes.count[code];
        }
    }
    if (illFormed) counts.push_back({Coded{SymbolKind::NoEntry}, illFormed});
    return counts;
}

}  // namespace

SampleBytes::SampleBytes(std::string_view text) : sample(text) {
    unsigned previous = 256;
    for (const char byte : text) {
        const auto code = static_cast<unsigned char>(byte);
        ++count[code];
        repeats[code] += code == previous;
        previous = code;
    }
    for (std::size_t code = 0; code < 256; ++code) {
        if (count[code]) present.push_back(static_cast<std::uint8_t>(code));
    }
    high = !present.empty() && present.back() >= 0x80;
    for (std::size_t code = 0x80; code < 0xC0; ++code) continuations = continuations || count[code] != 0;
}

std::vector<ReadingGroup> GroupReadings(const std::vector<FontReading>& readings, const SampleBytes& bytes) {
    std::vector<ReadingGroup> groups;
    std::size_t unicode = readings.size();
    for (std::size_t f = 0; f < readings.size(); ++f) {
        if (readings[f].unicode) {
            unicode = f;
            continue;
        }
        auto same = std::find_if(groups.begin(), groups.end(), [&](const ReadingGroup& group) {
            return SameReading(readings[group.fonts.front()], readings[f], bytes);
        });
        if (same == groups.end()) {
            groups.push_back({{f}});
        } else {
            same->fonts.push_back(f);
        }
    }
    if (unicode == readings.size()) return groups;
    auto ascii =
        bytes.high ? groups.end() : std::find_if(groups.begin(), groups.end(), [&](const ReadingGroup& g) {
            return KeepsAscii(readings[g.fonts.front()], bytes);
        });
    if (ascii == groups.end()) {
        groups.push_back({{unicode}, true});
    } else {
        ascii->fonts.push_back(unicode);
        std::sort(ascii->fonts.begin(), ascii->fonts.end());
    }
    return groups;
}

std::vector<FirstPick> FirstCut(const std::vector<ReadingGroup>& groups,
                                const std::vector<FontReading>& readings, const SampleBytes& bytes,
                                double margin, std::vector<std::size_t>& letters) {
    const std::size_t languages = Languages::Known().All().size();
    std::vector<double> alone(groups.size() * languages, 0);
    letters.assign(groups.size(), 0);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const FontReading& reading = readings[groups[g].fonts.front()];
        double* totals = &alone[g * languages];
        if (!reading.unicode) {
            for (const std::uint8_t code : bytes.present) {
                const std::uint32_t count = bytes.count[code];
                letters[g] += reading.coded[code].kind == SymbolKind::Letter ? count : 0;
                const double repeated = bytes.repeats[code] * ReadingScore::Repeated(reading.coded[code]);
                for (std::size_t l = 0; l < languages; ++l)
                    totals[l] += count * reading.alone[l][code] + repeated;
            }
            continue;
        }
        double repeated = 0;
        const auto counts = bytes.continuations ? Utf8Counts(bytes.sample, repeated) : LeadsOnly(bytes);
        for (std::size_t l = 0; l < languages; ++l) {
            const ReadingScore score = ScoreIn(l);
            totals[l] += repeated;
            for (const auto& [symbol, count] : counts) totals[l] += count * score.Alone(symbol);
        }
        for (const auto& [symbol, count] : counts)
            letters[g] += symbol.kind == SymbolKind::Letter ? count : 0;
    }
    const double best = *std::max_element(alone.begin(), alone.end());
    std::vector<FirstPick> picks;
    for (std::size_t i = 0; i < alone.size(); ++i) {
        if (alone[i] >= best - margin) picks.push_back({i / languages, i % languages});
    }
    return picks;
}

}  // namespace varnex
