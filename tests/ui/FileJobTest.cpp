#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <chrono>
#include <csignal>
#include <functional>

#include "ModCommon.h"
#include "ProgramEndSignals.h"
#include "UiTestSupport.h"
#include "WindowJobHost.h"

namespace varnex {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// KOI8-R "Привет" and the same word in Windows-1251.
const std::string kKoi8Word = "\xF0\xD2\xC9\xD7\xC5\xD4";
const std::string kCp1251Word = "\xCF\xF0\xE8\xE2\xE5\xF2";

class FileJobTest : public test::WindowWithFileDialog {
protected:
    void SetUp() override {
        WindowWithFileDialog::SetUp();
        frm->cmbFonts[0]->setCurrentText("KOI8-R");
        frm->cmbFonts[1]->setCurrentText("Windows-1251");
        dialogs.onShow = [this](const Message&) { minimisedDuringBox = frm->isMinimized(); };
    }
    void ChooseSource(const std::string& text, const std::string& name = "report.txt") {
        source = dir.Path() / name;
        WriteFile(source, text);
        fileDialog.answers.push_back(QString::fromStdString(source.string()));
        frm->SelectSourceFile();
    }
    void Start() { QTest::mouseClick(frm->lblStart, Qt::LeftButton); }
    void ExpectIdle() {
        EXPECT_EQ(frm->windowTitle(), "Varnex 2010");
        EXPECT_EQ(frm->lblVersion->text(), "");
        EXPECT_FALSE(frm->isMinimized());
        EXPECT_FALSE(frm->CancelRequested);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(frm->cursor().shape(), Qt::ArrowCursor) << "the window's pointer is the default again";
    }

    TempDir dir;
    std::filesystem::path source;
    bool minimisedDuringBox = false;
};

TEST_F(FileJobTest, ConvertsTheChosenFileIntoANewFileBesideIt) {
    ChooseSource(kKoi8Word + "\r\n" + kKoi8Word);
    dialogs.textAnswers = {"report_Windows-1251.txt"};
    std::vector<QString> titles;
    QObject::connect(frm.get(), &QWidget::windowTitleChanged, [&](const QString& t) { titles.push_back(t); });
    Start();
    EXPECT_EQ(ReadFile(dir.Path() / "report_Windows-1251.txt"), kCp1251Word + "\r\n" + kCp1251Word);
    EXPECT_EQ(dialogs.prompts, std::vector<std::string>{"report_Windows-1251.txt"});
    EXPECT_EQ(dialogs.promptTexts, std::vector<std::string>{"Enter name of the new file..."});
    EXPECT_EQ(dialogs.promptTitles, std::vector<std::string>{"Save as.."});
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "File conversion was completed in 0 seconds.");
    EXPECT_TRUE(minimisedDuringBox);
    EXPECT_EQ(titles, (std::vector<QString>{"Initiating...", "Remaining: 14", "Remaining: 92.86%", "FINISHED",
                                            "Varnex 2010"}));
    EXPECT_EQ(frm->NewFilePath.toStdString(), (dir.Path() / "report_Windows-1251.txt").string());
    EXPECT_EQ(ui::ReadSetting("FontOld", ""), "KOI8-R");
    EXPECT_EQ(ui::ReadSetting("FontNew", ""), "Windows-1251");
    ExpectIdle();
}

TEST_F(FileJobTest, WhileItRunsTheJobShowsTheCancelLabelTheBusyPointerAndTheWindowsSeparator) {
    ChooseSource(kKoi8Word + "\r\n" + kKoi8Word);
    frm->setLocale(QLocale(QLocale::German, QLocale::Germany));
    dialogs.textAnswers = {"out.txt"};
    std::vector<QString> titles, cancelLabels;
    std::vector<bool> busy;
    QObject::connect(frm.get(), &QWidget::windowTitleChanged, [&](const QString& title) {
        titles.push_back(title);
        cancelLabels.push_back(frm->lblVersion->text());
        busy.push_back(frm->cursor().shape() == Qt::BusyCursor);
    });
    // The busy pointer is the main window's: the prompt and the boxes keep the normal one.
    std::vector<bool> busyOverDialogs;
    dialogs.onPrompt = [&] { busyOverDialogs.push_back(QApplication::overrideCursor() != nullptr); };
    dialogs.onShow = [&](const Message&) {
        busyOverDialogs.push_back(QApplication::overrideCursor() != nullptr);
    };
    Start();
    EXPECT_EQ(busyOverDialogs, (std::vector<bool>{false, false})) << "the name prompt and the completion box";
    EXPECT_EQ(titles, (std::vector<QString>{"Initiating...", "Remaining: 14", "Remaining: 92,86%", "FINISHED",
                                            "Varnex 2010"}));
    EXPECT_EQ(cancelLabels, (std::vector<QString>{"", "Cancel File Convertion", "Cancel File Convertion",
                                                  "Cancel File Convertion", "Cancel File Convertion"}))
        << "from just after \"Initiating...\" until the caption is back";
    EXPECT_EQ(busy, (std::vector<bool>{false, true, true, true, true}))
        << "the busy pointer comes with the minimised window, before the name prompt";
    ExpectIdle();
}

