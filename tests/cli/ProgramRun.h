#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace varnex::test {

// How a program run ended and what it printed.
struct RunResult {
    int exitCode = -1;  // -1 when ended by a signal
    int signal = 0;
    std::string out;
    std::string err;
};

struct RunSetup {
    std::optional<std::filesystem::path> standardInput;   // a file read as standard input
    std::optional<std::filesystem::path> standardOutput;  // a file (appended to) instead of a capture
    std::filesystem::path folder;                         // working folder; empty: the current one
    std::function<void()> inChild;                        // runs in the child before exec (limits)
};

// Runs `program` with `args` and waits for it.
RunResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                     const RunSetup& setup = {});

// Starts `program` without waiting; standard input comes from `inputFd` (closed here; -1 for
// the setup's), standard output and error go to the files given.
pid_t StartProgram(const std::filesystem::path& program, const std::vector<std::string>& args, int inputFd,
                   const std::filesystem::path& out, const std::filesystem::path& err,
                   const RunSetup& setup = {});

// Waits for a started program.
RunResult WaitProgram(pid_t pid, const std::filesystem::path& out, const std::filesystem::path& err);

}  // namespace varnex::test
