// The window's job for a document: caption, cancel, completion, and no new file unless complete.
#include <gtest/gtest.h>

#include "Failure.h"
#include "Packages.h"
#include "TestDatabase.h"
#include "jobs/DocumentJob.h"

namespace varnex::test {
namespace {

class CaptionHost : public JobHost {
public:
    void SetCaption(const std::string& caption) override {
        captions.push_back(caption);
        if (caption.starts_with("Remaining: ") && caption.ends_with("%") &&
            ++percentages == cancelAtPercentage)
            cancel = true;
    }
    void Yield() override { ++yields; }
    bool CancelRequested() const override { return cancel; }
    double Seconds() override { return seconds += 2; }
    std::string DecimalSeparator() const override { return ","; }

    std::vector<std::string> captions;
    int percentages = 0, cancelAtPercentage = -1, yields = 0;
    bool cancel = false;
    double seconds = 0;
};

Entries LegacyDocument() {
    std::string body;
    for (int i = 0; i < 3000; ++i) {
        body += R"(<w:p><w:r><w:rPr><w:rFonts w:ascii="KOI8-R" w:hAnsi="KOI8-R"/></w:rPr><w:t>)" +
                AsStored("\xC1\xC2") + "</w:t></w:r></w:p>";
    }
    return Docx(body);
}

TEST(DocumentJob, ShowsTheShareLeftAndReportsTheTime) {
    TempDir dir;
    WritePackage(dir / "in.docx", LegacyDocument());
    CaptionHost host;
    ScriptedDialogs dialogs;
    EXPECT_EQ(RunDocumentJob(dir / "in.docx", dir / "in_Windows-1251.docx", Koi8ToCp1251(), Koi8Fonts(), host,
                             dialogs),
              JobEnd::Finished);
    ASSERT_GE(host.captions.size(), 4u);
    EXPECT_EQ(host.captions.front(),
              "Remaining: " + std::to_string(std::filesystem::file_size(dir / "in.docx")));
    EXPECT_EQ(host.captions[1].substr(0, 11), "Remaining: ");
    EXPECT_NE(std::find(host.captions.begin(), host.captions.end(), "Remaining: 0%"), host.captions.end());
    EXPECT_EQ(host.captions.back(), "FINISHED");
    EXPECT_EQ(host.yields, static_cast<int>(host.captions.size())) << "every caption is shown";
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "File conversion was completed in 2 seconds.");
    EXPECT_NE(PartOf(dir / "in_Windows-1251.docx", "word/document.xml").find(AsStored("\xE0\xE1")),
              std::string::npos);
}

TEST(DocumentJob, ACancelOrAFailureLeavesNoNewFileAndTheOldOneAsItWas) {
    TempDir dir;
    WritePackage(dir / "in.docx", LegacyDocument());
    WriteFile(dir / "out.docx", "the user's earlier file");
    CaptionHost cancelling;
    cancelling.cancelAtPercentage = 3;
    ScriptedDialogs dialogs;
    EXPECT_EQ(
        RunDocumentJob(dir / "in.docx", dir / "out.docx", Koi8ToCp1251(), Koi8Fonts(), cancelling, dialogs),
        JobEnd::Cancelled);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(ReadFile(dir / "out.docx") == "the user's earlier file");

    const std::string whole = ReadFile(dir / "in.docx");
    WriteFile(dir / "cut.docx", whole.substr(0, whole.size() / 2));
    CaptionHost host;
    EXPECT_THROW(
        RunDocumentJob(dir / "cut.docx", dir / "out.docx", Koi8ToCp1251(), Koi8Fonts(), host, dialogs),
        Failure);
    EXPECT_TRUE(ReadFile(dir / "out.docx") == "the user's earlier file");
    EXPECT_THROW(RunDocumentJob(dir / "in.docx", dir / "in.docx", Koi8ToCp1251(), Koi8Fonts(), host, dialogs),
                 Failure);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 3)
        << "no temporary file is left";

    CaptionHost finishing;
    RunDocumentJob(dir / "in.docx", dir / "out.docx", Koi8ToCp1251(), Koi8Fonts(), finishing, dialogs);
    EXPECT_EQ(NamesOf(dir / "out.docx"), NamesOf(dir / "in.docx")) << "a complete conversion replaces it";
}

}  // namespace
}  // namespace varnex::test
