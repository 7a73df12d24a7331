#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "convert/FontMap.h"
#include "documents/DocumentConversion.h"

namespace varnex::test {

using Entries = std::vector<std::pair<std::string, std::string>>;

// Writes a zip package with libzip, the entries in this order, deflated (at the fastest level
// unless told) unless `stored`.
void WritePackage(const std::filesystem::path& path, const Entries& entries, bool stored = false,
                  int level = 1);
// An entry inflated, and its compressed bytes as they lie in the package.
std::string PartOf(const std::filesystem::path& path, const std::string& name);
std::string CompressedOf(const std::filesystem::path& path, const std::string& name);
// The names in package order, and the compression method of one.
std::vector<std::string> NamesOf(const std::filesystem::path& path);
int MethodOf(const std::filesystem::path& path, const std::string& name);

// A word document: body inside w:body, styles inside w:styles (with docDefaults if given), and
// optionally a theme whose minor Latin font is `minorFont`.
Entries Docx(const std::string& body, const std::string& styles = "", const std::string& minorFont = "");
// OpenDocument text: automatic styles and body text of content.xml, common styles of styles.xml.
Entries Odt(const std::string& automaticStyles, const std::string& text, const std::string& commonStyles = "",
            const std::string& masterStyles = "");

// The shipped map for KOI8-R -> Windows-1251 and the fonts of a conversion between them.
const FontMap& Koi8ToCp1251();
DocumentFonts Koi8Fonts();

// KOI8-R bytes as a word processor keeps them: characters of Windows-1252, in UTF-8.
std::string AsStored(const std::string& codes);

// Converts `source` into `target` (a new file) and returns the totals. Throws what the conversion throws.
DocumentTotals Convert(const std::filesystem::path& source, const std::filesystem::path& target,
                       const FontMap& map, const DocumentFonts& fonts, bool strict = false,
                       DocumentProgress* progress = nullptr);

}  // namespace varnex::test
