#include "MapCommand.h"

#include <ostream>

namespace varnex::cli {

int RunMapCommand(const std::vector<std::string>&, const std::filesystem::path&, std::ostream&,
                  std::ostream& err) {
    err << "varnex: map: not available in this build\n";
    return 2;
}

}  // namespace varnex::cli
