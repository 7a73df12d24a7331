#pragma once

#include <filesystem>
#include <string>

namespace varnex {

// The names of named temporary files: "." + the final file's name + ".varnex-" + six
// characters from A-Z, a-z and 0-9, in the final file's folder (.out.txt.varnex-FNpIYh).

// The name without its random part.
std::string TemporaryPrefix(const std::filesystem::path& finalPath);

// A fresh temporary path for `finalPath`, in its folder.
std::filesystem::path RandomTemporaryPath(const std::filesystem::path& finalPath);

// True when a file's name (without folder) has the form of a temporary file's.
bool IsTemporaryName(const std::string& name);

// The folder a path names a file in ("." for a bare name).
std::filesystem::path FolderOf(const std::filesystem::path& path);

}  // namespace varnex
