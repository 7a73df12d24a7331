// What the converter writes, and what it never touches: outputs appear only when complete,
// never over a source, never twice, never over an existing file without --force.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "CliSupport.h"

namespace varnex::test {
namespace {

class CliOutput : public ::testing::Test {
protected:
    void SetUp() override { WriteFile(dir / "in.txt", source); }
    std::string In() const { return (dir / "in.txt").string(); }

    TempDir dir;
    const std::string source = "\xf0\xd2\xc9\xd7\xc5\xd4\r\n";
};

TEST_F(CliOutput, OneFileAppearsWhenComplete) {
    const RunResult result = Varnex(With({"-o", (dir / "out.txt").string(), In()}));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadFile(dir / "out.txt"), "\xcf\xf0\xe8\xe2\xe5\xf2\r\n");
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"in.txt", "out.txt"}));
}

TEST_F(CliOutput, ExistingOutputIsReplacedOnlyWithForce) {
    WriteFile(dir / "out.txt", "keep me");
    const RunResult refused = Varnex(With({"-o", (dir / "out.txt").string(), In()}));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err,
              "varnex: " + (dir / "out.txt").string() + ": exists already (--force replaces it)\n");
    EXPECT_EQ(ReadFile(dir / "out.txt"), "keep me");
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"in.txt", "out.txt"}));

    WriteFile(dir / "in_Windows-1251.txt", "keep me too");
    EXPECT_EQ(Varnex(With({"--beside", In()})).exitCode, 1);
    EXPECT_EQ(ReadFile(dir / "in_Windows-1251.txt"), "keep me too");

    EXPECT_EQ(Varnex(With({"--force", "-o", (dir / "out.txt").string(), In()})).exitCode, 0);
    EXPECT_EQ(ReadFile(dir / "out.txt").size(), source.size());
    EXPECT_EQ(Varnex(With({"--force", "--beside", In()})).exitCode, 0);
    EXPECT_EQ(ReadFile(dir / "in_Windows-1251.txt").size(), source.size());
}

TEST_F(CliOutput, NeverWritesOverTheSourceBySpellingOrLink) {
    std::filesystem::create_directory(dir / "sub");
    std::filesystem::create_symlink(dir / "in.txt", dir / "link.txt");
    std::filesystem::create_hard_link(dir / "in.txt", dir / "hard.txt");
    for (const std::string& output : {In(), (dir / "sub" / ".." / "in.txt").string(),
                                      (dir / "link.txt").string(), (dir / "hard.txt").string()}) {
        for (const bool force : {false, true}) {
            auto args = With({"-o", output, In()});
            if (force) args.push_back("--force");
            const RunResult result = Varnex(args);
            EXPECT_EQ(result.exitCode, 1) << output;
            EXPECT_NE(result.err.find("is the input file"), std::string::npos) << result.err;
            EXPECT_EQ(ReadFile(dir / "in.txt"), source) << output;
        }
    }
    // a link named as the beside output of its own target
    std::filesystem::create_symlink(dir / "in.txt", dir / "in_Windows-1251.txt");
    EXPECT_EQ(Varnex(With({"--force", "--beside", In()})).exitCode, 1);
    EXPECT_EQ(ReadFile(dir / "in.txt"), source);

    RunSetup appending;
    appending.standardOutput = dir / "in.txt";
    const RunResult intoItself = Varnex(With({In()}), appending);
    EXPECT_EQ(intoItself.exitCode, 1);
    EXPECT_NE(intoItself.err.find("is also the standard output"), std::string::npos) << intoItself.err;
    EXPECT_EQ(ReadFile(dir / "in.txt"), source);
}

TEST_F(CliOutput, NeverWritesOverStandardInputsFile) {
    RunSetup fromSource;
    fromSource.standardInput = dir / "in.txt";
    const RunResult replaced = Varnex(With({"--force", "-o", In()}), fromSource);
    EXPECT_EQ(replaced.exitCode, 1);
    EXPECT_NE(replaced.err.find("is the input file standard input"), std::string::npos) << replaced.err;
    RunSetup appending = fromSource;
    appending.standardOutput = dir / "in.txt";
    const RunResult growing = Varnex(With({}), appending);
    EXPECT_EQ(growing.exitCode, 1);
    EXPECT_EQ(ReadFile(dir / "in.txt"), source);
}

