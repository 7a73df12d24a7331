#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <optional>

#include "FailingSync.h"
#include "Failure.h"
#include "TestDatabase.h"
#include "files/JobFiles.h"
#include "jobs/FileJob.h"

namespace varnex {
namespace {

using test::ReadFile;
using test::ScriptedDialogs;
using test::TempDir;
using test::WriteFile;

class FakeHost : public JobHost {
public:
    void SetCaption(const std::string& caption) override {
        captions.push_back(caption);
        if (caption == cancelAt) cancel = true;
    }
    void Yield() override {
        ++yields;
        if (onYield) onYield();
    }
    bool CancelRequested() const override { return cancel; }
    double Seconds() override {
        const double now = clock.empty() ? 0 : clock.front();
        if (!clock.empty()) clock.erase(clock.begin());
        return now;
    }
    std::string DecimalSeparator() const override { return separator; }

    std::vector<std::string> captions;
    std::vector<double> clock;
    std::string cancelAt;
    std::string separator = ".";
    bool cancel = false;
    int yields = 0;
    std::function<void()> onYield;
};

// Every code becomes the next one; 'z' (122) has no entry in the target.
FontMap ShiftMap() {
    FontMap map;
    for (int c = 1; c < 255; ++c) map.Set(c, std::string(1, char(c + 1)));
    map.Set(122, "");
    return map;
}

std::string Shifted(std::string text) {
    std::string out;
    for (char c : text)
        if (c != 'z') out.push_back(char(c + 1));
    return out;
}

std::string Sample(std::size_t length) {
    std::string text(length, ' ');
    for (std::size_t i = 0; i < length; ++i) text[i] = "abcxyz \n"[i % 8];
    return text;
}

TEST(ProgressText, RoundsHalfToEvenInShortestForm) {
    struct Case {
        std::uint64_t length, position;
        std::string text;
    };
    const Case cases[] = {
        {5000, 1, "Remaining: 99.98%"},
        {5000, 1025, "Remaining: 79.5%"},
        {5000, 4097, "Remaining: 18.06%"},
        {2048, 1025, "Remaining: 49.95%"},
        {1025, 1, "Remaining: 99.9%"},
        {1025, 1025, "Remaining: 0%"},
        {20000, 1, "Remaining: 100%"},
        {2400, 2049, "Remaining: 14.62%"},   // 14.625 to even
        {20000, 1025, "Remaining: 94.88%"},  // 94.875 to even
        {(1ull << 33) + 7, 1, "Remaining: 100%"},
        {(1ull << 33), (1ull << 32) + 1, "Remaining: 50%"},
    };
    for (const auto& c : cases) EXPECT_EQ(ProgressText(c.length, c.position, "."), c.text) << c.length;
    EXPECT_EQ(ProgressText(5000, 1025, ","), "Remaining: 79,5%");
}

// The share is a double, and a double that is not exactly a half rounds to the nearer
// side, whichever way the exact fraction of the lengths would have gone.
TEST(ProgressText, RoundsTheDoubleNotTheExactFraction) {
    struct Case {
        std::uint64_t length, position;
        std::string text;
    };
    const Case cases[] = {
        {12000, 2049, "Remaining: 82.93%"},  // 82.92500000000001
        {12000, 5121, "Remaining: 57.33%"},  // just above 57.325
        {4000, 2049, "Remaining: 48.77%"},   // 48.774999999999999
        {20000, 6145, "Remaining: 69.27%"},  // 69.27499999999999
    };
    for (const auto& c : cases) EXPECT_EQ(ProgressText(c.length, c.position, "."), c.text) << c.length;
}

TEST(RoundedSeconds, HalvesGoToEven) {
    EXPECT_EQ(RoundedSeconds(0.5), 0);
    EXPECT_EQ(RoundedSeconds(1.5), 2);
    EXPECT_EQ(RoundedSeconds(2.5), 2);
    EXPECT_EQ(RoundedSeconds(2.51), 3);
}

struct FileJobTest : ::testing::Test {
    JobEnd Run(const std::string& text) {
        WriteFile(source, text);
        return RunFileJob(source, output, map, host, dialogs);
    }
    TempDir dir;
    std::filesystem::path source = dir.Path() / "report.txt";
    std::filesystem::path output = dir.Path() / "report_B.txt";
    FontMap map = ShiftMap();
    FakeHost host;
    ScriptedDialogs dialogs;
};

// A source in the Unicode font: characters cut by a block boundary convert once, whole,
// and ill-formed bytes at the start, in the middle, at a boundary and at the end are dropped.
TEST_F(FileJobTest, UnicodeCharactersAcrossBlockBoundariesConvertWhole) {
    map.Clear();
    map.ReadUtf8();
    for (int c = 1; c < 128; ++c) map.Set(c, std::string(1, static_cast<char>(c)));
    map.SetCharacter(0x416, "\xF6");   // Ж, two bytes
    map.SetCharacter(0x20AC, "\xA4");  // €, three bytes
    map.SetCharacter(0x1F600, ":)");   // four bytes
    const std::string zhe = "\xD0\x96", euro = "\xE2\x82\xAC", smile = "\xF0\x9F\x98\x80";
    for (const std::string& character : {zhe, euro, smile}) {
        for (std::size_t before = 1; before < character.size(); ++before) {
            // `before` bytes of the character end the first block
            const std::string text = "\x80" + std::string(1024 - 1 - before, 'a') + character +
                                     "b\xC0\xE2\x82" + std::string(1023 - 4, 'c') + "\xED\xA0" + "d" +
                                     character + "\xF0\x9F";
            ASSERT_EQ(Run(text), JobEnd::Finished);
            const std::string converted = character == zhe ? "\xF6" : character == euro ? "\xA4" : ":)";
            EXPECT_EQ(ReadFile(output), std::string(1024 - 1 - before, 'a') + converted + "b" +
                                            std::string(1019, 'c') + "d" + converted)
                << character.size() << " bytes, " << before << " in the first block";
        }
    }
}

TEST_F(FileJobTest, IllFormedBytesAcrossABlockBoundaryAreDropped) {
    map.Clear();
    map.ReadUtf8();
    for (int c = 1; c < 128; ++c) map.Set(c, std::string(1, static_cast<char>(c)));
    for (std::size_t before : {1, 2}) {  // E2 82 cut short by 'x', split at either place
        const std::string text = std::string(1024 - before, 'a') + "\xE2\x82x";
        ASSERT_EQ(Run(text), JobEnd::Finished);
        EXPECT_EQ(ReadFile(output), std::string(1024 - before, 'a') + "x");
    }
}

TEST_F(FileJobTest, ShowsTheProgressOfEveryBlockAndTheTime) {
    host.clock = {1000.25, 1003.75};
    const std::string text = Sample(5000);
    EXPECT_EQ(Run(text), JobEnd::Finished);
    EXPECT_EQ(ReadFile(output), Shifted(text));
    EXPECT_EQ(host.captions, (std::vector<std::string>{
                                 "Remaining: 5000", "Remaining: 99.98%", "Remaining: 79.5%",
                                 "Remaining: 59.02%", "Remaining: 38.54%", "Remaining: 18.06%", "FINISHED"}));
    EXPECT_EQ(host.yields, 8) << "after the delete, and after each caption";
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "File conversion was completed in 4 seconds.");
    EXPECT_EQ(dialogs.shown[0].title, "Varnex");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Information);
    EXPECT_TRUE(dialogs.shown[0].systemModal);
}

