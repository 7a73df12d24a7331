#include "CheckReportFormat.h"

#include <ostream>

#include "map/FontNameMatch.h"
#include "maptools/CellReading.h"

namespace varnex::map {

namespace {

const char* SeverityName(Severity severity) { return severity == Severity::Error ? "error" : "note"; }

std::string ColumnName(const MapFile& map, std::optional<std::size_t> column) {
    return column ? OneLine(map.table.columns[*column]) : std::string();
}

std::string Place(const MapFile& map, const Finding& finding) {
    std::string place;
    if (finding.row) place = RowPlace(map, *finding.row);
    if (finding.column) {
        place += (place.empty() ? "" : ", ") + std::string("column ") + std::to_string(*finding.column + 1) +
                 " \"" + ColumnName(map, finding.column) + "\"";
    }
    return place.empty() ? place : place + ": ";
}

std::string Count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string OptionalNumber(std::optional<std::size_t> value) {
    return value ? std::to_string(*value + 1) : std::string();
}

}  // namespace

void WriteCheckText(const MapFile& map, const CheckReport& report, std::ostream& out) {
    const std::string file = map.path.string();
    for (const auto& finding : report.findings) {
        out << file << ": " << Place(map, finding) << SeverityName(finding.severity) << ": "
            << finding.message << "\n";
    }
    for (std::size_t c : report.fontsInScope) {
        const auto& font = report.fonts[c];
        out << file << ": font \"" << ColumnName(map, c) << "\": "
            << (IsUnicodeFont(map.table.columns[c]) ? Count(font.sourceCodes, "character", "characters")
                                                    : Count(font.sourceCodes, "source code", "source codes"))
            << ", " << Count(font.errors, "error", "errors") << ", " << Count(font.notes, "note", "notes")
            << "\n";
    }
    out << file << ": " << Count(report.errors, "error", "errors") << ", "
        << Count(report.notes, "note", "notes")
        << (report.errors ? ": the program would end on this map" : "") << "\n";
}

void WriteCheckErrors(const MapFile& map, const CheckReport& report, std::ostream& err) {
    for (const auto& finding : report.findings) {
        if (finding.severity != Severity::Error) continue;
        err << "varnex: " << map.path.string() << ": " << Place(map, finding) << "error: " << finding.message
            << "\n";
    }
}

void WriteCheckTsv(const MapFile& map, const CheckReport& report, std::ostream& out) {
    out << "severity\tkind\trow\tline\tcolumn\tsource\ttarget\tmessage\n";
    for (const auto& finding : report.findings) {
        const std::string line = finding.row && *finding.row < map.rowLines.size()
                                     ? std::to_string(map.rowLines[*finding.row])
                                     : "";
        out << SeverityName(finding.severity) << "\t" << KindName(finding.kind) << "\t"
            << OptionalNumber(finding.row) << "\t" << line << "\t" << ColumnName(map, finding.column) << "\t"
            << ColumnName(map, finding.source) << "\t" << ColumnName(map, finding.target) << "\t"
            << OneLine(finding.message) << "\n";
    }
    for (std::size_t c : report.fontsInScope) {
        const auto& font = report.fonts[c];
        out << "summary\tfont\t\t\t" << ColumnName(map, c) << "\t\t\t" << font.sourceCodes
            << " source codes, " << font.errors << " errors, " << font.notes << " notes\n";
    }
    out << "summary\ttotal\t\t\t\t\t\t" << report.errors << " errors, " << report.notes << " notes\n";
}

}  // namespace varnex::map
