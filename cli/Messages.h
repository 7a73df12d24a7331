#pragma once

#include <iosfwd>
#include <mutex>
#include <string>

namespace varnex::cli {

// The program's lines on standard error, from any thread: each written whole, so that lines
// never mix, and below the one progress line when standard error is a terminal.
class Messages {
public:
    Messages(std::ostream& err, bool terminal);

    // Writes "varnex: " + text as one line. A control character in it (a newline in a file's
    // name) is shown escaped, so that a message stays one line.
    void Line(const std::string& text);
    // Shows `line` as the progress line, in place of the last one; only on a terminal.
    void Progress(const std::string& line);
    // Removes the progress line.
    void ClearProgress();
    bool Terminal() const { return terminal_; }

private:
    std::ostream& err_;
    bool terminal_;
    std::string progress_;
    std::mutex mutex_;
};

// The text with its control characters escaped (\n, \t, \x1B).
std::string Printable(const std::string& text);

}  // namespace varnex::cli