TEST_F(FileJobTest, ATwelveThousandByteSourceShowsTheRoundedDouble) {
    Run(Sample(12000));
    ASSERT_GE(host.captions.size(), 4u);
    EXPECT_EQ(host.captions[0], "Remaining: 12000");
    EXPECT_EQ(host.captions[1], "Remaining: 99.99%");
    EXPECT_EQ(host.captions[2], "Remaining: 91.46%");
    EXPECT_EQ(host.captions[3], "Remaining: 82.93%");
}

// The program may end at once during any yield; the file must then already hold every
// block converted before it.
TEST_F(FileJobTest, EveryConvertedBlockIsInTheFileAtEachYield) {
    const std::string text = Sample(5000);
    std::vector<std::int64_t> onDisk;  // -1: no file yet
    host.onYield = [&] {
        std::error_code missing;
        const auto size = std::filesystem::file_size(output, missing);
        onDisk.push_back(missing ? -1 : static_cast<std::int64_t>(size));
    };
    Run(text);
    std::vector<std::int64_t> expected = {-1, 0};
    for (std::size_t blocks = 1; blocks <= 5; ++blocks) {
        const std::size_t read = std::min<std::size_t>(blocks * kJobBlockSize, text.size());
        expected.push_back(static_cast<std::int64_t>(Shifted(text.substr(0, read)).size()));
    }
    expected.push_back(expected.back());  // FINISHED
    EXPECT_EQ(onDisk, expected) << "after the delete, the length, each block and FINISHED";
    EXPECT_TRUE(ReadFile(output) == Shifted(text));
}

