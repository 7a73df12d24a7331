#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace varnex::map {

// Each takes the words after its name and returns the exit code. A Failure or UsageError
// thrown from one is reported by the dispatcher.
int RunCheck(const std::vector<std::string>& words, const std::filesystem::path& defaultMap,
             std::ostream& out, std::ostream& err);
int RunExport(const std::vector<std::string>& words, const std::filesystem::path& defaultMap,
              std::ostream& out, std::ostream& err);
int RunBuild(const std::vector<std::string>& words, const std::filesystem::path& defaultMap,
             std::ostream& out, std::ostream& err);
int RunDiff(const std::vector<std::string>& words, const std::filesystem::path& defaultMap, std::ostream& out,
            std::ostream& err);

}  // namespace varnex::map
