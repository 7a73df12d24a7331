// Bad input of every kind: a clear one-line message, the documented exit code, no crash, no
// output left behind, the source untouched.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include "CliSupport.h"

namespace varnex::test {
namespace {

const std::filesystem::path kBadMaps = std::filesystem::path(VARNEX_JET_FIXTURES) / "bad";

// One line, prefixed and naming what it is about.
void ExpectOneMessage(const RunResult& result, const std::string& about) {
    EXPECT_EQ(result.err.rfind("varnex: ", 0), 0u) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_NE(result.err.find(about), std::string::npos) << result.err;
}

TEST(CliBadInput, FilesThatCannotBeRead) {
    TempDir dir;
    std::filesystem::create_directory(dir / "folder");
    const std::string missing = (dir / "missing.txt").string(), folder = (dir / "folder").string();
    for (const std::string& file : {missing, folder, std::string("/proc/self/mem")}) {
        const std::vector<std::vector<std::string>> outputs = {
            {"-o", (dir / "out.txt").string()}, {"--beside"}, {}};
        for (const auto& output : outputs) {
            std::vector<std::string> args = {"-f", "KOI8-R", "-t", "CP866", file};
            args.insert(args.begin(), output.begin(), output.end());
            const RunResult result = Varnex(args);
            EXPECT_EQ(result.exitCode, 1) << testing::PrintToString(args);
            ExpectOneMessage(result, file);
            EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"folder"})
                << testing::PrintToString(args);
        }
    }
}

TEST(CliBadInput, EveryDamagedMap) {
    TempDir dir;
    WriteFile(dir / "in.txt", "abc");
    int maps = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kBadMaps)) {
        ++maps;
        const std::string map = entry.path().string();
        const RunResult converted = Varnex({"--map", map, "-f", "A", "-t", "B", "-o",
                                            (dir / "out.txt").string(), (dir / "in.txt").string()});
        EXPECT_EQ(converted.exitCode, 1) << map << ": " << converted.err;
        EXPECT_EQ(converted.signal, 0) << map;
        ExpectOneMessage(converted, entry.path().filename().string());
        const RunResult listed = Varnex({"--map", map, "-l"});
        EXPECT_EQ(listed.exitCode, 1) << map;
        EXPECT_TRUE(listed.out.empty()) << map;
        EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"in.txt"});
    }
    EXPECT_GE(maps, 10);
}

TEST(CliBadInput, AFontMissingFromTheMap) {
    const RunResult result = Varnex({"-f", "KOI8-R", "-t", "EBCDIC"});
    EXPECT_EQ(result.exitCode, 1);
    ExpectOneMessage(result, "the font \"EBCDIC\" is not in the map");
    const RunResult noMap = Varnex({"--map", "/nonexistent/map.dll", "-l"});
    EXPECT_EQ(noMap.exitCode, 1);
    ExpectOneMessage(noMap, "/nonexistent/map.dll");
}

TEST(CliBadInput, AMapWithABadCellNamesTheMapRowAndCell) {
    TempDir dir;
    const auto map = WriteFontMap(dir, MakeTable({"A", "B"}, {{"65", "66"}, {"300", "67"}}));
    WriteFile(dir / "in.txt", "A");
    const RunResult result = Varnex({"--map", map.string(), "-f", "A", "-t", "B", "-o",
                                     (dir / "out.txt").string(), (dir / "in.txt").string()});
    EXPECT_EQ(result.exitCode, 1);
    ExpectOneMessage(result,
                     map.string() + ": Row 2 of font_info: the source font \"A\" has the cell \"300\"");
    EXPECT_FALSE(std::filesystem::exists(dir / "out.txt"));
}

TEST(CliBadInput, AFileNamedLikeAnOptionAfterDoubleDash) {
    TempDir dir;
    WriteFile(dir / "-x", "\xc1");
    RunSetup inDir;
    inDir.folder = dir.Path();
    const RunResult result = Varnex({"-f", "KOI8-R", "-t", "Windows-1251", "--", "-x"}, inDir);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "\xe0");
    const RunResult asOption = Varnex({"-f", "KOI8-R", "-t", "Windows-1251", "-x"}, inDir);
    EXPECT_EQ(asOption.exitCode, 2);
    ExpectOneMessage(asOption, "unknown option -x");
}

