#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Failure.h"
#include "convert/ConvertChunk.h"

namespace varnex {
namespace {

class FailingSink : public StringSink {
public:
    void Commit(std::size_t) override { throw Failure(kDeviceError, "Device I/O error: the disk is full."); }
};

int FailureNumber(const std::function<void()>& convert) {
    try {
        convert();
    } catch (const Failure& failure) {
        return failure.Number();
    }
    return 0;
}

// The throwing conversion tells its failure to the caller; the jobs decide how it is shown.
TEST(ConvertChunkTest, AChunkOverTheLongestThrowsOverflowAndWritesNothing) {
    FontMap map;
    map.Set(97, "b");
    StringSink out;
    ConvertChunk(std::string(kMaxChunkLength, 'a'), map, out);
    EXPECT_EQ(out.Text(), std::string(kMaxChunkLength, 'b'));

    const std::string tooLong(kMaxChunkLength + 1, 'a');
    EXPECT_EQ(FailureNumber([&] { ConvertChunk(tooLong, map, out); }), kOverflow);
    PieceConversion conversion(map);
    EXPECT_EQ(FailureNumber([&] { ConvertChunk(tooLong, conversion, out); }), kOverflow);
    EXPECT_EQ(out.Commits(), 1) << "nothing of the long chunks may be written";
}

TEST(ConvertChunkTest, AFailedWriteReachesTheCaller) {
    FontMap map;
    map.Set(97, "b");
    FailingSink failing;
    EXPECT_THROW(ConvertChunk("aaa", map, failing), Failure);
    PieceConversion conversion(map);
    EXPECT_THROW(ConvertChunk("aaa", conversion, failing), Failure);
}

}  // namespace
}  // namespace varnex
