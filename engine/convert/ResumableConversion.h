#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "convert/FontMap.h"
#include "convert/PieceConversion.h"

namespace varnex {

// A conversion that takes its input and gives its output in buffers of the caller's, in any
// pieces, as iconv(3) does: it stops where the output is full, waits for the rest of a UTF-8
// sequence cut at the end of a piece, and, when asked, stops at a code (or character) without
// an entry. The text converted is byte for byte what a conversion in one piece gives.
class ResumableConversion {
public:
    enum class Status {
        Done,            // all the input is converted
        OutputFull,      // the output has no room for the next character
        NeedsMoreInput,  // the input ends inside a UTF-8 sequence
        Unmapped,        // stopped at a code or character without an entry (LastUnmapped())
    };
    enum class Missing {
        Drop,  // left out, as the window's conversions do
        Stop,  // stops: the unmapped one is taken from the input, nothing written for it
        Tell,  // left out, and told to the callback
    };
    struct Result {
        Status status = Status::Done;
        std::size_t consumed = 0;  // of the input
        std::size_t produced = 0;  // into the output
    };

    // `trackDropped` keeps the byte offset of every code left out (DroppedOffsets()).
    ResumableConversion(const FontMap& map, Missing missing, DropReport tell = nullptr,
                        bool trackDropped = false);

    // Converts as much of `in` as `capacity` bytes at `out` take. With `last`, the input ends
    // here: a sequence cut short is ill-formed.
    Result Convert(std::string_view in, std::uint8_t* out, std::size_t capacity, bool last = false);
    // The end of the input, when the last Convert did not say so.
    Result Flush(std::uint8_t* out, std::size_t capacity) { return Convert({}, out, capacity, true); }
    // As new: for another text.
    void Reset();

    // The code or character where the last Unmapped stopped, with its offset in the text.
    const Dropped& LastUnmapped() const { return unmapped_; }
    const std::vector<std::uint64_t>& DroppedOffsets() const { return dropped_; }
    std::uint64_t DroppedCount() const { return droppedCount_; }

private:
    DropReport Reporter();
    void Told(const Dropped& dropped);
    std::size_t FittingInput(std::size_t available, std::size_t room) const;
    std::size_t ConvertInto(PieceConversion& conversion, std::string_view chunk, std::uint8_t* out,
                            std::size_t room);
    bool OneMore(char code, std::uint8_t* out, std::size_t capacity, Result& result);
    Result StopAt(const PieceConversion& before, std::string_view chunk, std::uint8_t* out, std::size_t room);

    const FontMap& map_;
    Missing missing_;
    DropReport tell_;
    bool track_;
    std::optional<PieceConversion> conversion_;
    std::optional<Dropped> firstDrop_;  // of the chunk being converted, with Stop
    bool quiet_ = false;                // while a chunk is converted again after a stop
    Dropped unmapped_{};
    std::vector<std::uint64_t> dropped_;
    std::vector<std::uint8_t> scratch_;
    std::uint64_t droppedCount_ = 0;
};

}  // namespace varnex
