#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "map/FontTable.h"

namespace varnex::map {

enum class Severity {
    Error,  // would end the program (the load of a pair, the start-up's font list), or an alias
            // of the map that cannot find its font
    Note,   // loads, but converts otherwise than one might expect
};

// What a finding is about; its name is the word the tab-separated report uses.
enum class FindingKind {
    EmptyTable,           // no column or no row: the font list cannot be loaded
    RaggedRow,            // a row whose cell count differs from the column count
    UnnamedColumn,        // a font that cannot be chosen
    ShadowedColumn,       // a name that another column answers to first
    BadTargetCell,        // a code list that the load cannot decode
    BadSourceCell,        // a source cell that is not a code from 1 to 255
    UnreadBadCell,        // a bad cell that no pair reads
    RepeatedCode,         // a source code in several rows of a column
    RepeatedCodeDiffers,  // ... and the rows give a pair different entries
    ListSourceCell,       // a source cell with several codes
    NoSourceCode,         // a font without a single-code cell
    DroppedCodes,         // codes of the source font without an entry for a pair
    CharacterDiffers,     // a cell of the Unicode font that is not the character its row names
    AliasOfTwoFonts,      // an alias the map declares for two fonts (AliasCheck.h)
    AliasIsFontName,      // an alias that is another font's name
};

const char* KindName(FindingKind kind);

struct Finding {
    Severity severity;
    FindingKind kind;
    std::optional<std::size_t> row;     // index into FontTable::rows
    std::optional<std::size_t> column;  // the cell's column, or the font a finding is about
    std::optional<std::size_t> source;  // the pair a finding is about
    std::optional<std::size_t> target;
    std::string message;
};

// What the load of one ordered pair would do.
struct PairOutcome {
    std::size_t source;
    std::size_t target;
    bool fails = false;
    std::vector<int> droppedCodes;  // codes the source font writes that get no entry
};

struct FontSummary {
    std::size_t sourceCodes = 0;  // distinct codes of its single-code cells
    std::size_t errors = 0;
    std::size_t notes = 0;
};

struct CheckReport {
    std::vector<Finding> findings;
    std::vector<PairOutcome> pairs;         // empty when the table's shape stops the check early
    std::vector<FontSummary> fonts;         // one per column
    std::vector<std::size_t> fontsInScope;  // the columns the report is about
    std::size_t errors = 0;
    std::size_t notes = 0;
};

struct PairChoice {
    std::size_t source;
    std::size_t target;
};

// Predicts, without loading anything, every fault that the font list or the load of a pair
// would end the program on, and the surprises a load would bring. With a pair, the report
// covers that pair alone. For the Unicode font (IsUnicodeFont) a source cell is one
// character in UTF-8, and the report speaks of characters (U+XXXX) where it speaks of codes
// for the others. rowCharacters, where given (the text form's "#character" column), names the
// character each row is meant to be: a cell of the Unicode font that is another is an error.
CheckReport CheckFontTable(const FontTable& table, std::optional<PairChoice> onlyPair = std::nullopt,
                           const std::vector<std::optional<char32_t>>& rowCharacters = {});

// The column a font name chooses, as the load looks it up; nullopt when there is none.
std::optional<std::size_t> ColumnForFont(const FontTable& table, const std::string& font);

}  // namespace varnex::map
