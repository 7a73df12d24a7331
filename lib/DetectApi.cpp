// Detection: which font a sample is in.
#include "Failure.h"
#include "Guarded.h"
#include "Handles.h"

namespace {

const varnex::Candidate* CandidateOf(const varnex_detection* detection, std::size_t index) {
    if (!detection || index >= detection->detection.candidates.size()) return nullptr;
    return &detection->detection.candidates[index];
}

}  // namespace

using varnex::lib::Guarded;

extern "C" {

varnex_status varnex_detect(const varnex_map* map, const uint8_t* sample, size_t length,
                            varnex_detection** detection) {
    return Guarded([&] {
        if (!map || !detection || (!sample && length))
            throw varnex::Failure(varnex::kTypeMismatch, "varnex_detect: a null argument");
        *detection = nullptr;
        auto* shared = const_cast<varnex_map*>(map);  // the detector is made once, for every thread
        std::call_once(shared->detectorMade,
                       [&] { shared->detector = std::make_unique<varnex::Detector>(shared->loaded); });
        if (!shared->detector)
            throw varnex::Failure(varnex::kItemNotFound, "varnex_detect: the map has no detector");
        auto made = std::make_unique<varnex_detection>();
        made->detection =
            shared->detector->Detect(std::string_view(reinterpret_cast<const char*>(sample), length));
        *detection = made.release();
        return VARNEX_OK;
    });
}

void varnex_detection_free(varnex_detection* detection) { delete detection; }

varnex_verdict varnex_detection_verdict(const varnex_detection* detection) {
    if (!detection) return VARNEX_VERDICT_CANNOT_TELL;
    switch (detection->detection.verdict) {
        case varnex::Verdict::Font:
            return VARNEX_VERDICT_FONT;
        case varnex::Verdict::AnyFont:
            return VARNEX_VERDICT_ANY_FONT;
        case varnex::Verdict::CannotTell:
            break;
    }
    return VARNEX_VERDICT_CANNOT_TELL;
}

size_t varnex_detection_count(const varnex_detection* detection) {
    return detection ? detection->detection.candidates.size() : 0;
}

const char* varnex_detection_font(const varnex_detection* detection, size_t index) {
    const varnex::Candidate* candidate = CandidateOf(detection, index);
    return candidate ? candidate->fonts.front().c_str() : nullptr;
}

double varnex_detection_confidence(const varnex_detection* detection, size_t index) {
    const varnex::Candidate* candidate = CandidateOf(detection, index);
    return candidate ? candidate->confidence : 0;
}

const char* varnex_detection_language(const varnex_detection* detection, size_t index) {
    const varnex::Candidate* candidate = CandidateOf(detection, index);
    return candidate ? candidate->language.c_str() : nullptr;
}

const char* varnex_detection_typed(const varnex_detection* detection) {
    return detection && detection->detection.readWrong ? detection->detection.readWrong->typed.c_str()
                                                       : nullptr;
}

const char* varnex_detection_read_as(const varnex_detection* detection) {
    return detection && detection->detection.readWrong ? detection->detection.readWrong->readAs.c_str()
                                                       : nullptr;
}

}  // extern "C"
