#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "convert/FontMap.h"

namespace varnex {

// Something a conversion leaves out.
struct Dropped {
    enum class Kind {
        Code,       // a code without an entry (a map of codes)
        Character,  // a character without an entry (a map that reads UTF-8)
        IllFormed,  // bytes that are no UTF-8 character
    };
    Kind kind;
    std::uint64_t offset;  // of its first byte in the whole text
    char32_t value;        // the code, or the character's code point
    std::string bytes;     // the ill-formed bytes
};
using DropReport = std::function<void(const Dropped&)>;

// "the code 200", "U+0416", or "the bytes E0 80" for ill-formed ones.
std::string DescribeDropped(const Dropped& dropped);

// Converts a text that arrives in pieces (the file job's blocks, the reads of `varnex`) as if
// it arrived whole: in a map that reads UTF-8, a character split between two pieces is held
// back and converts once, whole, and a byte order mark at the start of the text is dropped.
// With a report, everything that is left out is told, with its offset in the text.
class PieceConversion {
public:
    explicit PieceConversion(const FontMap& map, DropReport report = nullptr);

    // Room that Convert needs at `out` for a piece of `count` bytes.
    std::size_t Capacity(std::size_t count) const;
    // Converts the next piece and returns the number of bytes written to out.
    std::size_t Convert(std::string_view piece, std::uint8_t* out);
    // The end of the text: a character cut short there is ill-formed, and reported.
    void Finish();
    // True while the bytes of a character cut short at the end of the last piece wait for the rest.
    bool Holding() const { return heldCount_ > 0; }
    // The offset of the next piece's first byte in the whole text.
    std::uint64_t Offset() const { return offset_; }
    // Lets go of held bytes that begin before `end`: a conversion that stopped at them has
    // taken them already.
    void ForgetHeldBefore(std::uint64_t end) {
        if (heldCount_ > 0 && heldOffset_ < end) heldCount_ = 0;
    }

private:
    std::size_t ConvertCodesPiece(const std::uint8_t* in, std::size_t count, std::uint8_t* out);
    std::size_t CompleteHeld(const std::uint8_t* in, std::size_t count, std::size_t& used, std::uint8_t* out);
    std::size_t ReportingUtf8(const std::uint8_t* in, std::size_t count, std::uint64_t firstOffset,
                              std::size_t& used, std::uint8_t* out);
    std::uint8_t* PutUnit(char32_t character, std::uint64_t offset, std::uint8_t* out) const;
    void Hold(const std::uint8_t* bytes, std::size_t count, std::uint64_t offset);

    const FontMap& map_;
    DropReport report_;
    std::uint64_t offset_ = 0;  // of the next piece's first byte in the text
    std::array<std::uint8_t, 4> held_{};
    std::size_t heldCount_ = 0;
    std::uint64_t heldOffset_ = 0;
};

}  // namespace varnex
