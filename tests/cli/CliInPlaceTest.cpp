// varnex -i: each file replaced by its conversion, with what made it the file kept, and the
// original untouched by any failure or kill on the way.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "CliSupport.h"
#include "Packages.h"

namespace varnex::test {
namespace {

const std::string kKoi = "\xf0\xd2\xc9\xd7\xc5\xd4\r\n";      // "Привет" in KOI8-R
const std::string kWindows = "\xcf\xf0\xe8\xe2\xe5\xf2\r\n";  // and in Windows-1251

struct stat StatOf(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

void SetTimes(const std::filesystem::path& path, time_t seconds) {
    const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(CliInPlace, ReplacesEachFileKeepingItsModeOwnerAndWithKeepTimeItsTimes) {
    for (const char* temporary : {"unnamed", "named"}) {
        TempDir dir;
        WriteFile(dir / "a.txt", kKoi);
        WriteFile(dir / "b.txt", kKoi);
        ::chmod((dir / "a.txt").c_str(), 0640);
        SetTimes(dir / "a.txt", 1000000000);
        SetTimes(dir / "b.txt", 1000000000);
        const bool root = ::getuid() == 0;
        if (root) {
            ASSERT_EQ(::chown((dir / "a.txt").c_str(), 65534, 65534), 0);
        }
        const RunSetup setup = WithEnvironment("VARNEX_TEMPORARY_FILES", temporary);
        const RunResult result = Varnex(With({"-i", (dir / "a.txt").string()}), setup);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        const RunResult kept = Varnex(With({"--in-place", "--keep-time", (dir / "b.txt").string()}), setup);
        ASSERT_EQ(kept.exitCode, 0) << kept.err;
        EXPECT_EQ(ReadFile(dir / "a.txt"), kWindows);
        EXPECT_EQ(ReadFile(dir / "b.txt"), kWindows);
        EXPECT_EQ(StatOf(dir / "a.txt").st_mode & 07777, 0640u);
        if (root) {
            EXPECT_EQ(StatOf(dir / "a.txt").st_uid, 65534u);
        }
        EXPECT_NE(StatOf(dir / "a.txt").st_mtim.tv_sec, 1000000000);
        EXPECT_EQ(StatOf(dir / "b.txt").st_mtim.tv_sec, 1000000000) << "--keep-time";
        EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"a.txt", "b.txt"}));
    }
}

// A group that this process may give a file besides its own, if it has one.
std::optional<gid_t> AnotherGroup() {
    if (::getuid() == 0) return 65534;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
    for (int i = 0; i < count; ++i)
        if (groups[static_cast<std::size_t>(i)] != ::getgid()) return groups[static_cast<std::size_t>(i)];
    return std::nullopt;
}

TEST(CliInPlace, ModesThatANewFileWouldNotGetAndTheGroupOfASetgidFolderAreKept) {
    TempDir dir;
    const std::filesystem::path folder = dir / "shared";
    std::filesystem::create_directory(folder);
    const std::optional<gid_t> other = AnotherGroup();
    if (other) {
        ASSERT_EQ(::chown(folder.c_str(), static_cast<uid_t>(-1), *other), 0);
    }
    ASSERT_EQ(::chmod(folder.c_str(), 02775), 0);  // new files there take the folder's group
    const std::pair<const char*, mode_t> files[] = {
        {"tool.txt", 0755}, {"team.txt", 0664}, {"only.txt", 0600}};
    for (const auto& [name, mode] : files) {
        WriteFile(folder / name, kKoi);
        ASSERT_EQ(::chown((folder / name).c_str(), static_cast<uid_t>(-1), ::getgid()), 0);
        ASSERT_EQ(::chmod((folder / name).c_str(), mode), 0);
    }
    const mode_t umask = ::umask(022);
    const RunResult result = Varnex(With({"-i", "-r", folder.string()}));
    ::umask(umask);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const auto& [name, mode] : files) {
        EXPECT_EQ(ReadFile(folder / name), kWindows) << name;
        EXPECT_EQ(StatOf(folder / name).st_mode & 07777, mode) << name;
        EXPECT_EQ(StatOf(folder / name).st_gid, ::getgid())
            << name << ": the file's own group, not the folder's";
    }
}

TEST(CliInPlace, AnOriginalIsNeverKeptOverAnotherInput) {
    TempDir dir;
    WriteFile(dir / "a.txt", kKoi);
    WriteFile(dir / "a.txt.bak", kKoi);
    const RunResult result =
        Varnex(With({"-i.bak", "--force", (dir / "a.txt").string(), (dir / "a.txt.bak").string()}));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find((dir / "a.txt.bak").string() + ": the original of " + (dir / "a.txt").string() +
                              " would be kept over this input"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(ReadFile(dir / "a.txt"), kKoi) << "left alone";
    EXPECT_EQ(ReadFile(dir / "a.txt.bak"), kWindows) << "the other input is converted in place";
    EXPECT_EQ(ReadFile(dir / "a.txt.bak.bak"), kKoi);
}

TEST(CliInPlace, ASuffixKeepsTheOriginalAndNeverReplacesAnEarlierOneUnforced) {
    TempDir dir;
    WriteFile(dir / "a.txt", kKoi);
    ASSERT_EQ(Varnex(With({"-i.bak", (dir / "a.txt").string()})).exitCode, 0);
    EXPECT_EQ(ReadFile(dir / "a.txt"), kWindows);
    EXPECT_EQ(ReadFile(dir / "a.txt.bak"), kKoi);

    const RunResult again = Varnex(With({"--in-place=.bak", (dir / "a.txt").string()}));
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.err,
              "varnex: " + (dir / "a.txt.bak").string() + ": exists already (--force replaces it)\n");
    EXPECT_EQ(ReadFile(dir / "a.txt"), kWindows);
    EXPECT_EQ(ReadFile(dir / "a.txt.bak"), kKoi);

    // a folder: the backups of the files are never taken as files of their own
    ASSERT_EQ(
        Varnex({"-f", "Windows-1251", "-t", "KOI8-R", "-ri.bak", "--force", dir.Path().string()}).exitCode,
        0);
    EXPECT_EQ(ReadFile(dir / "a.txt"), kKoi);
    EXPECT_EQ(ReadFile(dir / "a.txt.bak"), kWindows);
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"a.txt", "a.txt.bak"}));

    // the backup's name already names the file itself: nothing else is left
    std::filesystem::remove(dir / "a.txt.bak");
    std::filesystem::create_hard_link(dir / "a.txt", dir / "a.txt.bak");
    ASSERT_EQ(Varnex(With({"-i.bak", "--force", (dir / "a.txt").string()})).exitCode, 0);
    EXPECT_EQ(ReadFile(dir / "a.txt"), kWindows);
    EXPECT_EQ(ReadFile(dir / "a.txt.bak"), kKoi);
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"a.txt", "a.txt.bak"}));
}

