#pragma once

#include <filesystem>
#include <vector>

#include "convert/CharacterRule.h"

namespace varnex::bench {

// To and from the Unicode font: `varnex -f KOI8-R -t UTF-8` on 1 GiB of KOI8-R text, and
// `varnex -f UTF-8 -t KOI8-R` on the same text in UTF-8, each against iconv doing the same
// into /dev/null, on each path, in one run.
void RunUnicodeBench(const std::filesystem::path& work, const std::filesystem::path& programFolder,
                     const std::vector<VectorLevel>& paths);

}  // namespace varnex::bench
