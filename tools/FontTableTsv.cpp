#include "FontTableTsv.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace varnex {

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

}  // namespace

FontTable ParseFontTableTsv(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line)) throw std::runtime_error("the table has no header line");
    FontTable table;
    table.columns = SplitTabs(line);
    const bool noteColumn = !table.columns.empty() && table.columns.front().starts_with('#');
    if (noteColumn) table.columns.erase(table.columns.begin());
    for (int number = 2; std::getline(lines, line); ++number) {
        if (line.empty()) continue;
        auto fields = SplitTabs(line);
        if (noteColumn) fields.erase(fields.begin());
        if (fields.size() != table.columns.size()) {
            throw std::runtime_error("line " + std::to_string(number) + " has " +
                                     std::to_string(fields.size()) + " cells for " +
                                     std::to_string(table.columns.size()) + " columns");
        }
        auto& row = table.rows.emplace_back();
        for (auto& field : fields) {
            if (field == "\\N") {
                row.emplace_back();
            } else {
                row.emplace_back(std::move(field));
            }
        }
    }
    return table;
}

FontTable ReadFontTableTsv(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return ParseFontTableTsv(text.str());
}

}  // namespace varnex
