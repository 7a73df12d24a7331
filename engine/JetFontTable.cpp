#include "JetFontTable.h"

#include <cstring>

#include "Failure.h"

namespace varnex {

bool LooksLikeJetDatabase(std::string_view head) {
    static constexpr char kMagic[] = "\x00\x01\x00\x00Standard Jet DB";
    return head.size() >= sizeof kMagic - 1 && std::memcmp(head.data(), kMagic, sizeof kMagic - 1) == 0;
}

FontTable ReadJetFontTable(const std::filesystem::path& path) {
    throw Failure(kBadFileFormat, "The font map \"" + path.string() +
                                      "\" is a Jet 4.0 database, which this build cannot read yet.");
}

}  // namespace varnex
