// The job's files: the new file's buffered writes and their failures, a source that shrinks
// while read, and the quiet delete before a job.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "Failure.h"
#include "TestDatabase.h"
#include "files/JobFiles.h"

namespace varnex {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(NewFile, AWriteFailureIsKeptAndReported) {
    NewFile file("/dev/full");
    std::uint8_t* room = file.Reserve(3);
    std::copy_n("abc", 3, room);
    file.Commit(3);
    try {
        file.Close();
        FAIL() << "the device is full";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Number(), kDeviceError);
        EXPECT_NE(failure.Description().find("/dev/full"), std::string::npos) << failure.Description();
    }
}

TEST(NewFile, FlushHandsTheBufferedBytesToTheFile) {
    TempDir dir;
    const auto path = dir.Path() / "n.txt";
    NewFile file(path);
    std::copy_n("abc", 3, file.Reserve(3));
    file.Commit(3);
    EXPECT_EQ(ReadFile(path), "");
    file.Flush();
    EXPECT_EQ(ReadFile(path), "abc");
    std::copy_n("de", 2, file.Reserve(2));
    file.Commit(2);
    file.Close();
    EXPECT_EQ(ReadFile(path), "abcde");

    NewFile full("/dev/full");
    std::copy_n("abc", 3, full.Reserve(3));
    full.Commit(3);
    EXPECT_THROW(full.Flush(), Failure);
}

TEST(SourceFile, AFileThatShrinksIsAFailure) {
    TempDir dir;
    const auto path = dir.Path() / "s.txt";
    WriteFile(path, std::string(5000, 'a'));
    SourceFile file(path);
    EXPECT_EQ(file.ReadNext(1024), std::string(1024, 'a'));
    EXPECT_THROW(file.ReadNext(1u << 20), Failure);
}

TEST(DeleteQuietly, DeletesOnlyFilesAndLinks) {
    TempDir dir;
    const auto file = dir.Path() / "a.txt", link = dir.Path() / "l.txt", fifo = dir.Path() / "pipe",
               folder = dir.Path() / "f";
    WriteFile(file, "x");
    std::filesystem::create_symlink(file, link);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(folder);
    DeleteQuietly(link);
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(std::filesystem::exists(file)) << "a link goes, not what it points to";
    DeleteQuietly(file);
    DeleteQuietly(fifo);
    DeleteQuietly(folder);
    DeleteQuietly(dir.Path() / "*");
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(std::filesystem::exists(fifo));
    EXPECT_TRUE(std::filesystem::exists(folder));
}

}  // namespace
}  // namespace varnex
