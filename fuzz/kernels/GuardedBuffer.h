#pragma once

#include <cstddef>
#include <cstdint>

namespace varnex::fuzz {

// `size` bytes that end exactly where an inaccessible page begins, so that a read or write
// one byte past the end faults at once.
class GuardedBuffer {
public:
    explicit GuardedBuffer(std::size_t size);
    ~GuardedBuffer();
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    std::uint8_t* mapping_ = nullptr;
    std::size_t mappingSize_ = 0;
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace varnex::fuzz