TEST(CliInPlace, AFailureOnTheWayLeavesTheOriginalAsItWas) {
    TempDir dir;
    const std::string big(1 << 20, '\xc1');
    WriteFile(dir / "big.txt", big);
    RunSetup limited;
    limited.inChild = [] {
        const rlimit limit{64 * 1024, 64 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    };
    for (const char* suffix : {"-i", "-i.orig"}) {
        const RunResult result = Varnex(With({suffix, (dir / "big.txt").string()}), limited);
        EXPECT_EQ(result.exitCode, 1) << suffix;
        EXPECT_NE(result.err.find("File too large"), std::string::npos) << result.err;
        EXPECT_EQ(ReadFile(dir / "big.txt"), big);
        EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"big.txt"});
    }
}

TEST(CliInPlace, NeverThroughALinkAndFoldersOnlyWithRecursive) {
    TempDir dir;
    std::filesystem::create_directories(dir / "sub");
    WriteFile(dir / "sub" / "a.txt", kKoi);
    std::filesystem::create_symlink(dir / "sub" / "a.txt", dir / "sub" / "link.txt");
    const RunResult named = Varnex(With({"-i", (dir / "sub" / "link.txt").string(), (dir / "sub").string()}));
    EXPECT_EQ(named.exitCode, 1);
    EXPECT_TRUE(named.err.starts_with(
        "varnex: " + (dir / "sub" / "link.txt").string() +
        ": is a symbolic link; name the file it points to\nvarnex: " + (dir / "sub").string() +
        ": is a folder (-r converts the files below it)\n"))
        << named.err;
    EXPECT_EQ(ReadFile(dir / "sub" / "a.txt"), kKoi);

    // found in a folder, the link is passed over and its file converted once
    const RunResult found = Varnex(With({"-r", "-i", dir.Path().string()}));
    EXPECT_EQ(found.exitCode, 0) << found.err;
    EXPECT_NE(found.err.find("1 file converted, 0 failed, 0 skipped; 1 symbolic link not followed"),
              std::string::npos)
        << found.err;
    EXPECT_EQ(ReadFile(dir / "sub" / "a.txt"), kWindows);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "sub" / "link.txt"));
}

TEST(CliInPlace, ADocumentTooIsReplacedByItsConversion) {
    TempDir dir;
    const std::string run = R"(<w:p><w:r><w:rPr><w:rFonts w:ascii="KOI8-R" w:hAnsi="KOI8-R"/></w:rPr><w:t>)";
    WritePackage(dir / "letter.docx",
                 Docx(run + AsStored("\xF0\xD2\xC9\xD7\xC5\xD4") + "</w:t></w:r></w:p>"));
    const RunResult result = Varnex(With({"-i", (dir / "letter.docx").string()}));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string xml = PartOf(dir / "letter.docx", "word/document.xml");
    EXPECT_NE(xml.find(AsStored("\xCF\xF0\xE8\xE2\xE5\xF2")), std::string::npos) << xml;
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"letter.docx"});
}

// Killed while its outputs wait, without names, for their batch's sync: every file is whole,
// as it was or converted, and nothing else is left.
TEST(CliInPlace, AKillOnTheWayLeavesEveryOriginalAndNoOtherFile) {
    TempDir dir;
    const std::string text(256 * 1024, '\xc1');
    std::vector<std::string> args = With({"-j1", "-i"});
    for (int i = 0; i < 40; ++i) {
        const auto path = dir / ("f" + std::to_string(i) + ".txt");
        WriteFile(path, text);
        args.push_back(path.string());
    }
    TempDir captures;
    const pid_t pid = StartProgram(kVarnex, args, -1, captures / "out", captures / "err");
    ASSERT_TRUE(HoldsUnnamedFileIn(pid, dir.Path()));
    ::kill(pid, SIGKILL);
    const RunResult result = WaitProgram(pid, captures / "out", captures / "err");
    EXPECT_EQ(result.signal, SIGKILL);
    EXPECT_EQ(FilesIn(dir.Path()).size(), 40u);
    // a slow machine may place the group before the kill lands: whole files either way
    const std::string converted(text.size(), '\xe0');
    for (int i = 0; i < 40; ++i) {
        const std::string now = ReadFile(dir / ("f" + std::to_string(i) + ".txt"));
        EXPECT_TRUE(now == text || now == converted) << i;
    }
}

}  // namespace
}  // namespace varnex::test
