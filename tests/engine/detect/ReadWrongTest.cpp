// Text read in the wrong font and saved again: both chains named, and right text never.
#include <gtest/gtest.h>

#include "DetectSupport.h"

namespace varnex {
namespace {

using test::In;
using test::ShippedDetector;

// What a program shows when it reads `bytes` as `font`, saved as UTF-8.
std::string ReadAsSaved(const std::string& font, const std::string& bytes) {
    FontMap pair;
    BuildPairMap(test::ShippedMap(), font, "UTF-8", pair);
    std::string saved;
    for (const char byte : bytes) saved += pair.Entry(static_cast<unsigned char>(byte));
    return saved;
}

TEST(ReadWrong, UnicodeReadAsWindows1251AndSavedAgainIsNamed) {
    const std::string mojibake = ReadAsSaved("Windows-1251", test::kRussian);  // "Р’РµС‡РµСЂРѕРј..."
    const Detection found = ShippedDetector().Detect(mojibake);
    ASSERT_TRUE(found.readWrong);
    EXPECT_EQ(found.readWrong->typed, "UTF-8");
    EXPECT_EQ(found.readWrong->readAs, "Windows-1251");
    EXPECT_EQ(found.readWrong->stored, "UTF-8");
}

TEST(ReadWrong, Koi8ReadAsWindows1251AndSavedAsUnicodeIsNamed) {
    const std::string inverted = ReadAsSaved("Windows-1251", In("KOI8-R", test::kRussian));  // case inverted
    const Detection found = ShippedDetector().Detect(inverted);
    ASSERT_TRUE(found.readWrong);
    EXPECT_EQ(found.readWrong->typed, "KOI8-R");
    EXPECT_EQ(found.readWrong->readAs, "Windows-1251");
}

TEST(ReadWrong, RightTextNeverLooksReadWrong) {
    for (const char* text : {test::kRussian, test::kUkrainian, test::kBelarusian, test::kBulgarian,
                             test::kSerbian, test::kMacedonian}) {
        EXPECT_FALSE(ShippedDetector().Detect(text).readWrong) << text;
        for (const char* page : {"KOI8-U", "Windows-1251", "CP866", "ISO-8859-5", "Mac Cyrillic", "CP855"}) {
            EXPECT_FALSE(ShippedDetector().Detect(In(page, text)).readWrong) << page << ": " << text;
        }
    }
}

}  // namespace
}  // namespace varnex
