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

}  // namespace

std::string QtClipboard::ReadCodes() {
    const QString text = SystemClipboard().text();
    auto codes = ToWindows1252(text);
    if (!codes) {
        throw Failure(kTypeMismatch, "The clipboard holds characters that have no code in this font.");
    }
    return *codes;
}

void QtClipboard::Replace(std::string_view codes) {
    QClipboard& clipboard = SystemClipboard();
    const QString previous = clipboard.text();
    const QString text = FromWindows1252(codes);
    clipboard.setText(text);
    if (clipboard.text() != text) {
        clipboard.setText(previous);
        throw Failure(kDeviceError, "The clipboard did not take the converted text.");
    }
}

}  // namespace varnex::ui
