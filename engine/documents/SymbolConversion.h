#pragma once

#include <string>

#include "documents/ConversionSetup.h"
#include "documents/XmlPart.h"

namespace varnex {

// A w:sym of a word document: one character, given by its font (w:font) and its code (w:char,
// in hex; F020..F0FF in a symbol font). One in the source font converts: to the target's codes
// in the same form, a w:sym each, their fonts renamed with the rest; for a Unicode target, to
// the characters themselves, as a w:t in its place. `w` is the part's WordprocessingML prefix.
// Returns whether the part changed. Throws Failure when strict and the code has no entry.
bool ConvertSymbol(ConversionSetup& setup, XmlPart& part, pugi::xml_node symbol, const std::string& w,
                   const std::string& where);

// The character a w:sym stands for as text of its font, in UTF-8 ("" for a w:char that is no
// hex code): what detection reads of it.
std::string SymbolText(pugi::xml_node symbol, const std::string& w);

}  // namespace varnex