// The write calls this process has made so far; nullopt where the system does not count them.
std::optional<std::uint64_t> WriteCalls() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "syscw:") return value;
    }
    return std::nullopt;
}

// Converted blocks are gathered and written before each yield (or when a MiB is gathered),
// not one write per block: past 10 MB the progress, and so the yields, change less often
// than the blocks.
TEST_F(FileJobTest, BlocksAreWrittenInBatches) {
    WriteFile(source, Sample(32u << 20));
    const auto before = WriteCalls();
    if (!before) GTEST_SKIP() << "this system does not count write calls in /proc/self/io";
    RunFileJob(source, output, map, host, dialogs);
    const std::uint64_t writes = *WriteCalls() - *before;
    const std::uint64_t gatheredMiBs = std::filesystem::file_size(output) >> 20;
    EXPECT_LE(writes, static_cast<std::uint64_t>(host.yields) + gatheredMiBs + 1);
    EXPECT_LT(writes, (32u << 20) / kJobBlockSize / 2) << "fewer than half as many writes as blocks";
}

TEST_F(FileJobTest, ShortSources) {
    struct Case {
        std::size_t length;
        std::vector<std::string> captions;
    };
    const Case cases[] = {
        {0, {"Remaining: 0", "FINISHED"}},
        {1000, {"Remaining: 1000", "Remaining: 99.9%", "FINISHED"}},
        {1024, {"Remaining: 1024", "Remaining: 99.9%", "FINISHED"}},
        {1025, {"Remaining: 1025", "Remaining: 99.9%", "Remaining: 0%", "FINISHED"}},
    };
    for (const auto& c : cases) {
        host.captions.clear();
        dialogs.shown.clear();
        std::filesystem::remove(output);
        const std::string text = Sample(c.length);
        EXPECT_EQ(Run(text), JobEnd::Finished);
        EXPECT_EQ(host.captions, c.captions) << c.length;
        EXPECT_TRUE(std::filesystem::is_regular_file(output)) << "even an empty source leaves a new file";
        EXPECT_EQ(ReadFile(output), Shifted(text));
        EXPECT_EQ(dialogs.shown.at(0).text, "File conversion was completed in 0 seconds.");
    }
}

TEST_F(FileJobTest, ACancelKeepsTheBlocksConvertedBefore) {
    host.cancelAt = "Remaining: 79.5%";
    const std::string text = Sample(5000);
    EXPECT_EQ(Run(text), JobEnd::Cancelled);
    EXPECT_EQ(ReadFile(output), Shifted(text.substr(0, 2048)));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(host.captions.back(), "Remaining: 79.5%");
}

TEST_F(FileJobTest, ADiskThatFailsOnlyAtTheSyncIsAFailureNotACompletion) {
    {
        test::FailingSync failing(EIO);
        try {
            Run(Sample(3000));
            FAIL() << "the sync failed";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.Number(), kDeviceError);
            EXPECT_NE(failure.Description().find(output.string()), std::string::npos)
                << failure.Description();
        }
    }
    EXPECT_TRUE(dialogs.shown.empty()) << "no completion message";
    EXPECT_NE(host.captions.back(), "FINISHED");
}

