#include "map/MapWriting.h"

#include <sstream>
#include <stdexcept>

#include "Failure.h"
#include "files/FileReplacement.h"
#include "map/CharacterNames.h"
#include "map/FontTableTsvWriter.h"
#include "map/SqliteFontMapWriter.h"

namespace varnex::map {

std::string MapText(const MapFile& map) {
    std::ostringstream text;
    try {
        WriteFontTableTsv(map.table, CharacterNames(map.table), text);
    } catch (const Failure& failure) {
        throw Failure(failure.Number(), map.path.string() + ": " + failure.Description());
    }
    return text.str();
}

void WriteMapText(const MapFile& map, const std::string& text, const std::filesystem::path& output) {
    RefuseToOverwriteInput(map.path, output);
    ReplaceFile(output, [&](const std::filesystem::path& temporary) { WriteTextFile(temporary, text); });
}

void WriteMapDatabase(const MapFile& map, const std::filesystem::path& output) {
    RefuseToOverwriteInput(map.path, output);
    ReplaceFile(output, [&](const std::filesystem::path& temporary) {
        try {
            WriteSqliteFontMap(temporary, map.table);
        } catch (const std::runtime_error& error) {
            throw Failure(kDatabaseFailure, "\"" + output.string() + "\" cannot be written: " + error.what());
        }
    });
}

}  // namespace varnex::map
