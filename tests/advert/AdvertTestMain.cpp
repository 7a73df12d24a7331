// Runs the advert panel tests in a real X server (see run_under_x.sh), with a settings
// folder of their own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include "PlatformStart.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    if (!varnex::ui::PrepareGuiStart("advert_tests")) return 1;
    QApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    return RUN_ALL_TESTS();
}
