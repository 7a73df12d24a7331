#include "text/Utf8Text.h"

#include "text/Utf8Unit.h"

namespace varnex {

std::size_t FirstInvalidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const Utf8Unit unit =
            ReadUtf8Unit(reinterpret_cast<const std::uint8_t*>(text.data()) + i, text.size() - i);
        if (!unit.wellFormed) return i;
        i += unit.length;
    }
    return std::string_view::npos;
}

}  // namespace varnex
