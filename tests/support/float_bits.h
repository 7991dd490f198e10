#pragma once
// Bit-for-bit float comparison for tests: on failure both values are shown in
// decimal and as their IEEE-754 bit patterns.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

inline std::uint32_t FloatBits(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline float FloatFromBits(std::uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline ::testing::AssertionResult SameBits(const char* actualText, const char* expectedText,
                                           float actual, float expected)
{
    if (FloatBits(actual) == FloatBits(expected))
        return ::testing::AssertionSuccess();
    char detail[160];
    std::snprintf(detail, sizeof detail, "%.9g (0x%08x) but expected %.9g (0x%08x)", actual,
                  (unsigned)FloatBits(actual), expected, (unsigned)FloatBits(expected));
    return ::testing::AssertionFailure() << actualText << " is " << detail << " = " << expectedText;
}

// EXPECT_SAME_BITS(actual, expected): the two floats have the same bit pattern.
#define EXPECT_SAME_BITS(actual, expected) EXPECT_PRED_FORMAT2(SameBits, actual, expected)
