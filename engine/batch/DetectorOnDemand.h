#pragma once

#include <memory>
#include <mutex>

#include "detect/Detector.h"
#include "map/LoadedMap.h"

namespace varnex {

// A detector made on first use, from any thread: its language models take milliseconds to
// make, which a batch that names its font needs only for the inputs that look misread.
class DetectorOnDemand {
public:
    explicit DetectorOnDemand(const LoadedMap& map) : map_(map) {}
    const Detector& Get() const {
        std::call_once(made_, [this] { detector_ = std::make_unique<Detector>(map_); });
        return *detector_;
    }

private:
    const LoadedMap& map_;
    mutable std::once_flag made_;
    mutable std::unique_ptr<Detector> detector_;
};

}  // namespace varnex
