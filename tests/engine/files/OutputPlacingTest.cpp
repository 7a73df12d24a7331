// How outputs get their names: without one until placed, never over a file unless asked,
// in groups synced as a whole, and in place of the file they convert.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "FailingSync.h"
#include "Failure.h"
#include "NewFileText.h"
#include "TestDatabase.h"
#include "files/InPlaceOutput.h"
#include "files/SafeOutput.h"
#include "files/SyncedBatch.h"

namespace varnex {
namespace {

using test::Put;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::vector<std::string> Names(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(OutputPlacing, AnUnnamedOutputShowsOnlyOncePlacedAndNeverOverAFileUnasked) {
    TempDir dir;
    WriteFile(dir / "old.txt", "earlier");
    ::chmod((dir / "old.txt").c_str(), 0600);
    {
        SafeOutput fresh(dir / "new.txt");
        SafeOutput over(dir / "old.txt");
        Put(fresh.File(), "new");
        Put(over.File(), "newer");
        EXPECT_TRUE(fresh.TemporaryPath().empty()) << "this folder's filesystem has O_TMPFILE";
        EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"old.txt"});
        fresh.Place(false);
        EXPECT_THROW(
            {
                try {
                    over.Place(false);
                } catch (const Failure& failure) {
                    EXPECT_EQ(std::string(failure.what()),
                              (dir / "old.txt").string() + ": exists already (--force replaces it)");
                    throw;
                }
            },
            Failure);
        EXPECT_EQ(ReadFile(dir / "old.txt"), "earlier");
        over.Place(true);
    }
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"new.txt", "old.txt"}));
    EXPECT_EQ(ReadFile(dir / "new.txt"), "new");
    EXPECT_EQ(ReadFile(dir / "old.txt"), "newer");
    struct stat info {};
    ::stat((dir / "old.txt").c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0600u) << "a replaced file keeps who may read it";
}

TEST(OutputPlacing, ANamedTemporaryFileHasTheDocumentedNameAndGoesWithItsOutput) {
    TempDir dir;
    {
        SafeOutput output(dir / "out.txt", TemporaryFile::Named);
        const std::string name = output.TemporaryPath().filename();
        EXPECT_TRUE(name.starts_with(".out.txt.varnex-")) << name;
        EXPECT_TRUE(IsTemporaryName(name));
        EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{name});
    }
    EXPECT_TRUE(Names(dir.Path()).empty());
    for (const std::string wrong : {".out.txt.varnex-12345", "out.txt.varnex-123456",
                                    ".out.txt.varnex-12345!", "..varnex-123456", ".out.txt.varnex-1234567"}) {
        EXPECT_FALSE(IsTemporaryName(wrong)) << wrong;
    }
}

// An output of a group, told where it ended up.
class GroupOutput : public SyncedBatch::Output {
public:
    GroupOutput(const std::filesystem::path& path, std::vector<std::string>& told)
        : output_(path), told_(told) {
        Put(output_.File(), "text");
        output_.File().Flush();
    }
    int Descriptor() const override { return const_cast<SafeOutput&>(output_).File().Descriptor(); }
    void Commit() override { output_.Commit(false); }
    void Place() override { output_.Place(false); }
    void Placed() override { told_.push_back("placed"); }
    void Failed(const std::exception&) override { told_.push_back("failed"); }

private:
    SafeOutput output_;
    std::vector<std::string>& told_;
};

TEST(OutputPlacing, AGroupIsPlacedOnlyOnceSyncedAndAFileWhoseSyncFailsNever) {
    TempDir dir;
    std::vector<std::string> told;
    {
        SyncedBatch batch(2, 1 << 20);
        batch.Add(std::make_unique<GroupOutput>(dir / "a", told), 4);
        EXPECT_TRUE(Names(dir.Path()).empty()) << "waits for its group";
        batch.Add(std::make_unique<GroupOutput>(dir / "b", told), 4);
        EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"a", "b"}));
        batch.Add(std::make_unique<GroupOutput>(dir / "c", told), 4);
        batch.Finish();
    }
    EXPECT_EQ(told, std::vector<std::string>(3, "placed"));
    told.clear();
    {
        SyncedBatch batch(10, 1 << 20);
        for (const char* name : {"d", "e", "f"})
            batch.Add(std::make_unique<GroupOutput>(dir / name, told), 4);
        test::FailingSync failing(EIO);
        batch.Finish();
    }
    EXPECT_EQ(told, std::vector<std::string>(3, "failed"));
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"a", "b", "c"}));
    // the filesystem's sync failing, each file is synced alone and placed when that works
    told.clear();
    {
        SyncedBatch batch(10, 1 << 20);
        test::FailingSync failing(EIO, test::FailingSync::kSyncfs);
        for (const char* name : {"g", "h"}) batch.Add(std::make_unique<GroupOutput>(dir / name, told), 4);
        batch.Finish();
    }
    EXPECT_EQ(told, std::vector<std::string>(2, "placed"));
    // a file's own write error, which the filesystem's sync does not tell: never placed
    told.clear();
    {
        SyncedBatch batch(10, 1 << 20);
        test::FailingSync failing(EIO, test::FailingSync::kSyncFileRange | test::FailingSync::kFsync);
        for (const char* name : {"i", "j"}) batch.Add(std::make_unique<GroupOutput>(dir / name, told), 4);
        batch.Finish();
    }
    EXPECT_EQ(told, std::vector<std::string>(2, "failed"));
    // neither the filesystem's sync nor a file's own works: a written-back range proves nothing
    told.clear();
    {
        SyncedBatch batch(10, 1 << 20);
        test::FailingSync failing(EIO, test::FailingSync::kSyncfs | test::FailingSync::kFsync);
        for (const char* name : {"k", "l"}) batch.Add(std::make_unique<GroupOutput>(dir / name, told), 4);
        batch.Finish();
    }
    EXPECT_EQ(told, std::vector<std::string>(2, "failed"));
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"a", "b", "c", "g", "h"}));
}

TEST(OutputPlacing, InPlaceKeepsTheOriginalAndNeverReplacesAFileChangedMeanwhile) {
    TempDir dir;
    WriteFile(dir / "a.txt", "original");
    {
        InPlaceOutput output(dir / "a.txt", {".bak", false, false});
        Put(output.File(), "converted");
        output.Finish();
        output.Commit();
    }
    EXPECT_EQ(ReadFile(dir / "a.txt"), "converted");
    EXPECT_EQ(ReadFile(dir / "a.txt.bak"), "original");
    {
        InPlaceOutput output(dir / "a.txt", {"", false, false});
        Put(output.File(), "twice");
        WriteFile(dir / "a.txt", "changed by someone else");
        output.Finish();
        EXPECT_THROW(output.Place(), Failure);
    }
    EXPECT_EQ(ReadFile(dir / "a.txt"), "changed by someone else");
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"a.txt", "a.txt.bak"}));
    EXPECT_THROW(InPlaceOutput(dir / "missing.txt", {}), Failure);

    // a private file's conversion is private while it is written, under a temporary name too
    ::chmod((dir / "a.txt").c_str(), 0600);
    InPlaceOutput hidden(dir / "a.txt", {}, TemporaryFile::Named);
    struct stat info {};
    ASSERT_EQ(::stat(hidden.Output().TemporaryPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u);
}

}  // namespace
}  // namespace varnex
