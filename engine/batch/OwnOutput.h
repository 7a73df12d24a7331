#pragma once

#include <memory>

#include "batch/ConversionRun.h"
#include "batch/OutputPlan.h"
#include "files/InPlaceOutput.h"
#include "files/SafeOutput.h"

namespace varnex {

// The new file of an input that gets a file of its own (beside it, or in its place). It is
// made, placed and dropped in the steps of the run's hooks, which keep its named temporary
// file known, so that a program ended by a signal never leaves it behind.
class OwnOutput {
public:
    OwnOutput(const ConversionRun& run, const OutputPlan& plan, std::size_t index);  // throws Failure
    ~OwnOutput();
    OwnOutput(const OwnOutput&) = delete;
    OwnOutput& operator=(const OwnOutput&) = delete;

    NewFile& File() { return Safe().File(); }
    int Descriptor() { return Safe().File().Descriptor(); }
    // The text has no name (O_TMPFILE): it may wait for its batch's sync; a named temporary
    // file is committed at once, so that a thread has one at a time.
    bool Unnamed() { return Safe().TemporaryPath().empty(); }

    // After the last write: writes what is buffered; in place, the file takes the original's
    // permissions, owner and times.
    void Finish();
    // Syncs and places it now.
    void Commit();
    // Places it, its data synced by its batch.
    void Place();

private:
    void PlaceNow();
    SafeOutput& Safe() { return inPlace_ ? inPlace_->Output() : *beside_; }

    BatchHooks& hooks_;
    bool replace_;
    std::unique_ptr<SafeOutput> beside_;
    std::unique_ptr<InPlaceOutput> inPlace_;
};

}  // namespace varnex
