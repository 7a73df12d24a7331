#pragma once

#include <QSettings>
#include <QString>
#include <filesystem>
#include <memory>
#include <ostream>

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

}  // namespace varnex::test
