#pragma once

#include <memory>

#include "ConversionRun.h"
#include "OutputPlan.h"
#include "files/InPlaceOutput.h"
#include "files/SafeOutput.h"

namespace varnex::cli {

// The new file of an input that gets a file of its own (--beside, -i). It is made, placed and
// dropped in steps of the calling thread's interrupt slot, so that an ending signal never
// leaves a named temporary file of it behind.
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

    bool replace_;
    std::unique_ptr<SafeOutput> beside_;
    std::unique_ptr<InPlaceOutput> inPlace_;
};

}  // namespace varnex::cli
