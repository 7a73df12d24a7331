#pragma once

#include <cstddef>
#include <cstdint>

namespace varnex {

// The languages' n-gram counts, made at build time from data/detect/ngrams.tsv.
struct LanguageRecord {
    const char* code;
    const char* name;
    const char* script;   // "Cyrillic" or "Latin"
    const char* letters;  // UTF-8, in lower case
};
struct NgramRecord {
    std::uint8_t language;  // index into kLanguageRecords
    const char* gram;       // UTF-8: one to three letters or blanks
    std::uint32_t count;
};

extern const LanguageRecord kLanguageRecords[];
extern const std::size_t kLanguageRecordCount;
extern const NgramRecord kNgramRecords[];
extern const std::size_t kNgramRecordCount;

}  // namespace varnex
