#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include "FailingSync.h"
#include "Failure.h"
#include "NewFileText.h"
#include "TestDatabase.h"
#include "files/SafeOutput.h"

namespace varnex {
namespace {

using test::Put;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

bool Empty(const std::filesystem::path& folder) {
    return std::filesystem::directory_iterator(folder) == std::filesystem::directory_iterator();
}

TEST(SafeOutput, ASyncFailureLeavesTheFinalNameAsItWasAndNoTemporaryFile) {
    TempDir dir;
    const auto fresh = dir.Path() / "fresh.txt";
    {
        SafeOutput output(fresh);
        Put(output.File(), "converted");
        test::FailingSync failing(EIO);
        EXPECT_THROW(output.Commit(false), Failure);
    }
    EXPECT_TRUE(Empty(dir.Path())) << "neither the new file nor its temporary file";

    const auto existing = dir.Path() / "existing.txt";
    WriteFile(existing, "earlier");
    {
        SafeOutput output(existing);
        Put(output.File(), "converted");
        test::FailingSync failing(EIO);
        EXPECT_THROW(output.Commit(true), Failure);
    }
    EXPECT_EQ(ReadFile(existing), "earlier") << "replaced only by a complete, synced file";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

}  // namespace
}  // namespace varnex
