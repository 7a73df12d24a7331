#include <gtest/gtest.h>

#include <functional>

#include "Failure.h"
#include "TestDatabase.h"
#include "jobs/QuickConvert.h"

using namespace std::string_literals;

namespace varnex {
namespace {

using test::ScriptedDialogs;

class FakeClipboard : public CodeClipboard {
public:
    std::string ReadCodes() override {
        if (readFails) throw Failure(kTypeMismatch, "no 8-bit code");
        return text;
    }
    void Replace(std::string_view codes) override {
        if (replaceFails) throw Failure(kDeviceError, "the clipboard is taken");
        text = codes;
        ++replacements;
    }
    // Unicode text is kept here as UTF-8, and `unicode` tells in which form it was last taken
    // or given.
    std::string ReadUtf8() override {
        readUnicode = true;
        return text;
    }
    void ReplaceUtf8(std::string_view utf8) override {
        Replace(utf8);
        wroteUnicode = true;
    }
    std::string text;
    bool readUnicode = false;
    bool wroteUnicode = false;
    bool readFails = false;
    bool replaceFails = false;
    int replacements = 0;
};

const char kFailureText[] = "Sorry while conversion of coppied data, an error occured. Please try again.";

struct QuickConvertTest : ::testing::Test {
    QuickOutcome Run(const std::string& source = "Abc", const std::string& target = "Xyz") {
        return QuickConvert(map, {source, target,
                                  [this](FontMap& m) {
                                      ++loads;
                                      m.Clear();
                                      fill(m);
                                      return loadSucceeds;
                                  },
                                  [this] {
                                      ++yields;
                                      yieldedWithOldText = clipboard.text == oldText;
                                  },
                                  clipboard, dialogs});
    }
    void Put(const std::string& text) { clipboard.text = oldText = text; }

    std::function<void(FontMap&)> fill = [](FontMap& m) {
        for (int c = 32; c < 127; ++c) m.Set(c, std::string(1, char(c ^ 0x20)));
        m.Set(0x80, "\xFF\x01");
    };
    FontMap map;
    FakeClipboard clipboard;
    ScriptedDialogs dialogs;
    std::string oldText;
    bool loadSucceeds = true;
    bool yieldedWithOldText = false;
    int loads = 0;
    int yields = 0;
};

TEST_F(QuickConvertTest, ConvertsTheWholeTextAndNamesTheFontsInUpperCase) {
    Put(" ab\x80 ");
    EXPECT_EQ(Run("koi8-R", "Mac Cyrillic"), QuickOutcome::Finished);
    EXPECT_EQ(clipboard.text, "\0AB\xFF\x01\0"s) << "leading and trailing spaces are converted too";
    EXPECT_EQ(clipboard.replacements, 1);
    EXPECT_EQ(yields, 1);
    EXPECT_TRUE(yieldedWithOldText) << "the user's text stays until the converted one replaces it";
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "The clipboard was converted from font KOI8-R to MAC CYRILLIC");
    EXPECT_EQ(dialogs.shown[0].title, "Varnex 2010");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Information);
    EXPECT_FALSE(dialogs.shown[0].systemModal);
}

TEST_F(QuickConvertTest, FontNamesOfAnyScriptAreShownInUpperCase) {
    Put("a");
    EXPECT_EQ(Run("Мой шрифт", "Ελληνικά-2"), QuickOutcome::Finished);
    EXPECT_EQ(dialogs.shown.at(0).text, "The clipboard was converted from font МОЙ ШРИФТ to ΕΛΛΗΝΙΚΆ-2");
}

TEST_F(QuickConvertTest, WarnsWithoutTouchingTheClipboard) {
    struct Case {
        std::string source, target, text, warning;
        int loads;
    };
    const Case cases[] = {
        {"Abc", "Abc", "hello", "Please select a different font for conversion.", 0},
        {"Abc", "Xyz", "", "Nothing coppied to the clipboard.", 1},
        {"Abc", "Xyz", "     ", "Nothing coppied to the clipboard.", 1},
    };
    for (const auto& c : cases) {
        dialogs.shown.clear();
        loads = 0;
        Put(c.text);
        EXPECT_EQ(Run(c.source, c.target), QuickOutcome::Warned) << c.warning;
        EXPECT_EQ(loads, c.loads);
        EXPECT_EQ(clipboard.replacements, 0);
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].text, c.warning);
        EXPECT_EQ(dialogs.shown[0].title, "Varnex 2010");
        EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Exclamation);
    }
}

TEST_F(QuickConvertTest, FontNamesCompareWithLetterCase) {
    Put("a");
    EXPECT_EQ(Run("abc", "ABC"), QuickOutcome::Finished);
    EXPECT_EQ(clipboard.text, "A");
}

