#include "detect/ReadWrongSearch.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "detect/Detector.h"
#include "detect/ReadingScore.h"
#include "text/Utf8Characters.h"

namespace varnex {

namespace {

constexpr std::size_t kLookedAt = 4096;      // bytes of the sample looked at
constexpr double kNaturalPerLetter = -4.5;   // a plain reading this good per letter is left alone
                                             // (natural text scores -3.0 to -3.5, mojibake -6)
constexpr double kFarBetterPerLetter = 1.0;  // a chain must be this much better per letter
constexpr std::size_t kKeptAfterFirstCut = 4;
constexpr double kTemperature = 2.5;

struct Chain {
    std::size_t typed, readAs;
    std::u32string text;
    double alone = 0;
};

std::u32string ReadIn(const FontReading& font, std::string_view bytes) {
    std::u32string text;
    if (font.unicode) {
        ForEachUtf8(bytes, [&](char32_t c) { text.push_back(c); });
    } else {
        for (const char byte : bytes) text.push_back(font.characters[static_cast<unsigned char>(byte)]);
    }
    return text;
}

}  // namespace

std::optional<std::string> WriteIn(const FontReading& font, std::u32string_view text) {
    std::string bytes;
    if (font.unicode) {
        for (const char32_t c : text) {
            if (c == kNoCharacter || c == 0) return std::nullopt;
            AppendUtf8(bytes, c);
        }
        return bytes;
    }
    std::map<char32_t, char> codes;
    for (int code = 255; code >= 1; --code) {
        const char32_t c = font.characters[static_cast<std::size_t>(code)];
        if (c != kNoCharacter) codes[c] = static_cast<char>(code);
    }
    for (const char32_t c : text) {
        const auto found = codes.find(c);
        if (found == codes.end()) return std::nullopt;
        bytes.push_back(found->second);
    }
    return bytes;
}

std::optional<ReadWrong> FindReadWrong(const Detector& detector, std::string_view sample, std::size_t stored,
                                       const Candidate& plain) {
    if (plain.lettersScored > 0 && plain.score / static_cast<double>(plain.lettersScored) > kNaturalPerLetter)
        return std::nullopt;
    const auto& fonts = detector.Readings();
    const std::u32string text = ReadIn(fonts[stored], sample.substr(0, kLookedAt));
    const TextScore asIs = ScoreText(text);
    if (asIs.letters < Detector::kFewestLetters) return std::nullopt;
    const double letters = static_cast<double>(asIs.letters);
    if (asIs.total / letters > kNaturalPerLetter) return std::nullopt;
    std::vector<Chain> chains;
    for (std::size_t b = 0; b < fonts.size(); ++b) {
        if (fonts[b].unicode) continue;  // text read as UTF-8 and saved again is the same bytes
        const std::optional<std::string> written = WriteIn(fonts[b], text);
        if (!written) continue;
        for (std::size_t a = 0; a < fonts.size(); ++a) {
            if (a == b) continue;
            Chain chain{a, b, ReadIn(fonts[a], *written)};
            if (chain.text == text) continue;
            chain.alone = ScoreAlone(chain.text).total;
            chains.push_back(std::move(chain));
        }
    }
    std::stable_sort(chains.begin(), chains.end(),
                     [](const Chain& x, const Chain& y) { return x.alone > y.alone; });
    chains.resize(std::min(chains.size(), kKeptAfterFirstCut));
    std::optional<ReadWrong> found;
    double best = asIs.total + kFarBetterPerLetter * letters;
    for (const Chain& chain : chains) {
        const TextScore score = ScoreText(chain.text);
        if (score.total <= best || score.letters < asIs.letters / 2) continue;
        best = score.total;
        const double confidence = 1 / (1 + std::exp((asIs.total - score.total) / kTemperature));
        found = ReadWrong{fonts[chain.typed].font, fonts[chain.readAs].font, plain.fonts.front(), confidence,
                          score.model->Name()};
    }
    return found;
}

}  // namespace varnex
