#pragma once

#include <filesystem>

namespace varnex::bench {

// The document case: a DOCX with 50 MB of text in word/document.xml and one large image,
// converted by the engine and by `varnex -o`, against `unzip -p` of the same package into
// /dev/null and `zip -r` of its parts (the I/O floor), in one run; and the peak memory of
// varnex against the largest part.
void RunDocumentBench(const std::filesystem::path& work, const std::filesystem::path& programFolder);

}  // namespace varnex::bench
