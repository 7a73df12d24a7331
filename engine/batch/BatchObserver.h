#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "batch/BatchTotals.h"
#include "batch/FileReport.h"

namespace varnex {

// What the detection found for one input of a batch that detects its fonts.
struct FoundFont {
    std::string font;       // the map's font it is converted from ("" for text of any font)
    double confidence = 0;  // 0 to 1
    std::string language;
    std::string readAs;      // text read in the wrong font and saved again: the font it was
    std::string stored;      // read as, and the font it was saved in
    bool unchanged = false;  // in the target font already, or in any: copied as it is
    bool noMapFont = false;  // a document whose text is in no font of the map but the target
};

// Told what a batch does, from any of its threads (an implementation guards its own state),
// and asked between the pieces of every input whether to stop. The defaults ignore it all.
class BatchObserver {
public:
    virtual ~BatchObserver() = default;
    // The inputs are about to be listed: the batch's time begins.
    virtual void Began() {}
    // True when it shows how far the batch is: only then are the inputs' sizes added up for
    // Planned, and Advanced told.
    virtual bool ShowsProgress() const { return false; }
    // The inputs to convert are known: `files` of them, whose known sizes add up to `bytes`;
    // `only` is the one input's shown name when there is one, else "".
    virtual void Planned(std::size_t /*files*/, std::uint64_t /*bytes*/, const std::string& /*only*/) {}
    // More of the inputs' bytes are converted.
    virtual void Advanced(std::uint64_t /*moreBytes*/) {}
    // The font of an input, when the batch detects them; told before it converts.
    virtual void Detected(const std::string& /*input*/, const FoundFont& /*found*/) {}
    // An input in a named font reads surely as another: "u.txt reads as UTF-8, not KOI8-R".
    virtual void ReadsAs(const std::string& /*input*/, const std::string& /*better*/,
                         const std::string& /*named*/) {}
    // An input is converted; its output may still wait for its group's sync.
    virtual void Converted(const std::string& /*input*/) {}
    // An input is in place: its own output, or its part of the one output.
    virtual void Placed(const std::string& /*input*/) {}
    // An input, a folder or the output failed: why, in the engine's words.
    virtual void Failed(const std::string& /*message*/) {}
    // A file left out of a folder, and what it is ("x.xlsx: a spreadsheet ...").
    virtual void Skipped(const std::string& /*message*/) {}
    // With the request's report: what the conversion of an input left out.
    virtual void Reported(const FileReport& /*report*/) {}
    // The batch is over.
    virtual void Finished(const BatchTotals& /*totals*/) {}
    // True stops the batch: the input being converted gets no output, the others are not
    // begun, and what is already complete is put in place.
    virtual bool CancelRequested() { return false; }
};

}  // namespace varnex