TEST_F(CliOutput, StandardOutputByNameAndALinkWrittenThrough) {
    RunSetup captured;
    captured.standardOutput = dir / "captured.txt";
    EXPECT_EQ(Varnex(With({"-o", "-", In()}), captured).exitCode, 0);
    EXPECT_EQ(Varnex(With({"-o", "/dev/stdout", In()}), captured).exitCode, 0);
    EXPECT_EQ(ReadFile(dir / "captured.txt").size(), 2 * source.size());

    WriteFile(dir / "target.txt", "old");
    std::filesystem::permissions(dir / "target.txt",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::filesystem::create_symlink(dir / "target.txt", dir / "link.txt");
    ASSERT_EQ(Varnex(With({"--force", "-o", (dir / "link.txt").string(), In()})).exitCode, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.txt"));
    EXPECT_EQ(ReadFile(dir / "target.txt").size(), source.size());
    // a replaced file keeps who may read it
    EXPECT_EQ(std::filesystem::status(dir / "target.txt").permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(CliOutput, AnUnreadableInputDoesNotStopTheOthersOnStandardOutput) {
    const RunResult result = Varnex(With({(dir / "missing.txt").string(), In()}));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "\xcf\xf0\xe8\xe2\xe5\xf2\r\n");
    EXPECT_NE(result.err.find("missing.txt"), std::string::npos);
}

TEST_F(CliOutput, TheSameOutputForTwoInputsIsAUsageError) {
    WriteFile(dir / "in.md", source);
    std::filesystem::create_directory_symlink(dir.Path(), dir / "again");
    for (const auto& second : {In(), (dir / "in.md").string(), (dir / "." / "in.txt").string(),
                               (dir / "again" / "in.md").string()}) {
        const RunResult result = Varnex(With({"--beside", In(), second}));
        EXPECT_EQ(result.exitCode, 2) << second;
        EXPECT_NE(result.err.find("in_Windows-1251.txt: named as the output of two inputs"),
                  std::string::npos)
            << result.err;
    }
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"again", "in.md", "in.txt"}));
}

TEST_F(CliOutput, AFullDiskLeavesNoPartialFile) {
    std::string big(1 << 20, '\xc1');
    WriteFile(dir / "big.txt", big);
    RunSetup limited;
    limited.inChild = [] {
        const rlimit limit{64 * 1024, 64 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    };
    const RunResult toFile =
        Varnex(With({"-o", (dir / "out.txt").string(), (dir / "big.txt").string()}), limited);
    EXPECT_EQ(toFile.exitCode, 1);
    EXPECT_EQ(toFile.signal, 0);
    EXPECT_NE(toFile.err.find("varnex: "), std::string::npos);
    EXPECT_NE(toFile.err.find("out.txt"), std::string::npos) << toFile.err;
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"big.txt", "in.txt"}));

    const RunResult beside = Varnex(With({"--beside", (dir / "big.txt").string()}), limited);
    EXPECT_EQ(beside.exitCode, 1);
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"big.txt", "in.txt"}));
    EXPECT_EQ(ReadFile(dir / "big.txt"), big);
}

TEST_F(CliOutput, StrictStopsAtTheFirstCodeWithoutAnEntry) {
    WriteFile(dir / "in.txt", std::string("ab\0c", 4));
    const RunResult result = Varnex(With({"--strict", "--as-text", "-o", (dir / "out.txt").string(), In()}));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              "varnex: " + In() + ": byte offset 2: the code 0 has no entry in the target font\n");
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"in.txt"}));

    WriteFile(dir / "clean.txt", "abc");
    EXPECT_EQ(Varnex(With({"--strict", (dir / "clean.txt").string()})).out, "abc");
}

// Waits until a file whose name starts with `prefix` shows in the folder.
bool AppearsIn(const std::filesystem::path& folder, const std::string& prefix) {
    for (int i = 0; i < 500; ++i) {
        for (const auto& name : FilesIn(folder)) {
            if (name.starts_with(prefix)) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Where the filesystem has no unnamed files, the handler removes the named temporary file.
TEST_F(CliOutput, AnInterruptRemovesTheNamedTemporaryFile) {
    for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        TempDir captures;
        const pid_t pid =
            StartProgram(kVarnex, With({"-o", (dir / "out.txt").string()}), ends[0], captures / "out",
                         captures / "err", WithEnvironment("VARNEX_TEMPORARY_FILES", "named"));
        ASSERT_EQ(::write(ends[1], "\xc1\xc2", 2), 2);  // and the input stays open: the program waits in read
        ASSERT_TRUE(AppearsIn(dir.Path(), ".out.txt.varnex-"));
        ::kill(pid, number);
        const RunResult result = WaitProgram(pid, captures / "out", captures / "err");
        ::close(ends[1]);
        EXPECT_EQ(result.exitCode, 128 + number);
        EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"in.txt"}));
    }
}

