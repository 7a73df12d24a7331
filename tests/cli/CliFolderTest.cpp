// Folders of files through the real varnex: what -r takes and leaves, in which order, what a
// batch says at its end, and the same outputs whatever the number of threads.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>

#include "CliSupport.h"
#include "Packages.h"

namespace varnex::test {
namespace {

// KOI8-R "а".."я" and their Windows-1251 codes: each file of a test holds its own letter.
std::string Koi(int letter) { return std::string(1, static_cast<char>(0xC1 + letter)) + "\n"; }
// The text as iconv converts it.
std::string Converted(const std::string& koi) {
    TempDir scratch;
    WriteFile(scratch / "in", koi);
    return RunProgram("/usr/bin/iconv", {"-f", "KOI8-R", "-t", "CP1251", (scratch / "in").string()}).out;
}

std::string SummaryOf(const RunResult& result) {
    const std::size_t at = result.err.rfind("varnex: ");
    return at == std::string::npos ? "" : result.err.substr(at);
}

TEST(CliFolders, TakeTextInNameOrderAndLeaveTheRestCounted) {
    TempDir dir;
    const auto top = dir / "top";
    std::filesystem::create_directories(top / "a");
    std::filesystem::create_directories(dir / "elsewhere");
    WriteFile(top / "b.txt", Koi(1));
    WriteFile(top / "a" / "x.txt", Koi(2));
    WriteFile(top / "-dash.txt", Koi(3));
    WriteFile(top / "with blank.txt", Koi(4));
    WriteFile(top / "new\nline.txt", Koi(5));
    WriteFile(top / "pic.bin", std::string("\x89PNG\0\0", 6));
    WritePackage(top / "sheet.xlsx", {{"[Content_Types].xml", "<Types/>"}, {"xl/workbook.xml", "<w/>"}});
    WriteFile(top / ".b.txt.varnex-AbC123", "a leftover");
    WriteFile(dir / "elsewhere" / "far.txt", Koi(6));
    std::filesystem::create_directory_symlink(top, top / "a" / "loop");
    std::filesystem::create_directory_symlink(dir / "elsewhere", top / "outside");
    std::filesystem::create_symlink(top / "b.txt", top / "link.txt");
    ASSERT_EQ(::mkfifo((top / "fifo").c_str(), 0644), 0);

    const RunResult result = Varnex(With({"-r", top.string()}));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, Converted(Koi(3) + Koi(2) + Koi(1) + Koi(1) + Koi(5) + Koi(4)));
    EXPECT_NE(result.err.find("sheet.xlsx: not a word document: an Office Open XML package without "
                              "a main document (skipped)\n"),
              std::string::npos)
        << result.err;
    EXPECT_TRUE(SummaryOf(result).starts_with(
        "varnex: 6 files converted, 0 failed, 4 skipped; 2 symbolic links not followed; 12 B in "))
        << result.err;
    // a name with a newline stays on its line
    const RunResult reported = Varnex(With({"--report", "-r", top.string()}));
    EXPECT_NE(reported.err.find("top/new\\nline.txt: no codes dropped\n"), std::string::npos) << reported.err;
    EXPECT_NE(reported.err.find("; 0 codes without an entry dropped\n"), std::string::npos) << reported.err;
}

TEST(CliFolders, BesideLeavesEarlierOutputsAndTellsEachFailure) {
    TempDir dir;
    std::filesystem::create_directories(dir / "sub");
    WriteFile(dir / "a.md", Koi(1));
    WriteFile(dir / "a.txt", Koi(2));  // the same output as a.md's: a.md, first by name, has it
    WriteFile(dir / "b.txt", Koi(3));
    WriteFile(dir / "b_Windows-1251.txt", "an earlier run's");
    WriteFile(dir / "sub" / "c.txt", Koi(4));
    WritePackage(dir / "letter.docx", Docx("<w:p/>"));

    const RunResult first = Varnex(With({"-r", "--beside", dir.Path().string()}));
    EXPECT_EQ(first.exitCode, 1);
    EXPECT_NE(
        first.err.find("a_Windows-1251.txt: named as the output of " + (dir / "a.md").string() + " too"),
        std::string::npos)
        << first.err;
    EXPECT_NE(first.err.find("b_Windows-1251.txt: exists already (--force replaces it)"), std::string::npos);
    EXPECT_TRUE(SummaryOf(first).starts_with("varnex: 3 files converted, 2 failed, 1 skipped; "))
        << first.err;
    EXPECT_EQ(ReadFile(dir / "a_Windows-1251.txt"), Converted(Koi(1)));
    EXPECT_EQ(ReadFile(dir / "b_Windows-1251.txt"), "an earlier run's");
    EXPECT_EQ(ReadFile(dir / "sub" / "c_Windows-1251.txt"), Converted(Koi(4)));
    EXPECT_TRUE(std::filesystem::exists(dir / "letter_Windows-1251.docx"));

    const RunResult again =
        Varnex(With({"-r", "--beside", "--force", "--include", "b*", dir.Path().string()}));
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(ReadFile(dir / "b_Windows-1251.txt"), Converted(Koi(3)));
    EXPECT_TRUE(SummaryOf(again).starts_with("varnex: 1 file converted, 0 failed, 1 skipped; 2 B in "))
        << again.err;
}

TEST(CliFolders, FilesWhoseOutputsWouldShareANameGiveItToTheFirstAlone) {
    TempDir dir;
    for (const char* name : {"a", "a.TXT", "a.txt"}) WriteFile(dir / name, Koi(1));
    const RunResult result = Varnex(With({"-r", "--beside", dir.Path().string()}));
    EXPECT_EQ(result.exitCode, 1);
    const std::string shared = (dir / "a_Windows-1251.txt").string();
    EXPECT_EQ(ReadFile(shared), Converted(Koi(1))) << "the first in name order";
    const std::string told = shared + ": named as the output of " + (dir / "a").string() + " too";
    const std::size_t first = result.err.find(told);
    ASSERT_NE(first, std::string::npos) << result.err;
    EXPECT_NE(result.err.find(told, first + 1), std::string::npos) << "both others are told: " << result.err;
    EXPECT_NE(SummaryOf(result).find("1 file converted, 2 failed"), std::string::npos) << result.err;
}

TEST(CliFolders, IncludeAndExcludeChooseByName) {
    TempDir dir;
    std::filesystem::create_directories(dir / "keep");
    std::filesystem::create_directories(dir / ".git");
    WriteFile(dir / "keep" / "one.txt", Koi(1));
    WriteFile(dir / "keep" / "two.text", Koi(2));
    WriteFile(dir / "keep" / "three.md", Koi(3));
    WriteFile(dir / ".git" / "config.txt", Koi(4));
    WriteFile(dir / "pic.txt", std::string("\0\1", 2));  // taken by name, whatever it holds
    const RunResult result = Varnex(With({"-r", "--include", "*.txt", "--include=*.text", "--exclude", ".git",
                                          "--exclude", "two*", dir.Path().string()}));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, Converted(Koi(1)) + std::string("\1", 1));
    // nothing chosen is still told
    const RunResult none = Varnex(With({"-r", "--include", "*.none", dir.Path().string()}));
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_TRUE(SummaryOf(none).starts_with("varnex: 0 files converted, 0 failed, 0 skipped; 0 B in "))
        << none.err;
}

