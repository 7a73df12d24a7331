#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace varnex {

// One reading of a sample: the fonts that all read it as the same text, and how sure the
// detector is that the text is in them.
struct Candidate {
    std::vector<std::string> fonts;  // in the map's order; the first is the one to convert from
    double confidence = 0;           // 0 to 1; the candidates' confidences add up to 1
    std::string language;            // the language the text reads best as ("Russian")
    double score = 0;                // the log-likelihood behind the confidence
    std::size_t lettersScored = 0;   // the letters that the score covers (scoring may stop early)
};

// Text read in the wrong font and saved again: what was typed in `typed` was read as
// `readAs` and stored in `stored` ("UTF-8 read as Windows-1251", stored as UTF-8).
struct ReadWrong {
    std::string typed;
    std::string readAs;
    std::string stored;
    double confidence = 0;
    std::string language;
};

enum class Verdict {
    Font,        // the best candidate is the answer
    AnyFont,     // every font of the map reads the sample as the same text (plain ASCII)
    CannotTell,  // too few letters, or no candidate stands out
};

struct Detection {
    Verdict verdict = Verdict::CannotTell;
    std::vector<Candidate> candidates;  // best first; those left far behind are not listed
    std::size_t letters = 0;            // in the best candidate's reading
    std::optional<ReadWrong> readWrong;

    const Candidate* Best() const { return candidates.empty() ? nullptr : &candidates.front(); }
};

}  // namespace varnex
