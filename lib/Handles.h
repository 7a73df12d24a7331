#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "convert/CodePointConversion.h"
#include "convert/FontMap.h"
#include "convert/ResumableConversion.h"
#include "detect/Detection.h"
#include "detect/Detector.h"
#include "map/LoadedMap.h"

// What the C handles hold: engine objects, and the texts the C caller gets pointers into.
struct varnex_map {
    varnex::LoadedMap loaded;
    std::vector<std::vector<std::string>> aliases;  // per font, in the map's order
    std::unique_ptr<varnex::Detector> detector;     // made on first detection
    std::once_flag detectorMade;
};

struct varnex_converter {
    varnex::FontMap map;
    std::unique_ptr<varnex::ResumableConversion> conversion;
    varnex_policy policy = VARNEX_DROP;
    varnex_unmapped_callback callback = nullptr;
    void* context = nullptr;
    varnex::Dropped stopped{};                          // where the last VARNEX_UNMAPPED stopped
    bool toUnicode = false;                             // the target is the Unicode font
    bool fromUnicode = false;                           // the source is
    std::unique_ptr<varnex::CodePointDecoder> decoder;  // made on first use
    std::unique_ptr<varnex::CodePointEncoder> encoder;
};

struct varnex_detection {
    varnex::Detection detection;
};

namespace varnex::lib {

// The C name of the kind of what a conversion left out.
inline varnex_unmapped_kind KindOf(Dropped::Kind kind) {
    switch (kind) {
        case Dropped::Kind::Code:
            return VARNEX_UNMAPPED_CODE;
        case Dropped::Kind::Character:
            return VARNEX_UNMAPPED_CHARACTER;
        case Dropped::Kind::IllFormed:
            break;
    }
    return VARNEX_UNMAPPED_ILL_FORMED;
}

// The shipped map: beside this library (a build), else where the package installs it.
std::string ShippedMapPath();

}  // namespace varnex::lib
