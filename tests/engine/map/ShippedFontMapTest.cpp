// The shipped font map against glibc's iconv, an implementation nobody here wrote.
#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>
#include <vector>

#include "ShippedCodePages.h"
#include "TestDatabase.h"
#include "convert/ConvertChunk.h"
#include "map/FontLoaders.h"
#include "text/ByteSink.h"

namespace varnex {
namespace {

const std::filesystem::path kShipped = VARNEX_SHIPPED_FONT_MAP;

using test::CodePage;
using test::kCodePages;
const char kTranslit[] = "GOST 7.79-B Latin";
const char kUnicode[] = "UTF-8";

// iconv of one character; nullopt when iconv cannot convert it (as -c drops it).
std::optional<std::string> Iconv(const char* from, const char* to, const std::string& character) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv_open ") + from + to);
    std::string in = character;
    char out[16];
    char* inPtr = in.data();
    char* outPtr = out;
    size_t inLeft = in.size(), outLeft = sizeof out;
    const size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    size_t flushLeft = outLeft;
    iconv(cd, nullptr, nullptr, &outPtr, &flushLeft);
    iconv_close(cd);
    if (result == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
    return std::string(out, outPtr);
}

std::optional<std::string> Iconv(const char* from, const char* to, unsigned char byte) {
    return Iconv(from, to, std::string(1, static_cast<char>(byte)));
}

std::string Convert(const std::string& source, const std::string& target, const std::string& text) {
    FontMap map;
    LoadFontMap(kShipped, source, target, map);
    StringSink out;
    ConvertChunk(text, map, out);
    return out.Text();
}

TEST(ShippedFontMap, ListsTheFonts) {
    const auto fonts = LoadFontList(kShipped);
    ASSERT_EQ(fonts.size(), kCodePages.size() + 2);
    for (std::size_t i = 0; i < kCodePages.size(); ++i) EXPECT_EQ(fonts[i], kCodePages[i].font);
    EXPECT_EQ(fonts[kCodePages.size()], kTranslit);
    EXPECT_EQ(fonts.back(), kUnicode);
}

TEST(ShippedFontMap, EveryCodeConvertsToUnicodeAsIconvDoes) {
    for (const auto& from : kCodePages) {
        FontMap map;
        LoadFontMap(kShipped, from.font, kUnicode, map);
        for (int byte = 1; byte < 256; ++byte) {
            EXPECT_EQ(std::string(map.Entry(byte)),
                      Iconv(from.iconvName, "UTF-8", static_cast<unsigned char>(byte)).value_or(""))
                << from.font << ", byte " << byte;
        }
    }
}

// Every character of every code page in one UTF-8 text, back to each code page: what iconv -c
// gives, character by character, since -c drops what a code page lacks.
TEST(ShippedFontMap, UnicodeTextConvertsToEveryCodePageAsIconvDoes) {
    std::vector<std::string> characters;
    for (const auto& page : kCodePages) {
        for (int byte = 1; byte < 256; ++byte) {
            if (const auto c = Iconv(page.iconvName, "UTF-8", static_cast<unsigned char>(byte)))
                characters.push_back(*c);
        }
    }
    std::string text;
    for (const auto& c : characters) text += c;
    for (const auto& to : kCodePages) {
        std::string expected;
        for (const auto& c : characters) expected += Iconv("UTF-8", to.iconvName, c).value_or("");
        EXPECT_EQ(Convert(kUnicode, to.font, text), expected) << to.font;
    }
}

TEST(ShippedFontMap, EveryByteOfEveryPairConvertsAsIconvDoes) {
    int compared = 0;
    for (const auto& from : kCodePages) {
        for (const auto& to : kCodePages) {
            if (&from == &to) continue;
            FontMap map;
            LoadFontMap(kShipped, from.font, to.font, map);
            for (int byte = 1; byte < 256; ++byte) {
                if (!Iconv(from.iconvName, "UTF-8", static_cast<unsigned char>(byte))) continue;
                const std::string expected =
                    Iconv(from.iconvName, to.iconvName, static_cast<unsigned char>(byte)).value_or("");
                EXPECT_EQ(std::string(map.Entry(byte)), expected)
                    << from.font << " -> " << to.font << ", byte " << byte;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 72 * 200);
}

TEST(ShippedFontMap, TransliterationWritesSeveralCodesPerLetter) {
    // "Жук щука, Я!" in KOI8-R
    EXPECT_EQ(Convert("KOI8-R", kTranslit, "\xF6\xD5\xCB \xDD\xD5\xCB\xC1, \xF1!\r\n"),
              "Zhuk shhuka, Ya!\r\n");
    EXPECT_EQ(Convert("Windows-1251", kTranslit, "\xB2\xE3\xEE\xF0"), "Igor");  // "Ігор"
}

TEST(ShippedFontMap, TransliterationAsSourceKeepsLatinText) {
    std::string ascii;
    for (int c = 1; c < 128; ++c) ascii += static_cast<char>(c);
    EXPECT_EQ(Convert(kTranslit, "KOI8-R", ascii), ascii);
    EXPECT_EQ(Convert(kTranslit, "CP866", "\xC0\xFF"), "") << "the Latin font has no codes above 127";
}

}  // namespace
}  // namespace varnex
