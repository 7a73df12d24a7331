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

// The arguments `more` after "-f KOI8-R -t Windows-1251", the pair most tests convert between.
inline std::vector<std::string> With(std::vector<std::string> more) {
    std::vector<std::string> args = {"-f", "KOI8-R", "-t", "Windows-1251"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// Every byte 1..255, then a line break: a text that touches every entry of a map.
inline std::string EveryCode() {
    std::string text;
    for (int c = 1; c < 256; ++c) text.push_back(static_cast<char>(c));
    return text + "\r\n";
}

// The names of the files in a folder, sorted.
std::vector<std::string> FilesIn(const std::filesystem::path& folder);

// The paths below a folder, relative to it and sorted, hidden ones too, links not followed.
std::vector<std::string> FilesBelow(const std::filesystem::path& folder);

// Runs the program as the user nobody when the tests run as root, for whom no file is
// unreadable; `dir` and what is in it are given to nobody first.
RunSetup Unprivileged(const std::filesystem::path& dir);

// A setup whose program sees the environment variable `name` set to `value`.
RunSetup WithEnvironment(const std::string& name, const std::string& value);

// Waits (up to a minute) until the running program `pid` holds a file without a name in
// `folder` (an O_TMPFILE output); false when it ended or never did.
bool HoldsUnnamedFileIn(pid_t pid, const std::filesystem::path& folder);

}  // namespace varnex::test
