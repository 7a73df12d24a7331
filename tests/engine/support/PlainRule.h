#pragma once

// The character rule written the plain way, to check the fast paths against.

#include <string>
#include <string_view>

#include "convert/FontMap.h"

namespace varnex::test {

inline std::string PlainRule(const FontMap& map, std::string_view input) {
    std::string out;
    for (const char c : input) {
        const auto code = static_cast<unsigned char>(c);
        if (code != 0) out += map.Entry(code);
    }
    return out;
}

}  // namespace varnex::test
