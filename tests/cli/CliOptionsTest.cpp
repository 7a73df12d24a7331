// The options as the system's parser takes them: every spelling of one means the same, and a
// command line that cannot work is one clear line and exit status 2.
#include <gtest/gtest.h>

#include "CliSupport.h"

namespace varnex::test {
namespace {

const std::string kKoi = "\xf0\xd2\xc9\xd7\xc5\xd4\n";

TEST(CliOptions, EverySpellingOfAnOptionMeansTheSame) {
    TempDir dir;
    WriteFile(dir / "in.txt", kKoi);
    const std::string in = (dir / "in.txt").string();
    const std::string expected = Varnex({"-f", "KOI8-R", "-t", "Windows-1251", in}).out;
    ASSERT_EQ(expected, "\xcf\xf0\xe8\xe2\xe5\xf2\n");
    const std::vector<std::vector<std::string>> spellings = {
        {"--from", "KOI8-R", "--to", "Windows-1251", in},
        {"--from=KOI8-R", "--to=Windows-1251", in},
        {"-fKOI8-R", "-tWindows-1251", in},
        {"--fro", "KOI8-R", "--to", "Windows-1251", in},
        {in, "-f", "KOI8-R", "-t", "Windows-1251"},
        {"-f", "KOI8-R", "-t", "Windows-1251", "-j", "1", "--", in},
        {"-f", "KOI8-R", "-t", "Windows-1251", "--jobs=2", "-rj1", dir.Path().string()},
        {"-f", "KOI8-R", "-t", "Windows-1251", "--map", kShippedMap.string(), "--rep", in},
    };
    for (const auto& args : spellings) {
        const RunResult result = Varnex(args);
        EXPECT_EQ(result.exitCode, 0) << testing::PrintToString(args) << result.err;
        EXPECT_EQ(result.out, expected) << testing::PrintToString(args);
    }
    const auto out = dir / "out.txt";
    for (const auto& output : std::vector<std::vector<std::string>>{
             {"-o", out.string()}, {"--output=" + out.string()}, {"-o" + out.string()}}) {
        std::vector<std::string> args = {"-f", "KOI8-R", "-t", "Windows-1251", in};
        args.insert(args.end(), output.begin(), output.end());
        ASSERT_EQ(Varnex(args).exitCode, 0) << output.front();
        EXPECT_EQ(ReadFile(out), expected) << output.front();
        std::filesystem::remove(out);
    }
    EXPECT_EQ(Varnex({"-lV"}).out, Varnex({"--version"}).out);
}

TEST(CliOptions, ACommandLineThatCannotWorkIsOneLineAndExitTwo) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> faults = {
        {{"--t", "CP866", "x"},
         "option --t is ambiguous: it may be --to, --target-doc-font (varnex --help lists the options)"},
        {{"-f", "A", "-t", "B", "--beside=yes", "x"}, "option --beside takes no value"},
        {{"-f", "A", "-t", "B", "-j", "0", "x"}, "-j needs a number of files from 1 to 256, not \"0\""},
        {{"-f", "A", "-t", "B", "--jobs=many", "x"},
         "-j needs a number of files from 1 to 256, not \"many\""},
        {{"-f", "A", "-t", "B", "--include", "*.txt", "x"},
         "--include and --exclude choose files in folders: give -r"},
        {{"-f", "A", "-t", "B", "-i", "-o", "y", "x"},
         "-i replaces each FILE: it goes with neither -o nor --beside"},
        {{"-f", "A", "-t", "B", "--keep-time", "x"},
         "--keep-time keeps the times of files converted in place (-i)"},
        {{"-f", "A", "-t", "B", "-r"}, "-r needs FOLDER names"},
        {{"-f", "A", "-t", "B", "-i"}, "-i needs FILE names (standard input has no folder)"},
        {{"-f", "A", "-t", "B", "-i", "-"}, "-i cannot convert standard input (-) in place"},
        {{"-f"}, "option -f needs a value"},
        {{"-t", "B", "--from"}, "option --from needs a value"},
        {{"-f", "A", "-t", "B", "-q"}, "unknown option -q (varnex --help lists the options)"},
    };
    for (const auto& [args, message] : faults) {
        const RunResult result = Varnex(args);
        EXPECT_EQ(result.exitCode, 2) << testing::PrintToString(args);
        EXPECT_EQ(result.err, "varnex: " + message + "\n") << testing::PrintToString(args);
    }
}

TEST(CliOptions, TheMapSubcommandsTakeTheSameSpellings) {
    TempDir dir;
    const RunResult checked = Varnex({"map", "check", "--pai", "KOI8-R", "CP866", "--form=tsv"});
    EXPECT_EQ(checked.exitCode, 0) << checked.err;
    EXPECT_TRUE(checked.out.starts_with("severity\tkind\t")) << checked.out.substr(0, 80);
    ASSERT_EQ(Varnex({"map", "export", "-o" + (dir / "map.tsv").string()}).exitCode, 0);
    const RunResult built = Varnex(
        {"map", "build", "--unic", (dir / "map.tsv").string(), "--output", (dir / "map.dll").string()});
    EXPECT_EQ(built.exitCode, 0) << built.err;
    const RunResult wrong = Varnex({"map", "check", "--pair=KOI8-R"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_EQ(wrong.err, "varnex: map: check: --pair needs two font names (see \"varnex map --help\")\n");
}

}  // namespace
}  // namespace varnex::test
