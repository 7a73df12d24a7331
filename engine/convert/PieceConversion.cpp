#include "convert/PieceConversion.h"

#include <cstring>

#include "convert/CharacterRule.h"
#include "text/CodePointName.h"
#include "text/Utf8Unit.h"

namespace varnex {

namespace {

constexpr char32_t kByteOrderMark = 0xFEFF;

std::string HexBytes(const std::string& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += (text.empty() ? "" : " ") + std::string{kDigits[b >> 4], kDigits[b & 15]};
    }
    return text;
}

}  // namespace

std::string DescribeDropped(const Dropped& dropped) {
    switch (dropped.kind) {
        case Dropped::Kind::Code:
            return "the code " + std::to_string(dropped.value);
        case Dropped::Kind::Character:
            return CodePointName(dropped.value);
        case Dropped::Kind::IllFormed:
            return "the bytes " + HexBytes(dropped.bytes);
    }
    return {};
}

PieceConversion::PieceConversion(const FontMap& map, DropReport report)
    : map_(map), report_(std::move(report)) {}

std::size_t PieceConversion::Capacity(std::size_t count) const {
    return ConvertedCapacity(map_, count + held_.size());
}

std::size_t PieceConversion::Convert(std::string_view piece, std::uint8_t* out) {
    const auto* in = reinterpret_cast<const std::uint8_t*>(piece.data());
    const std::size_t count = piece.size();
    if (!map_.ReadsUtf8()) {
        const std::size_t produced = ConvertCodesPiece(in, count, out);
        offset_ += count;
        return produced;
    }
    std::size_t used = 0;
    std::size_t produced = heldCount_ ? CompleteHeld(in, count, used, out) : 0;
    if (offset_ == 0 && heldCount_ == 0) used = ByteOrderMarkLength(in, count);
    if (heldCount_ == 0 && used < count) {
        std::size_t taken = 0;
        produced += report_ ? ReportingUtf8(in + used, count - used, offset_ + used, taken, out + produced)
                            : ConvertUtf8Piece(map_, in + used, count - used, out + produced, true, &taken);
        used += taken;
        Hold(in + used, count - used, offset_ + used);
    }
    offset_ += count;
    return produced;
}

void PieceConversion::Finish() {
    if (heldCount_ == 0) return;
    if (report_) {
        report_({Dropped::Kind::IllFormed, heldOffset_, 0,
                 std::string(reinterpret_cast<const char*>(held_.data()), heldCount_)});
    }
    heldCount_ = 0;
}

std::size_t PieceConversion::ConvertCodesPiece(const std::uint8_t* in, std::size_t count, std::uint8_t* out) {
    if (report_) {
        for (std::size_t i = 0; i < count; ++i) {
            if (in[i] == 0 || map_.Entry(in[i]).empty())
                report_({Dropped::Kind::Code, offset_ + i, in[i], {}});
        }
    }
    return ConvertCodes(map_, in, count, out);
}

// The character begun at the end of the last piece, with the bytes of this one it needs.
std::size_t PieceConversion::CompleteHeld(const std::uint8_t* in, std::size_t count, std::size_t& used,
                                          std::uint8_t* out) {
    std::uint8_t joined[8];
    const std::size_t before = heldCount_;
    const std::size_t taken = count < held_.size() - before ? count : held_.size() - before;
    std::memcpy(joined, held_.data(), before);
    std::memcpy(joined + before, in, taken);
    const Utf8Unit unit = ReadUtf8Unit(joined, before + taken);
    if (unit.cutShort) {  // this piece was too short to finish it
        Hold(joined, before + taken, heldOffset_);
        used = count;
        return 0;
    }
    heldCount_ = 0;
    used = unit.length - before;
    if (!unit.wellFormed) {
        if (report_)
            report_({Dropped::Kind::IllFormed, heldOffset_, 0,
                     std::string(reinterpret_cast<char*>(joined), unit.length)});
        return 0;
    }
    if (heldOffset_ == 0 && unit.character == kByteOrderMark) return 0;
    if (report_) return static_cast<std::size_t>(PutUnit(unit.character, heldOffset_, out) - out);
    std::size_t whole = 0;  // through the map's tables, not its list of entries
    return ConvertUtf8Piece(map_, joined, unit.length, out, false, &whole);
}

// One unit at a time, telling what is left out.
std::size_t PieceConversion::ReportingUtf8(const std::uint8_t* in, std::size_t count,
                                           std::uint64_t firstOffset, std::size_t& used, std::uint8_t* out) {
    std::uint8_t* const start = out;
    std::size_t at = 0;
    while (at < count) {
        const Utf8Unit unit = ReadUtf8Unit(in + at, count - at);
        if (unit.cutShort) break;
        if (unit.wellFormed) {
            out = PutUnit(unit.character, firstOffset + at, out);
        } else {
            report_({Dropped::Kind::IllFormed, firstOffset + at, 0,
                     std::string(reinterpret_cast<const char*>(in + at), unit.length)});
        }
        at += unit.length;
    }
    used = at;
    return static_cast<std::size_t>(out - start);
}

std::uint8_t* PieceConversion::PutUnit(char32_t character, std::uint64_t offset, std::uint8_t* out) const {
    const std::string_view entry = map_.CharacterEntry(character);
    if (entry.empty()) {
        if (report_) report_({Dropped::Kind::Character, offset, character, {}});
        return out;
    }
    std::memcpy(out, entry.data(), entry.size());
    return out + entry.size();
}

void PieceConversion::Hold(const std::uint8_t* bytes, std::size_t count, std::uint64_t offset) {
    std::memmove(held_.data(), bytes, count);
    heldCount_ = count;
    heldOffset_ = offset;
}

}  // namespace varnex
