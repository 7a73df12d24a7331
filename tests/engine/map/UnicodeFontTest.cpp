#include <gtest/gtest.h>

#include "map/FontNameMatch.h"

namespace varnex {
namespace {

TEST(UnicodeFont, IsNamedUtf8AsTypedNamesMatch) {
    for (const char* name : {"UTF-8", "utf8", "Utf 8", "UTF_8"}) EXPECT_TRUE(IsUnicodeFont(name)) << name;
    for (const char* name : {"UTF-16", "KOI8-R", "", "UTF-8 Latin"})
        EXPECT_FALSE(IsUnicodeFont(name)) << name;
}

}  // namespace
}  // namespace varnex
