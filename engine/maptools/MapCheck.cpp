#include "maptools/MapCheck.h"

#include <algorithm>
#include <bitset>
#include <map>

#include "Failure.h"
#include "map/DecodeCodeList.h"
#include "map/FontNameMatch.h"
#include "maptools/AliasCheck.h"
#include "maptools/CellReading.h"
#include "text/CodePointName.h"
#include "text/LetterCase.h"

namespace varnex::map {

namespace {

using SourceKind = SourceReading::Kind;
using TargetKind = TargetReading::Kind;

std::string Pair(const FontTable& table, std::size_t source, std::size_t target) {
    return "\"" + table.columns[source] + "\" -> \"" + table.columns[target] + "\"";
}

std::string RowList(const std::vector<std::size_t>& rows) {
    std::string out;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        out += (i == 0 ? "" : i + 1 == rows.size() ? " and " : ", ") + std::to_string(rows[i] + 1);
    }
    return out;
}

// Codes a font writes, read from every cell of its column: single codes and lists alike.
std::bitset<256> WrittenCodes(const FontTable& table, std::size_t column) {
    std::bitset<256> codes;
    for (const auto& row : table.rows) {
        const auto& cell = row[column];
        if (!cell || cell->empty()) continue;
        try {
            for (char c : DecodeCodeList(*cell)) codes.set(static_cast<unsigned char>(c));
        } catch (const Failure&) {
            // a cell that does not decode writes no code; its fault is reported on its own
        }
    }
    codes.reset(0);
    return codes;
}

class Checker {
public:
    Checker(const FontTable& table, std::optional<PairChoice> onlyPair,
            const std::vector<std::optional<char32_t>>& rowCharacters)
        : table_(table), onlyPair_(onlyPair), rowCharacters_(rowCharacters) {}

    CheckReport Run() {
        report_.fonts.resize(table_.columns.size());
        for (std::size_t c = 0; c < table_.columns.size(); ++c) {
            if (Concerns(c)) report_.fontsInScope.push_back(c);
        }
        if (!CheckShape()) return Finish();
        CheckNames();
        CheckAliases();
        ReadCells();
        CheckCells();
        CheckNamedCharacters();
        CheckSourceColumns();
        for (std::size_t s = 0; s < table_.columns.size(); ++s) {
            for (std::size_t t = 0; t < table_.columns.size(); ++t) {
                if (InScope(s, t)) CheckPair(s, t);
            }
        }
        return Finish();
    }

private:
    void Add(Severity severity, FindingKind kind, std::optional<std::size_t> row,
             std::optional<std::size_t> column, std::optional<std::size_t> source,
             std::optional<std::size_t> target, std::string message) {
        report_.findings.push_back({severity, kind, row, column, source, target, std::move(message)});
        const std::optional<std::size_t> font = column ? column : source;
        auto& count = severity == Severity::Error ? report_.errors : report_.notes;
        ++count;
        if (font) ++(severity == Severity::Error ? report_.fonts[*font].errors : report_.fonts[*font].notes);
    }

    bool Concerns(std::size_t column) const {
        return !onlyPair_ || column == onlyPair_->source || column == onlyPair_->target;
    }
    bool Choosable(std::size_t column) const { return choosable_[column]; }
    bool InScope(std::size_t source, std::size_t target) const {
        if (source == target || !Choosable(source) || !Choosable(target)) return false;
        return !onlyPair_ || (source == onlyPair_->source && target == onlyPair_->target);
    }

    bool CheckShape() {
        bool rectangular = true;
        for (std::size_t r = 0; r < table_.rows.size(); ++r) {
            if (table_.rows[r].size() == table_.columns.size()) continue;
            Add(Severity::Error, FindingKind::RaggedRow, r, std::nullopt, std::nullopt, std::nullopt,
                "the row has " + std::to_string(table_.rows[r].size()) + " cells for " +
                    std::to_string(table_.columns.size()) + " columns");
            rectangular = false;
        }
        if (table_.columns.empty() || table_.rows.empty()) {
            Add(Severity::Error, FindingKind::EmptyTable, std::nullopt, std::nullopt, std::nullopt,
                std::nullopt,
                table_.columns.empty()
                    ? "the table font_info has no columns: the program finds no font at start-up"
                    : "the table font_info has no rows: loading the font list ends the program");
            return false;
        }
        return rectangular;
    }

