#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace varnex {

// What a file that is no text looks like, from its first bytes, in the converter's words ("a
// PDF document"); empty when its head looks like text. A NUL byte anywhere in the head makes
// it "a binary file". RTF and flat OpenDocument (one XML file) are named too: converted byte
// by byte they would no longer open.
std::string LooksLike(std::string_view head);

// What an OLE compound file holds, from the names of its streams: "a Word 97–2003 document;
// convert it to DOCX or ODT first", a password-protected document, an Excel or PowerPoint
// file, or an OLE compound file of another kind. Throws Failure when it cannot be read.
std::string CompoundFileHolds(const std::filesystem::path& path, const std::string& shownName);

}  // namespace varnex
