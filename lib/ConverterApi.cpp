// Converters: a pair of fonts, converted a buffer at a time.
#include "Failure.h"
#include "Guarded.h"
#include "Handles.h"
#include "map/FontNameMatch.h"

namespace {

using varnex::lib::KindOf;

using Conversion = varnex::ResumableConversion;

varnex_status StatusOf(Conversion::Status status) {
    switch (status) {
        case Conversion::Status::Done:
            return VARNEX_OK;
        case Conversion::Status::OutputFull:
            return VARNEX_OUTPUT_FULL;
        case Conversion::Status::NeedsMoreInput:
            return VARNEX_NEEDS_MORE_INPUT;
        case Conversion::Status::Unmapped:
            break;
    }
    return VARNEX_UNMAPPED;
}

Conversion::Missing MissingOf(varnex_policy policy) {
    if (policy == VARNEX_STOP) return Conversion::Missing::Stop;
    return policy == VARNEX_CALLBACK ? Conversion::Missing::Tell : Conversion::Missing::Drop;
}

void Require(bool present, const char* call) {
    if (!present) throw varnex::Failure(varnex::kTypeMismatch, std::string(call) + ": a null argument");
}

}  // namespace

using varnex::lib::Guarded;

extern "C" {

varnex_status varnex_converter_open(const varnex_map* map, const char* from, const char* to,
                                    varnex_policy policy, unsigned options, varnex_unmapped_callback callback,
                                    void* context, varnex_converter** converter) {
    return Guarded([&] {
        Require(map && from && to && converter, "varnex_converter_open");
        *converter = nullptr;
        if (policy != VARNEX_DROP && policy != VARNEX_STOP && policy != VARNEX_CALLBACK)
            throw varnex::Failure(varnex::kTypeMismatch, "varnex_converter_open: no such policy");
        if (policy == VARNEX_CALLBACK && !callback)
            throw varnex::Failure(varnex::kTypeMismatch,
                                  "varnex_converter_open: VARNEX_CALLBACK needs a callback");
        auto made = std::make_unique<varnex_converter>();
        const std::string source = varnex::ResolveFont(map->loaded, from);
        const std::string target = varnex::ResolveFont(map->loaded, to);
        varnex::BuildPairMap(map->loaded, source, target, made->map);
        made->fromUnicode = varnex::IsUnicodeFont(source);
        made->toUnicode = varnex::IsUnicodeFont(target);
        made->policy = policy;
        made->callback = callback;
        made->context = context;
        varnex_converter* self = made.get();
        varnex::DropReport tell = nullptr;
        if (policy == VARNEX_CALLBACK) {
            tell = [self](const varnex::Dropped& dropped) {
                self->callback(self->context, dropped.offset, static_cast<uint32_t>(dropped.value),
                               KindOf(dropped.kind));
            };
        }
        made->conversion = std::make_unique<Conversion>(made->map, MissingOf(policy), std::move(tell),
                                                        (options & VARNEX_KEEP_OFFSETS) != 0);
        *converter = made.release();
        return VARNEX_OK;
    });
}

void varnex_converter_close(varnex_converter* converter) { delete converter; }

varnex_status varnex_convert(varnex_converter* converter, const uint8_t* in, size_t in_len, size_t* in_used,
                             uint8_t* out, size_t out_cap, size_t* out_used, unsigned flags) {
    return Guarded([&] {
        Require(converter && in_used && out_used && (in || in_len == 0) && (out || out_cap == 0),
                "varnex_convert");
        *in_used = *out_used = 0;
        const auto result =
            converter->conversion->Convert(std::string_view(reinterpret_cast<const char*>(in), in_len), out,
                                           out_cap, flags & VARNEX_END_OF_INPUT);
        *in_used = result.consumed;
        *out_used = result.produced;
        if (result.status == Conversion::Status::Unmapped)
            converter->stopped = converter->conversion->LastUnmapped();
        return StatusOf(result.status);
    });
}

varnex_status varnex_converter_flush(varnex_converter* converter, uint8_t* out, size_t out_cap,
                                     size_t* out_used) {
    return Guarded([&] {
        Require(converter && out_used && (out || out_cap == 0), "varnex_converter_flush");
        const auto result = converter->conversion->Flush(out, out_cap);
        *out_used = result.produced;
        if (result.status == Conversion::Status::Unmapped)
            converter->stopped = converter->conversion->LastUnmapped();
        return StatusOf(result.status);
    });
}

void varnex_converter_reset(varnex_converter* converter) {
    if (converter) converter->conversion->Reset();
}

uint64_t varnex_unmapped_offset(const varnex_converter* converter) {
    return converter ? converter->stopped.offset : 0;
}

uint32_t varnex_unmapped_value(const varnex_converter* converter) {
    return converter ? static_cast<uint32_t>(converter->stopped.value) : 0;
}

varnex_unmapped_kind varnex_unmapped_kind_of(const varnex_converter* converter) {
    return converter ? KindOf(converter->stopped.kind) : VARNEX_UNMAPPED_CODE;
}

uint64_t varnex_dropped_count(const varnex_converter* converter) {
    return converter ? converter->conversion->DroppedCount() : 0;
}

size_t varnex_dropped_offset_count(const varnex_converter* converter) {
    return converter ? converter->conversion->DroppedOffsets().size() : 0;
}

uint64_t varnex_dropped_offset(const varnex_converter* converter, size_t index) {
    if (!converter || index >= converter->conversion->DroppedOffsets().size()) return 0;
    return converter->conversion->DroppedOffsets()[index];
}

}  // extern "C"