    void CheckNames() {
        choosable_.assign(table_.columns.size(), false);
        unicode_.assign(table_.columns.size(), false);
        for (std::size_t c = 0; c < table_.columns.size(); ++c) {
            unicode_[c] = IsUnicodeFont(table_.columns[c]);
            const auto chosen = ColumnForFont(table_, table_.columns[c]);
            choosable_[c] = chosen == c;
            if (!Concerns(c) || choosable_[c]) continue;
            if (table_.columns[c].empty()) {
                Add(Severity::Error, FindingKind::UnnamedColumn, std::nullopt, c, std::nullopt, std::nullopt,
                    "the column has no name: its font can never be chosen");
            } else {
                Add(Severity::Error, FindingKind::ShadowedColumn, std::nullopt, c, std::nullopt, std::nullopt,
                    "the name is also that of column " + std::to_string(*chosen + 1) +
                        " (letter case aside), which the load always takes");
            }
        }
    }

    void CheckAliases() {
        for (auto& f : CheckFontAliases(table_)) {
            if (Concerns(*f.column)) Add(f.severity, f.kind, f.row, f.column, f.source, f.target, f.message);
        }
    }

    void ReadCells() {
        sources_.resize(table_.rows.size());
        targets_.resize(table_.rows.size());
        for (std::size_t r = 0; r < table_.rows.size(); ++r) {
            for (std::size_t c = 0; c < table_.columns.size(); ++c) {
                const auto& cell = table_.rows[r][c];
                sources_[r].push_back(unicode_[c] ? ReadAsUnicodeSource(cell) : ReadAsSource(cell));
                targets_[r].push_back(ReadAsTarget(cell));
            }
        }
    }

    // The pairs in scope that read the cell (row, column) as a target (asTarget) or as a source.
    std::vector<std::size_t> PairsReading(std::size_t row, std::size_t column, bool asTarget) const {
        std::vector<std::size_t> others;
        for (std::size_t o = 0; o < table_.columns.size(); ++o) {
            const bool inScope = asTarget ? InScope(o, column) : InScope(column, o);
            const bool reads = asTarget ? sources_[row][o].kind != SourceKind::Skipped
                                        : targets_[row][o].kind != TargetKind::Null;
            if (inScope && reads) others.push_back(o);
        }
        return others;
    }

    std::string EndedLoads(std::size_t column, const std::vector<std::size_t>& others, bool asTarget) const {
        const std::size_t first = others.front();
        const std::string example = asTarget ? Pair(table_, first, column) : Pair(table_, column, first);
        if (others.size() == 1) return "; it ends the load of " + example;
        return "; it ends the load of " + std::to_string(others.size()) + " pairs, such as " + example;
    }

    void CheckCell(std::size_t r, std::size_t c) {
        const bool badTarget = targets_[r][c].kind == TargetKind::Bad;
        const bool badSource = sources_[r][c].kind == SourceKind::Bad;
        if (!badTarget && !badSource) return;
        const auto asTarget = badTarget ? PairsReading(r, c, true) : std::vector<std::size_t>{};
        const auto asSource = badSource ? PairsReading(r, c, false) : std::vector<std::size_t>{};
        if (!asTarget.empty()) {
            Add(Severity::Error, FindingKind::BadTargetCell, r, c, std::nullopt, std::nullopt,
                targets_[r][c].fault + EndedLoads(c, asTarget, true));
        }
        if (!asSource.empty()) {
            Add(Severity::Error, FindingKind::BadSourceCell, r, c, std::nullopt, std::nullopt,
                sources_[r][c].fault + EndedLoads(c, asSource, false));
        }
        if (asTarget.empty() && asSource.empty() && !onlyPair_ && Choosable(c)) {
            Add(Severity::Note, FindingKind::UnreadBadCell, r, c, std::nullopt, std::nullopt,
                (badSource ? sources_[r][c].fault : targets_[r][c].fault) +
                    "; no pair reads it, since no other font has a cell in this row");
        }
    }

    void CheckCells() {
        for (std::size_t r = 0; r < table_.rows.size(); ++r) {
            for (std::size_t c = 0; c < table_.columns.size(); ++c) CheckCell(r, c);
        }
    }

