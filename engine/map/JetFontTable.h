#pragma once

#include <chrono>
#include <filesystem>
#include <string_view>

#include "map/FontTable.h"

namespace varnex {

// True when the first bytes of a file are those of a Jet (Access) database.
bool LooksLikeJetDatabase(std::string_view head);

// Throws Failure unless the open file has the structure of a Jet 4.0 database that a
// reader can start on: whole 4,096-byte pages, the signature, version 4.0, and the
// definition of the table of tables on page 2.
void CheckJetStructure(int descriptor, const std::filesystem::path& path);

// The program that reads Jet files, beside the running executable.
std::filesystem::path JetReaderProgram();

// Reads font_info from the Jet 4.0 database open at `descriptor` (`path` names it in
// messages). The read runs in the reader program and ends after `timeLimit`, so that a
// damaged file ends in a Failure, never in a crash or a hang.
FontTable ReadJetFontTable(int descriptor, const std::filesystem::path& path,
                           std::chrono::milliseconds timeLimit = std::chrono::milliseconds(5000),
                           const std::filesystem::path& reader = JetReaderProgram());

}  // namespace varnex
