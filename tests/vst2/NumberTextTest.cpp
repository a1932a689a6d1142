#include "vst2/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace velmora {
namespace {

struct FloatCase {
    float value;
    const char* text;
};

TEST(NumberText, FloatTextHasEightCharactersWithTruncatedDigits) {
    const FloatCase cases[] = {
        {0.5f, "0.500000"},       {12.5f, "12.50000"},        {-6.0206f, "-6.02059"},
        {0.01f, "0.009999"},      {100.0f, "100.0000"},       {0.0f, "0.000000"},
        {-0.0f, "0.000000"},      {-0.001f, "-0.00100"},      {16000.0f, "16000.00"},
        {1234567.0f, "1234567."}, {12345678.0f, "12345678."}, {-9999999.0f, "-9999999."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(floatText(c.value), c.text) << c.value;
}

TEST(NumberText, FloatTextOutOfRangeAndNonFinite) {
    EXPECT_EQ(floatText(1.0e8f), "Huge!");
    EXPECT_EQ(floatText(-10000000.0f), "Huge!");
    EXPECT_EQ(floatText(std::numeric_limits<float>::infinity()), "Huge!");
    EXPECT_EQ(floatText(-std::numeric_limits<float>::infinity()), "Huge!");
    EXPECT_EQ(floatText(std::numeric_limits<float>::max()), "Huge!");
    EXPECT_EQ(floatText(std::nanf("")), "NaN");
}

TEST(NumberText, DbTextOfLinearGain) {
    EXPECT_EQ(dbText(0.0f), "-oo");
    EXPECT_EQ(dbText(-1.0f), "-oo");
    EXPECT_EQ(dbText(1.0f), "0.000000");
    EXPECT_EQ(dbText(4.0f), "12.04120");
    EXPECT_EQ(dbText(0.25f), "-12.0412");
    EXPECT_EQ(dbText(std::numeric_limits<float>::infinity()), "Huge!");
}

TEST(NumberText, IntText) {
    EXPECT_EQ(intText(0), "0");
    EXPECT_EQ(intText(-5), "-5");
    EXPECT_EQ(intText(16000), "16000");
    EXPECT_EQ(intText(99999999), "99999999");
    EXPECT_EQ(intText(100000000), "Huge!");
    EXPECT_EQ(intText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(NumberText, HertzAndMillisecondsOfASampleCount) {
    EXPECT_EQ(hertzText(441.0f, 44100.0f), "100.0000");
    EXPECT_EQ(millisecondsText(441.0f, 44100.0f), "10.00000");
    EXPECT_EQ(hertzText(0.0f, 44100.0f), "0.000000");
    EXPECT_EQ(millisecondsText(441.0f, 0.0f), "0.000000");
    EXPECT_EQ(hertzText(1.0f, 1e9f), "Huge!");
}

TEST(NumberText, WritersCutToMaximumLengthAndTerminate) {
    char buffer[32];
    std::memset(buffer, '#', sizeof buffer);
    writeIntText(std::numeric_limits<std::int64_t>::min(), buffer);
    EXPECT_STREQ(buffer, "-92233720368");
    EXPECT_EQ(buffer[13], '#'); // nothing written past the terminator

    writeFloatText(0.5f, buffer, 3);
    EXPECT_STREQ(buffer, "0.5");
    writeDbText(0.0f, buffer, 0);
    EXPECT_STREQ(buffer, "");
    writeBoundedText("abc", buffer, -4);
    EXPECT_STREQ(buffer, "");
}

TEST(NumberText, SaturatingTrunc) {
    EXPECT_EQ(saturatingTrunc(-2.7), -2);
    EXPECT_EQ(saturatingTrunc(2.7), 2);
    EXPECT_EQ(saturatingTrunc(std::nan("")), 0);
    EXPECT_EQ(saturatingTrunc(1e20), std::numeric_limits<int>::max());
    EXPECT_EQ(saturatingTrunc(-1e20), std::numeric_limits<int>::min());
}

} // namespace
} // namespace velmora
