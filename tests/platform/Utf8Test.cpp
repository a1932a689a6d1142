// Stored texts become paths, so malformed UTF-8 is refused in each of its forms.
#include "platform/Utf8.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using platform::isValidUtf8;

TEST(Utf8, AcceptsEveryLengthOfWellFormedCharacter) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("/home/user/Presets/"));
    EXPECT_TRUE(isValidUtf8("J\xC3\xBCrgen"));         // ü, two bytes
    EXPECT_TRUE(isValidUtf8("\xE2\x82\xAC 5"));        // €, three bytes
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x8E\xB9 keys")); // a musical keyboard, four bytes
    EXPECT_TRUE(isValidUtf8("\xF4\x8F\xBF\xBF"));      // U+10FFFF, the last one
}

TEST(Utf8, RefusesMalformedSequences) {
    EXPECT_FALSE(isValidUtf8("\x80"));             // a continuation byte alone
    EXPECT_FALSE(isValidUtf8("caf\xC3"));          // cut short at the end
    EXPECT_FALSE(isValidUtf8("\xE2\x82 x"));       // cut short in the middle
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));         // '/' in two bytes: overlong
    EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));     // '/' in three bytes: overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));     // a surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xFF"));             // no such lead byte
}

} // namespace
} // namespace velmora