    // A cell of the Unicode font whose character is not the one its row is named after.
    void CheckNamedCharacters() {
        for (std::size_t c = 0; c < table_.columns.size(); ++c) {
            if (!unicode_[c] || !Concerns(c)) continue;
            for (std::size_t r = 0; r < table_.rows.size() && r < rowCharacters_.size(); ++r) {
                const auto named = rowCharacters_[r];
                const SourceReading& cell = sources_[r][c];
                if (!named || cell.kind != SourceKind::Code || static_cast<char32_t>(cell.code) == *named)
                    continue;
                Add(Severity::Error, FindingKind::CharacterDiffers, r, c, std::nullopt, std::nullopt,
                    "the cell " + Shown(*table_.rows[r][c]) + " is " +
                        CodePointName(static_cast<char32_t>(cell.code)) + ", but its row's #character is " +
                        CodePointName(*named));
            }
        }
    }

    // "the source code 65", or "the character U+0416" in the Unicode font.
    std::string SourceName(std::size_t s, int code) const {
        return unicode_[s] ? "the character " + CodePointName(static_cast<char32_t>(code))
                           : "the source code " + std::to_string(code);
    }

    void CheckSourceColumn(std::size_t s) {
        rowsOfCode_[s] = {};
        auto& font = report_.fonts[s];
        for (std::size_t r = 0; r < table_.rows.size(); ++r) {
            const auto& cell = table_.rows[r][s];
            if (sources_[r][s].kind == SourceKind::Code) {
                auto& rows = rowsOfCode_[s][sources_[r][s].code];
                if (rows.empty()) ++font.sourceCodes;
                rows.push_back(r);
            } else if (!unicode_[s] && cell && cell->find(',') != std::string::npos) {
                Add(Severity::Note, FindingKind::ListSourceCell, r, s, std::nullopt, std::nullopt,
                    "the cell " + Shown(*cell) +
                        " holds several codes: as a source it is never converted as a unit, each code by its "
                        "own "
                        "entry");
            }
        }
        if (font.sourceCodes == 0) {
            Add(Severity::Note, FindingKind::NoSourceCode, std::nullopt, s, std::nullopt, std::nullopt,
                unicode_[s] ? "the font has no cell with a character: as a source it converts nothing"
                            : "the font has no cell with a single code: as a source it converts nothing");
        }
        for (const auto& [code, rows] : rowsOfCode_[s]) {
            if (rows.size() < 2) continue;
            Add(Severity::Note, FindingKind::RepeatedCode, rows.back(), s, std::nullopt, std::nullopt,
                SourceName(s, code) + " is in rows " + RowList(rows) +
                    "; for each target the last of them with a cell there wins");
        }
    }

    void CheckSourceColumns() {
        rowsOfCode_.resize(table_.columns.size());
        for (std::size_t s = 0; s < table_.columns.size(); ++s) {
            if (Choosable(s) && (!onlyPair_ || s == onlyPair_->source)) CheckSourceColumn(s);
        }
    }

    void ReportDifferingRows(std::size_t s, std::size_t t, int code, const std::vector<std::size_t>& rows) {
        const std::string& winner = table_.rows[rows.back()][t].value();
        std::string others;
        for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
            const std::string& value = table_.rows[rows[i]][t].value();
            if (value == winner) continue;
            others += (others.empty() ? "" : ", ") + std::string("row ") + std::to_string(rows[i] + 1) +
                      " would have given " + Shown(value);
        }
        if (others.empty()) return;
        Add(Severity::Note, FindingKind::RepeatedCodeDiffers, rows.back(), std::nullopt, s, t,
            Pair(table_, s, t) + ": " + SourceName(s, code) + " is in rows " + RowList(rows) + "; row " +
                std::to_string(rows.back() + 1) + " wins with " + Shown(winner) + ", " + others);
    }

    bool PairFails(std::size_t s, std::size_t t) const {
        for (std::size_t r = 0; r < table_.rows.size(); ++r) {
            if (sources_[r][s].kind == SourceKind::Skipped || targets_[r][t].kind == TargetKind::Null)
                continue;
            if (sources_[r][s].kind == SourceKind::Bad || targets_[r][t].kind == TargetKind::Bad) return true;
        }
        return false;
    }

