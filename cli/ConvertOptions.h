#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "OptionParser.h"
#include "batch/BatchRequest.h"

namespace varnex::cli {

struct ConvertOptions {
    std::string source;                           // -f, as typed
    std::string target;                           // -t, as typed
    std::vector<std::string> files;               // "-" is standard input; none means standard input
    std::optional<std::filesystem::path> output;  // -o
    std::optional<std::filesystem::path> map;     // --map
    std::vector<std::string> docFonts;            // --doc-font, repeatable
    std::string targetDocFont;                    // --target-doc-font
    bool beside = false;
    bool list = false;
    bool aliases = false;  // --aliases, with -l
    bool strict = false;
    bool asText = false;  // --as-text: a FILE that is no text converts byte by byte
    bool report = false;
    bool force = false;
    bool help = false;
    bool version = false;
    bool recursive = false;                               // -r: a FOLDER converts the files below it
    std::vector<std::string> includes;                    // --include GLOB, repeatable
    std::vector<std::string> excludes;                    // --exclude GLOB, repeatable
    unsigned jobs = 0;                                    // -j; 0: one per processor
    std::optional<std::string> inPlace;                   // -i: the backup suffix ("" for none)
    bool keepTime = false;                                // --keep-time, with -i
    std::optional<std::filesystem::path> cleanTemporary;  // --clean-temporary DIR
};

// Throws UsageError naming the fault.
ConvertOptions ParseConvertOptions(const std::vector<std::string>& args);

}  // namespace varnex::cli
