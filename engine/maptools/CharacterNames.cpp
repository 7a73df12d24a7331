#include "maptools/CharacterNames.h"

#include <iconv.h>

#include <cstdio>
#include <optional>

#include "map/FontNameMatch.h"
#include "maptools/CellReading.h"
#include "text/CodePointName.h"

namespace varnex::map {

namespace {

// One code page's converter to UTF-32, open for as long as the object lives.
class CodePage {
public:
    explicit CodePage(const std::string& name) : converter_(iconv_open("UTF-32LE", name.c_str())) {}
    ~CodePage() {
        if (Known()) iconv_close(converter_);
    }
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    bool Known() const { return converter_ != reinterpret_cast<iconv_t>(-1); }

    std::optional<unsigned> CodePoint(int code) {
        char in = static_cast<char>(code);
        unsigned char out[4];
        char* inPointer = &in;
        char* outPointer = reinterpret_cast<char*>(out);
        std::size_t inLeft = 1;
        std::size_t outLeft = sizeof out;
        iconv(converter_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(converter_, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<std::size_t>(-1) ||
            outLeft != 0) {
            return std::nullopt;
        }
        return out[0] | out[1] << 8 | out[2] << 16 | static_cast<unsigned>(out[3]) << 24;
    }

private:
    iconv_t converter_;
};

void NameFromUnicodeFont(const FontTable& table, std::size_t column, std::vector<std::string>& names) {
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        if (!names[r].empty() || column >= table.rows[r].size()) continue;
        const SourceReading cell = ReadAsUnicodeSource(table.rows[r][column]);
        if (cell.kind == SourceReading::Kind::Code)
            names[r] = CodePointName(static_cast<char32_t>(cell.code));
    }
}

void NameFromCodePage(const FontTable& table, std::size_t column, std::vector<std::string>& names) {
    CodePage page(table.columns[column]);
    if (!page.Known()) return;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        if (!names[r].empty() || column >= table.rows[r].size()) continue;
        const SourceReading cell = ReadAsSource(table.rows[r][column]);
        if (cell.kind != SourceReading::Kind::Code) continue;
        if (const auto codePoint = page.CodePoint(cell.code)) names[r] = CodePointName(*codePoint);
    }
}

}  // namespace

std::vector<std::string> CharacterNames(const FontTable& table) {
    std::vector<std::string> names(table.rows.size());
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (IsUnicodeFont(table.columns[c])) NameFromUnicodeFont(table, c, names);
    }
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (!IsUnicodeFont(table.columns[c])) NameFromCodePage(table, c, names);
    }
    return names;
}

std::optional<char32_t> CharacterOfNote(std::string_view note) {
    if (!note.starts_with("U+")) return std::nullopt;
    char32_t value = 0;
    std::size_t digits = 0;
    for (const char c : note.substr(2)) {
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) break;
        value = value * 16 + static_cast<char32_t>(digit);
        if (++digits > 6) return std::nullopt;
    }
    const bool character = value != 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
    if (digits < 4 || !character) return std::nullopt;
    return value;
}

std::vector<std::optional<char32_t>> RowCharacters(const std::vector<std::string>& notes) {
    std::vector<std::optional<char32_t>> characters;
    characters.reserve(notes.size());
    for (const auto& note : notes) characters.push_back(CharacterOfNote(note));
    return characters;
}

}  // namespace varnex::map
