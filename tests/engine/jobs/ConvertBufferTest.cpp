#include <gtest/gtest.h>

#include "Failure.h"
#include "TestDatabase.h"
#include "jobs/ConvertBuffer.h"

namespace varnex {
namespace {

using test::ScriptedDialogs;

class FailingSink : public StringSink {
public:
    void Commit(std::size_t) override { throw Failure(kDeviceError, "Device I/O error: the disk is full."); }
};

struct ConvertBufferTest : ::testing::Test {
    FontMap map;
    StringSink out;
    ScriptedDialogs dialogs;
};

TEST_F(ConvertBufferTest, AppliesTheMapAndDropsCodesWithoutEntries) {
    map.Set(65, "x");
    map.Set(67, "\x64\xC9");
    ConvertBuffer(std::string("AB\0CA", 5), map, out, dialogs);
    EXPECT_EQ(out.Text(), "x\x64\xC9x");
    EXPECT_EQ(out.Commits(), 1);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ConvertBufferTest, LineBreaksSurviveOnlyWhereTheMapHasThem) {
    ConvertBuffer("\r\n\r\n", map, out, dialogs);
    EXPECT_EQ(out.Text(), "");
    ConvertBuffer("", map, out, dialogs);
    EXPECT_EQ(out.Commits(), 0);
    map.Set(13, "\r");
    map.Set(10, "\n");
    ConvertBuffer("\r\n", map, out, dialogs);
    EXPECT_EQ(out.Text(), "\r\n");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ConvertBufferTest, SuccessiveChunksLieEndToEnd) {
    map.Set(49, "1");
    map.Set(50, "22");
    ConvertBuffer("12", map, out, dialogs);
    ConvertBuffer("21", map, out, dialogs);
    EXPECT_EQ(out.Text(), "122221");
}

TEST_F(ConvertBufferTest, LongestChunkIs32766) {
    map.Set(97, "b");
    ConvertBuffer(std::string(32766, 'a'), map, out, dialogs);
    EXPECT_EQ(out.Text().size(), 32766u);
    EXPECT_TRUE(dialogs.shown.empty());

    ConvertBuffer(std::string(32767, 'a'), map, out, dialogs);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Varnex Error - Buffer Convertion");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(dialogs.shown[0].systemModal);
    EXPECT_EQ(out.Text().size(), 32766u) << "nothing of the long chunk may be written";

    ConvertBuffer("a", map, out, dialogs);
    EXPECT_EQ(out.Text().size(), 32767u);
}

TEST_F(ConvertBufferTest, FailedWriteIsReportedAndReturns) {
    FailingSink failing;
    map.Set(97, "b");
    ConvertBuffer("aaa", map, failing, dialogs);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Device I/O error: the disk is full.");
    EXPECT_EQ(dialogs.shown[0].title, "Varnex Error - Buffer Convertion");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(dialogs.shown[0].systemModal);
}

}  // namespace
}  // namespace varnex
