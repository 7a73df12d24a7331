// Which font a text is in: every language in every code page that writes it, the pairs of code
// pages that other detectors confuse, their published failure cases, and a font of one's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "DetectSupport.h"
#include "TestDatabase.h"
#include "detect/MisreadCheck.h"

namespace varnex {
namespace {

using test::In;
using test::ShippedDetector;

const std::vector<std::string> kCodePages = {"KOI8-R",       "KOI8-U", "Windows-1251", "CP866", "ISO-8859-5",
                                             "Mac Cyrillic", "CP855",  "CP1125",       "MIK"};
const std::vector<const char*> kLanguages = {test::kRussian,   test::kUkrainian, test::kBelarusian,
                                             test::kBulgarian, test::kSerbian,   test::kMacedonian};

std::size_t Characters(const std::string& utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

bool Holds(const Candidate* candidate, const std::string& font) {
    return candidate && std::count(candidate->fonts.begin(), candidate->fonts.end(), font) > 0;
}
bool Holds(const Candidate& candidate, const std::string& font) { return Holds(&candidate, font); }

TEST(Detector, EveryLanguageReadsRightInEveryCodePageThatWritesIt) {
    int checked = 0;
    for (const char* text : kLanguages) {
        for (const auto& page : kCodePages) {
            const std::string bytes = In(page, text);
            if (bytes.size() != Characters(text)) continue;  // the code page lacks a letter
            const Detection found = ShippedDetector().Detect(bytes);
            EXPECT_EQ(found.verdict, Verdict::Font) << page << ": " << text;
            EXPECT_TRUE(Holds(found.Best(), page))
                << page << ": " << text << " read as "
                << (found.Best() ? found.Best()->fonts.front() : "nothing");
            EXPECT_FALSE(found.readWrong) << page << ": " << text;
            ++checked;
        }
        const Detection unicode = ShippedDetector().Detect(text);
        EXPECT_TRUE(Holds(unicode.Best(), "UTF-8")) << text;
    }
    EXPECT_GE(checked, 30);
}

TEST(Detector, ConfusedPairsAreToldApartWhereTheTextTellsAndAreOneAnswerWhereItDoesNot) {
    const auto best = [](const std::string& page, const std::string& text) {
        return *ShippedDetector().Detect(In(page, text)).Best();
    };
    // Russian text reads alike in KOI8-R and KOI8-U, and in CP866 and CP1125
    EXPECT_TRUE(Holds(best("KOI8-U", test::kRussian), "KOI8-R"));
    EXPECT_TRUE(Holds(best("KOI8-U", test::kRussian), "KOI8-U"));
    EXPECT_TRUE(Holds(best("CP866", test::kRussian), "CP1125"));
    // Ukrainian letters tell them apart
    EXPECT_EQ(best("KOI8-U", test::kUkrainian).fonts, std::vector<std::string>{"KOI8-U"});
    EXPECT_EQ(best("CP1125", test::kUkrainian).fonts, std::vector<std::string>{"CP1125"});
    // capitals and я tell Windows-1251 from Mac Cyrillic; small letters alone read alike
    EXPECT_EQ(best("Mac Cyrillic", test::kRussian).fonts.front(), "Mac Cyrillic");
    EXPECT_EQ(best("Windows-1251", test::kRussian).fonts.front(), "Windows-1251");
    const Candidate alike = best("Windows-1251", "вечером мы долго ходили по набережной и говорили о городе");
    EXPECT_TRUE(Holds(alike, "Windows-1251"));
    EXPECT_TRUE(Holds(alike, "Mac Cyrillic"));
}

TEST(Detector, TheFailuresOfOtherDetectors) {
    // a word of four letters: too few to tell, never a confident guess
    EXPECT_EQ(ShippedDetector().Detect(In("Windows-1251", "Жуки")).verdict, Verdict::CannotTell);
    // all capitals in Windows-1251: KOI8-R reads them as small letters in another order
    const std::string capitals = "ВНИМАНИЕ! ЗАВТРА ОТКЛЮЧЕНИЕ ГОРЯЧЕЙ ВОДЫ С 9 ДО 18 ЧАСОВ";
    EXPECT_EQ(ShippedDetector().Detect(In("Windows-1251", capitals)).Best()->fonts.front(), "Windows-1251");
    // the output of a DOS program: box drawing around Russian text
    const std::string shell =
        "╔═══════════════╤══════════╗\n"
        "║ Имя файла     │ Размер   ║\n"
        "╟───────────────┼──────────╢\n"
        "║ ОТЧЕТ.ТХТ     │ 1 024    ║\n"
        "║ письмо.doc    │ 12 288   ║\n"
        "╚═══════════════╧══════════╝\n"
        "Всего файлов: 2, свободно 10 МБ\n";
    const Detection dos = ShippedDetector().Detect(In("CP866", shell));
    EXPECT_EQ(dos.verdict, Verdict::Font);
    EXPECT_TRUE(Holds(dos.Best(), "CP866"));
}

TEST(Detector, PlainAsciiIsTextOfAnyFont) {
    const Detection found = ShippedDetector().Detect("plain text, and nothing else: 42.\n");
    EXPECT_EQ(found.verdict, Verdict::AnyFont);
    ASSERT_EQ(found.candidates.size(), 1u);
    EXPECT_EQ(found.candidates.front().fonts.size(), test::ShippedMap().table.columns.size());
}

// A map with a layout of its own: the Russian small letters from code 0x80 on, in reverse.
LoadedMap OwnLayout() {
    const std::u32string letters = U"абвгдежзийклмнопрстуфхцчшщъыьэюя";
    std::vector<std::vector<std::string>> rows = {
        {"32", "32", "32"}, {"10", "10", "10"}, {"44", "44", "44"}, {"46", "46", "46"}};
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const char32_t c = letters[i];
        const std::string utf8 =
            std::to_string(0xD0 | (c >> 6 & 0x1F)) + "," + std::to_string(0x80 | (c & 0x3F));
        const int own = 0x80 + static_cast<int>(letters.size() - 1 - i);
        const int koi = 0xC0 + static_cast<int>(i);  // a second layout that competes with it
        rows.push_back({std::to_string(own), std::to_string(koi), utf8});
    }
    return {"own.map", test::MakeTable({"Kiril Own", "Other", "UTF-8"}, rows)};
}

TEST(Detector, AFontAddedToAMapIsDetectedWithNoCodeOfItsOwn) {
    const LoadedMap map = OwnLayout();
    const Detector detector(map);
    FontMap pair;
    BuildPairMap(map, "UTF-8", "Kiril Own", pair);
    std::string bytes;
    for (std::size_t i = 0; i < std::string(test::kRussian).size();) {
        const std::string_view text = test::kRussian;
        const char32_t lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : 2;
        const std::string_view entry = lead < 0x80
                                           ? pair.Entry(static_cast<int>(lead))
                                           : pair.CharacterEntry(((lead & 0x1F) << 6) | (text[i + 1] & 0x3F));
        bytes += entry;
        i += length;
    }
    const Detection found = detector.Detect(bytes);
    ASSERT_EQ(found.verdict, Verdict::Font);
    EXPECT_EQ(found.Best()->fonts.front(), "Kiril Own");
    EXPECT_EQ(found.Best()->language, "Russian");
}

TEST(Detector, ConfidencesLieBetweenNoneAndOneAndAddUpToOne) {
    std::mt19937 random(34);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 300);
    for (int round = 0; round < 200; ++round) {
        std::string sample(static_cast<std::size_t>(length(random)), '\0');
        for (char& c : sample) c = static_cast<char>(byte(random));
        const Detection found = ShippedDetector().Detect(sample);
        double sum = 0;
        for (const Candidate& candidate : found.candidates) {
            EXPECT_GE(candidate.confidence, 0.0);
            EXPECT_LE(candidate.confidence, 1.0);
            sum += candidate.confidence;
        }
        if (!found.candidates.empty()) {
            EXPECT_NEAR(sum, 1.0, 1e-9);
        }
    }
}

TEST(Detector, ANamedFontThatReadsWrongIsToldAndOneThatReadsRightNever) {
    EXPECT_EQ(ShippedDetector().ReadsBetterAs(test::kRussian, "KOI8-R"), "UTF-8");
    EXPECT_EQ(ShippedDetector().ReadsBetterAs(In("KOI8-R", test::kRussian), "Windows-1251"), "KOI8-R");
    for (const char* text : kLanguages) {
        EXPECT_FALSE(ShippedDetector().ReadsBetterAs(text, "UTF-8")) << text;
        for (const auto& page : kCodePages) {
            const std::string bytes = In(page, text);
            if (bytes.size() != Characters(text)) continue;
            EXPECT_FALSE(ShippedDetector().ReadsBetterAs(bytes, page)) << page << ": " << text;
        }
    }
}

TEST(Detector, LettersWithoutALanguageAreCannotTell) {
    // eleven letters in every code page, words in none: no font may claim them
    for (const std::string sample :
         {"\xe3\xfd\xfa\xee\xf0\xca\xc7\xd1\xc6\xfe\xe0", "\xf9\xf6\xdc\xf9 \xdc\xc3\xf2\xe9\xf6"}) {
        const Detection found = ShippedDetector().Detect(sample);
        EXPECT_GE(found.letters, Detector::kFewestLetters);
        EXPECT_EQ(found.verdict, Verdict::CannotTell) << found.candidates.front().fonts.front();
    }
}

TEST(Detector, ARunnerUpThatReadsNearlyAsWellIsListedAndNeverWarnedAbout) {
    // Mac Cyrillic and Windows-1251 differ in a few letters: Russian in the one reads a little
    // worse in the other, which is no reason to tell the user that the font is wrong
    const std::string bytes = In("Mac Cyrillic", test::kRussian);
    const Detection found = ShippedDetector().Detect(bytes);
    ASSERT_GE(found.candidates.size(), 2u);
    EXPECT_TRUE(Holds(found.candidates[0], "Mac Cyrillic"));
    EXPECT_TRUE(Holds(found.candidates[1], "Windows-1251"));
    EXPECT_GT(found.candidates[1].confidence, 0.0);
    EXPECT_FALSE(ShippedDetector().ReadsBetterAs(bytes, "Windows-1251"));
    EXPECT_EQ(ShippedDetector().ReadsBetterAs(bytes, "KOI8-R"), "Mac Cyrillic");
}

TEST(Detector, AWarningNeedsEnoughLettersAndOneSureReading) {
    const std::string few = In("KOI8-R", "Привет, мир!");  // nine letters
    EXPECT_FALSE(ShippedDetector().ReadsBetterAs(few, "Windows-1251"));
    EXPECT_EQ(ShippedDetector().ReadsBetterAs(In("KOI8-R", "Привет, мир! Привет, мир!"), "Windows-1251"),
              "KOI8-R");
    // Serbian that Mac Cyrillic and Windows-1251 both read well: not KOI8-R, but which font
    // it is in is not sure enough to name
    const std::string serbian = In("Mac Cyrillic", "Увече смо дуго шетали");
    EXPECT_LT(ShippedDetector().Detect(serbian).candidates.front().confidence, 0.95);
    EXPECT_FALSE(ShippedDetector().ReadsBetterAs(serbian, "KOI8-R"));
}

TEST(Detector, FontsThatReadOneCodeApartAreTwoAnswersWhateverThatCodeIs) {
    // і is the lowest code of this Ukrainian word in KOI8-U, which KOI8-R reads as box drawing
    const std::string word = In("KOI8-U", "білоцерківськійіскрівлі");
    ASSERT_EQ(
        static_cast<unsigned char>(*std::min_element(
            word.begin(), word.end(),
            [](char a, char b) { return static_cast<unsigned char>(a) < static_cast<unsigned char>(b); })),
        0xA6);
    const Detection found = ShippedDetector().Detect(word);
    EXPECT_TRUE(Holds(found.candidates.front(), "KOI8-U"));
    EXPECT_FALSE(Holds(found.candidates.front(), "KOI8-R"));
}

}  // namespace
}  // namespace varnex
