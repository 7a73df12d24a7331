#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "Failure.h"
#include "TestDatabase.h"
#include "files/ExclusiveFile.h"
#include "map/FontLoaders.h"
#include "map/FontTable.h"
#include "map/SqliteFontMapWriter.h"

namespace varnex {
namespace {

using test::MakeTable;
using ::testing::HasSubstr;

std::string ReadFailure(const std::filesystem::path& path) {
    try {
        ReadFontTable(path);
    } catch (const Failure& failure) {
        return failure.Description();
    }
    return "(no failure)";
}

bool CanLock(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    const bool locked = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (fd >= 0) ::close(fd);
    return locked;
}

struct FontTableReader : ::testing::Test {
    test::TempDir dir;
    std::filesystem::path good = test::WriteFontMap(dir, MakeTable({"A", "B"}, {{"65", "\\N"}, {"66", ""}}));
};

TEST_F(FontTableReader, KeepsNullApartFromEmptyText) {
    const FontTable table = ReadFontTable(good);
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_FALSE(table.rows[0][1].has_value());
    ASSERT_TRUE(table.rows[1][1].has_value());
    EXPECT_EQ(*table.rows[1][1], "");
}

TEST_F(FontTableReader, ColumnsAndFirstRowStopsAfterOneRow) {
    const FontTable table = ReadFontTable(good, TableExtent::ColumnsAndFirstRow);
    EXPECT_EQ(table.columns, (std::vector<std::string>{"A", "B"}));
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0][0], std::optional<std::string>("65"));

    const auto empty = test::WriteFontMap(dir, MakeTable({"A"}, {}), "empty.dll");
    EXPECT_TRUE(ReadFontTable(empty, TableExtent::ColumnsAndFirstRow).rows.empty());
}

TEST_F(FontTableReader, BadFilesFailWithTheirName) {
    EXPECT_THAT(ReadFailure(dir / "missing.dll"), HasSubstr("was not found"));
    EXPECT_THAT(ReadFailure(dir.Path()), HasSubstr("is not a file"));

    test::WriteFile(dir / "text.dll", "This is not a database at all.\n");
    EXPECT_THAT(ReadFailure(dir / "text.dll"), HasSubstr("is not a font map database"));
    test::WriteFile(dir / "empty.dll", "");
    EXPECT_THAT(ReadFailure(dir / "empty.dll"), HasSubstr("\"" + (dir / "empty.dll").string() + "\""));

    const std::string bytes = test::ReadFile(good);
    test::WriteFile(dir / "truncated.dll", bytes.substr(0, bytes.size() / 2));
    EXPECT_THAT(ReadFailure(dir / "truncated.dll"), HasSubstr("cannot be read"));

    std::string scrambled = bytes;
    for (std::size_t i = 100; i < scrambled.size(); i += 7)
        scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5A);
    test::WriteFile(dir / "scrambled.dll", scrambled);
    EXPECT_THROW(ReadFontTable(dir / "scrambled.dll"), Failure);

    test::WriteFile(dir / "jet.dll",
                    std::string("\x00\x01\x00\x00Standard Jet DB\x00", 20) + std::string(4000, '\0'));
    EXPECT_THROW(ReadFontTable(dir / "jet.dll"), Failure);
}

TEST_F(FontTableReader, MissingTableFails) {
    WriteSqliteFontMap(dir / "other.dll", MakeTable({"A"}, {{"1"}}), "fonts");
    EXPECT_THAT(ReadFailure(dir / "other.dll"), HasSubstr("has no table font_info"));
}

TEST_F(FontTableReader, HoldsTheFileOnlyDuringALoad) {
    EXPECT_TRUE(CanLock(good));
    ReadFontTable(good);
    EXPECT_TRUE(CanLock(good));
    test::WriteFile(dir / "bad.dll", "junk");
    EXPECT_THROW(ReadFontTable(dir / "bad.dll"), Failure);
    EXPECT_TRUE(CanLock(dir / "bad.dll")) << "a failed load must release the file";
}

TEST_F(FontTableReader, WaitsBrieflyForAnotherCopyThenGivesUp) {
    {
        ExclusiveFile held(good);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_THAT(ReadFailure(good), HasSubstr("in use by another program"));
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    }
    // A copy that releases the file within the wait does not make the load fail.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open(good.c_str(), O_RDONLY);
        ::flock(fd, LOCK_EX);
        (void)!::write(ready[1], "x", 1);
        ::usleep(300 * 1000);
        _exit(0);
    }
    char signal;
    ASSERT_EQ(::read(ready[0], &signal, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_NO_THROW(ReadFontTable(good));
    int status = 0;
    waitpid(child, &status, 0);
}

}  // namespace
}  // namespace varnex
