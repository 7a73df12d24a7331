#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace varnex::ui {

// The bridge between Unicode text and the 8-bit codes the engine works on, through the
// Windows-1252 code page as Windows converts it: 0x80..0x9F to their Windows-1252
// characters, the five unassigned codes 0x81, 0x8D, 0x8F, 0x90 and 0x9D to U+0081,
// U+008D, U+008F, U+0090 and U+009D, everything else as Latin-1.

// nullopt when a character has no code in the code page.
std::optional<std::string> ToWindows1252(const QString& text);
QString FromWindows1252(std::string_view codes);

}  // namespace varnex::ui
