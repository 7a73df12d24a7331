// varnex detect, -f auto and the warning for a named font, as a user runs them.
#include <gtest/gtest.h>

#include "CliSupport.h"
#include "Packages.h"

namespace varnex::test {
namespace {

const std::string kRussian = "Вечером мы долго гуляли по набережной и говорили о том, как изменился город.\n";

std::string Iconv(const std::string& to, const std::string& utf8) {
    TempDir scratch;
    WriteFile(scratch / "in", utf8);
    return RunProgram("/usr/bin/iconv", {"-f", "UTF-8", "-t", to, (scratch / "in").string()}).out;
}

TEST(CliDetect, TellsEachFilesFontOrThatItCannotOrThatAnyFontReadsIt) {
    TempDir dir;
    WriteFile(dir / "koi.txt", Iconv("KOI8-R", kRussian));
    WriteFile(dir / "utf.txt", kRussian);
    WriteFile(dir / "plain.txt", "plain text\n");
    WriteFile(dir / "short.txt", Iconv("CP1251", "Жук\n"));
    const RunResult tsv =
        Varnex({"detect", "--format=tsv", (dir / "koi.txt").string(), (dir / "utf.txt").string(),
                (dir / "plain.txt").string(), (dir / "short.txt").string()});
    EXPECT_EQ(tsv.exitCode, 0) << tsv.err;
    const std::vector<std::string> lines = {
        (dir / "koi.txt").string() + "\tKOI8-R\t1.00\tRussian",
        (dir / "utf.txt").string() + "\tUTF-8\t1.00\tRussian",
        (dir / "plain.txt").string() + "\t*\t1.00\t",
        (dir / "short.txt").string() + "\t?\t",
    };
    for (const auto& line : lines)
        EXPECT_NE(tsv.out.find(line), std::string::npos) << line << "\n" << tsv.out;
    WriteFile(dir / "line.txt",
              Iconv("KOI8-R", "Мы долго гуляли по набережной и говорили.\nВторая строка\n"));
    const RunResult text = Varnex({"detect", (dir / "line.txt").string()});
    EXPECT_EQ(text.out,
              (dir / "line.txt").string() +
                  ": KOI8-R = KOI8-U (1.00, Russian)\n    Мы долго гуляли по набережной и говорили.\n");
    const RunResult missing = Varnex({"detect", (dir / "none.txt").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("none.txt: cannot be opened"), std::string::npos);
    EXPECT_EQ(Varnex({"detect", "--format=xml"}).exitCode, 2);
}

TEST(CliDetect, AutoConvertsAFolderOfFiveCodePagesAndUnicodeFromEachOnesFont) {
    TempDir dir;
    const std::vector<std::string> pages = {"KOI8-R", "CP1251", "CP866", "ISO-8859-5", "MAC-CYRILLIC"};
    for (const auto& page : pages) WriteFile(dir / (page + ".txt"), Iconv(page, kRussian));
    WriteFile(dir / "unicode.txt", kRussian);
    WriteFile(dir / "short.txt", Iconv("CP866", "Жук\n"));
    const RunResult run = Varnex({"-f", "auto", "-t", "UTF-8", "-r", "--beside", dir.Path().string()});
    EXPECT_EQ(run.exitCode, 1) << run.err;  // the short file cannot be told
    for (const auto& page : pages) EXPECT_EQ(ReadFile(dir / (page + "_UTF-8.txt")), kRussian) << page;
    EXPECT_EQ(ReadFile(dir / "unicode_UTF-8.txt"), kRussian);
    EXPECT_FALSE(std::filesystem::exists(dir / "short_UTF-8.txt"));
    EXPECT_NE(run.err.find("unicode.txt: in UTF-8 already; copied unchanged"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("short.txt: cannot tell which font it is in"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("6 files converted, 1 failed"), std::string::npos) << run.err;
    EXPECT_NE(
        run.err.find("found in CP866 1, ISO-8859-5 1, KOI8-R 1, Mac Cyrillic 1, UTF-8 1, Windows-1251 1"),
        std::string::npos)
        << run.err;
}

TEST(CliDetect, AutoUndoesUnicodeReadAsWindows1251AndSavedAgain) {
    TempDir dir;
    const std::string mojibake = RunProgram("/usr/bin/iconv", {"-f", "CP1251", "-t", "UTF-8"},
                                            [&] {
                                                WriteFile(dir / "in", kRussian);
                                                RunSetup setup;
                                                setup.standardInput = dir / "in";
                                                return setup;
                                            }())
                                     .out;
    WriteFile(dir / "mojibake.txt", mojibake);
    const RunResult detect = Varnex({"detect", (dir / "mojibake.txt").string()});
    EXPECT_NE(detect.out.find("UTF-8 read as Windows-1251, stored as UTF-8"), std::string::npos)
        << detect.out;
    const RunResult run = Varnex({"-f", "auto", "-t", "UTF-8", (dir / "mojibake.txt").string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, kRussian);
}

TEST(CliDetect, ANamedFontThatReadsWrongIsToldAndWithStrictFailsTheFile) {
    TempDir dir;
    WriteFile(dir / "u.txt", kRussian);
    RunSetup here;
    here.folder = dir.Path();
    const RunResult warned = Varnex({"-f", "KOI8-R", "-t", "UTF-8", "u.txt"}, here);
    EXPECT_EQ(warned.exitCode, 0);
    EXPECT_EQ(warned.err, "varnex: u.txt reads as UTF-8, not KOI8-R\n");
    const RunResult strict =
        Varnex({"-f", "KOI8-R", "-t", "UTF-8", "--strict", "u.txt", "-o", "out.txt"}, here);
    EXPECT_EQ(strict.exitCode, 1);
    EXPECT_EQ(strict.err, "varnex: u.txt reads as UTF-8, not KOI8-R\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "out.txt"));
    WriteFile(dir / "k.txt", Iconv("KOI8-R", kRussian));
    EXPECT_EQ(Varnex({"-f", "KOI8-R", "-t", "UTF-8", "k.txt"}, here).err, "");
}

TEST(CliDetect, AFontAddedToAMapWithMapBuildIsDetected) {
    TempDir dir;
    // "Kiril Own": the small Russian letters from code 128 on, in reverse order
    const std::u32string letters = U"абвгдежзийклмнопрстуфхцчшщъыьэюя";
    std::string tsv =
        "#character\tKiril Own\tUTF-8\nSPACE\t32\t32\nLF\t10\t10\nCOMMA\t44\t44\nSTOP\t46\t46\n";
    std::string own;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const char32_t c = letters[i];
        tsv += "L\t" + std::to_string(0x80 + letters.size() - 1 - i) + "\t" +
               std::to_string(0xD0 | (c >> 6 & 0x1F)) + "," + std::to_string(0x80 | (c & 0x3F)) + "\n";
    }
    WriteFile(dir / "own.tsv", tsv);
    ASSERT_EQ(Varnex({"map", "build", (dir / "own.tsv").string(), "-o", (dir / "own.dll").string()}).exitCode,
              0);
    const std::string lower =
        "вечером мы долго гуляли по набережной и говорили о том, как изменился город.\n";
    const RunResult encoded = Varnex({"--map", (dir / "own.dll").string(), "-f", "UTF-8", "-t", "Kiril Own",
                                      "-o", (dir / "in.txt").string()},
                                     [&] {
                                         WriteFile(dir / "lower.txt", lower);
                                         RunSetup setup;
                                         setup.standardInput = dir / "lower.txt";
                                         return setup;
                                     }());
    ASSERT_EQ(encoded.exitCode, 0) << encoded.err;
    const RunResult found =
        Varnex({"detect", "--format=tsv", "--map", (dir / "own.dll").string(), (dir / "in.txt").string()});
    EXPECT_NE(found.out.find("\tKiril Own\t"), std::string::npos) << found.out << found.err;
}

std::string WordRun(const std::string& font, const std::string& text) {
    return R"(<w:p><w:r><w:rPr><w:rFonts w:ascii=")" + font + R"(" w:hAnsi=")" + font +
           R"("/></w:rPr><w:t>)" + text + "</w:t></w:r></w:p>";
}

TEST(CliDetect, ADocumentConvertsEachFontFromTheFontItsTextIsIn) {
    TempDir dir;
    const std::string french = "Le café était très agréable, près de la fenêtre ouverte sur la mer.";
    const std::string russian = kRussian.substr(0, kRussian.size() - 1);
    WritePackage(dir / "letter.docx", Docx(WordRun("Kiril", AsStored(Iconv("KOI8-R", russian))) +
                                           WordRun("Courier Cyr", AsStored(Iconv("CP866", russian))) +
                                           WordRun("Arial", french) + WordRun("Times New Roman", russian)));
    const RunResult detect = Varnex({"detect", (dir / "letter.docx").string()});
    EXPECT_EQ(detect.exitCode, 0) << detect.err;
    const std::string file = (dir / "letter.docx").string();
    EXPECT_NE(detect.out.find(file + ", Kiril: KOI8-R = KOI8-U (1.00, Russian)\n"), std::string::npos)
        << detect.out;
    EXPECT_NE(detect.out.find(file + ", Courier Cyr: CP866 = CP1125 (1.00, Russian)\n"), std::string::npos);
    EXPECT_NE(detect.out.find(file + ", Arial: Latin text, in no legacy font\n"), std::string::npos);
    EXPECT_NE(detect.out.find(file + ", Times New Roman: Unicode text\n"), std::string::npos);

    const RunResult converted =
        Varnex({"-f", "auto", "-t", "UTF-8", "--report", file, "-o", (dir / "out.docx").string()});
    ASSERT_EQ(converted.exitCode, 0) << converted.err;
    EXPECT_NE(converted.err.find(file + ": Kiril: KOI8-R (1.00, Russian)"), std::string::npos)
        << converted.err;
    const std::string xml = PartOf(dir / "out.docx", "word/document.xml");
    EXPECT_EQ(xml, PartOf(dir / "letter.docx", "word/document.xml")
                       .replace(xml.find("<w:body>"), std::string::npos, xml.substr(xml.find("<w:body>"))))
        << "only the body changes";
    const std::string body = xml.substr(xml.find("<w:body>"));
    EXPECT_EQ(body, "<w:body>" + WordRun("UTF-8", russian) + WordRun("UTF-8", russian) +
                        WordRun("Arial", french) + WordRun("Times New Roman", russian) +
                        "</w:body></w:document>");

    // in the target already: the package as it was
    const RunResult same = Varnex(
        {"-f", "auto", "-t", "UTF-8", (dir / "out.docx").string(), "-o", (dir / "again.docx").string()});
    ASSERT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(ReadFile(dir / "again.docx"), ReadFile(dir / "out.docx"));
}

TEST(CliDetect, AnOpenDocumentTextInAFontTheMapDoesNotNameConvertsAndOneThatCannotBeToldFails) {
    TempDir dir;
    const std::string styles =
        R"(<style:style style:name="T1" style:family="text"><style:text-properties fo:font-family="Kiril Times"/></style:style>)";
    const std::string russian = kRussian.substr(0, kRussian.size() - 1);
    WritePackage(dir / "memo.odt",
                 Odt(styles, R"(<text:p><text:span text:style-name="T1">)" +
                                 AsStored(Iconv("CP866", russian)) + "</text:span></text:p>"),
                 true);
    const RunResult converted = Varnex({"-f", "auto", "-t", "KOI8-R", "-r", "--beside", dir.Path().string()});
    ASSERT_EQ(converted.exitCode, 0) << converted.err;
    EXPECT_NE(PartOf(dir / "memo_KOI8-R.odt", "content.xml").find(AsStored(Iconv("KOI8-R", russian))),
              std::string::npos);

    WritePackage(dir / "short.odt",
                 Odt(styles, R"(<text:p><text:span text:style-name="T1">)" + AsStored(Iconv("CP866", "Жук")) +
                                 "</text:span></text:p>"),
                 true);
    const RunResult unsure = Varnex(
        {"-f", "auto", "-t", "KOI8-R", (dir / "short.odt").string(), "-o", (dir / "short-out.odt").string()});
    EXPECT_EQ(unsure.exitCode, 1);
    EXPECT_NE(unsure.err.find("short.odt: cannot tell which font the text of Kiril Times is in"),
              std::string::npos)
        << unsure.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "short-out.odt"));
}

TEST(CliDetect, DocumentFontsConvertOnceEachWhateverTheirNamesAndSymbolsAndMixedTextAreToldApart) {
    TempDir dir;
    const std::string russian = kRussian.substr(0, kRussian.size() - 1);
    // the target's name is one of the document's fonts, whose own text converts from another font
    WritePackage(dir / "two.docx", Docx(WordRun("Kiril Times", AsStored(Iconv("KOI8-R", russian))) +
                                        WordRun("Times New Roman", AsStored(Iconv("CP1251", russian)))));
    const RunResult two = Varnex({"-f", "auto", "-t", "CP866", "--target-doc-font", "Times New Roman",
                                  (dir / "two.docx").string(), "-o", (dir / "two-out.docx").string()});
    ASSERT_EQ(two.exitCode, 0) << two.err;
    const std::string cp866 = AsStored(Iconv("CP866", russian));
    const std::string body = PartOf(dir / "two-out.docx", "word/document.xml");
    EXPECT_EQ(body.substr(body.find("<w:body>")), "<w:body>" + WordRun("Times New Roman", cp866) +
                                                      WordRun("Times New Roman", cp866) +
                                                      "</w:body></w:document>");
    // two names that match as one, in different fonts: refused, nothing written
    WritePackage(dir / "same.docx", Docx(WordRun("Kiril Times", AsStored(Iconv("KOI8-R", russian))) +
                                         WordRun("KirilTimes", AsStored(Iconv("CP1251", russian)))));
    const RunResult same = Varnex(
        {"-f", "auto", "-t", "UTF-8", (dir / "same.docx").string(), "-o", (dir / "same-out.docx").string()});
    EXPECT_EQ(same.exitCode, 1);
    EXPECT_NE(same.err.find("are one name, but their text is in"), std::string::npos) << same.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "same-out.docx"));

