// The names people type for fonts: the code pages' usual names, a map's own aliases, and a name
// of several fonts, through the real program.
#include <gtest/gtest.h>

#include <sstream>

#include "CliSupport.h"
#include "map/FontLoaders.h"

namespace varnex::test {
namespace {

const std::string kPrivet1251 = "\xcf\xf0\xe8\xe2\xe5\xf2\n";  // "Привет" in Windows-1251
const std::string kPrivetUtf8 = "Привет\n";

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The lines of a listing that begin with `font` and a tab or end there.
std::string LineOf(const std::string& listing, const std::string& font) {
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        if (line == font || line.starts_with(font + "\t")) return line;
    }
    return "(no line)";
}

TEST(CliFontNames, TheUsualNamesOfACodePageConvert) {
    TempDir dir;
    WriteFile(dir / "in.txt", kPrivet1251);
    const RunResult converted = Varnex({"-f", "cp1251", "-t", "utf8", (dir / "in.txt").string()});
    ASSERT_EQ(converted.exitCode, 0) << converted.err;
    EXPECT_EQ(converted.out, kPrivetUtf8);
    WriteFile(dir / "utf8.txt", kPrivetUtf8);
    EXPECT_EQ(Varnex({"--from=UTF8", "--to=ms-cyrl", (dir / "utf8.txt").string()}).out, kPrivet1251);
    const RunResult dos = Varnex({"-f", "x-cp1251", "-t", "ibm866", (dir / "in.txt").string()});
    EXPECT_EQ(dos.exitCode, 0) << dos.err;
    EXPECT_EQ(dos.out, "\x8f\xe0\xa8\xa2\xa5\xe2\n");  // "Привет" in CP866
}

TEST(CliFontNames, ANameOfSeveralFontsIsAUsageErrorListingThem) {
    TempDir dir;
    WriteFile(dir / "in.txt", kPrivet1251);
    const RunResult koi8 =
        Varnex({"-f", "koi8", "-t", "utf8", "-o", (dir / "out.txt").string(), (dir / "in.txt").string()});
    EXPECT_EQ(koi8.exitCode, 2);
    EXPECT_TRUE(Contains(koi8.err, "the font \"koi8\" is ambiguous: it may be \"KOI8-R\", \"KOI8-U\""))
        << koi8.err;
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"in.txt"});
    const RunResult target = Varnex({"-f", "KOI8-R", "-t", "cp8", (dir / "in.txt").string()});
    EXPECT_EQ(target.exitCode, 2);
    EXPECT_TRUE(Contains(target.err, "it may be \"CP866\", \"CP855\"")) << target.err;
    EXPECT_TRUE(target.out.empty());
}

TEST(CliFontNames, ListWithAliasesGivesEachFontsOtherNames) {
    const RunResult listed = Varnex({"-l", "--aliases"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    std::string fonts;  // the first field of each line: the plain list, in its order
    std::istringstream lines(listed.out);
    for (std::string line; std::getline(lines, line);) fonts += line.substr(0, line.find('\t')) + "\n";
    EXPECT_EQ(fonts, Varnex({"-l"}).out);
    EXPECT_EQ(LineOf(listed.out, "Windows-1251"), "Windows-1251\tCP1251\tMS-CYRL\tx-cp1251");
    EXPECT_EQ(LineOf(listed.out, "MIK"), "MIK");
    EXPECT_TRUE(Contains(LineOf(listed.out, "CP866"), "\tIBM866\t866\t")) << listed.out;
    EXPECT_TRUE(Contains(LineOf(listed.out, "Mac Cyrillic"), "\tCP10007\t")) << listed.out;
    EXPECT_TRUE(Contains(LineOf(listed.out, "ISO-8859-5"), "\tCYRILLIC\t")) << listed.out;

    const RunResult alone = Varnex({"--aliases"});
    EXPECT_EQ(alone.exitCode, 2);
    EXPECT_TRUE(Contains(alone.err, "--aliases goes with -l")) << alone.err;
}

TEST(CliFontNames, AMapsOwnAliasesGoThroughTheTextFormAndBack) {
    TempDir dir;
    WriteFile(dir / "fonts.tsv",
              "#character\tDOS Bulgarian\tUTF-8\n"
              "#alias\tDOS Bulgarian\tbg\tcp866\n"
              "U+0410\t128\t208,144\n");
    const RunResult built =
        Varnex({"map", "build", (dir / "fonts.tsv").string(), "-o", (dir / "fonts.dll").string()});
    ASSERT_EQ(built.exitCode, 0) << built.err;
    const RunResult exported = Varnex({"map", "export", (dir / "fonts.dll").string()});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_TRUE(Contains(exported.out, "\n#alias\tDOS Bulgarian\tbg\tcp866\n")) << exported.out;

    WriteFile(dir / "in.txt", "\x80");
    const std::string map = (dir / "fonts.dll").string();
    const RunResult converted =
        Varnex({"--map", map, "-f", "CP-866", "-t", "utf8", (dir / "in.txt").string()});
    ASSERT_EQ(converted.exitCode, 0) << converted.err;
    EXPECT_EQ(converted.out, "А");
    EXPECT_EQ(LineOf(Varnex({"--map", map, "-l", "--aliases"}).out, "DOS Bulgarian"),
              "DOS Bulgarian\tbg\tcp866");
}

TEST(CliFontNames, MapCheckReportsAnAliasOfTwoFontsAndBuildRefusesIt) {
    TempDir dir;
    WriteFile(dir / "clash.tsv",
              "#character\tA\tB\n"
              "#alias\tA\tdos\n"
              "#alias\tB\tDOS\tA\n"
              "x\t65\t66\n");
    const RunResult checked = Varnex({"map", "check", (dir / "clash.tsv").string()});
    EXPECT_EQ(checked.exitCode, 1);
    EXPECT_TRUE(
        Contains(checked.out, "column 1 \"A\": error: the alias \"dos\" is declared for \"A\" and \"B\""))
        << checked.out;
    EXPECT_TRUE(Contains(checked.out, "column 2 \"B\": error: the alias \"A\" is the name of the font \"A\""))
        << checked.out;
    const RunResult tsv = Varnex({"map", "check", "--format=tsv", (dir / "clash.tsv").string()});
    EXPECT_TRUE(Contains(tsv.out, "error\talias-of-two-fonts\t")) << tsv.out;
    const RunResult built =
        Varnex({"map", "build", (dir / "clash.tsv").string(), "-o", (dir / "clash.dll").string()});
    EXPECT_EQ(built.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "clash.dll"));
}

}  // namespace
}  // namespace varnex::test
