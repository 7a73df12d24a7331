#include "documents/InputRecognition.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "Failure.h"
#include "documents/DocumentConversion.h"
#include "documents/FileLooks.h"
#include "documents/NotWordDocument.h"

namespace varnex {

namespace {

constexpr std::size_t kHeadSize = 8192;
constexpr std::string_view kZipSignature("PK\x03\x04", 4);
constexpr std::string_view kCompoundFileSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

std::string_view ReadHead(const std::filesystem::path& path, const std::string& shownName,
                          std::array<char, kHeadSize>& head) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throw Failure(kPathAccessError, shownName + ": cannot be read: " + std::strerror(errno));
    std::size_t got = 0;
    while (got < head.size()) {
        const ssize_t n = ::read(fd, head.data() + got, head.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw Failure(kDeviceError, shownName + ": cannot be read: " + std::strerror(error));
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return {head.data(), got};
}

}  // namespace

RecognisedInput RecogniseInput(const std::filesystem::path& path, const std::string& shownName) {
    std::array<char, kHeadSize> buffer{};
    const std::string_view head = ReadHead(path, shownName, buffer);
    if (head.starts_with(kZipSignature) || head.starts_with(kCompoundFileSignature)) {
        try {
            if (RecogniseDocument(path, shownName) != DocumentKind::Text) return {InputKind::Document, ""};
        } catch (const NotWordDocument& other) {
            return {InputKind::OtherDocument, other.what()};
        }
    }
    const std::string looks = LooksLike(head);
    if (looks.empty()) return {InputKind::Text, ""};
    return {InputKind::Binary, shownName + ": not plain text: " + looks};
}

}  // namespace varnex
