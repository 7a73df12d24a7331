#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "ProgramRun.h"
#include "TestDatabase.h"

namespace varnex::test {

inline const std::filesystem::path kVarnex = VARNEX_CLI;
inline const std::filesystem::path kShippedMap = VARNEX_SHIPPED_FONT_MAP;

inline RunResult Varnex(const std::vector<std::string>& args, const RunSetup& setup = {}) {
    return RunProgram(kVarnex, args, setup);
}

// Every byte 1..255, then a line break: a text that touches every entry of a map.
inline std::string EveryCode() {
    std::string text;
    for (int c = 1; c < 256; ++c) text.push_back(static_cast<char>(c));
    return text + "\r\n";
}

// The names of the files in a folder, sorted.
std::vector<std::string> FilesIn(const std::filesystem::path& folder);

}  // namespace varnex::test