    void CheckPair(std::size_t s, std::size_t t) {
        PairOutcome& outcome = report_.pairs.emplace_back(PairOutcome{s, t, PairFails(s, t), {}});
        if (outcome.fails) return;
        if (written_.size() <= s) written_.resize(table_.columns.size());
        if (!written_[s] && !unicode_[s]) written_[s] = WrittenCodes(table_, s);
        const auto rowsWithEntries = [&](int code) {
            std::vector<std::size_t> rows;
            const auto found = rowsOfCode_[s].find(code);
            if (found == rowsOfCode_[s].end()) return rows;
            for (std::size_t r : found->second) {
                if (targets_[r][t].kind == TargetKind::Codes) rows.push_back(r);
            }
            return rows;
        };
        // A font of codes writes the codes of all its cells; the Unicode font its characters.
        std::vector<int> written;
        if (unicode_[s]) {
            for (const auto& [code, rows] : rowsOfCode_[s]) written.push_back(code);
        } else {
            for (int code = 1; code < 256; ++code) {
                if (written_[s]->test(code) || rowsOfCode_[s].contains(code)) written.push_back(code);
            }
        }
        for (const int code : written) {
            const auto rows = rowsWithEntries(code);
            if (rows.size() > 1) ReportDifferingRows(s, t, code, rows);
            if (rows.empty() && (unicode_[s] || written_[s]->test(code)))
                outcome.droppedCodes.push_back(code);
        }
        if (outcome.droppedCodes.empty()) return;
        const std::size_t dropped = outcome.droppedCodes.size();
        const char* what =
            unicode_[s] ? (dropped == 1 ? " character" : " characters") : (dropped == 1 ? " code" : " codes");
        Add(Severity::Note, FindingKind::DroppedCodes, std::nullopt, std::nullopt, s, t,
            Pair(table_, s, t) + ": " + std::to_string(dropped) + what +
                " of the source font without an entry, dropped on conversion: " +
                (unicode_[s] ? CharacterRuns(outcome.droppedCodes) : CodeRuns(outcome.droppedCodes)));
    }

    CheckReport Finish() { return std::move(report_); }

    const FontTable& table_;
    std::optional<PairChoice> onlyPair_;
    const std::vector<std::optional<char32_t>>& rowCharacters_;
    CheckReport report_;
    std::vector<bool> choosable_;
    std::vector<bool> unicode_;
    std::vector<std::vector<SourceReading>> sources_;
    std::vector<std::vector<TargetReading>> targets_;
    std::vector<std::map<int, std::vector<std::size_t>>> rowsOfCode_;  // per source column
    std::vector<std::optional<std::bitset<256>>> written_;
};

}  // namespace

const char* KindName(FindingKind kind) {
    switch (kind) {
        case FindingKind::EmptyTable:
            return "empty-table";
        case FindingKind::RaggedRow:
            return "ragged-row";
        case FindingKind::UnnamedColumn:
            return "unnamed-column";
        case FindingKind::ShadowedColumn:
            return "shadowed-column";
        case FindingKind::BadTargetCell:
            return "bad-target-cell";
        case FindingKind::BadSourceCell:
            return "bad-source-cell";
        case FindingKind::UnreadBadCell:
            return "unread-bad-cell";
        case FindingKind::RepeatedCode:
            return "repeated-code";
        case FindingKind::RepeatedCodeDiffers:
            return "repeated-code-differs";
        case FindingKind::ListSourceCell:
            return "list-source-cell";
        case FindingKind::NoSourceCode:
            return "no-source-code";
        case FindingKind::DroppedCodes:
            return "dropped-codes";
        case FindingKind::CharacterDiffers:
            return "character-differs";
        case FindingKind::AliasOfTwoFonts:
            return "alias-of-two-fonts";
        case FindingKind::AliasIsFontName:
            return "alias-is-font-name";
    }
    return "unknown";
}

std::optional<std::size_t> ColumnForFont(const FontTable& table, const std::string& font) {
    if (font.empty()) return std::nullopt;
    const auto& columns = table.columns;
    auto found = std::find(columns.begin(), columns.end(), font);
    if (found == columns.end()) {
        found = std::find_if(columns.begin(), columns.end(),
                             [&](const std::string& name) { return SameIgnoringCase(name, font); });
    }
    if (found == columns.end()) return std::nullopt;
    return static_cast<std::size_t>(found - columns.begin());
}

CheckReport CheckFontTable(const FontTable& table, std::optional<PairChoice> onlyPair,
                           const std::vector<std::optional<char32_t>>& rowCharacters) {
    return Checker(table, onlyPair, rowCharacters).Run();
}

}  // namespace varnex::map
