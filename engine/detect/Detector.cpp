#include "detect/Detector.h"

#include <algorithm>
#include <cmath>

#include "detect/ReadWrongSearch.h"
#include "detect/ReadingGroups.h"
#include "detect/ReadingScore.h"

namespace varnex {

namespace {

constexpr double kFirstCut = 30;            // the first ranking keeps the readings this close to the best
constexpr std::size_t kFirstBlock = 256;    // bytes scored before the readings left behind are first dropped
constexpr std::size_t kBlock = 1024;        // and then between drops
constexpr double kLeftBehind = 40;          // a reading this far below the best is dropped
constexpr double kTemperature = 2.5;        // turns score differences into confidences
constexpr double kSureEnough = 0.5;         // below this the detector cannot tell
constexpr std::size_t kLettersToStop = 64;  // letters a sample needs before a detection may stop early
constexpr double kSureOfBetter = 0.95;      // how sure a warning of the wrong font must be
constexpr double kFarWorse = 20;            // how much worse the named font must read

// One reading scored in one language, a block at a time.
struct Contender {
    std::size_t group;
    ReadingScore score;
    std::size_t position = 0;  // the next byte to read
    bool dropped = false;
};

void Advance(Contender& contender, const FontReading& reading, std::string_view sample, std::size_t end) {
    std::size_t& i = contender.position;
    if (!reading.unicode) {
        for (; i < end; ++i) contender.score.Add(reading.coded[static_cast<unsigned char>(sample[i])]);
        return;
    }
    while (i < end) {
        const auto byte = static_cast<unsigned char>(sample[i]);
        if (byte < 0x80) {
            contender.score.Add(CodedOf(byte));
            ++i;
            continue;
        }
        const char32_t c = NextUtf8(sample, i);
        if (c == 0) return;  // cut short by the sample's end
        contender.score.Add(c == kNoCharacter ? Coded{SymbolKind::NoEntry} : CodedOf(c));
    }
}

// True when what is left of the contenders is settled: one of them, or with `groupOnly`
// one group (in several languages).
bool Settled(const std::vector<Contender>& contenders, bool groupOnly) {
    const Contender* first = nullptr;
    for (const Contender& c : contenders) {
        if (c.dropped) continue;
        if (first && (!groupOnly || c.group != first->group)) return false;
        first = &c;
    }
    return true;
}

// Scores the readings left, a block at a time, dropping those left far behind; stops once
// the rest would change no answer. The first block is always scored, so that the best
// reading's score says how natural it is.
void Score(std::vector<Contender>& contenders, const std::vector<ReadingGroup>& groups,
           const std::vector<FontReading>& readings, std::string_view sample, bool mayStop, bool groupOnly) {
    for (std::size_t end = 0; end < sample.size();) {
        if (mayStop && end > 0 && Settled(contenders, groupOnly)) return;
        end = std::min(sample.size(), end + (end == 0 ? kFirstBlock : kBlock));
        double best = -INFINITY;
        for (Contender& c : contenders) {
            if (c.dropped) continue;
            Advance(c, readings[groups[c.group].fonts.front()], sample, end);
            best = std::max(best, c.score.Total());
        }
        for (Contender& c : contenders) c.dropped = c.dropped || c.score.Total() < best - kLeftBehind;
    }
}

Verdict VerdictOf(const Detection& detection, std::size_t groups) {
    if (groups == 1) return Verdict::AnyFont;
    if (detection.letters < Detector::kFewestLetters || detection.candidates.front().confidence < kSureEnough)
        return Verdict::CannotTell;
    return Verdict::Font;
}

}  // namespace

Detector::Detector(const LoadedMap& map) : readings_(ReadingsOf(map)) {}

std::u32string Detector::Read(std::string_view sample, std::size_t font) const {
    const FontReading& reading = readings_.at(font);
    std::u32string text;
    if (reading.unicode) {
        ForEachUtf8(sample, [&](char32_t c) { text.push_back(c); });
    } else {
        for (const char byte : sample) text.push_back(reading.characters[static_cast<unsigned char>(byte)]);
    }
    return text;
}

Detection Detector::Detect(std::string_view sample, DetectionDepth depth) const {
    const SampleBytes bytes(sample);
    const std::vector<ReadingGroup> groups = GroupReadings(readings_, bytes);
    std::vector<std::size_t> letters;
    std::vector<Contender> contenders;
    for (const FirstPick& pick : FirstCut(groups, readings_, bytes, kFirstCut, letters))
        contenders.push_back({pick.group, ScoreIn(pick.language)});
    const bool enoughLetters = std::all_of(contenders.begin(), contenders.end(), [&](const Contender& c) {
        return letters[c.group] >= kLettersToStop;
    });
    Score(contenders, groups, readings_, sample, enoughLetters, depth == DetectionDepth::FontOnly);

    // each group's best language
    std::vector<const Contender*> bestOf(groups.size(), nullptr);
    for (const Contender& c : contenders) {
        if (!c.dropped && (!bestOf[c.group] || c.score.Total() > bestOf[c.group]->score.Total()))
            bestOf[c.group] = &c;
    }
    std::size_t bestGroup = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        if (bestOf[g] && (!bestOf[bestGroup] || bestOf[g]->score.Total() > bestOf[bestGroup]->score.Total()))
            bestGroup = g;
    }
    const double top = bestOf[bestGroup]->score.Total();
    Detection detection;
    double sum = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        if (!bestOf[g]) continue;
        Candidate candidate;
        for (const std::size_t f : groups[g].fonts) candidate.fonts.push_back(readings_[f].font);
        candidate.score = bestOf[g]->score.Total();
        candidate.lettersScored = bestOf[g]->score.Letters();
        candidate.confidence = std::exp((candidate.score - top) / kTemperature);
        candidate.language = bestOf[g]->score.Model().Name();
        sum += candidate.confidence;
        detection.candidates.push_back(std::move(candidate));
    }
    for (Candidate& candidate : detection.candidates) candidate.confidence /= sum;
    std::stable_sort(detection.candidates.begin(), detection.candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.score > b.score; });
    detection.letters = letters[bestGroup];
    detection.verdict = VerdictOf(detection, groups.size());
    if (detection.verdict != Verdict::AnyFont && detection.letters >= kFewestLetters)
        detection.readWrong =
            FindReadWrong(*this, sample, groups[bestGroup].fonts.front(), detection.candidates.front());
    return detection;
}

