// Runs the window tests on Qt's offscreen platform, with a settings folder of their own.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QSettings>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string config = (std::filesystem::temp_directory_path() / "varnex-ui-XXXXXX").string();
    if (!mkdtemp(config.data())) return 2;
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    QApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(config));
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::filesystem::remove_all(config);
    return result;
}
