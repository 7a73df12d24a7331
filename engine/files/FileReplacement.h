#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace varnex {

// Writes target through a temporary file beside it, renamed over target only once write
// has succeeded: a failure leaves the earlier file as it was. Throws Failure.
void ReplaceFile(const std::filesystem::path& target,
                 const std::function<void(const std::filesystem::path&)>& write);

void WriteTextFile(const std::filesystem::path& path, const std::string& text);

// Refuses (Failure) to write the output over the input it is made from.
void RefuseToOverwriteInput(const std::filesystem::path& input, const std::filesystem::path& output);

}  // namespace varnex
