// The new package: progress, cancel, entries copied as they were.
#include <gtest/gtest.h>

#include "Packages.h"
#include "TestDatabase.h"
#include "documents/DocumentCancelled.h"

namespace varnex::test {
namespace {

const std::string kLegacyRun =
    R"(<w:p><w:r><w:rPr><w:rFonts w:ascii="KOI8-R" w:hAnsi="KOI8-R"/></w:rPr><w:t>)";

class RecordedProgress : public DocumentProgress {
public:
    void Advanced(double share) override { shares.push_back(share); }
    bool CancelRequested() override { return ++asked > cancelAfter; }
    std::vector<double> shares;
    int asked = 0;
    int cancelAfter = 1 << 30;
};

Entries LongDocument() {
    std::string body;
    for (int i = 0; i < 2000; ++i)
        body += kLegacyRun + AsStored("\xF0\xD2\xC9\xD7\xC5\xD4") + "</w:t></w:r></w:p>";
    return Docx(body);
}

TEST(PackageWriting, ProgressRisesToTheWhole) {
    TempDir dir;
    WritePackage(dir / "in.docx", LongDocument());
    RecordedProgress progress;
    Convert(dir / "in.docx", dir / "out.docx", Koi8ToCp1251(), Koi8Fonts(), false, &progress);
    ASSERT_GT(progress.shares.size(), 4u);
    EXPECT_TRUE(std::is_sorted(progress.shares.begin(), progress.shares.end()));
    EXPECT_LT(progress.shares.front(), 0.5) << "the conversion reports before the writing";
    EXPECT_DOUBLE_EQ(progress.shares.back(), 1.0);
}

TEST(PackageWriting, ACancelLeavesNoPackageAtAnyStep) {
    TempDir dir;
    WritePackage(dir / "in.docx", LongDocument());
    RecordedProgress count;
    Convert(dir / "in.docx", dir / "all.docx", Koi8ToCp1251(), Koi8Fonts(), false, &count);
    for (const int after : {0, 1, count.asked / 2, count.asked - 2}) {
        RecordedProgress progress;
        progress.cancelAfter = after;
        EXPECT_THROW(
            Convert(dir / "in.docx", dir / "out.docx", Koi8ToCp1251(), Koi8Fonts(), false, &progress),
            DocumentCancelled)
            << after;
        EXPECT_FALSE(std::filesystem::exists(dir / "out.docx")) << after;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2)
            << "no temporary file is left";
    }
}

TEST(PackageWriting, StoredAndDeflatedEntriesAreCopiedWithoutInflating) {
    TempDir dir;
    Entries entries = Docx(kLegacyRun + "x</w:t></w:r></w:p>");
    WritePackage(dir / "in.docx", entries, true);
    Convert(dir / "in.docx", dir / "out.docx", Koi8ToCp1251(), Koi8Fonts());
    EXPECT_EQ(MethodOf(dir / "out.docx", "media/image1.png"), 0);
    EXPECT_EQ(CompressedOf(dir / "out.docx", "media/image1.png"),
              CompressedOf(dir / "in.docx", "media/image1.png"));
    EXPECT_EQ(MethodOf(dir / "out.docx", "word/document.xml"), 0) << "a changed part keeps its method";
    EXPECT_EQ(PartOf(dir / "out.docx", "word/styles.xml"), entries[2].second);
}

}  // namespace
}  // namespace varnex::test