TEST_F(QuickConvertTest, TabsAndLineBreaksAreTextEvenWithoutEntries) {
    Put("\r\n");
    EXPECT_EQ(Run(), QuickOutcome::Finished);
    EXPECT_EQ(clipboard.text, "") << "no entries for 13 and 10";
    EXPECT_EQ(clipboard.replacements, 1);
    EXPECT_EQ(dialogs.shown.at(0).icon, MessageIcon::Information);
}

TEST_F(QuickConvertTest, FailuresKeepTheUsersText) {
    struct Case {
        const char* what;
        std::string text;
        bool readFails, replaceFails;
    };
    const Case cases[] = {
        {"a code without an entry", std::string("ab\0c", 4), false, false},
        {"over 32,766 characters", std::string(32767, 'a'), false, false},
        {"a character without an 8-bit code", "a", true, false},
        {"the clipboard refuses the new text", "abc", false, true},
    };
    for (const auto& c : cases) {
        dialogs.shown.clear();
        Put(c.text);
        clipboard.readFails = c.readFails;
        clipboard.replaceFails = c.replaceFails;
        EXPECT_EQ(Run(), QuickOutcome::Finished) << c.what;
        EXPECT_EQ(clipboard.text, c.text) << c.what;
        ASSERT_EQ(dialogs.shown.size(), 1u) << c.what;
        EXPECT_EQ(dialogs.shown[0].text, kFailureText);
        EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Critical);
        EXPECT_EQ(dialogs.shown[0].title, "Varnex 2010");
    }
}

TEST_F(QuickConvertTest, LongestTextIs32766) {
    Put(std::string(32766, 'a'));
    EXPECT_EQ(Run(), QuickOutcome::Finished);
    EXPECT_EQ(clipboard.text, std::string(32766, 'A'));
    EXPECT_NE(dialogs.shown.at(0).text, kFailureText);
}

TEST_F(QuickConvertTest, AFailedMapLoadShowsNothingMore) {
    Put("abc");
    loadSucceeds = false;
    EXPECT_EQ(Run(), QuickOutcome::Abandoned);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(clipboard.text, "abc");
}

// Ж and Я between a Unicode font and one of codes.
void FillUnicodeToCodes(FontMap& m) {
    m.ReadUtf8();
    for (int c = 32; c < 127; ++c) m.Set(c, std::string(1, char(c)));
    m.SetCharacter(0x416, "\xF6");
    m.SetCharacter(0x42F, "\xF1");
}

TEST_F(QuickConvertTest, AUnicodeSourceTakesTheClipboardsCharactersAsTheyAre) {
    fill = FillUnicodeToCodes;
    Put("\xD0\x96 \xD0\xAF!");  // "Ж Я!", refused through the 8-bit bridge
    EXPECT_EQ(Run("UTF-8", "KOI8-R"), QuickOutcome::Finished);
    EXPECT_TRUE(clipboard.readUnicode);
    EXPECT_FALSE(clipboard.wroteUnicode);
    EXPECT_EQ(clipboard.text, "\xF6 \xF1!");
    EXPECT_EQ(dialogs.shown.at(0).text, "The clipboard was converted from font UTF-8 to KOI8-R");
}

TEST_F(QuickConvertTest, AUnicodeTargetPutsUnicodeOnTheClipboard) {
    fill = [](FontMap& m) {
        m.Set(0xF6, "\xD0\x96");
        m.Set(' ', " ");
    };
    Put("\xF6 \xF6");
    EXPECT_EQ(Run("KOI8-R", "utf8"), QuickOutcome::Finished);
    EXPECT_FALSE(clipboard.readUnicode);
    EXPECT_TRUE(clipboard.wroteUnicode);
    EXPECT_EQ(clipboard.text, "\xD0\x96 \xD0\x96");
}

TEST_F(QuickConvertTest, AUnicodeSourceCountsCharactersAndRefusesOnesWithoutAnEntry) {
    fill = FillUnicodeToCodes;
    std::string zhe;
    for (int i = 0; i < 32766; ++i) zhe += "\xD0\x96";
    Put(zhe);
    EXPECT_EQ(Run("UTF-8", "KOI8-R"), QuickOutcome::Finished);
    EXPECT_EQ(clipboard.text, std::string(32766, '\xF6')) << "32,766 characters in 65,532 bytes";
    for (const std::string& text : {zhe + "\xD0\x96", "a\xD0\x91"s}) {  // one more; Б has no entry
        dialogs.shown.clear();
        Put(text);
        EXPECT_EQ(Run("UTF-8", "KOI8-R"), QuickOutcome::Finished);
        EXPECT_EQ(clipboard.text, text);
        EXPECT_EQ(dialogs.shown.at(0).text, kFailureText);
    }
}

TEST(ConvertQuickText, NamesThePositionWithoutAnEntry) {
    FontMap map;
    map.Set(97, "b");
    try {
        ConvertQuickText(std::string("aa\0", 3), map);
        FAIL() << "code 0 has no entry";
    } catch (const Failure& failure) {
        EXPECT_NE(failure.Description().find("position 3"), std::string::npos) << failure.Description();
    }
}

}  // namespace
}  // namespace varnex
