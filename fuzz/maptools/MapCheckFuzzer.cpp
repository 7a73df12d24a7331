// The map check on arbitrary tables, against the load itself: for every ordered pair the
// check says the load fails exactly when BuildFontMap throws, and every code it calls
// dropped has no entry.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Failure.h"
#include "map/FontLoaders.h"
#include "maptools/MapCheck.h"

namespace {

// The input, taken apart: a byte for the column count, then cells separated by '|', a
// cell "~" standing for NULL, filled row by row.
varnex::FontTable TableFrom(const std::uint8_t* data, std::size_t size) {
    varnex::FontTable table;
    if (size == 0) return table;
    const std::size_t columns = 1 + data[0] % 5;
    for (std::size_t c = 0; c < columns; ++c)
        table.columns.push_back(std::string(1, static_cast<char>('A' + c)));
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::size_t start = 0;
    while (start <= text.size() && table.rows.size() < 64) {
        if (table.rows.empty() || table.rows.back().size() == columns) table.rows.emplace_back();
        const std::size_t bar = std::min(text.find('|', start), text.size());
        const std::string cell = text.substr(start, bar - start);
        if (cell == "~") {
            table.rows.back().emplace_back();
        } else {
            table.rows.back().emplace_back(cell);
        }
        start = bar + 1;
    }
    while (!table.rows.empty() && table.rows.back().size() < columns) table.rows.back().emplace_back();
    return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const varnex::FontTable table = TableFrom(data, size);
    const varnex::map::CheckReport report = varnex::map::CheckFontTable(table);
    for (const auto& pair : report.pairs) {
        varnex::FontMap map;
        bool fails = false;
        try {
            varnex::BuildFontMap(table, table.columns[pair.source], table.columns[pair.target], map);
        } catch (const varnex::Failure&) {
            fails = true;
        }
        if (fails != pair.fails) std::abort();
        for (int code : pair.droppedCodes) {
            if (!map.Entry(code).empty()) std::abort();
        }
    }
    if (!table.rows.empty() && report.pairs.size() != table.columns.size() * (table.columns.size() - 1))
        std::abort();
    return 0;
}
