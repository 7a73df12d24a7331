#include "JetWriter.h"

#include <stdexcept>
#include <vector>

namespace varnex::test {

namespace {

constexpr std::size_t kPage = 4096;
constexpr std::size_t kTableDefinitionPage = 4;
constexpr std::size_t kUsageMapRow = 3;     // on page 1: the pages that hold font_info's rows
constexpr std::size_t kUsageMapBytes = 59;  // a type 0 map: 472 pages from its start page

using Bytes = std::string;

void Put16(Bytes& out, std::size_t at, unsigned value) {
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}
void Put32(Bytes& out, std::size_t at, unsigned value) {
    Put16(out, at, value & 0xFFFF);
    Put16(out, at + 2, value >> 16);
}
void Append16(Bytes& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

// UTF-8 to UCS-2, little-endian (characters of the basic plane only).
Bytes Ucs2(const std::string& text) {
    Bytes out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        unsigned code = c;
        std::size_t length = 1;
        if (c >= 0xE0) {
            code = (c & 0x0F) << 12 | (text[i + 1] & 0x3F) << 6 | (text[i + 2] & 0x3F), length = 3;
        } else if (c >= 0xC0) {
            code = (c & 0x1F) << 6 | (text[i + 1] & 0x3F), length = 2;
        }
        Append16(out, code);
        i += length;
    }
    return out;
}

// One row: column count, the values, end of data, the value offsets (last first), the
// count of variable columns, and the null mask (a set bit: not null).
Bytes Row(const std::vector<std::optional<std::string>>& cells) {
    const std::size_t columns = cells.size();
    Bytes row;
    Append16(row, static_cast<unsigned>(columns));
    std::vector<unsigned> offsets;
    Bytes mask((columns + 7) / 8, '\0');
    for (std::size_t i = 0; i < columns; ++i) {
        offsets.push_back(static_cast<unsigned>(row.size()));
        if (!cells[i]) continue;
        mask[i / 8] = static_cast<char>(mask[i / 8] | (1 << (i % 8)));
        row += Ucs2(*cells[i]);
    }
    Append16(row, static_cast<unsigned>(row.size()));
    for (std::size_t i = columns; i-- > 0;) Append16(row, offsets[i]);
    Append16(row, static_cast<unsigned>(columns));
    return row + mask;
}

// The definition of font_info: header, a 25-byte descriptor per column, the names.
Bytes Definition(const FontTable& table, const Bytes& templateHeader) {
    const auto columns = static_cast<unsigned>(table.columns.size());
    Bytes definition = templateHeader.substr(0, 0x3F);
    Put32(definition, 0x10, static_cast<unsigned>(table.rows.size()));
    Put16(definition, 0x29, columns);
    Put16(definition, 0x2B, columns);
    Put16(definition, 0x2D, columns);
    Put32(definition, 0x2F, 0);
    Put32(definition, 0x33, 0);
    Put32(definition, 0x37, (1u << 8) | kUsageMapRow);
    for (unsigned i = 0; i < columns; ++i) {
        Bytes column(25, '\0');
        column[0] = 0x0A;  // text
        column.replace(1, 4, templateHeader.substr(0x0C, 4));
        Put16(column, 5, i);
        Put16(column, 7, i);
        Put16(column, 9, i);
        Put16(column, 11, 0x0409);
        column[15] = 0x02;  // may be null
        column[16] = 0x01;  // compressible
        Put16(column, 23, 510);
        definition += column;
    }
    for (const auto& name : table.columns) {
        const Bytes ucs2 = Ucs2(name);
        Append16(definition, static_cast<unsigned>(ucs2.size()));
        definition += ucs2;
    }
    Put32(definition, 0x08, static_cast<unsigned>(definition.size()));
    return definition;
}

// The definition split over pages of its own, each with an 8-byte header.
std::vector<Bytes> DefinitionPages(const Bytes& definition) {
    std::vector<Bytes> pages;
    for (std::size_t at = 8; at < definition.size() || pages.empty(); at += kPage - 8) {
        Bytes page(kPage, '\0');
        page[0] = 0x02;
        page[1] = 0x01;
        const Bytes piece = definition.substr(at, kPage - 8);
        page.replace(8, piece.size(), piece);
        Put16(page, 2, static_cast<unsigned>(kPage - 8 - piece.size()));
        pages.push_back(page);
    }
    pages.front().replace(0, 8, definition.substr(0, 8));
    pages.front()[0] = 0x02;
    for (std::size_t i = 0; i + 1 < pages.size(); ++i)
        Put32(pages[i], 4, static_cast<unsigned>(kTableDefinitionPage + i + 1));
    return pages;
}

std::vector<Bytes> DataPages(const FontTable& table) {
    std::vector<Bytes> pages;
    Bytes page;
    std::size_t rows = 0, end = kPage;
    auto finish = [&] {
        if (rows == 0) return;
        Put16(page, 12, static_cast<unsigned>(rows));
        Put16(page, 2, static_cast<unsigned>(end - 14 - 2 * rows));
        pages.push_back(page);
        rows = 0;
    };
    for (const auto& cells : table.rows) {
        const Bytes row = Row(cells);
        if (row.size() + 2 + 14 > kPage) throw std::runtime_error("a row does not fit in a page");
        if (rows == 0 || row.size() + 14 + 2 * (rows + 1) > end) {
            finish();
            page.assign(kPage, '\0');
            page[0] = 0x01;
            page[1] = 0x01;
            Put32(page, 4, kTableDefinitionPage);
            end = kPage;
        }
        end -= row.size();
        page.replace(end, row.size(), row);
        Put16(page, 14 + 2 * rows, static_cast<unsigned>(end));
        ++rows;
    }
    finish();
    return pages;
}

}  // namespace

std::string WriteJetFontMap(const FontTable& table, const std::string& templateFile) {
    if (templateFile.size() < 5 * kPage) throw std::runtime_error("the template is too small");
    const Bytes templateDefinition = templateFile.substr(kTableDefinitionPage * kPage, kPage);
    const std::vector<Bytes> definition = DefinitionPages(Definition(table, templateDefinition));
    const std::vector<Bytes> data = DataPages(table);
    const std::size_t firstData = kTableDefinitionPage + definition.size();
    if (data.size() > kUsageMapBytes * 8) throw std::runtime_error("too many data pages for one usage map");

    Bytes file = templateFile.substr(0, kTableDefinitionPage * kPage);
    const std::size_t mapAt = kPage + static_cast<unsigned char>(file[kPage + 14 + 2 * kUsageMapRow]) +
                              (static_cast<unsigned char>(file[kPage + 15 + 2 * kUsageMapRow]) << 8);
    Bytes map(1 + 4 + kUsageMapBytes, '\0');
    Put32(map, 1, static_cast<unsigned>(firstData));
    for (std::size_t i = 0; i < data.size(); ++i)
        map[5 + i / 8] = static_cast<char>(map[5 + i / 8] | (1 << (i % 8)));
    file.replace(mapAt, map.size(), map);
    for (const auto& page : definition) file += page;
    for (const auto& page : data) file += page;
    return file;
}

}  // namespace varnex::test
