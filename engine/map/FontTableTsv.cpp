#include "map/FontTableTsv.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "Failure.h"
#include "map/FontAliases.h"
#include "text/Utf8Text.h"

namespace varnex {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kNull = "\\N";
constexpr std::string_view kAliasLine = "#alias";

[[noreturn]] void FailAt(std::size_t line, const std::string& what) {
    throw Failure(kBadFileFormat, "line " + std::to_string(line) + ": " + what);
}

std::string FieldPlace(std::size_t field, const std::vector<std::string>& names, bool noteColumn) {
    std::string place = "column " + std::to_string(field + 1);
    const std::size_t column = noteColumn ? field - 1 : field;
    if ((!noteColumn || field > 0) && column < names.size()) place += " (\"" + names[column] + "\")";
    return place;
}

// Faults that lie in the bytes of a line, whatever its cells mean.
void CheckLineBytes(std::string_view line, std::size_t number) {
    if (const std::size_t cr = line.find('\r'); cr != std::string_view::npos) {
        FailAt(number,
               cr + 1 == line.size()
                   ? "the line ends with a carriage return (CRLF line ends); save the file with LF line ends"
                   : "a carriage return inside the line, at byte " + std::to_string(cr + 1));
    }
    if (const std::size_t nul = line.find('\0'); nul != std::string_view::npos) {
        FailAt(number, "a NUL byte at byte " + std::to_string(nul + 1));
    }
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(
            line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

void CheckUtf8(const std::vector<std::string_view>& fields, std::size_t number,
               const std::vector<std::string>& names, bool noteColumn) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t bad = FirstInvalidUtf8(fields[i]);
        if (bad != std::string_view::npos) {
            FailAt(number, FieldPlace(i, names, noteColumn) + ": invalid UTF-8 at byte " +
                               std::to_string(bad + 1) + " of the cell");
        }
    }
}

class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (position_ >= text_.size()) return false;
        const std::size_t end = std::min(text_.find('\n', position_), text_.size());
        line = text_.substr(position_, end - position_);
        position_ = end + 1;
        ++number_;
        return true;
    }
    std::size_t Number() const { return number_; }

private:
    std::string_view text_;
    std::size_t position_ = 0;
    std::size_t number_ = 0;
};

std::vector<std::string> ReadHeader(std::string_view line, bool& noteColumn) {
    CheckLineBytes(line, 1);
    const auto fields = SplitTabs(line);
    noteColumn = fields.front().starts_with('#');
    const std::size_t fonts = fields.size() - (noteColumn ? 1 : 0);
    if (fonts > kMaxTsvFontColumns) {
        FailAt(1, "names " + std::to_string(fonts) + " fonts, more than the " +
                      std::to_string(kMaxTsvFontColumns) + " a font map can hold");
    }
    CheckUtf8(fields, 1, {}, noteColumn);
    return {fields.begin() + (noteColumn ? 1 : 0), fields.end()};
}

std::vector<FontTable::Cell> ReadRow(std::string_view line, std::size_t number,
                                     const std::vector<std::string>& names, bool noteColumn,
                                     std::vector<std::string>& notes) {
    CheckLineBytes(line, number);
    const std::size_t expected = names.size() + (noteColumn ? 1 : 0);
    const std::size_t cells = static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t')) + 1;
    if (cells != expected) {
        FailAt(number, "the line has " + std::to_string(cells) + " cells for " + std::to_string(expected) +
                           " columns (a tab too many or too few)");
    }
    const auto fields = SplitTabs(line);
    CheckUtf8(fields, number, names, noteColumn);
    if (noteColumn) notes.emplace_back(fields.front());
    std::vector<FontTable::Cell> row;
    row.reserve(names.size());
    for (std::size_t i = noteColumn ? 1 : 0; i < fields.size(); ++i) {
        if (fields[i] == kNull) {
            row.emplace_back();
        } else {
            row.emplace_back(std::string(fields[i]));
        }
    }
    return row;
}

bool IsAliasLine(std::string_view line) {
    return line.starts_with(kAliasLine) &&
           (line.size() == kAliasLine.size() || line[kAliasLine.size()] == '\t');
}

// "#alias<TAB>FONT<TAB>ALIAS...": further names of the font FONT.
void ReadAliasLine(std::string_view line, std::size_t number, FontTable& table) {
    CheckLineBytes(line, number);
    const auto fields = SplitTabs(line);
    if (fields.size() < 3)
        FailAt(number, "an alias line names a font and its aliases: #alias<TAB>FONT<TAB>ALIAS...");
    for (std::size_t i = 1; i < fields.size(); ++i) {
        if (FirstInvalidUtf8(fields[i]) != std::string_view::npos)
            FailAt(number, "column " + std::to_string(i + 1) + " of the alias line is not valid UTF-8");
    }
    for (std::size_t i = 2; i < fields.size(); ++i) {
        FontAlias alias{std::string(fields[1]), std::string(fields[i])};
        if (const std::string fault = AliasFault(table.columns, alias); !fault.empty()) FailAt(number, fault);
        table.aliases.push_back(std::move(alias));
    }
}

}  // namespace

TsvFontTable ParseFontTableTsvWithLines(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) {
        FailAt(1, "the file starts with a byte order mark (U+FEFF); save it as UTF-8 without one");
    }
    LineReader lines(text);
    std::string_view line;
    if (!lines.Next(line)) FailAt(1, "the file is empty; its first line must name the fonts");
    TsvFontTable result;
    bool noteColumn = false;
    result.table.columns = ReadHeader(line, noteColumn);
    while (lines.Next(line)) {
        if (line.empty()) continue;
        if (IsAliasLine(line)) {
            ReadAliasLine(line, lines.Number(), result.table);
            continue;
        }
        result.table.rows.push_back(
            ReadRow(line, lines.Number(), result.table.columns, noteColumn, result.rowNotes));
        result.rowLines.push_back(lines.Number());
    }
    return result;
}

FontTable ParseFontTableTsv(std::string_view text) { return ParseFontTableTsvWithLines(text).table; }

TsvFontTable ReadFontTableTsvWithLines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failure(kFileNotFound, "\"" + path.string() + "\": the file cannot be opened.");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw Failure(kDeviceError, "\"" + path.string() + "\": the file cannot be read.");
    try {
        return ParseFontTableTsvWithLines(text.str());
    } catch (const Failure& failure) {
        throw Failure(failure.Number(), "\"" + path.string() + "\", " + failure.Description());
    }
}

FontTable ReadFontTableTsv(const std::filesystem::path& path) {
    return ReadFontTableTsvWithLines(path).table;
}

}  // namespace varnex
