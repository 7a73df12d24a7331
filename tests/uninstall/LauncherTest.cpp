#include <gtest/gtest.h>

#include <stdexcept>

#include "Launcher.h"
#include "LauncherPlatform.h"

namespace varnex::uninstall {
namespace {

TEST(LogPathFor, AddsExactlyOneSeparator) {
    EXPECT_EQ(LogPathFor("/"), "/ST6UNST.LOG");
    EXPECT_EQ(LogPathFor("/opt/Varnex 2010"), "/opt/Varnex 2010/ST6UNST.LOG");
    EXPECT_EQ(LogPathFor("/opt/tool/"), "/opt/tool/ST6UNST.LOG");
}

struct LauncherTest : ::testing::Test {
    void Run(const std::string& folder = "/opt/tool") {
        RunLauncher([folder] { return folder; },
                    {[this](const std::string& path) {
                         tested.push_back(path);
                         return logExists;
                     },
                     [this](const std::string& program, const std::vector<std::string>& arguments) {
                         if (startFails) throw std::runtime_error("cannot start st6unst: No such file");
                         started.push_back(program);
                         startedWith = arguments;
                     },
                     [this](const std::string& title, const std::string& text) {
                         shown.push_back(title + ": " + text);
                     }});
    }
    bool logExists = true;
    bool startFails = false;
    std::vector<std::string> tested, started, startedWith, shown;
};

const std::string kMessage =
    "Uninstaller: Could not uninstall from here. Please use Add/Remove in Control Panel.";

TEST_F(LauncherTest, StartsTheUninstallerOnTheLog) {
    Run("/");
    EXPECT_EQ(tested, std::vector<std::string>{"/ST6UNST.LOG"});
    EXPECT_EQ(started, std::vector<std::string>{"st6unst"});
    EXPECT_EQ(startedWith, (std::vector<std::string>{"-n", "/ST6UNST.LOG"}));
    EXPECT_TRUE(shown.empty());
}

TEST_F(LauncherTest, WithoutALogOrAnUninstallerTheUserIsSentElsewhere) {
    logExists = false;
    Run();
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(shown, std::vector<std::string>{kMessage});

    shown.clear();
    logExists = true;
    startFails = true;
    Run();
    EXPECT_EQ(shown, std::vector<std::string>{kMessage});
}

TEST(LauncherFolder, AFailureToFindTheFolderIsTheSameMessage) {
    std::vector<std::string> shown;
    RunLauncher([]() -> std::string { throw std::runtime_error("no /proc"); },
                {[](const std::string&) { return true; },
                 [](const std::string&, const std::vector<std::string>&) { FAIL() << "nothing to start"; },
                 [&](const std::string& title, const std::string&) { shown.push_back(title); }});
    EXPECT_EQ(shown, std::vector<std::string>{"Uninstaller"});
}

TEST(FileExists, FilesAndFoldersCount) {
    EXPECT_TRUE(FileExists("/"));
    EXPECT_TRUE(FileExists("/proc/self/exe"));
    EXPECT_FALSE(FileExists("/no/such/ST6UNST.LOG"));
    EXPECT_FALSE(FileExists(""));
}

}  // namespace
}  // namespace varnex::uninstall
