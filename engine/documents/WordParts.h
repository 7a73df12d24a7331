#pragma once

#include <string>
#include <vector>

#include "documents/DocumentParts.h"

namespace varnex {

// The parts of one WordprocessingML document (the main document or its glossary) that a
// conversion reads, found through the main part's relationships; a main part without
// relationships finds them by their usual names in its folder.
struct WordParts {
    std::string main;
    std::vector<std::string> text;      // the main part, then headers, footers, notes and comments
    std::vector<std::string> drawings;  // DrawingML text: SmartArt's data and drawings, charts
    std::string styles, theme, fontTable, glossary;  // "" where there is none
};

// The main document: the target of the package's officeDocument relationship, else
// word/document.xml.
std::string WordMainPart(PackageReader& package);

// The parts that belong to `main`. `fallbackTheme` stands in where it names no theme (a
// glossary shares its document's).
WordParts FindWordParts(DocumentParts& parts, const std::string& main, const std::string& fallbackTheme = "");

}  // namespace varnex