// Esc and the end endings end the program at once during a yield; the new file must then
// hold every block converted so far.
class FileJobEndTest : public FileJobTest {
protected:
    void SetUp() override {
        FileJobTest::SetUp();
        ui::SetEndProgramHandler([this] { onDiskAtEnd.push_back(ReadFile(dir.Path() / "out.txt")); });
        ChooseSource(text);
        dialogs.textAnswers = {"out.txt"};
    }
    void EndAt(const QString& caption, const std::function<void()>& end) {
        QObject::connect(frm.get(), &QWidget::windowTitleChanged, [=](const QString& title) {
            if (title == caption) end();
        });
    }
    std::string Converted(std::size_t blocks) const {
        std::string converted;
        for (std::size_t i = 0; i < blocks * 1024; ++i) converted += kCp1251Word[i % 6];
        return converted;
    }

    std::string text = [] {
        std::string koi8;
        for (std::size_t i = 0; i < 5000; ++i) koi8 += kKoi8Word[i % 6];
        return koi8;
    }();
    std::vector<std::string> onDiskAtEnd;
};

TEST_F(FileJobEndTest, EscDuringAYieldFindsTheConvertedBlocksInTheFile) {
    EndAt("Remaining: 79.5%", [this] {
        QCoreApplication::postEvent(frm.get(),
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    });
    Start();
    ASSERT_EQ(onDiskAtEnd.size(), 1u);
    EXPECT_EQ(onDiskAtEnd[0].size(), 2048u);
    EXPECT_TRUE(onDiskAtEnd[0] == Converted(2));
}

TEST_F(FileJobEndTest, EndSignalsEndTheProgramThroughTheEventLoop) {
    const ui::EndProgramOnSignals endOnSignals;
    const std::pair<QString, int> endings[] = {
        {"Remaining: 99.98%", SIGTERM}, {"Remaining: 79.5%", SIGINT}, {"Remaining: 59.02%", SIGHUP}};
    for (std::size_t i = 0; i < std::size(endings); ++i) {
        EndAt(endings[i].first, [this, i, number = endings[i].second] {
            std::raise(number);
            EXPECT_EQ(onDiskAtEnd.size(), i) << "the signal handler itself ends nothing";
        });
    }
    Start();
    ASSERT_EQ(onDiskAtEnd.size(), 3u);
    for (std::size_t blocks = 1; blocks <= 3; ++blocks) {
        EXPECT_EQ(onDiskAtEnd[blocks - 1].size(), blocks * 1024);
        EXPECT_TRUE(onDiskAtEnd[blocks - 1] == Converted(blocks)) << blocks;
    }
}

// The file is checked before the fonts, and both checks come after "Initiating...".
TEST_F(FileJobTest, WithoutAFileTheJobRefusesAndOpensTheDialog) {
    frm->cmbFonts[1]->setCurrentText("KOI8-R");
    std::vector<QString> titles, cancelLabels;
    QObject::connect(frm.get(), &QWidget::windowTitleChanged, [&](const QString& title) {
        titles.push_back(title);
        cancelLabels.push_back(frm->lblVersion->text());
    });
    Start();
    EXPECT_EQ(titles, (std::vector<QString>{"Initiating...", "Varnex 2010"}));
    EXPECT_EQ(cancelLabels, (std::vector<QString>{"", "Cancel File Convertion"}));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Please select a file for convertion.");
    EXPECT_EQ(dialogs.shown[0].title, "General Error");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Information);
    EXPECT_FALSE(minimisedDuringBox);
    EXPECT_EQ(fileDialog.titles.size(), 1u);
    EXPECT_EQ(ui::ReadSetting("FontNew", ""), "KOI8-R") << "the fonts are stored even so";
    ExpectIdle();
}

TEST_F(FileJobTest, TheSameFontTwiceIsRefusedWithoutTheDialog) {
    ChooseSource("abc");
    frm->cmbFonts[1]->setCurrentText("KOI8-R");
    Start();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Please select a different font for the new file.");
    EXPECT_EQ(dialogs.shown[0].title, "General Error");
    EXPECT_FALSE(minimisedDuringBox);
    EXPECT_EQ(fileDialog.titles.size(), 1u);
    EXPECT_TRUE(dialogs.prompts.empty());
    ExpectIdle();
}

TEST_F(FileJobTest, NamesThatReachTheSourceAreRefusedAndAskedAgain) {
    ChooseSource("precious");
    std::filesystem::create_symlink(source, dir.Path() / "alias.txt");
    dialogs.textAnswers = {"REPORT.TXT", "./report.txt", "alias.txt", "   "};
    Start();
    ASSERT_EQ(dialogs.shown.size(), 3u);
    for (const auto& box : dialogs.shown) {
        EXPECT_EQ(box.text, "The original file and new file are the same.");
        EXPECT_EQ(box.title, "Name conflict");
        EXPECT_EQ(box.icon, MessageIcon::Critical);
    }
    EXPECT_EQ(dialogs.prompts, std::vector<std::string>(4, "report_Windows-1251.txt"))
        << "a fresh proposal each time";
    EXPECT_EQ(ReadFile(source), "precious");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2) << "no file was written";
    ExpectIdle();
}

