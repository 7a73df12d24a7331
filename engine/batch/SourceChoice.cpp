#include "batch/SourceChoice.h"

#include <algorithm>
#include <cstdio>

#include "Failure.h"
#include "detect/MisreadCheck.h"

namespace varnex {

namespace {

std::string Candidates(const Detection& detection) {
    std::string text;
    for (std::size_t i = 0; i < detection.candidates.size() && i < 3; ++i) {
        char confidence[16];
        std::snprintf(confidence, sizeof confidence, " %.2f", detection.candidates[i].confidence);
        text += (i ? ", " : "") + detection.candidates[i].fonts.front() + confidence;
    }
    return text;
}

[[noreturn]] void CannotTell(const std::string& shownName, const Detection& detection) {
    std::string why = detection.letters < Detector::kFewestLetters
                          ? std::to_string(detection.letters) + " letters are too few to tell"
                          : "it may be " + Candidates(detection);
    throw Failure(kBadFileFormat,
                  shownName + ": cannot tell which font it is in (" + why + "); give -f FONT");
}

// A named font that the input does not read as: told, or with strict a failure of the input.
void WarnOfNamedFont(const ConversionRun& run, const std::string& shownName, std::string_view sample) {
    if (!run.named || !run.detector || !MayBeMisread(*run.named, sample)) return;
    const std::string& named = run.documentFonts.source;
    const auto better = run.detector->Get().ReadsBetterAs(sample, named);
    if (!better) return;
    if (run.request.strict)
        throw Failure(kBadFileFormat, shownName + " reads as " + *better + ", not " + named);
    run.observer.ReadsAs(shownName, *better, named);
}

}  // namespace

SourceChoice ChooseSource(const ConversionRun& run, const std::string& shownName, std::string_view sample) {
    if (!run.detects) {
        WarnOfNamedFont(run, shownName, sample);
        return {SourceChoice::Way::Map, &run.map, nullptr, {}};
    }
    const Detection detection = run.detector->Get().Detect(sample, DetectionDepth::FontOnly);
    const std::string& target = run.documentFonts.target;
    SourceChoice choice;
    if (detection.verdict == Verdict::AnyFont) {
        choice.way = SourceChoice::Way::Copy;
        choice.found = {"", 1, detection.Best() ? detection.Best()->language : "", "", "", true};
        return choice;
    }
    if (detection.verdict == Verdict::CannotTell) CannotTell(shownName, detection);
    if (const auto& wrong = detection.readWrong) {
        choice.way = SourceChoice::Way::Twice;
        choice.first = &run.pairs->Between(wrong->stored, wrong->readAs);
        choice.map = &run.pairs->Between(wrong->typed, target);
        choice.found = {wrong->typed,  wrong->confidence, wrong->language,
                        wrong->readAs, wrong->stored,     false};
        return choice;
    }
    const Candidate& best = *detection.Best();
    choice.found = {best.fonts.front(), best.confidence, best.language, "", "", false};
    if (std::find(best.fonts.begin(), best.fonts.end(), target) != best.fonts.end()) {
        choice.way = SourceChoice::Way::Copy;
        choice.found.font = target;
        choice.found.unchanged = true;
        return choice;
    }
    choice.map = &run.pairs->Between(best.fonts.front(), target);
    return choice;
}

}  // namespace varnex