// The output being written has no name at all: a kill that no handler sees leaves nothing,
// and the file it was to replace stays as it was.
TEST_F(CliOutput, AKilledRunLeavesNoFileBehind) {
    WriteFile(dir / "out.txt", "keep me");
    for (const int number : {SIGKILL, SIGINT}) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        TempDir captures;
        const pid_t pid = StartProgram(kVarnex, With({"--force", "-o", (dir / "out.txt").string()}), ends[0],
                                       captures / "out", captures / "err");
        ASSERT_EQ(::write(ends[1], "\xc1\xc2", 2), 2);
        ASSERT_TRUE(HoldsUnnamedFileIn(pid, dir.Path()));
        ::kill(pid, number);
        const RunResult result = WaitProgram(pid, captures / "out", captures / "err");
        ::close(ends[1]);
        EXPECT_EQ(number == SIGKILL ? result.signal : result.exitCode,
                  number == SIGKILL ? SIGKILL : 128 + SIGINT);
        EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"in.txt", "out.txt"}));
        EXPECT_EQ(ReadFile(dir / "out.txt"), "keep me");
    }
}

// What a run killed on a filesystem without unnamed files left, found and removed, but never
// a temporary file that a running program still writes.
TEST_F(CliOutput, CleanTemporaryListsAndRemovesWhatAKilledRunLeft) {
    std::filesystem::create_directory(dir / "sub");
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    TempDir captures;
    const pid_t pid =
        StartProgram(kVarnex, With({"-o", (dir / "sub" / "out.txt").string()}), ends[0], captures / "out",
                     captures / "err", WithEnvironment("VARNEX_TEMPORARY_FILES", "named"));
    ASSERT_TRUE(AppearsIn(dir / "sub", ".out.txt.varnex-"));
    ::kill(pid, SIGKILL);
    WaitProgram(pid, captures / "out", captures / "err");
    ::close(ends[1]);
    WriteFile(dir / ".held.txt.varnex-AbC123", "being written");
    WriteFile(dir / ".x.varnex-12", "not a name of ours");
    const struct timespec old[2] = {{::time(nullptr) - 3 * 86400, 0}, {::time(nullptr) - 3 * 86400, 0}};
    ::utimensat(AT_FDCWD, (dir / ".held.txt.varnex-AbC123").c_str(), old, 0);
    const int held = ::open((dir / ".held.txt.varnex-AbC123").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_SH), 0);

    const RunResult here = Varnex({"--clean-temporary", dir.Path().string()});
    EXPECT_EQ(here.exitCode, 0);
    EXPECT_EQ(here.out,
              "3 days         13 B  " + (dir / ".held.txt.varnex-AbC123").string() + "  (in use)\n");
    const RunResult below = Varnex({"--clean-temporary", dir.Path().string(), "-r"});
    EXPECT_NE(below.out.find((dir / "sub").string() + "/.out.txt.varnex-"), std::string::npos) << below.out;
    EXPECT_EQ(below.err, "varnex: 2 temporary files (13 B); --force removes them\n");

    const RunResult removed = Varnex({"--clean-temporary", dir.Path().string(), "-r", "--force"});
    EXPECT_EQ(removed.exitCode, 0) << removed.err;
    EXPECT_NE(removed.err.find("in use by a running program; left as it is"), std::string::npos)
        << removed.err;
    EXPECT_NE(removed.err.find("varnex: 1 of 2 temporary files removed\n"), std::string::npos) << removed.err;
    ::close(held);
    EXPECT_EQ(FilesBelow(dir.Path()),
              (std::vector<std::string>{".held.txt.varnex-AbC123", ".x.varnex-12", "in.txt", "sub"}));
}

}  // namespace
}  // namespace varnex::test