std::optional<std::string> Detector::ReadsBetterAs(std::string_view sample, const std::string& named) const {
    const SampleBytes bytes(sample);
    const std::vector<ReadingGroup> groups = GroupReadings(readings_, bytes);
    const auto ofNamed = [&](const ReadingGroup& group) {
        return std::any_of(group.fonts.begin(), group.fonts.end(),
                           [&](std::size_t f) { return readings_[f].font == named; });
    };
    std::vector<std::size_t> letters;
    const std::vector<FirstPick> picks = FirstCut(groups, readings_, bytes, kFirstCut, letters);
    // most often the cheap first ranking leaves the named font alone
    if (std::all_of(picks.begin(), picks.end(), [&](const FirstPick& p) { return ofNamed(groups[p.group]); }))
        return std::nullopt;
    const Detection detection = Detect(sample, DetectionDepth::FontOnly);
    const Candidate* best = detection.Best();
    if (detection.verdict != Verdict::Font || detection.readWrong || !best ||
        best->confidence < kSureOfBetter || detection.letters < kLettersToWarn ||
        std::count(best->fonts.begin(), best->fonts.end(), named))
        return std::nullopt;
    for (const Candidate& candidate : detection.candidates) {
        const bool isNamed = std::count(candidate.fonts.begin(), candidate.fonts.end(), named) > 0;
        if (isNamed && candidate.score > best->score - kFarWorse) return std::nullopt;
    }
    return best->fonts.front();
}

}  // namespace varnex
