#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace varnex {

// Where converted text goes. A writer reserves room, fills it, and commits it in one piece:
// a commit is the one write of a converted chunk.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // At least `size` writable bytes, valid until the next Commit. Throws Failure.
    virtual std::uint8_t* Reserve(std::size_t size) = 0;
    // Appends the first `size` reserved bytes. Throws Failure.
    virtual void Commit(std::size_t size) = 0;
};

// A sink that collects everything in memory.
class StringSink : public ByteSink {
public:
    std::uint8_t* Reserve(std::size_t size) override;
    void Commit(std::size_t size) override;
    std::string Text() const { return text_.substr(0, committed_); }
    int Commits() const { return commits_; }

private:
    std::string text_;
    std::size_t committed_ = 0;
    int commits_ = 0;
};

}  // namespace varnex
