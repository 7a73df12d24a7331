#include "map/CharacterNames.h"

#include <iconv.h>

#include <cstdio>
#include <optional>

#include "map/CellReading.h"

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

std::string UnicodeName(unsigned codePoint) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", codePoint);
    return name;
}

}  // namespace

std::vector<std::string> CharacterNames(const FontTable& table) {
    std::vector<std::string> names(table.rows.size());
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        CodePage page(table.columns[c]);
        if (!page.Known()) continue;
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            if (!names[r].empty() || c >= table.rows[r].size()) continue;
            const SourceReading cell = ReadAsSource(table.rows[r][c]);
            if (cell.kind != SourceReading::Kind::Code) continue;
            if (const auto codePoint = page.CodePoint(cell.code)) names[r] = UnicodeName(*codePoint);
        }
    }
    return names;
}

}  // namespace varnex::map
