// The real launcher, copied into folders of awkward names, with a stand-in st6unst on PATH
// that records the arguments it receives and then waits to be released.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;

extern "C" char** environ;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class LauncherProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/varnex-uninstall-XXXXXX";
        root_ = mkdtemp(pattern);
        fs::create_directory(root_ / "bin");
        const fs::path standIn = root_ / "bin" / "st6unst";
        std::ofstream(standIn)
            << "#!/bin/sh\n"
               ": > \"$RECORD.part\"\n"
               "for a in \"$@\"; do printf '%s\\0' \"$a\" >> \"$RECORD.part\"; done\n"
               "mv \"$RECORD.part\" \"$RECORD\"\n"
               "while [ ! -e \"$RELEASE\" ] && [ -d \"${RELEASE%/*}\" ]; do sleep 0.05; done\n"
               "touch \"$RECORD.ended\"\n";
        fs::permissions(standIn, fs::perms::owner_all);
    }
    void TearDown() override {
        std::ofstream(root_ / "release");
        fs::remove_all(root_);
    }

    // Copies the launcher into `folder` and runs it there without a display; returns its
    // standard error once it has ended.
    std::string RunIn(const fs::path& folder, bool withStandIn = true) {
        fs::create_directories(folder);
        fs::copy_file(VARNEX_UNINSTALLER, folder / "Uninstaller", fs::copy_options::overwrite_existing);
        const std::string path =
            "PATH=" + (withStandIn ? (root_ / "bin").string() + ":" : "") + "/usr/bin:/bin";
        const std::string record = "RECORD=" + (root_ / "record").string();
        const std::string release = "RELEASE=" + (root_ / "release").string();
        const std::string program = (folder / "Uninstaller").string();
        const fs::path errors = root_ / "stderr";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<char*> env = {const_cast<char*>(path.c_str()), const_cast<char*>(record.c_str()),
                                  const_cast<char*>(release.c_str()), nullptr};
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        pid_t child = 0;
        EXPECT_EQ(posix_spawn(&child, program.c_str(), &actions, nullptr, argv, env.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        return Slurp(errors);
    }

    // The arguments the stand-in received; empty when it never ran.
    std::vector<std::string> Received() {
        for (int i = 0; i < 200 && !fs::exists(root_ / "record"); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::vector<std::string> arguments;
        std::istringstream in(Slurp(root_ / "record"));
        for (std::string argument; std::getline(in, argument, '\0');) arguments.push_back(argument);
        return arguments;
    }

    fs::path root_;
};

const std::string kMessage =
    "Uninstaller: Could not uninstall from here. Please use Add/Remove in Control Panel.\n";

TEST_F(LauncherProcessTest, TheLogPathArrivesAsOneArgumentWhateverTheFolderIsCalled) {
    const fs::path folder = root_ / "Program Files" / "a \"quoted\" $(touch pwned) `touch pwned2` ;x\nline";
    fs::create_directories(folder);
    std::ofstream(folder / "ST6UNST.LOG") << "log";
    EXPECT_EQ(RunIn(folder), "");
    EXPECT_EQ(Received(), (std::vector<std::string>{"-n", (folder / "ST6UNST.LOG").string()}));
    EXPECT_FALSE(fs::exists(folder / "pwned"));
    EXPECT_FALSE(fs::exists("pwned"));
    EXPECT_FALSE(fs::exists("pwned2"));
}

TEST_F(LauncherProcessTest, DoesNotWaitForTheUninstaller) {
    std::ofstream(root_ / "ST6UNST.LOG");
    RunIn(root_);
    EXPECT_EQ(Received().size(), 2u) << "the uninstaller runs";
    EXPECT_FALSE(fs::exists(root_ / "record.ended"))
        << "the launcher ended while the uninstaller still waits";
}

TEST_F(LauncherProcessTest, AFolderNamedLikeTheLogCounts) {
    fs::create_directories(root_ / "tool" / "ST6UNST.LOG");
    EXPECT_EQ(RunIn(root_ / "tool"), "");
    EXPECT_EQ(Received().at(1), (root_ / "tool" / "ST6UNST.LOG").string());
}

TEST_F(LauncherProcessTest, NoLogOrNoUninstallerGivesTheMessage) {
    EXPECT_EQ(RunIn(root_ / "empty"), kMessage);
    fs::create_directories(root_ / "tool");
    std::ofstream(root_ / "tool" / "ST6UNST.LOG");
    EXPECT_EQ(RunIn(root_ / "tool", false), kMessage);
    EXPECT_FALSE(fs::exists(root_ / "record"));
}

}  // namespace
