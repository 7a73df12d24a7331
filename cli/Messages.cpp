#include "Messages.h"

#include <cstdio>
#include <ostream>

namespace varnex::cli {

namespace {

constexpr char kClearLine[] = "\r\x1b[K";

}  // namespace

std::string Printable(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 0x20 && code != 0x7f) {
            shown += c;
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c == '\t') {
            shown += "\\t";
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", code);
            shown += escaped;
        }
    }
    return shown;
}

Messages::Messages(std::ostream& err, bool terminal) : err_(err), terminal_(terminal) {}

void Messages::Line(const std::string& text) {
    const std::lock_guard lock(mutex_);
    std::string out = progress_.empty() ? "" : kClearLine;
    out += "varnex: " + Printable(text) + "\n";
    if (!progress_.empty()) out += progress_ + "\x1b[K";
    err_ << out << std::flush;
}

void Messages::Progress(const std::string& line) {
    if (!terminal_) return;
    const std::lock_guard lock(mutex_);
    progress_ = Printable(line);
    err_ << "\r" << progress_ << "\x1b[K" << std::flush;
}

void Messages::ClearProgress() {
    const std::lock_guard lock(mutex_);
    if (progress_.empty()) return;
    progress_.clear();
    err_ << kClearLine << std::flush;
}

}  // namespace varnex::cli
