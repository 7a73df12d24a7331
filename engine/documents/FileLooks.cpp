#include "documents/FileLooks.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "Failure.h"

namespace varnex {

namespace {

struct Signature {
    std::string_view head;
    const char* what;
};

constexpr Signature kSignatures[] = {
    {"%PDF-", "a PDF document"},
    {"\x89PNG\r\n\x1A\n", "an image (PNG)"},
    {"\xFF\xD8\xFF", "an image (JPEG)"},
    {"GIF87a", "an image (GIF)"},
    {"GIF89a", "an image (GIF)"},
    {std::string_view("II*\0", 4), "an image (TIFF)"},
    {std::string_view("MM\0*", 4), "an image (TIFF)"},
    {"\xFFWPC", "a WordPerfect document"},
    {"PK\x03\x04", "a zip archive that is no word document"},
    {"PK\x05\x06", "an empty zip archive"},
    {"{\\rtf", "an RTF document"},
    {"\x1F\x8B", "a gzip archive"},
    {"7z\xBC\xAF\x27\x1C", "a 7-Zip archive"},
    {"\x7F"
     "ELF",
     "a program (ELF)"},
};

bool IsFlatOpenDocument(std::string_view head) {
    return head.find("<office:document") != std::string_view::npos &&
           head.find("urn:oasis:names:tc:opendocument:xmlns:office:1.0") != std::string_view::npos;
}

// A directory entry of a compound file: 128 bytes, the name in UTF-16LE at its start and the
// name's length in bytes, its terminating NUL included, at byte 64. Entries begin at multiples
// of 128 from the start of the file, since sectors are 512 or 4096 bytes after a 512-byte header.
constexpr std::size_t kEntrySize = 128;

bool EntryNamed(const char* entry, std::string_view name) {
    const auto length = static_cast<std::uint16_t>(static_cast<std::uint8_t>(entry[64]) |
                                                   static_cast<std::uint8_t>(entry[65]) << 8);
    if (length != (name.size() + 1) * 2) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (entry[2 * i] != name[i] || entry[2 * i + 1] != 0) return false;
    }
    return true;
}

struct Stream {
    std::string_view name;
    const char* holds;
};

constexpr Stream kStreams[] = {
    {"WordDocument", "a Word 97\u20132003 document; convert it to DOCX or ODT first"},
    {"EncryptedPackage", "a password-protected Office document; save it without a password as .docx or .odt"},
    {"Workbook", "an Excel 97\u20132003 workbook"},
    {"Book", "an Excel 5.0 workbook"},
    {"PowerPoint Document", "a PowerPoint 97\u20132003 presentation"},
};

}  // namespace

std::string LooksLike(std::string_view head) {
    for (const Signature& signature : kSignatures) {
        if (head.starts_with(signature.head)) return signature.what;
    }
    // a group opened by a control word: RTF, or a piece of it, as some writers save
    if (head.size() > 2 && head.starts_with("{\\") && std::islower(static_cast<unsigned char>(head[2])))
        return "an RTF document";
    std::string_view start = head.substr(0, 512);
    while (!start.empty() && (start.front() == ' ' || start.front() == '\n' || start.front() == '\r'))
        start.remove_prefix(1);
    if (start.starts_with("<?xml") && IsFlatOpenDocument(head))
        return "a flat OpenDocument file (one XML file)";
    if (std::find(head.begin(), head.end(), '\0') != head.end()) return "a binary file (it holds NUL bytes)";
    return "";
}

std::string CompoundFileHolds(const std::filesystem::path& path, const std::string& shownName) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw Failure(kPathAccessError, shownName + ": cannot be read: " + std::strerror(errno));
    std::array<char, 64 * kEntrySize> block{};
    std::size_t best = std::size(kStreams);
    while (file.read(block.data(), block.size()) || file.gcount() > 0) {
        const auto got = static_cast<std::size_t>(file.gcount());
        for (std::size_t at = 0; at + kEntrySize <= got; at += kEntrySize) {
            for (std::size_t i = 0; i < best; ++i) {
                if (EntryNamed(block.data() + at, kStreams[i].name)) best = i;
            }
        }
        if (best == 0) break;
    }
    if (file.bad()) throw Failure(kDeviceError, shownName + ": cannot be read: " + std::strerror(errno));
    return best < std::size(kStreams) ? kStreams[best].holds
                                      : "an OLE compound file (an Office 97\u20132003 file or the like)";
}

}  // namespace varnex
