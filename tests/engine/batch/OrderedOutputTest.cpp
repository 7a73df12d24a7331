// Several inputs converted at once into one output: written in their order whatever order
// they end in, within the memory allowed, and given up as a whole.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "TestDatabase.h"
#include "batch/OrderedOutput.h"

namespace varnex {
namespace {

using test::ReadFile;
using test::TempDir;

void Put(ByteSink& sink, const std::string& text) {
    std::copy(text.begin(), text.end(), sink.Reserve(text.size()));
    sink.Commit(text.size());
}

TEST(OrderedOutput, InputsEndingInAnyOrderAreWrittenInTheirs) {
    TempDir dir;
    {
        NewFile file(dir / "out");
        OrderedOutput ordered(file, 4, 1 << 20);
        Put(ordered.ForInput(3), "d");
        ordered.Finish(3);
        Put(ordered.ForInput(1), "b");
        ordered.Finish(1);
        Put(ordered.ForInput(0), "a");
        Put(ordered.ForInput(2), "c1");
        ordered.Finish(0);  // writes 1, then hands the turn to 2, which is not done
        Put(ordered.ForInput(2), "c2");
        ordered.Finish(2);
        file.Close();
    }
    EXPECT_EQ(ReadFile(dir / "out"), "abc1c2d");
}

TEST(OrderedOutput, AnInputPastTheMemoryAllowedWaitsForItsTurn) {
    TempDir dir;
    NewFile file(dir / "out");
    OrderedOutput ordered(file, 2, 100 * 1024);
    std::thread later([&] {
        Put(ordered.ForInput(1), std::string(60 * 1024, 'b'));
        Put(ordered.ForInput(1), std::string(60 * 1024, 'c'));  // past the limit: waits for input 0
        ordered.Finish(1);
    });
    Put(ordered.ForInput(0), "a");
    ordered.Finish(0);
    later.join();
    file.Close();
    EXPECT_EQ(ReadFile(dir / "out"), "a" + std::string(60 * 1024, 'b') + std::string(60 * 1024, 'c'));
}

TEST(OrderedOutput, WithASpillFolderAnInputPastTheMemoryAllowedGoesOnIntoAFile) {
    TempDir dir, spill;
    NewFile file(dir / "out");
    OrderedOutput ordered(file, 3, 100 * 1024, spill.Path());
    const std::string b(300 * 1024, 'b'), c(150 * 1024, 'c');
    // one thread: an input that waited for its turn would wait for ever
    auto later = std::async(std::launch::async, [&] {
        Put(ordered.ForInput(2), c);
        ordered.Finish(2);
        for (int i = 0; i < 3; ++i) Put(ordered.ForInput(1), b);
        Put(ordered.ForInput(1), "e");
        ordered.Finish(1);
    });
    ASSERT_EQ(later.wait_for(std::chrono::seconds(30)), std::future_status::ready) << "an input waited";
    later.get();
    EXPECT_TRUE(std::filesystem::is_empty(spill.Path()));  // the files have no names
    Put(ordered.ForInput(0), "a");
    ordered.Finish(0);
    file.Close();
    EXPECT_EQ(ReadFile(dir / "out"), "a" + b + b + b + "e" + c);
}

TEST(OrderedOutput, GivenUpItTakesNoMoreAndWakesTheWaiting) {
    TempDir dir;
    NewFile file(dir / "out");
    OrderedOutput ordered(file, 3, 100 * 1024);
    std::thread waiting([&] {
        EXPECT_THROW(
            {
                Put(ordered.ForInput(2), "c");
                Put(ordered.ForInput(2), std::string(200 * 1024, 'c'));  // waits, if it comes before
            },
            OutputAbandoned);
        ordered.Finish(2);
    });
    Put(ordered.ForInput(0), "a");
    ordered.Abandon();
    waiting.join();
    EXPECT_THROW(Put(ordered.ForInput(1), "b"), OutputAbandoned);
    ordered.Finish(0);
    ordered.Finish(1);
    EXPECT_TRUE(ordered.Failure().empty());
}

}  // namespace
}  // namespace varnex
