#pragma once

#include <filesystem>
#include <string>

namespace varnex {

enum class InputKind {
    Text,           // no NUL byte in its first 8 KiB, no package, nothing that LooksLike names
    Document,       // a word document or OpenDocument text
    Binary,         // anything else that is no office document: images, archives, programs, RTF
    OtherDocument,  // a spreadsheet, a presentation, a binary or encrypted Office file
};

struct RecognisedInput {
    InputKind kind = InputKind::Text;
    // for a binary file or another office document: the file's name and what it is, in the
    // converter's words ("letter.rtf: not plain text: an RTF document")
    std::string why;
};

// What a file found in a folder is, by its content, from one read of its head (and of the
// package's directory for a zip package). Throws Failure for a file that cannot be read and
// for a word document that cannot (damaged, encrypted).
RecognisedInput RecogniseInput(const std::filesystem::path& path, const std::string& shownName);

}  // namespace varnex
