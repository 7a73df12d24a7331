#include "detect/Sample.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "Failure.h"
#include "detect/Detector.h"
#include "detect/ReadWrongSearch.h"
#include "text/Utf8Characters.h"

namespace varnex {

namespace {

std::u32string ReadingOf(const Detector& detector, const std::string& sample, const Detection& detection) {
    const auto& fonts = detector.Readings();
    const auto index = [&](const std::string& name) {
        for (std::size_t f = 0; f < fonts.size(); ++f) {
            if (fonts[f].font == name) return f;
        }
        return std::size_t{0};
    };
    if (const auto& wrong = detection.readWrong) {
        const std::u32string stored = detector.Read(sample, index(wrong->stored));
        if (const auto bytes = WriteIn(fonts[index(wrong->readAs)], stored))
            return detector.Read(*bytes, index(wrong->typed));
    }
    const Candidate* best = detection.Best();
    return best ? detector.Read(sample, index(best->fonts.front())) : std::u32string{};
}

}  // namespace

std::string ReadSample(const std::string& input, std::size_t limit) {
    const bool standard = input == "-";
    const int fd = standard ? ::dup(STDIN_FILENO) : ::open(input.c_str(), O_RDONLY | O_CLOEXEC);
    const std::string shown = standard ? "standard input" : input;
    if (fd < 0) throw Failure(kFileNotFound, shown + ": cannot be opened: " + std::strerror(errno));
    std::string sample(limit, '\0');
    std::size_t got = 0;
    while (got < limit) {
        const ssize_t read = ::read(fd, sample.data() + got, limit - got);
        if (read < 0 && errno == EINTR) continue;
        if (read < 0) {
            const int error = errno;
            ::close(fd);
            throw Failure(kDeviceError, shown + ": cannot be read: " + std::strerror(error));
        }
        if (read == 0) break;
        got += static_cast<std::size_t>(read);
    }
    ::close(fd);
    sample.resize(got);
    return sample;
}

std::string PreviewLine(const Detector& detector, const std::string& sample, const Detection& detection,
                        std::size_t characters) {
    std::string line;
    std::size_t taken = 0;
    for (const char32_t c : ReadingOf(detector, sample, detection)) {
        if (c == '\n' || c == '\r') {
            if (taken > 0) break;
            continue;  // the first line that holds something
        }
        if (taken == characters) {
            line += "…";
            break;
        }
        if (c == kNoCharacter || c < 0x20) continue;
        AppendUtf8(line, c);
        ++taken;
    }
    return line;
}

}  // namespace varnex
