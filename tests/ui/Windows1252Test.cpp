#include <gtest/gtest.h>
#include <iconv.h>

#include <set>

#include "Windows1252.h"

namespace varnex {
namespace {

// glibc's own table, for the codes Windows-1252 assigns.
QString IconvCharacter(unsigned char code) {
    iconv_t cd = iconv_open("UTF-8", "WINDOWS-1252");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    char in[1] = {static_cast<char>(code)};
    char out[8] = {};
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<size_t>(-1)) return {};
    return QString::fromUtf8(out, outPtr - out);
}

TEST(Windows1252, EveryCodeGoesToItsCharacterAndBack) {
    const std::set<int> unassigned = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
    for (int code = 0; code < 256; ++code) {
        const std::string codes(1, static_cast<char>(code));
        const QString text = ui::FromWindows1252(codes);
        ASSERT_EQ(text.size(), 1) << code;
        if (unassigned.count(code)) {
            EXPECT_EQ(text[0].unicode(), code) << "unassigned codes pass as the control of that number";
        } else {
            EXPECT_EQ(text, IconvCharacter(static_cast<unsigned char>(code))) << code;
        }
        EXPECT_EQ(ui::ToWindows1252(text), codes) << code;
    }
}

TEST(Windows1252, CharactersOutsideTheCodePageHaveNoCode) {
    EXPECT_EQ(ui::ToWindows1252(QString::fromUtf8("€ é ÿ")), "\x80 \xE9 \xFF");
    EXPECT_EQ(ui::ToWindows1252(QString::fromUtf8("ab Ж")), std::nullopt);
    EXPECT_EQ(ui::ToWindows1252(QString::fromUtf8("😀")), std::nullopt);
    EXPECT_EQ(ui::ToWindows1252(QString(QChar(0x0100))), std::nullopt);
    EXPECT_EQ(ui::ToWindows1252(QString(QChar(0))), std::string(1, '\0'));
    EXPECT_EQ(ui::ToWindows1252(QString()), "");
}

}  // namespace
}  // namespace varnex