// Run as a user who may not read them, since root may read anything.
TEST(CliFolders, UnreadableFilesAndFoldersAreToldAndTheRestConverts) {
    TempDir dir;
    std::filesystem::create_directories(dir / "locked");
    WriteFile(dir / "locked" / "inside.txt", Koi(1));
    WriteFile(dir / "ok.txt", Koi(2));
    WriteFile(dir / "secret.txt", Koi(3));
    const RunSetup nobody = Unprivileged(dir.Path());
    ::chmod((dir / "locked").c_str(), 0);
    ::chmod((dir / "secret.txt").c_str(), 0);
    const RunResult result = Varnex(With({"-r", "--beside", dir.Path().string()}), nobody);
    ::chmod((dir / "locked").c_str(), 0755);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find((dir / "locked").string() + ": cannot be read: Permission denied\n"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find((dir / "secret.txt").string() + ": cannot be read: Permission denied\n"),
              std::string::npos)
        << result.err;
    EXPECT_TRUE(SummaryOf(result).starts_with("varnex: 1 file converted, 2 failed, 0 skipped; 2 B in "))
        << result.err;
    EXPECT_EQ(FilesBelow(dir.Path()), (std::vector<std::string>{"locked", "locked/inside.txt", "ok.txt",
                                                                "ok_Windows-1251.txt", "secret.txt"}));
}

TEST(CliFolders, OneThreadOrFourGiveTheSameOutputs) {
    TempDir dir;
    std::mt19937 random(11);
    for (int i = 0; i < 40; ++i) {
        std::string text(std::uniform_int_distribution<int>(0, 200000)(random), ' ');
        for (auto& c : text) c = static_cast<char>(std::uniform_int_distribution<int>(1, 255)(random));
        const auto folder = dir / ("d" + std::to_string(i % 3));
        std::filesystem::create_directories(folder);
        WriteFile(folder / ("f" + std::to_string(i) + ".txt"), text);
    }
    std::vector<std::string> outputs;
    // the third with little memory for the files that wait for their turn: they go into files
    for (const int run : {0, 1, 2}) {
        const RunResult result = Varnex(
            {"-f", "KOI8-R", "-t", "GOST 7.79-B Latin", run ? "-j4" : "-j1", "-r", dir.Path().string()},
            run == 2 ? WithEnvironment("VARNEX_ORDERED_BUDGET", "65536") : RunSetup{});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        outputs.push_back(result.out);
    }
    EXPECT_EQ(outputs[0].size(), outputs[1].size());
    EXPECT_TRUE(outputs[0] == outputs[1]);
    EXPECT_TRUE(outputs[0] == outputs[2]);
    std::string besides[2];
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(
            Varnex(With({run ? "-j4" : "-j1", "--force", "--beside", "-r", dir.Path().string()})).exitCode,
            0);
        for (const auto& name : FilesBelow(dir.Path())) {
            if (name.ends_with("_Windows-1251.txt")) besides[run] += name + ReadFile(dir / name);
        }
    }
    EXPECT_FALSE(besides[0].empty());
    EXPECT_TRUE(besides[0] == besides[1]);
}

}  // namespace
}  // namespace varnex::test
