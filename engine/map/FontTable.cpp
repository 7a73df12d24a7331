#include "map/FontTable.h"

#include <cstring>

#include "Failure.h"
#include "files/ExclusiveFile.h"
#include "map/JetFontTable.h"
#include "map/SqliteFontTable.h"

namespace varnex {

FontTable ReadFontTable(const std::filesystem::path& path, TableExtent extent) {
    ExclusiveFile file(path);
    const std::string head = file.ReadHead(32);
    if (head.size() >= sizeof kSqliteSignature &&
        std::memcmp(head.data(), kSqliteSignature, sizeof kSqliteSignature) == 0) {
        return ReadSqliteFontTable(path, extent);
    }
    // the Jet reader always hands over the whole table
    if (LooksLikeJetDatabase(head)) return ReadJetFontTable(file.Descriptor(), path);
    throw Failure(kBadFileFormat, "The font map \"" + path.string() +
                                      "\" is not a font map database (neither SQLite nor Jet 4.0).");
}

}  // namespace varnex
