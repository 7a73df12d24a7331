#include "convert/ResumableConversion.h"

#include <algorithm>

namespace varnex {

namespace {

// The length of the UTF-8 form of a character.
std::size_t Utf8Length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

}  // namespace

ResumableConversion::ResumableConversion(const FontMap& map, Missing missing, DropReport tell,
                                         bool trackDropped)
    : map_(map), missing_(missing), tell_(std::move(tell)), track_(trackDropped) {
    Reset();
}

void ResumableConversion::Reset() {
    conversion_.emplace(map_, Reporter());
    firstDrop_.reset();
    dropped_.clear();
    droppedCount_ = 0;
}

// Only a conversion that must know of what it leaves out is told of it: the loops are faster
// without.
DropReport ResumableConversion::Reporter() {
    if (missing_ == Missing::Drop && !track_) return nullptr;
    return [this](const Dropped& dropped) { Told(dropped); };
}

void ResumableConversion::Told(const Dropped& dropped) {
    if (quiet_) return;
    if (missing_ == Missing::Stop) {
        if (!firstDrop_) firstDrop_ = dropped;
        return;
    }
    ++droppedCount_;
    if (track_) dropped_.push_back(dropped.offset);
    if (missing_ == Missing::Tell && tell_) tell_(dropped);
}

// The most input whose conversion surely fits `room` bytes: each character gives at most the
// widest entry, and a UTF-8 sequence held from the last input is one character more.
std::size_t ResumableConversion::FittingInput(std::size_t available, std::size_t room) const {
    const std::size_t widest = std::max<std::size_t>(1, map_.MaxEntryLength());
    std::size_t characters = room / widest;
    if (conversion_->Holding()) characters = characters > 0 ? characters - 1 : 0;
    return std::min(available, characters);
}

// The loops store whole vectors and may write past the text they give; where the caller's
// room is too short for that, the text goes through a buffer of our own.
std::size_t ResumableConversion::ConvertInto(PieceConversion& conversion, std::string_view chunk,
                                             std::uint8_t* out, std::size_t room) {
    const std::size_t needed = conversion.Capacity(chunk.size());
    if (needed <= room) return conversion.Convert(chunk, out);
    if (scratch_.size() < needed) scratch_.resize(needed);
    const std::size_t produced = conversion.Convert(chunk, scratch_.data());
    std::copy_n(scratch_.data(), produced, out);
    return produced;
}

ResumableConversion::Result ResumableConversion::Convert(std::string_view in, std::uint8_t* out,
                                                         std::size_t capacity, bool last) {
    Result result;
    while (result.consumed < in.size()) {
        std::size_t count = FittingInput(in.size() - result.consumed, capacity - result.produced);
        if (count == 0) {
            if (!OneMore(in[result.consumed], out, capacity, result)) result.status = Status::OutputFull;
            if (result.status != Status::Done) return result;
            continue;
        }
        const std::string_view chunk = in.substr(result.consumed, count);
        const PieceConversion before = *conversion_;
        firstDrop_.reset();
        const std::size_t room = capacity - result.produced;
        const std::size_t produced = ConvertInto(*conversion_, chunk, out + result.produced, room);
        if (firstDrop_) {
            const Result stop = StopAt(before, chunk, out + result.produced, room);
            result.consumed += stop.consumed;
            result.produced += stop.produced;
            result.status = Status::Unmapped;
            return result;
        }
        result.consumed += count;
        result.produced += produced;
    }
    if (!last) {
        result.status = conversion_->Holding() ? Status::NeedsMoreInput : Status::Done;
        return result;
    }
    firstDrop_.reset();
    conversion_->Finish();  // a sequence cut short is ill-formed: it writes nothing
    if (firstDrop_) {
        unmapped_ = *firstDrop_;
        result.status = Status::Unmapped;
    }
    return result;
}

// Room for fewer bytes than the widest entry may still hold the next code's: it is converted
// on its own, through a buffer of the widest's size. False when it does not fit.
bool ResumableConversion::OneMore(char code, std::uint8_t* out, std::size_t capacity, Result& result) {
    if (map_.ReadsUtf8()) return false;  // a byte of UTF-8 may be a part of a character
    std::vector<std::uint8_t> room(conversion_->Capacity(1));
    const PieceConversion before = *conversion_;
    firstDrop_.reset();
    const std::size_t produced = conversion_->Convert(std::string_view(&code, 1), room.data());
    if (produced > capacity - result.produced) {
        conversion_.emplace(before);
        return false;
    }
    std::copy_n(room.data(), produced, out + result.produced);
    result.consumed += 1;
    result.produced += produced;
    if (firstDrop_) {
        unmapped_ = *firstDrop_;
        result.status = Status::Unmapped;
    }
    return true;
}

// Converts the chunk again up to the first code without an entry and past it, telling nothing:
// the unmapped one is taken and writes nothing, what came before it is written.
ResumableConversion::Result ResumableConversion::StopAt(const PieceConversion& before, std::string_view chunk,
                                                        std::uint8_t* out, std::size_t room) {
    unmapped_ = *firstDrop_;
    const std::uint64_t start = before.Offset();
    const std::size_t length = unmapped_.kind == Dropped::Kind::Character   ? Utf8Length(unmapped_.value)
                               : unmapped_.kind == Dropped::Kind::IllFormed ? unmapped_.bytes.size()
                                                                            : 1;
    const std::uint64_t end = std::max(start, unmapped_.offset + length);
    const std::size_t taken = static_cast<std::size_t>(std::min<std::uint64_t>(end - start, chunk.size()));
    conversion_.emplace(before);
    quiet_ = true;
    const std::size_t produced = ConvertInto(*conversion_, chunk.substr(0, taken), out, room);
    conversion_->ForgetHeldBefore(end);  // an ill-formed sequence begun in the last input
    quiet_ = false;
    return {Status::Unmapped, taken, produced};
}

}  // namespace varnex
