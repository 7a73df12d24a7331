#pragma once

#include <algorithm>
#include <cstdint>

#include "batch/BatchObserver.h"
#include "documents/DocumentConversion.h"

namespace varnex {

// Tells the observer the bytes of the package done, from the share of the document.
class DocumentBytes : public DocumentProgress {
public:
    DocumentBytes(BatchObserver& observer, std::uint64_t size) : observer_(observer), size_(size) {}
    void Advanced(double shareDone) override {
        const auto done = static_cast<std::uint64_t>(shareDone * static_cast<double>(size_));
        if (done > told_) observer_.Advanced(done - told_);
        told_ = std::max(told_, done);
    }
    bool CancelRequested() override { return observer_.CancelRequested(); }
    void Finished() {
        if (size_ > told_) observer_.Advanced(size_ - told_);
    }

private:
    BatchObserver& observer_;
    std::uint64_t size_;
    std::uint64_t told_ = 0;
};

}  // namespace varnex
