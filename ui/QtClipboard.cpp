#include "QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "Failure.h"
#include "Windows1252.h"

namespace varnex::ui {

namespace {

QClipboard& SystemClipboard() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) throw Failure(kDeviceError, "The clipboard cannot be reached.");
    return *clipboard;
}

// Puts the text on the clipboard and checks that it took it; the earlier text stays otherwise.
void SetText(const QString& text) {
    QClipboard& clipboard = SystemClipboard();
    const QString previous = clipboard.text();
    clipboard.setText(text);
    if (clipboard.text() != text) {
        clipboard.setText(previous);
        throw Failure(kDeviceError, "The clipboard did not take the converted text.");
    }
}

}  // namespace

std::string QtClipboard::ReadCodes() {
    const QString text = SystemClipboard().text();
    auto codes = ToWindows1252(text);
    if (!codes) {
        throw Failure(kTypeMismatch, "The clipboard holds characters that have no code in this font.");
    }
    return *codes;
}

void QtClipboard::Replace(std::string_view codes) { SetText(FromWindows1252(codes)); }

std::string QtClipboard::ReadUtf8() { return SystemClipboard().text().toStdString(); }

void QtClipboard::ReplaceUtf8(std::string_view text) {
    SetText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace varnex::ui
