#include "convert/CodePointConversion.h"

#include <algorithm>
#include <type_traits>

#include "convert/CharacterRule.h"
#include "convert/kernels/Kernels.h"
#include "text/Utf8Unit.h"

namespace varnex {

namespace {

std::u32string CodePointsOf(std::string_view utf8) {
    std::u32string points;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
    for (std::size_t at = 0; at < utf8.size();) {
        const Utf8Unit unit = ReadUtf8Unit(bytes + at, utf8.size() - at);
        points += unit.wellFormed ? unit.character : U'\uFFFD';  // a cell that is no UTF-8
        at += unit.length > 0 ? unit.length : 1;
    }
    return points;
}

}  // namespace

CodePointDecoder::CodePointDecoder(const FontMap& toUnicode) {
    plain_[0] = kNotPlain;
    for (int code = 1; code < 256; ++code) {
        entries_[code] = CodePointsOf(toUnicode.Entry(code));
        const std::u32string& points = entries_[code];
        plain_[code] = points.size() == 1 ? points[0] : kNotPlain;
        maxLength_ = std::max(maxLength_, points.size());
        for (const char32_t point : points) fitsSixteenBits_ = fitsSixteenBits_ && point < 0x10000;
    }
    widens_ = fitsSixteenBits_;
    for (int code = 0; code < 256; ++code) {
        const std::uint32_t point = plain_[code];
        const bool plain = (point & kNotPlain) == 0;
        lowBytes_[code] = plain ? static_cast<std::uint8_t>(point) : 0;
        highBytes_[code] = plain ? static_cast<std::uint8_t>(point >> 8) : kStopHigh;
        widens_ = widens_ && !(plain && highBytes_[code] == kStopHigh);
    }
}

// Blocks whose codes all have an entry of one code point take one load, store and OR per code;
// a block with another code in it is decoded again, code by code. Nothing is written past the
// points decoded, so an output of exactly the measured size is enough.
template <typename Unit>
std::size_t CodePointDecoder::DecodeInto(const std::uint8_t* in, std::size_t count, Unit* out,
                                         char32_t& largest, std::uint64_t first,
                                         const DropReport& report) const {
    constexpr std::size_t kBlock = 512;
    Unit* const start = out;
    char32_t seen = largest;
    [[maybe_unused]] const bool vector = widens_ && ChosenVectorLevel() == VectorLevel::Avx512;
    for (std::size_t at = 0; at < count; at += kBlock) {
#if defined(__x86_64__)
        if constexpr (std::is_same_v<Unit, char16_t>) {
            if (vector) {  // as far as it goes, then a block the plain way
                std::uint16_t joined = 0;
                const std::size_t done = kernels::WidenAvx512(lowBytes_.data(), highBytes_.data(), kStopHigh,
                                                              in + at, count - at, out, joined);
                at += done;
                out += done;
                seen |= joined;
                if (at >= count) break;
            }
        }
#endif
        // into a block of its own first: the output may have room for the points alone, which
        // a block with a code without an entry does not fill
        const std::size_t length = std::min(kBlock, count - at);
        Unit block[kBlock];
        std::uint32_t joined = 0;
        for (std::size_t i = 0; i < length; ++i) {
            const std::uint32_t looked = plain_[in[at + i]];
            block[i] = static_cast<Unit>(looked);
            joined |= looked;
        }
        if ((joined & kNotPlain) == 0) {
            out = std::copy(block, block + length, out);
            seen |= joined;
            continue;
        }
        for (std::size_t i = at; i < at + length; ++i) {
            const std::uint8_t code = in[i];
            if (entries_[code].empty()) {
                if (report) report({Dropped::Kind::Code, first + i, code, {}});
                continue;
            }
            for (const char32_t each : entries_[code]) {
                *out++ = static_cast<Unit>(each);
                seen |= each;
            }
        }
    }
    largest = seen;
    return static_cast<std::size_t>(out - start);
}

void CodePointDecoder::Measure(const std::uint8_t* in, std::size_t count, std::size_t& points,
                               char32_t& largest) const {
    std::size_t total = 0;
    std::uint32_t joined = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t looked = plain_[in[i]];
        if ((looked & kNotPlain) == 0) {
            ++total;
            joined |= looked;
            continue;
        }
        total += entries_[in[i]].size();
        for (const char32_t each : entries_[in[i]]) joined |= each;
    }
    points = total;
    largest = joined;
}

std::size_t CodePointDecoder::Decode(const std::uint8_t* in, std::size_t count, std::uint8_t* out,
                                     char32_t& largest, std::uint64_t first, const DropReport& report) const {
    return DecodeInto(in, count, out, largest, first, report);
}

std::size_t CodePointDecoder::Decode(const std::uint8_t* in, std::size_t count, char16_t* out,
                                     char32_t& largest, std::uint64_t first, const DropReport& report) const {
    return DecodeInto(in, count, out, largest, first, report);
}

std::size_t CodePointDecoder::Decode(const std::uint8_t* in, std::size_t count, char32_t* out,
                                     char32_t& largest, std::uint64_t first, const DropReport& report) const {
    return DecodeInto(in, count, out, largest, first, report);
}

CodePointEncoder::CodePointEncoder(const FontMap& fromUnicode) : map_(fromUnicode), plane_(0x10000, kNone) {
    for (char32_t point = 1; point < 0x10000; ++point) {
        if (point >= 0xD800 && point <= 0xDFFF) continue;
        const std::string_view entry = map_.CharacterEntry(point);
        if (entry.size() == 1) {
            plane_[point] = kSingle | static_cast<std::uint8_t>(entry[0]);
        } else if (entry.size() > 1) {
            plane_[point] = kSeveral;
        }
    }
}

template <typename Unit>
std::size_t CodePointEncoder::Encode(const Unit* in, std::size_t count, std::uint8_t* out,
                                     std::uint64_t first, const DropReport& report) const {
    std::uint8_t* const start = out;
    for (std::size_t i = 0; i < count; ++i) {
        const char32_t point = static_cast<char32_t>(in[i]);
        const std::uint16_t looked = point < 0x10000 ? plane_[point] : kSeveral;
        if (looked & kSingle) {
            *out++ = static_cast<std::uint8_t>(looked);
            continue;
        }
        const std::string_view entry =
            looked == kSeveral && point <= 0x10FFFF ? map_.CharacterEntry(point) : std::string_view();
        if (entry.empty()) {
            if (report) report({Dropped::Kind::Character, first + i, point, {}});
            continue;
        }
        out = std::copy(entry.begin(), entry.end(), out);
    }
    return static_cast<std::size_t>(out - start);
}

template std::size_t CodePointEncoder::Encode(const std::uint8_t*, std::size_t, std::uint8_t*, std::uint64_t,
                                              const DropReport&) const;
template std::size_t CodePointEncoder::Encode(const char16_t*, std::size_t, std::uint8_t*, std::uint64_t,
                                              const DropReport&) const;
template std::size_t CodePointEncoder::Encode(const char32_t*, std::size_t, std::uint8_t*, std::uint64_t,
                                              const DropReport&) const;

}  // namespace varnex
