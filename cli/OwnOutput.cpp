#include "OwnOutput.h"

#include "Interrupts.h"

namespace varnex::cli {

OwnOutput::OwnOutput(const ConversionRun& run, const OutputPlan& plan, std::size_t index)
    : replace_(run.options.force) {
    TemporarySlot& slot = TemporarySlot::OfThisThread();
    slot.Step([&] {
        const std::filesystem::path& path = plan.outputs[index];
        if (plan.kind == OutputKind::InPlace) {
            const InPlaceRequest request{*run.options.inPlace, run.options.force, run.options.keepTime};
            inPlace_ = std::make_unique<InPlaceOutput>(path, request, run.temporaryFiles);
        } else {
            beside_ = std::make_unique<SafeOutput>(path, run.temporaryFiles);
        }
        slot.Name(Safe().TemporaryPath());
    });
}

OwnOutput::~OwnOutput() {
    if (Unnamed()) return;  // nothing to remove but in a step
    TemporarySlot& slot = TemporarySlot::OfThisThread();
    slot.Step([&] {
        inPlace_.reset();
        beside_.reset();
        slot.Name({});
    });
}

void OwnOutput::Finish() {
    if (inPlace_) inPlace_->Finish();
    File().Release();  // a batch may keep hundreds of outputs waiting for their sync
}

void OwnOutput::Commit() {
    Safe().File().Sync();  // the long part, still open to an interrupt
    TemporarySlot& slot = TemporarySlot::OfThisThread();
    slot.Step([&] {
        PlaceNow();
        slot.Name({});
    });
    SyncFolder(FolderOf(Safe().FinalPath()));
}

void OwnOutput::Place() {
    TemporarySlot::OfThisThread().Step([&] { PlaceNow(); });
}

void OwnOutput::PlaceNow() {
    if (inPlace_) {
        inPlace_->Place();
    } else {
        beside_->Place(replace_);
    }
}

}  // namespace varnex::cli
