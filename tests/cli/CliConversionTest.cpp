// The converter as a user runs it: the real program, its shipped map, iconv as the oracle.
#include <gtest/gtest.h>

#include "CliSupport.h"
#include "ShippedCodePages.h"
#include "jobs/FileJob.h"
#include "map/FontLoaders.h"

namespace varnex::test {
namespace {

RunResult Iconv(const CodePage& from, const CodePage& to, const std::filesystem::path& file) {
    return RunProgram("/usr/bin/iconv", {"-c", "-f", from.iconvName, "-t", to.iconvName, file.string()});
}

TEST(CliConversion, EveryPairOfTheNineCodePagesAsIconvConvertsIt) {
    TempDir dir;
    WriteFile(dir / "all.txt", EveryCode());
    for (const auto& from : kCodePages) {
        for (const auto& to : kCodePages) {
            if (&from == &to) continue;
            const RunResult ours = Varnex({"-f", from.font, "-t", to.font, (dir / "all.txt").string()});
            ASSERT_EQ(ours.exitCode, 0) << from.font << " -> " << to.font << ": " << ours.err;
            EXPECT_EQ(ours.out, Iconv(from, to, dir / "all.txt").out) << from.font << " -> " << to.font;
        }
    }
}

// Both ways between each code page and the Unicode font, as iconv -c does it; the Unicode text
// with ill-formed bytes at its start, in its middle and at its end, and a byte order mark.
TEST(CliConversion, EveryCodePageToUnicodeAndBackAsIconvConvertsIt) {
    TempDir dir;
    WriteFile(dir / "all.txt", EveryCode());
    const CodePage unicode{"utf8", "UTF-8"};
    for (const auto& page : kCodePages) {
        const RunResult out = Varnex({"-f", page.font, "-t", unicode.font, "-o", (dir / "u.txt").string(),
                                      (dir / "all.txt").string(), "--force"});
        ASSERT_EQ(out.exitCode, 0) << page.font << ": " << out.err;
        EXPECT_EQ(ReadFile(dir / "u.txt"), Iconv(page, unicode, dir / "all.txt").out) << page.font;
        WriteFile(dir / "bad.txt", "\xEF\xBB\xBF\x80" + ReadFile(dir / "u.txt") + "\xC0\xAF\xE2\x82" +
                                       ReadFile(dir / "u.txt") + "\xF0\x9F");
        const RunResult back = Varnex({"-f", "UTF-8", "-t", page.font, (dir / "bad.txt").string()});
        ASSERT_EQ(back.exitCode, 0) << page.font << ": " << back.err;
        EXPECT_EQ(back.out, Iconv(page, page, dir / "all.txt").out + Iconv(page, page, dir / "all.txt").out)
            << page.font;
    }
}

TEST(CliConversion, StrictAndReportNameUnicodeCharactersAndIllFormedBytes) {
    TempDir dir;
    WriteFile(dir / "in.txt", "\xD0\x96\xE2\x82\xAC\xD0\x96 \xC0!");  // Ж€Ж, then a byte that starts nothing
    const RunResult report = Varnex({"-f", "UTF-8", "-t", "KOI8-R", "--report", (dir / "in.txt").string()});
    EXPECT_EQ(report.exitCode, 0) << report.err;
    EXPECT_EQ(report.out, "\xF6\xF6 !");
    EXPECT_EQ(report.err,
              "varnex: " + (dir / "in.txt").string() +
                  ": 1 character without an entry dropped: U+20AC (1x); 1 ill-formed byte sequence "
                  "dropped\n");
    const RunResult strict = Varnex({"-f", "UTF-8", "-t", "KOI8-R", "--strict", (dir / "in.txt").string()});
    EXPECT_EQ(strict.exitCode, 1);
    EXPECT_EQ(strict.err, "varnex: " + (dir / "in.txt").string() +
                              ": byte offset 2: U+20AC has no entry in the target font\n");
    WriteFile(dir / "bad.txt", "ok\xE2\x82");
    EXPECT_EQ(Varnex({"-f", "UTF-8", "-t", "KOI8-R", "--strict", (dir / "bad.txt").string()}).err,
              "varnex: " + (dir / "bad.txt").string() + ": byte offset 2: the bytes E2 82 are not UTF-8\n");
}

TEST(CliConversion, ListsTheFontsInTableOrder) {
    const RunResult listed = Varnex({"--list"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    std::string expected;
    for (const auto& font : LoadFontList(kShippedMap)) expected += font + "\n";
    EXPECT_EQ(listed.out, expected);
    EXPECT_EQ(Varnex({"-l"}).out, expected);
}

TEST(CliConversion, NamesMatchIgnoringCaseBlanksAndPunctuation) {
    TempDir dir;
    WriteFile(dir / "in.txt", "\xf0\xd2\xc9\xd7\xc5\xd4");  // "Привет" in KOI8-R
    const RunResult loose = Varnex({"-f", "koi8r", "-t", "gost 7 79 b latin", (dir / "in.txt").string()});
    ASSERT_EQ(loose.exitCode, 0) << loose.err;
    EXPECT_EQ(loose.out, "Privet");

    const RunResult unknown = Varnex({"-f", "gost", "-t", "KOI8-R", (dir / "in.txt").string()});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.err.find("varnex: "), std::string::npos);
    EXPECT_NE(unknown.err.find("\"gost\" is not in the map; the nearest are \"GOST 7.79-B Latin\""),
              std::string::npos)
        << unknown.err;
    EXPECT_TRUE(unknown.out.empty());
}

TEST(CliConversion, AmbiguousNamesListTheCandidates) {
    TempDir dir;
    const auto map = WriteFontMap(dir, MakeTable({"Koi-8", "KOI 8", "Latin"}, {{"65", "66", "67"}}));
    WriteFile(dir / "in.txt", "B");
    const RunResult result =
        Varnex({"--map", map.string(), "-f", "koi8", "-t", "Latin", (dir / "in.txt").string()});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("is ambiguous: it may be \"Koi-8\", \"KOI 8\""), std::string::npos)
        << result.err;
    // the exact name still wins
    EXPECT_EQ(Varnex({"--map", map.string(), "-f", "KOI 8", "-t", "Latin", (dir / "in.txt").string()}).out,
              "C");
}

TEST(CliConversion, StandardInputFilesAndDashAreConvertedInOrder) {
    TempDir dir;
    WriteFile(dir / "a.txt", "\xc1");      // KOI8-R а
    WriteFile(dir / "b.txt", "\xc2");      // KOI8-R б
    WriteFile(dir / "stdin.txt", "\xd7");  // KOI8-R в
    RunSetup setup;
    setup.standardInput = dir / "stdin.txt";
    const RunResult result = Varnex(
        {"-f", "KOI8-R", "-t", "Windows-1251", (dir / "a.txt").string(), "-", (dir / "b.txt").string()},
        setup);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "\xe0\xe2\xe1");
    EXPECT_EQ(Varnex({"-f", "KOI8-R", "-t", "Windows-1251"}, setup).out, "\xe2");
}

TEST(CliConversion, BesideWritesTheWindowsProposalInTheSourcesFolder) {
    TempDir dir;
    std::filesystem::create_directory(dir / "letters");
    WriteFile(dir / "letters" / "report.final.txt", "\xc1\xc2");
    const RunResult result = Varnex(
        {"-f", "KOI8-R", "-t", "Windows-1251", "--beside", (dir / "letters" / "report.final.txt").string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.empty());
    EXPECT_EQ(ReadFile(dir / "letters" / "report.final_Windows-1251.txt"), "\xe0\xe1");
    EXPECT_EQ(FilesIn(dir / "letters"),
              (std::vector<std::string>{"report.final.txt", "report.final_Windows-1251.txt"}));
}

class QuietJobHost : public JobHost {
public:
    void SetCaption(const std::string&) override {}
    void Yield() override {}
    bool CancelRequested() const override { return false; }
    double Seconds() override { return 0; }
    std::string DecimalSeparator() const override { return "."; }
};

// A file converted by the window's job and by the command line is the same, byte for byte.
TEST(CliConversion, GivesTheFileJobsBytes) {
    TempDir dir;
    std::string text;
    for (unsigned i = 0; i < 300000; ++i) text.push_back(static_cast<char>((i * 7919u) % 256));
    WriteFile(dir / "in.txt", text);
    for (const char* target : {"Windows-1251", "GOST 7.79-B Latin"}) {
        FontMap map;
        LoadFontMap(kShippedMap, "KOI8-R", target, map);
        QuietJobHost host;
        ScriptedDialogs dialogs;
        RunFileJob(dir / "in.txt", dir / "job.txt", map, host, dialogs);
        // every code, NUL among them: named, it converts as text only when asked to
        const RunResult ours = Varnex({"-f", "KOI8-R", "-t", target, "-o", (dir / "cli.txt").string(),
                                       "--force", "--as-text", (dir / "in.txt").string()});
        ASSERT_EQ(ours.exitCode, 0) << ours.err;
        EXPECT_EQ(ReadFile(dir / "cli.txt"), ReadFile(dir / "job.txt")) << target;
    }
}

TEST(CliConversion, ReportSaysWhichCodesWereDropped) {
    TempDir dir;
    WriteFile(dir / "in.txt", std::string("a\0b\0", 4) + "\x9a");  // KOI8-R 0x9A is a no-break space
    const RunResult result =
        Varnex({"-f", "KOI8-R", "-t", "Windows-1251", "--report", "--as-text", (dir / "in.txt").string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "ab\xa0");
    EXPECT_EQ(result.err,
              "varnex: " + (dir / "in.txt").string() + ": 2 codes without an entry dropped: 0 (2x)\n");
}

TEST(CliConversion, HelpAndVersion) {
    const RunResult help = Varnex({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Usage: varnex -f SOURCE -t TARGET"), std::string::npos);
    EXPECT_NE(help.out.find("Examples:"), std::string::npos);
    const RunResult version = Varnex({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("varnex (Varnex 2010) ", 0), 0u) << version.out;
}

}  // namespace
}  // namespace varnex::test
