#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace varnex::ui {

// The engine's Windows-1252 bridge (text/Windows1252.h) for Qt's strings.

// nullopt when a character has no code in the code page.
std::optional<std::string> ToWindows1252(const QString& text);
QString FromWindows1252(std::string_view codes);

}  // namespace varnex::ui
