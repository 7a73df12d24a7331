#include <gtest/gtest.h>

#include <QTest>

#include "Failure.h"
#include "UiTestSupport.h"

namespace varnex {
namespace {

class FileSelectionTest : public test::WindowWithFileDialog {
protected:
    void Choose(std::optional<QString> answer, ui::HotSpotLabel* label = nullptr) {
        fileDialog.answers.push_back(answer.value_or(QString()));
        QTest::mouseClick(label ? label : frm->lblOpen, Qt::LeftButton);
    }
};

TEST_F(FileSelectionTest, RecordsThePathTheNameAndTheFolder) {
    Choose("/home/ann/Texts/notes.draft.txt");
    EXPECT_EQ(fileDialog.titles.at(0), "Select a Plain Text file for conversion");
    EXPECT_EQ(fileDialog.lastFilters, QStringList({"Plain Text Files (*.txt)", "All Files (*)"}));
    EXPECT_EQ(ui::Tag(frm->lblFile), "/home/ann/Texts/notes.draft.txt");
    EXPECT_EQ(frm->lblFile->text(), "notes.draft.txt");
    EXPECT_EQ(frm->lblFile->toolTip(), " /home/ann/Texts/notes.draft.txt ");
    EXPECT_EQ(frm->SourceBaseName, "notes.draft");
    EXPECT_EQ(frm->SourceFolder, "/home/ann/Texts/");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileSelectionTest, NamesOfEveryShape) {
    struct Case {
        QString path, caption, baseName, folder;
    };
    const Case cases[] = {
        {"/t/README", "README", "README", "/t/"},
        {"/t/.profile", ".profile", "", "/t/"},
        {"/t/my old letter.txt", "my old letter.txt", "my old letter", "/t/"},
        {"/t/a.b.c.txt", "a.b.c.txt", "a.b.c", "/t/"},
        {"/t/Tom & Jerry.txt", "Tom & Jerry.txt", "Tom & Jerry", "/t/"},
        {QString::fromUtf8("/дом/Письмо <b>1.txt"), QString::fromUtf8("Письмо <b>1.txt"),
         QString::fromUtf8("Письмо <b>1"), QString::fromUtf8("/дом/")},
        {"/notes.txt", "notes.txt", "notes", "/"},
        {"/t/dir.d/plain", "plain", "plain", "/t/dir.d/"},
    };
    for (const auto& c : cases) {
        Choose(c.path, frm->lblFile);
        EXPECT_EQ(frm->lblFile->text(), c.caption);
        EXPECT_EQ(frm->SourceBaseName, c.baseName) << c.path.toStdString();
        EXPECT_EQ(frm->SourceFolder, c.folder) << c.path.toStdString();
        EXPECT_EQ(frm->lblFile->textFormat(), Qt::PlainText) << "a name is shown as it is";
    }
}

TEST_F(FileSelectionTest, CancelKeepsWhatWasChosen) {
    Choose(std::nullopt);
    EXPECT_EQ(ui::Tag(frm->lblFile), "");
    EXPECT_EQ(frm->lblFile->text(), "");
    EXPECT_EQ(frm->lblFile->toolTip(), "");

    Choose("/a/report.txt");
    Choose(std::nullopt, frm->lblFile);
    EXPECT_EQ(ui::Tag(frm->lblFile), "/a/report.txt");
    EXPECT_EQ(frm->SourceFolder, "/a/");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileSelectionTest, TheSameNameFromAnotherFolderUpdatesTheTooltip) {
    Choose("/a/report.txt");
    Choose("/b/report.txt");
    EXPECT_EQ(frm->lblFile->text(), "report.txt");
    EXPECT_EQ(frm->lblFile->toolTip(), " /b/report.txt ");
    EXPECT_EQ(frm->SourceFolder, "/b/");
}

TEST_F(FileSelectionTest, ADialogFailureIsReported) {
    Choose("/a/report.txt");
    fileDialog.fails = true;
    QTest::mouseClick(frm->lblOpen, Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Varnex Error - Loading File");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Critical);
    EXPECT_FALSE(dialogs.shown[0].systemModal);
    EXPECT_NE(dialogs.shown[0].text.find("could not list"), std::string::npos);
    EXPECT_EQ(ui::Tag(frm->lblFile), "/a/report.txt");
}

TEST_F(FileSelectionTest, PickingAFontReleasesTheQuickConversion) {
    frm->QuickBusy = true;
    frm->cmbFonts[1]->activated(frm->cmbFonts[1]->currentIndex());
    EXPECT_FALSE(frm->QuickBusy) << "even the entry that was already chosen";
}

}  // namespace
}  // namespace varnex
