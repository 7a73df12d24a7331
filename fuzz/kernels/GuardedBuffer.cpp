#include "GuardedBuffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

namespace varnex::fuzz {

GuardedBuffer::GuardedBuffer(std::size_t size) : size_(size) {
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t usable = (size + page - 1) / page * page;
    mappingSize_ = usable + page;
    void* mapping = mmap(nullptr, mappingSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) std::abort();
    mapping_ = static_cast<std::uint8_t*>(mapping);
    if (mprotect(mapping_ + usable, page, PROT_NONE) != 0) std::abort();
    data_ = mapping_ + usable - size;
}

GuardedBuffer::~GuardedBuffer() { munmap(mapping_, mappingSize_); }

}  // namespace varnex::fuzz
