#include "batch/OwnOutput.h"

namespace varnex {

OwnOutput::OwnOutput(const ConversionRun& run, const OutputPlan& plan, std::size_t index)
    : hooks_(run.hooks), replace_(run.request.force) {
    hooks_.Step([&] {
        const std::filesystem::path& path = plan.outputs[index];
        const BatchRequest& asked = run.request;
        if (plan.kind == OutputKind::InPlace) {
            const InPlaceRequest request{asked.backupSuffix, asked.force, asked.keepTime};
            inPlace_ = std::make_unique<InPlaceOutput>(path, request, asked.temporaryFiles);
        } else {
            beside_ = std::make_unique<SafeOutput>(path, asked.temporaryFiles);
        }
        hooks_.NameTemporary(Safe().TemporaryPath());
    });
}

OwnOutput::~OwnOutput() {
    if (Unnamed()) return;  // nothing to remove but in a step
    hooks_.Step([&] {
        inPlace_.reset();
        beside_.reset();
        hooks_.NameTemporary({});
    });
}

void OwnOutput::Finish() {
    if (inPlace_) inPlace_->Finish();
    File().Release();  // a batch may keep hundreds of outputs waiting for their sync
}

void OwnOutput::Commit() {
    Safe().File().Sync();  // the long part, still open to an interrupt
    hooks_.Step([&] {
        PlaceNow();
        hooks_.NameTemporary({});
    });
    SyncFolder(FolderOf(Safe().FinalPath()));
}

void OwnOutput::Place() {
    hooks_.Step([&] { PlaceNow(); });
}

void OwnOutput::PlaceNow() {
    if (inPlace_) {
        inPlace_->Place();
    } else {
        beside_->Place(replace_);
    }
}

}  // namespace varnex
