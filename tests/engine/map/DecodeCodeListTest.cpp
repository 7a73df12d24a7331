#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Failure.h"
#include "map/DecodeCodeList.h"

namespace varnex {
namespace {

using ::testing::HasSubstr;

std::string Repeat(const std::string& piece, int count) {
    std::string list;
    for (int i = 0; i < count; ++i) list += (i ? "," : "") + piece;
    return list;
}

TEST(DecodeCodeList, GivesOneCharacterPerCodeInListOrder) {
    EXPECT_EQ(DecodeCodeList("100,201"), std::string("\x64\xC9"));
    EXPECT_EQ(DecodeCodeList("65"), "A");
    EXPECT_EQ(DecodeCodeList("0"), std::string(1, '\0'));
    EXPECT_EQ(DecodeCodeList(" 72 ,  105"), "Hi");
    EXPECT_EQ(DecodeCodeList("255"), "\xFF");
    EXPECT_EQ(DecodeCodeList(Repeat("7", 255)).size(), 255u);
}

TEST(DecodeCodeList, ReadsAnyCountOfDigits) {
    EXPECT_EQ(DecodeCodeList("0000000065,00000000000000000000000000000066"), "AB");
    EXPECT_EQ(DecodeCodeList(" 0000000000 "), std::string(1, '\0'));
    for (const char* list : {"0000000256", "18446744073709551681", "99999999999999999999999999999999"}) {
        try {
            DecodeCodeList(list);
            FAIL() << list << " accepted";
        } catch (const Failure& failure) {
            EXPECT_THAT(failure.Description(), HasSubstr(std::string("code ") + list + ",")) << list;
        }
    }
    EXPECT_THROW(DecodeCodeList("999999999999999999999x"), Failure)
        << "digits past the range are still checked";
}

TEST(DecodeCodeList, RejectsListsThatAreNotCodes) {
    for (const char* list : {"", ",", "1,,2", "1,", " ", "a", "6 5", "-1", "+1", "1.5", "0x41"}) {
        EXPECT_THROW(DecodeCodeList(list), Failure) << '"' << list << '"';
    }
}

TEST(DecodeCodeList, RejectsCodesOutOfRangeAndTooManyPieces) {
    EXPECT_THROW(DecodeCodeList("256"), Failure);
    EXPECT_THROW(DecodeCodeList("1,99999999999999"), Failure);
    try {
        DecodeCodeList(Repeat("7", 256));
        FAIL() << "256 pieces accepted";
    } catch (const Failure& failure) {
        EXPECT_THAT(failure.Description(), HasSubstr("more than 255"));
    }
}

TEST(DecodeCodeList, FailureNamesTheListAndThePiece) {
    try {
        DecodeCodeList("65,x7");
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_THAT(failure.Description(), HasSubstr("\"65,x7\""));
        EXPECT_THAT(failure.Description(), HasSubstr("\"x7\""));
    }
}

}  // namespace
}  // namespace varnex
