#include "text/CodePointName.h"

#include <cstdio>

namespace varnex {

std::string CodePointName(char32_t character) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(character));
    return name;
}

}  // namespace varnex
