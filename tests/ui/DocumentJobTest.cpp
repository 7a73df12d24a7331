// A document chosen in the window converts as a document, with progress and cancel as for text.
#include <gtest/gtest.h>

#include <QTest>

#include "Packages.h"
#include "UiTestSupport.h"

namespace varnex {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class DocumentJobTest : public test::WindowWithFileDialog {
protected:
    void SetUp() override {
        WindowWithFileDialog::SetUp();
        frm->cmbFonts[0]->setCurrentText("KOI8-R");
        frm->cmbFonts[1]->setCurrentText("Windows-1251");
        std::string body;
        for (int i = 0; i < 4000; ++i) {
            body += R"(<w:p><w:r><w:rPr><w:rFonts w:ascii="KOI8-R" w:hAnsi="KOI8-R"/></w:rPr><w:t>)" +
                    test::AsStored("\xF0\xD2\xC9\xD7\xC5\xD4") + "</w:t></w:r></w:p>";
        }
        test::WritePackage(source, test::Docx(body));
        fileDialog.answers.push_back(QString::fromStdString(source.string()));
        frm->SelectSourceFile();
        QObject::connect(frm.get(), &QWidget::windowTitleChanged,
                         [this](const QString& t) { titles.push_back(t); });
    }
    void Start() { QTest::mouseClick(frm->lblStart, Qt::LeftButton); }

    TempDir dir;
    std::filesystem::path source = dir.Path() / "letter.docx";
    std::vector<QString> titles;
};

TEST_F(DocumentJobTest, ConvertsTheDocumentIntoADocumentBesideIt) {
    dialogs.textAnswers = {"letter_Windows-1251.docx"};
    Start();
    EXPECT_EQ(dialogs.prompts, std::vector<std::string>{"letter_Windows-1251.docx"})
        << "the extension is kept";
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text.substr(0, 33), "File conversion was completed in ");
    ASSERT_GE(titles.size(), 5u);
    EXPECT_EQ(titles[1], "Remaining: " + QString::number(std::filesystem::file_size(source)));
    EXPECT_TRUE(titles[2].startsWith("Remaining: ") && titles[2].endsWith("%")) << titles[2].toStdString();
    EXPECT_EQ(titles[titles.size() - 2], "FINISHED");
    const std::string xml = test::PartOf(dir.Path() / "letter_Windows-1251.docx", "word/document.xml");
    EXPECT_NE(xml.find(test::AsStored("\xCF\xF0\xE8\xE2\xE5\xF2")), std::string::npos);
    EXPECT_EQ(xml.find("KOI8-R"), std::string::npos);
    EXPECT_EQ(frm->windowTitle(), "Varnex 2010");
}

TEST_F(DocumentJobTest, ACancelledOrFailedConversionLeavesNoNewFile) {
    WriteFile(dir.Path() / "out.docx", "kept");
    dialogs.textAnswers = {"out.docx"};
    dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Yes};  // replace it; cancel
    bool pressed = false;
    QObject::connect(frm.get(), &QWidget::windowTitleChanged, [&](const QString& title) {
        if (pressed || !title.endsWith("%")) return;
        pressed = true;
        QTest::mousePress(frm->lblVersion, Qt::LeftButton);
    });
    Start();
    ASSERT_EQ(dialogs.shown.size(), 2u) << "no completion message after a cancel";
    EXPECT_EQ(dialogs.shown[1].title, "Cancel Conversion?");
    EXPECT_TRUE(ReadFile(dir.Path() / "out.docx") == "kept") << "the file the user agreed to replace stays";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
    EXPECT_FALSE(frm->CancelRequested);

    const std::string whole = ReadFile(source);
    WriteFile(source, whole.substr(0, whole.size() - 40));
    dialogs.shown.clear();
    dialogs.textAnswers = {"cut.docx"};
    Start();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Varnex Error - Convertion");
    EXPECT_NE(dialogs.shown[0].text.find("damaged package"), std::string::npos) << dialogs.shown[0].text;
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "cut.docx"));
    EXPECT_EQ(frm->windowTitle(), "Varnex 2010");
}

}  // namespace
}  // namespace varnex
