#include "text/ByteSink.h"

namespace varnex {

std::uint8_t* StringSink::Reserve(std::size_t size) {
    text_.resize(committed_ + size);
    return reinterpret_cast<std::uint8_t*>(text_.data() + committed_);
}

void StringSink::Commit(std::size_t size) {
    committed_ += size;
    text_.resize(committed_);
    ++commits_;
}

}  // namespace varnex
