#include "files/FileReplacement.h"

#include <unistd.h>

#include <fstream>

#include "Failure.h"

namespace varnex {

void ReplaceFile(const std::filesystem::path& target,
                 const std::function<void(const std::filesystem::path&)>& write) {
    std::filesystem::path temporary = target;
    temporary += ".part" + std::to_string(::getpid());
    try {
        write(temporary);
        std::filesystem::rename(temporary, target);
    } catch (const std::filesystem::filesystem_error& error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw Failure(kPathAccessError,
                      "\"" + target.string() + "\" cannot be written: " + error.code().message());
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw;
    }
}

void WriteTextFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) throw Failure(kPathAccessError, "\"" + path.string() + "\" cannot be written.");
}

void RefuseToOverwriteInput(const std::filesystem::path& input, const std::filesystem::path& output) {
    std::error_code error;
    if (std::filesystem::equivalent(input, output, error)) {
        throw Failure(kPathAccessError,
                      "\"" + output.string() + "\" is the map being read; name another file to write to.");
    }
}

}  // namespace varnex
