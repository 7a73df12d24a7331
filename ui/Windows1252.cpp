#include "Windows1252.h"

#include "text/Windows1252.h"

namespace varnex::ui {

std::optional<std::string> ToWindows1252(const QString& text) {
    std::string codes;
    codes.reserve(text.size());
    for (const QChar character : text) {
        const auto code = Windows1252Code(character.unicode());
        if (!code) return std::nullopt;
        codes.push_back(static_cast<char>(*code));
    }
    return codes;
}

QString FromWindows1252(std::string_view codes) {
    QString text;
    text.reserve(static_cast<qsizetype>(codes.size()));
    for (const char code : codes) {
        text.append(QChar(static_cast<char16_t>(Windows1252Character(static_cast<std::uint8_t>(code)))));
    }
    return text;
}

}  // namespace varnex::ui