TEST(CliBadInput, AForcedVectorPathThatIsUnknownOrMissing) {
    for (const char* value : {"sse9", "neon"}) {  // neon: never on this processor family's build
        RunSetup forced;
        forced.inChild = [value] { ::setenv("VARNEX_VECTOR", value, 1); };
        const RunResult result = Varnex({"-l"}, forced);
        EXPECT_EQ(result.exitCode, 2) << value;
        ExpectOneMessage(result, "VARNEX_VECTOR");
        EXPECT_TRUE(result.out.empty());
    }
    RunSetup plain;
    plain.inChild = [] { ::setenv("VARNEX_VECTOR", "scalar", 1); };
    EXPECT_EQ(Varnex({"-l"}, plain).exitCode, 0);
}

TEST(CliBadInput, AClosedStandardOutput) {
    TempDir dir;
    WriteFile(dir / "in.txt", "a");
    RunSetup closed;
    closed.inChild = [] { ::close(STDOUT_FILENO); };
    const RunResult result = Varnex({"-f", "KOI8-R", "-t", "CP866", (dir / "in.txt").string()}, closed);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.signal, 0);
    ExpectOneMessage(result, "standard output: cannot be opened for writing");
}

// A FIFO (or /dev/stdin, or <(zcat ...)) can be read once: all of it goes to the conversion,
// and -i refuses it at once rather than waiting for a writer.
TEST(CliBadInput, ANamedPipeIsReadOnceAndNeverInPlace) {
    TempDir dir;
    const auto pipe = dir / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string text(300000, '\xc1');
    std::thread writer([&] {
        const int fd = ::open(pipe.c_str(), O_WRONLY);
        for (std::size_t done = 0; fd >= 0 && done < text.size();) {
            const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
            if (put <= 0) break;
            done += static_cast<std::size_t>(put);
        }
        if (fd >= 0) ::close(fd);
    });
    const RunResult result = Varnex({"-f", "KOI8-R", "-t", "CP866", pipe.string()});
    const int unblock = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);  // a writer never met
    writer.join();
    ::close(unblock);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, std::string(text.size(), '\xa0'));

    const RunResult inPlace = Varnex({"-f", "KOI8-R", "-t", "CP866", "-i", pipe.string()});
    EXPECT_EQ(inPlace.exitCode, 1);
    ExpectOneMessage(inPlace, pipe.string() + ": is not a regular file");
}

// Nothing reached the output: told once, and no file counted as converted.
TEST(CliBadInput, AFullStandardOutputIsToldOnce) {
    TempDir dir;
    std::vector<std::string> args = {"-f", "KOI8-R", "-t", "CP866", "-j1"};
    for (const char* name : {"a", "b", "c"}) {
        WriteFile(dir / name, std::string(700000, 'a'));  // past the output's buffer: a write fails
        args.push_back((dir / name).string());
    }
    RunSetup full;
    full.standardOutput = "/dev/full";
    const RunResult result = Varnex(args, full);
    EXPECT_EQ(result.exitCode, 1);
    const std::string told = "No space left on device";
    const std::size_t first = result.err.find(told);
    EXPECT_NE(first, std::string::npos) << result.err;
    EXPECT_EQ(result.err.find(told, first + 1), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("varnex: 0 files converted, 3 failed, 0 skipped"), std::string::npos)
        << result.err;
}

TEST(CliBadInput, UsageErrors) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"-f", "KOI8-R"},
        {"-f", "KOI8-R", "-t"},
        {"-f", "KOI8-R", "-t", "CP866", "--beside"},
        {"-f", "KOI8-R", "-t", "CP866", "--beside", "-"},
        {"-f", "KOI8-R", "-t", "CP866", "--beside", "-o", "x", "a"},
        {"--frob"},
        {"--clean-temporary", "/tmp", "-f", "KOI8-R", "-t", "CP866", "a.txt"},
    };
    for (const auto& args : wrong) {
        const RunResult result = Varnex(args);
        EXPECT_EQ(result.exitCode, 2) << testing::PrintToString(args);
        ExpectOneMessage(result, "");
        EXPECT_TRUE(result.out.empty());
    }
    ExpectOneMessage(Varnex({"--bes=1"}), "option --beside takes no value");
}

}  // namespace
}  // namespace varnex::test
