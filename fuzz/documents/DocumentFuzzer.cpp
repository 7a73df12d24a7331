// A document converted from arbitrary bytes: it converts, or ends in a Failure; never a crash,
// a hang or memory without bound. The bytes and the new package live in memory files.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Failure.h"
#include "documents/DocumentConversion.h"
#include "files/JobFiles.h"

namespace {

varnex::FontMap& Map() {
    static varnex::FontMap map = [] {
        varnex::FontMap built;
        for (int code = 1; code < 256; ++code)
            built.Set(code, std::string(1, static_cast<char>(code ^ 0x20)));
        built.Set(0x41, "xyz");
        return built;
    }();
    return map;
}

std::string MemoryFile(const std::uint8_t* data, std::size_t size) {
    const int fd = ::memfd_create("document", 0);
    if (fd < 0) std::abort();
    if (size && ::write(fd, data, size) != static_cast<ssize_t>(size)) std::abort();
    return "/proc/self/fd/" + std::to_string(fd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string source = MemoryFile(data, size);
    const int out = ::memfd_create("package", 0);
    if (out < 0) std::abort();
    varnex::NewFile output(out, "package");
    try {
        if (varnex::RecogniseDocument(source, "fuzz") != varnex::DocumentKind::Text) {
            varnex::DocumentTotals totals;
            const varnex::DocumentFonts fonts{
                {"KOI8-R", "Windows-1251"}, "KOI8-R", "Windows-1251", {"Symbol"}, ""};
            varnex::ConvertDocument(source, "fuzz", output, {Map(), fonts, size % 2 == 1}, totals, nullptr);
        }
    } catch (const varnex::Failure&) {
    }
    ::close(std::stoi(source.substr(14)));
    return 0;
}