TEST_F(FileJobTest, ADeviceAsTheNewFileHasNothingToSync) {
    WriteFile(source, Sample(3000));
    EXPECT_EQ(RunFileJob(source, "/dev/null", map, host, dialogs), JobEnd::Finished);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(host.captions.back(), "FINISHED");
}

TEST_F(FileJobTest, AnExistingOutputIsReplaced) {
    WriteFile(output, std::string(9000, 'q'));
    Run("abc");
    EXPECT_EQ(ReadFile(output), "bcd");
}

// Replacing a link replaces the link: the file it points to is not written through it.
TEST_F(FileJobTest, AnExistingOutputIsDeletedBeforeTheNewOneIsWritten) {
    const auto elsewhere = dir.Path() / "elsewhere.txt";
    WriteFile(elsewhere, "keep me");
    std::filesystem::create_symlink(elsewhere, output);
    Run("abc");
    EXPECT_FALSE(std::filesystem::is_symlink(output));
    EXPECT_EQ(ReadFile(output), "bcd");
    EXPECT_EQ(ReadFile(elsewhere), "keep me");
}

// The length is read once, as the job starts: text added to the source while it runs is
// neither converted nor counted in the progress.
TEST_F(FileJobTest, TextAddedToTheSourceDuringTheJobIsLeftOut) {
    host.onYield = [this] {
        if (!host.captions.empty()) std::ofstream(source, std::ios::app) << std::string(700, 'a');
    };
    const std::string text = Sample(3000);
    EXPECT_EQ(Run(text), JobEnd::Finished);
    EXPECT_TRUE(ReadFile(output) == Shifted(text));
    EXPECT_EQ(host.captions, (std::vector<std::string>{"Remaining: 3000", "Remaining: 99.97%",
                                                       "Remaining: 65.83%", "Remaining: 31.7%", "FINISHED"}));
}

TEST_F(FileJobTest, FilesThatCannotBeOpenedAreFailures) {
    EXPECT_THROW(RunFileJob(dir.Path() / "gone.txt", output, map, host, dialogs), Failure);
    EXPECT_FALSE(std::filesystem::exists(output)) << "nothing is created for a missing source";
    EXPECT_THROW(RunFileJob(dir.Path(), output, map, host, dialogs), Failure) << "a folder as the source";
    WriteFile(source, "abc");
    EXPECT_THROW(RunFileJob(source, dir.Path() / "no" / "such.txt", map, host, dialogs), Failure);
    std::filesystem::create_directory(dir.Path() / "folder");
    EXPECT_THROW(RunFileJob(source, dir.Path() / "folder", map, host, dialogs), Failure);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "folder")) << "a folder is never deleted";
}

TEST_F(FileJobTest, TheSourceIsNeverItsOwnOutput) {
    WriteFile(source, "precious");
    std::filesystem::create_symlink(source, dir.Path() / "link.txt");
    std::filesystem::create_hard_link(source, dir.Path() / "hard.txt");
    const std::string upAndBack = "../" + dir.Path().filename().string() + "/report.txt";
    for (const std::string& name :
         {std::string("link.txt"), std::string("hard.txt"), std::string("./report.txt"), upAndBack}) {
        EXPECT_THROW(RunFileJob(source, dir.Path() / name, map, host, dialogs), Failure) << name;
        EXPECT_EQ(ReadFile(source), "precious") << name;
    }
}

TEST_F(FileJobTest, ASourceOfOver4GiBIsCountedIn64Bits) {
    const std::uint64_t length = (1ull << 32) + 3000;
    { std::ofstream file(source, std::ios::binary); }
    std::filesystem::resize_file(source, length);  // sparse: reads as zeros, which have no entry
    SourceFile file(source);
    EXPECT_EQ(file.Length(), length);
    EXPECT_EQ(ProgressText(length, length - 1023, "."), "Remaining: 0%");
}

}  // namespace
}  // namespace varnex
