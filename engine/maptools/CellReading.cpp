#include "maptools/CellReading.h"

#include <algorithm>
#include <cstdio>

#include "Failure.h"
#include "map/DecodeCodeList.h"
#include "text/CodePointName.h"

namespace varnex::map {

namespace {

constexpr std::size_t kShownLength = 40;

void AppendEscaped(std::string& out, char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\t') {
        out += "\\t";
    } else if (c == '\n') {
        out += "\\n";
    } else if (c == '\r') {
        out += "\\r";
    } else if (byte < 0x20 || byte == 0x7F) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
        out += escaped;
    } else {
        out += c;
    }
}

std::string TargetFault(const std::string& cell, int failureNumber) {
    if (cell.empty()) return "the target cell is empty text (not null)";
    const std::string what = "the target cell " + Shown(cell);
    if (failureNumber != kOverflow) return what + " holds a piece that is not a number";
    const auto pieces = static_cast<std::size_t>(std::count(cell.begin(), cell.end(), ',')) + 1;
    if (pieces > 255) return what + " holds " + std::to_string(pieces) + " codes (255 at most)";
    return what + " holds a code over 255";
}

}  // namespace

SourceReading ReadAsSource(const FontTable::Cell& cell) {
    SourceReading reading;
    if (!cell || cell->empty() || cell->find(',') != std::string::npos) return reading;
    const auto value = ParseWholeNumber(*cell);
    if (!value) {
        reading.kind = SourceReading::Kind::Bad;
        reading.fault = "the source cell " + Shown(*cell) + " is not a number";
    } else if (*value < 1 || *value > 255) {
        reading.kind = SourceReading::Kind::Bad;
        reading.fault = "the source code " + std::to_string(*value) +
                        " is out of range (a source code lies from 1 to 255)";
    } else {
        reading.kind = SourceReading::Kind::Code;
        reading.code = static_cast<int>(*value);
    }
    return reading;
}

SourceReading ReadAsUnicodeSource(const FontTable::Cell& cell) {
    SourceReading reading;
    if (!cell || cell->empty()) return reading;
    try {
        reading.code = static_cast<int>(DecodeCharacterCell(*cell));
        reading.kind = SourceReading::Kind::Code;
    } catch (const Failure&) {
        reading.kind = SourceReading::Kind::Bad;
        reading.fault = "the source cell " + Shown(*cell) + " is not one UTF-8 character";
    }
    return reading;
}

TargetReading ReadAsTarget(const FontTable::Cell& cell) {
    TargetReading reading;
    if (!cell) return reading;
    try {
        reading.codes = DecodeCodeList(*cell);
        reading.kind = TargetReading::Kind::Codes;
    } catch (const Failure& failure) {
        reading.kind = TargetReading::Kind::Bad;
        reading.fault = TargetFault(*cell, failure.Number());
    }
    return reading;
}

std::string OneLine(const std::string& text) {
    std::string out;
    for (char c : text) AppendEscaped(out, c);
    return out;
}

std::string Shown(const std::string& text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size() && i < kShownLength; ++i) AppendEscaped(out, text[i]);
    out += "\"";
    if (text.size() > kShownLength) out += " (" + std::to_string(text.size()) + " bytes in all)";
    return out;
}

namespace {

template <typename Name>
std::string Runs(const std::vector<int>& sorted, Name name) {
    std::string out;
    for (std::size_t i = 0; i < sorted.size();) {
        std::size_t end = i;
        while (end + 1 < sorted.size() && sorted[end + 1] == sorted[end] + 1) ++end;
        if (!out.empty()) out += ", ";
        out += name(sorted[i]);
        if (end > i) out += "-" + name(sorted[end]);
        i = end + 1;
    }
    return out;
}

}  // namespace

std::string CodeRuns(const std::vector<int>& sortedCodes) {
    return Runs(sortedCodes, [](int code) { return std::to_string(code); });
}

std::string CharacterRuns(const std::vector<int>& sortedCharacters) {
    return Runs(sortedCharacters,
                [](int character) { return CodePointName(static_cast<char32_t>(character)); });
}

}  // namespace varnex::map
