#pragma once

#include <functional>
#include <optional>
#include <string>

#include "Dialogs.h"

namespace varnex {

// The chosen source, as the file selection recorded it.
struct ChosenSource {
    std::string path;                // full path
    std::string folder;              // up to and including the last separator
    std::string baseName;            // name without folder and last extension
    std::string extension = ".txt";  // of the proposed new name: a document keeps its own
};

// The extension of the new file's name proposed for a source: a document keeps its own (the
// last extension of its name, with its dot, or none), a text gets ".txt".
std::string NewFileExtension(const std::string& sourcePath, bool document);

// The chosen file's full path cut into its folder and its name without the last extension.
ChosenSource DescribeSource(const std::string& path);

// The new file's name proposed for a source: baseName + "_" + target font + its extension.
std::string ProposedFileName(const ChosenSource& source, const std::string& targetFont);

// Asks for the new file's name in the source's folder, proposing baseName + "_" + target
// font + ".txt". Returns the new file's path, or nullopt when the user gave no name. A name
// that reaches the source file is refused and asked again; an existing file is replaced
// only when the user agrees, and then deleted through deleteQuietly.
std::optional<std::string> AskNewFileName(const ChosenSource& source, const std::string& targetFont,
                                          Dialogs& dialogs,
                                          const std::function<void(const std::string&)>& deleteQuietly);

}  // namespace varnex
