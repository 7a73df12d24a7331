#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace varnex::cli {

// A command line that cannot be carried out as written (exit code 2).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

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
    bool strict = false;
    bool report = false;
    bool force = false;
    bool help = false;
    bool version = false;
};

// Throws UsageError naming the fault.
ConvertOptions ParseConvertOptions(const std::vector<std::string>& args);

}  // namespace varnex::cli
