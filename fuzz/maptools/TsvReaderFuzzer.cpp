// The text form's reader on arbitrary bytes: it reads a table or throws Failure, and what
// it reads is a rectangular table that the map check can take.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Failure.h"
#include "map/FontTableTsv.h"
#include "maptools/MapCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const auto read = varnex::ParseFontTableTsvWithLines(text);
        if (read.rowLines.size() != read.table.rows.size()) std::abort();
        for (const auto& row : read.table.rows) {
            if (row.size() != read.table.columns.size()) std::abort();
        }
        if (read.table.columns.size() <= 8 && read.table.rows.size() <= 64)
            varnex::map::CheckFontTable(read.table);
    } catch (const varnex::Failure&) {
    }
    return 0;
}
