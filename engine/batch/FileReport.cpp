#include "batch/FileReport.h"

#include "text/CodePointName.h"

namespace varnex {

namespace {

std::string DroppedCodes(const StreamTotals& totals) {
    const std::uint64_t count = totals.MissingCount();
    std::string text =
        std::to_string(count) + (count == 1 ? " code" : " codes") + " without an entry dropped:";
    const char* separator = " ";
    for (int code = 0; code < 256; ++code) {
        if (totals.missing[code] == 0) continue;
        text += separator + std::to_string(code) + " (" + std::to_string(totals.missing[code]) + "x)";
        separator = ", ";
    }
    return text;
}

std::string MissingCharacters(const StreamTotals& totals) {
    const std::uint64_t count = totals.MissingCount() - totals.illFormed;
    std::string text;
    if (count != 0) {
        text = std::to_string(count) + (count == 1 ? " character" : " characters") +
               " without an entry dropped:";
        bool first = true;
        for (const auto& [character, times] : totals.missingCharacters) {
            text += (first ? " " : ", ") + CodePointName(character) + " (" + std::to_string(times) + "x)";
            first = false;
        }
    }
    if (totals.illFormed != 0) {
        text += (count != 0 ? "; " : "") + std::to_string(totals.illFormed) +
                (totals.illFormed == 1 ? " ill-formed byte sequence" : " ill-formed byte sequences") +
                " dropped";
    }
    return text;
}

std::string TextReport(const StreamTotals& totals, bool characters) {
    if (totals.MissingCount() == 0) return characters ? "no characters dropped" : "no codes dropped";
    return characters ? MissingCharacters(totals) : DroppedCodes(totals);
}

std::string DocumentReport(const DocumentTotals& totals) {
    std::string text = std::to_string(totals.convertedCharacters) + " characters converted; ";
    const std::uint64_t count = totals.WithoutCodeCount();
    if (count == 0) text += "none without a code";
    if (count != 0)
        text += std::to_string(count) + (count == 1 ? " character" : " characters") + " without a code kept:";
    const char* separator = " ";
    for (const auto& [character, times] : totals.withoutCode) {
        text += separator + CodePointName(character) + " (" + std::to_string(times) + "x)";
        separator = ", ";
    }
    if (const std::uint64_t dropped = totals.DroppedCount()) {
        const bool characters = totals.dropped.empty();
        text += "; " + std::to_string(dropped) +
                (characters ? (dropped == 1 ? " character" : " characters")
                            : (dropped == 1 ? " code" : " codes")) +
                " without an entry dropped:";
        separator = " ";
        for (const auto& [code, times] : totals.dropped) {
            text += separator + std::to_string(code) + " (" + std::to_string(times) + "x)";
            separator = ", ";
        }
        for (const auto& [character, times] : totals.droppedCharacters) {
            text += separator + CodePointName(character) + " (" + std::to_string(times) + "x)";
            separator = ", ";
        }
    }
    return text;
}

}  // namespace

std::string FileReport::Line() const {
    const std::string told = document ? DocumentReport(*document) : text ? TextReport(*text, characters) : "";
    return input + ": " + told;
}

}  // namespace varnex
