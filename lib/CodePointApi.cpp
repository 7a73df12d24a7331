// Text as code points: decoded into and encoded from units of 1, 2 or 4 bytes.
#include <algorithm>
#include <optional>

#include "Failure.h"
#include "Guarded.h"
#include "Handles.h"

namespace {

using varnex::lib::KindOf;

using varnex::Dropped;

[[noreturn]] void Refuse(const char* message) { throw varnex::Failure(varnex::kTypeMismatch, message); }

// What a call leaves out: told to the callback, or, with VARNEX_STOP, the first one kept so
// that the call is cut there.
struct Omissions {
    varnex_converter& converter;
    std::optional<Dropped> first;

    varnex::DropReport Reporter() {
        if (converter.policy == VARNEX_DROP) return nullptr;
        return [this](const Dropped& dropped) {
            if (!first) first = dropped;
            if (converter.policy == VARNEX_CALLBACK)
                converter.callback(converter.context, dropped.offset, static_cast<uint32_t>(dropped.value),
                                   KindOf(dropped.kind));
        };
    }
};

const varnex::CodePointDecoder& DecoderOf(varnex_converter& converter) {
    if (!converter.toUnicode)
        Refuse("varnex_decode_code_points: the converter's target is not the Unicode font");
    if (!converter.decoder) converter.decoder = std::make_unique<varnex::CodePointDecoder>(converter.map);
    return *converter.decoder;
}

const varnex::CodePointEncoder& EncoderOf(varnex_converter& converter) {
    if (!converter.fromUnicode)
        Refuse("varnex_encode_code_points: the converter's source is not the Unicode font");
    if (!converter.encoder) converter.encoder = std::make_unique<varnex::CodePointEncoder>(converter.map);
    return *converter.encoder;
}

template <typename Unit>
std::size_t DecodeAs(const varnex::CodePointDecoder& decoder, const uint8_t* in, std::size_t count, void* out,
                     char32_t& largest, const varnex::DropReport& report) {
    return decoder.Decode(in, count, static_cast<Unit*>(out), largest, 0, report);
}

// A stop: the input up to the first omission and past it, converted again without telling.
template <typename Run>
varnex_status Converted(varnex_converter& converter, std::size_t length, size_t* in_used, Run&& run) {
    Omissions omissions{converter, std::nullopt};
    const varnex::DropReport report = omissions.Reporter();
    *in_used = length;
    run(length, report);
    if (converter.policy != VARNEX_STOP || !omissions.first) return VARNEX_OK;
    const std::size_t stop = static_cast<std::size_t>(omissions.first->offset);
    *in_used = stop + 1;
    run(stop, nullptr);
    converter.stopped = *omissions.first;
    return VARNEX_UNMAPPED;
}

}  // namespace

using varnex::lib::Guarded;

extern "C" {

size_t varnex_code_point_room(const varnex_converter* converter, size_t count) {
    if (!converter) return 0;
    auto& self = const_cast<varnex_converter&>(*converter);  // the decoder is made on first use
    const std::size_t widest =
        converter->toUnicode ? DecoderOf(self).MaxEntryLength() : converter->map.MaxEntryLength();
    return count * std::max<std::size_t>(1, widest);
}

int varnex_decodes_to_16_bits(const varnex_converter* converter) {
    if (!converter || !converter->toUnicode) return 0;
    auto& self = const_cast<varnex_converter&>(*converter);
    return DecoderOf(self).FitsSixteenBits() ? 1 : 0;
}

varnex_status varnex_decode_code_points(varnex_converter* converter, const uint8_t* in, size_t in_len,
                                        size_t* in_used, void* out, unsigned width, size_t* out_used,
                                        uint32_t* largest) {
    return Guarded([&] {
        if (!converter || !in_used || !out_used || !largest || (in_len && (!in || !out)))
            Refuse("varnex_decode_code_points: a null argument");
        const varnex::CodePointDecoder& decoder = DecoderOf(*converter);
        if (width != 1 && width != 2 && width != 4)
            Refuse("varnex_decode_code_points: the width is 1, 2 or 4");
        const varnex_status status =
            Converted(*converter, in_len, in_used, [&](std::size_t count, const varnex::DropReport& report) {
                char32_t seen = 0;
                *out_used = width == 1   ? DecodeAs<uint8_t>(decoder, in, count, out, seen, report)
                            : width == 2 ? DecodeAs<char16_t>(decoder, in, count, out, seen, report)
                                         : DecodeAs<char32_t>(decoder, in, count, out, seen, report);
                *largest = seen;
            });
        if (width < 4 && *largest >= (width == 1 ? 0x100u : 0x10000u))
            Refuse("varnex_decode_code_points: a code point does not fit units of this width");
        return status;
    });
}

varnex_status varnex_measure_code_points(varnex_converter* converter, const uint8_t* in, size_t in_len,
                                         size_t* count, uint32_t* largest) {
    return Guarded([&] {
        if (!converter || !count || !largest || (in_len && !in))
            Refuse("varnex_measure_code_points: a null argument");
        char32_t seen = 0;
        DecoderOf(*converter).Measure(in, in_len, *count, seen);
        *largest = seen;
        return VARNEX_OK;
    });
}

varnex_status varnex_encode_code_points(varnex_converter* converter, const void* in, unsigned width,
                                        size_t in_len, size_t* in_used, uint8_t* out, size_t* out_used) {
    return Guarded([&] {
        if (!converter || !in_used || !out_used || (in_len && (!in || !out)))
            Refuse("varnex_encode_code_points: a null argument");
        const varnex::CodePointEncoder& encoder = EncoderOf(*converter);
        if (width != 1 && width != 2 && width != 4)
            Refuse("varnex_encode_code_points: the width is 1, 2 or 4");
        return Converted(
            *converter, in_len, in_used, [&](std::size_t count, const varnex::DropReport& report) {
                switch (width) {
                    case 1:
                        *out_used = encoder.Encode(static_cast<const uint8_t*>(in), count, out, 0, report);
                        break;
                    case 2:
                        *out_used = encoder.Encode(static_cast<const char16_t*>(in), count, out, 0, report);
                        break;
                    default:
                        *out_used = encoder.Encode(static_cast<const char32_t*>(in), count, out, 0, report);
                }
            });
    });
}

}  // extern "C"