    // Unicode text with Wingdings symbols has nothing to convert
    WritePackage(dir / "signs.docx",
                 Docx(WordRun("Times New Roman", russian) +
                      WordRun("Wingdings", "\xEF\x83\xA0\xEF\x81\x8A\xEF\x83\xBC\xEF\x81\x81")));
    const RunResult signs = Varnex({"-f", "auto", "-t", "UTF-8", (dir / "signs.docx").string(), "-o",
                                    (dir / "signs-out.docx").string()});
    ASSERT_EQ(signs.exitCode, 0) << signs.err;
    EXPECT_NE(signs.err.find("no text in a font of the map to convert; copied unchanged"), std::string::npos);
    EXPECT_EQ(ReadFile(dir / "signs-out.docx"), ReadFile(dir / "signs.docx"));

    // Russian with as many English letters converts; with --doc-font only the fonts it names do
    const std::string mixed = "Нажмите кнопку «Пуск» / Press the Start button, затем выберите файл.";
    WritePackage(dir / "mixed.docx", Docx(WordRun("Arial Cyr", AsStored(Iconv("CP1251", mixed))) +
                                          WordRun("Kiril Times", AsStored(Iconv("KOI8-R", russian)))));
    const RunResult both = Varnex({"-f", "auto", "-t", "UTF-8", (dir / "mixed.docx").string(), "-o",
                                   (dir / "mixed-out.docx").string()});
    ASSERT_EQ(both.exitCode, 0) << both.err;
    const std::string converted = PartOf(dir / "mixed-out.docx", "word/document.xml");
    EXPECT_NE(converted.find(mixed), std::string::npos) << converted;
    EXPECT_NE(converted.find(russian), std::string::npos);
    const RunResult one = Varnex({"-f", "auto", "-t", "UTF-8", "--doc-font", "Arial Cyr",
                                  (dir / "mixed.docx").string(), "-o", (dir / "one-out.docx").string()});
    ASSERT_EQ(one.exitCode, 0) << one.err;
    const std::string only = PartOf(dir / "one-out.docx", "word/document.xml");
    EXPECT_NE(only.find(mixed), std::string::npos);
    EXPECT_NE(only.find(WordRun("Kiril Times", AsStored(Iconv("KOI8-R", russian)))), std::string::npos);
}

}  // namespace
}  // namespace varnex::test
