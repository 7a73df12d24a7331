#pragma once

#include <QSettings>
#include <QString>
#include <filesystem>
#include <memory>
#include <ostream>

#include "Failure.h"
#include "FrmMain.h"
#include "ProgramEnd.h"
#include "TestDatabase.h"

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace varnex::test {

// The settings file that the program under test uses.
inline QString SettingsFile() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "ui_tests", "ui_tests").fileName();
}

// The open-file dialog, answered from a script: each showing takes the next answer; an
// empty answer, or none left, cancels.
class ScriptedFileDialog : public ui::CommonDialog {
public:
    std::optional<QString> ShowOpen(const QString& title, const QStringList& filters) override {
        titles.push_back(title);
        lastFilters = filters;
        if (fails) throw Failure(kFileNotFound, "File not found: the dialog could not list the folder.");
        if (answers.empty()) return std::nullopt;
        const QString answer = answers.front();
        answers.erase(answers.begin());
        if (answer.isEmpty()) return std::nullopt;
        return answer;
    }
    std::vector<QString> answers;
    std::vector<QString> titles;
    QStringList lastFilters;
    bool fails = false;
};

// Each window test starts with an empty settings store and counts the ends of the program.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove_all(SettingsFile().toStdString());
        ui::SetEndProgramHandler([this] { ++ends; });
    }
    void TearDown() override {
        ui::SetEndProgramHandler({});
        std::filesystem::remove_all(SettingsFile().toStdString());
    }
    std::unique_ptr<ui::FrmMain> MakeWindow(const std::filesystem::path& fontMap = VARNEX_SHIPPED_FONT_MAP) {
        return std::make_unique<ui::FrmMain>(dialogs, fontMap);
    }

    ScriptedDialogs dialogs;
    int ends = 0;
};

// The loaded window, its open-file dialog answering from a script.
class WindowWithFileDialog : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        frm = MakeWindow();
        frm->cdb = &fileDialog;
        frm->Load();
    }

    ScriptedFileDialog fileDialog;
    std::unique_ptr<ui::FrmMain> frm;
};

}  // namespace varnex::test