// Here the two would be two files; on a Windows disk or share they would be one.
TEST_F(FileJobTest, TheSourcesNameInOtherLetterCaseIsRefusedInEveryScript) {
    ChooseSource("precious", "письмо.txt");
    WriteFile(dir.Path() / "ПИСЬМА.txt", "keep me");
    dialogs.textAnswers = {"ПИСЬМО.txt", "Письмо.TXT", "письма.txt"};
    Start();
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[0].title, "Name conflict");
    EXPECT_EQ(dialogs.shown[1].title, "Name conflict");
    EXPECT_EQ(dialogs.shown[2].text, "File conversion was completed in 0 seconds.")
        << "another file is found by its exact name only: no question about ПИСЬМА.txt";
    EXPECT_EQ(ReadFile(source), "precious");
    EXPECT_EQ(ReadFile(dir.Path() / "письма.txt"), "precious");
    EXPECT_EQ(ReadFile(dir.Path() / "ПИСЬМА.txt"), "keep me");
}

TEST_F(FileJobTest, AnExistingFileIsReplacedOnlyWithConsent) {
    ChooseSource(kKoi8Word);
    WriteFile(dir.Path() / "old.txt", "keep me");
    dialogs.textAnswers = {"old.txt", "old.txt"};
    dialogs.answers = {MessageAnswer::No, MessageAnswer::Yes};
    Start();
    ASSERT_GE(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text,
              "The file you specified, already exists.\r\nWould you like to overwrite it?");
    EXPECT_EQ(dialogs.shown[0].title, "Varnex Error");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(dialogs.prompts.size(), 2u) << "after No the name is asked again";
    EXPECT_EQ(ReadFile(dir.Path() / "old.txt"), kCp1251Word);
}

TEST_F(FileJobTest, ANoToReplacingThenCancelLeavesTheFileAlone) {
    ChooseSource(kKoi8Word);
    WriteFile(dir.Path() / "old.txt", "keep me");
    dialogs.textAnswers = {"old.txt"};
    dialogs.answers = {MessageAnswer::No};
    Start();
    EXPECT_EQ(ReadFile(dir.Path() / "old.txt"), "keep me");
    EXPECT_EQ(dialogs.shown.size(), 1u) << "a cancelled prompt shows nothing";
    ExpectIdle();
}

TEST_F(FileJobTest, CancelOnTheVersionLabelStopsBetweenBlocks) {
    ChooseSource(std::string(5000, 'a'));
    dialogs.textAnswers = {"out.txt"};
    int startsDuringJob = 0;
    QObject::connect(frm.get(), &QWidget::windowTitleChanged, [&](const QString& title) {
        if (title != "Remaining: 79.5%") return;
        Start();  // a second job cannot start
        startsDuringJob = static_cast<int>(dialogs.prompts.size());
        QTest::mousePress(frm->lblVersion, Qt::RightButton);
    });
    dialogs.answers = {MessageAnswer::Yes};
    Start();
    EXPECT_EQ(startsDuringJob, 1);
    ASSERT_EQ(dialogs.shown.size(), 1u) << "no completion message after a cancel";
    EXPECT_EQ(dialogs.shown[0].text, "Are you sure you wan't to cancel?");
    EXPECT_EQ(dialogs.shown[0].title, "Cancel Conversion?");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(dialogs.shown[0].noIsDefault);
    EXPECT_EQ(ReadFile(dir.Path() / "out.txt"), std::string(2048, 'a'));
    ExpectIdle();

    QTest::mousePress(frm->lblVersion, Qt::LeftButton);
    EXPECT_EQ(dialogs.shown.size(), 1u) << "while idle the label offers nothing";
}

// Time of day starts again at midnight; the job's clock must not, or a job across midnight
// would report a negative duration.
TEST_F(FileJobTest, TheJobsClockRunsOnThroughMidnight) {
    const auto steadySeconds = [] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    };
    ui::WindowJobHost host(*frm);
    const double before = steadySeconds();
    const double read = host.Seconds();
    const double after = steadySeconds();
    EXPECT_LE(before, read);
    EXPECT_LE(read, after);
}

TEST_F(FileJobTest, ASourceThatVanishedIsReported) {
    ChooseSource("abc");
    std::filesystem::remove(source);
    dialogs.textAnswers = {"out.txt"};
    Start();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Varnex Error - Convertion");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(dialogs.shown[0].systemModal);
    EXPECT_NE(dialogs.shown[0].text.find("report.txt"), std::string::npos);
    ExpectIdle();
}

}  // namespace
}  // namespace varnex
