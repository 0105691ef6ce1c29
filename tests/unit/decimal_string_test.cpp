#include "framework/afxstr.h"

#include <gtest/gtest.h>

TEST(DecimalString, WritesEveryDigitWithoutPadding)
{
    EXPECT_EQ(DecimalString(0), L"0");
    EXPECT_EQ(DecimalString(7), L"7");
    EXPECT_EQ(DecimalString(180000), L"180000");
    EXPECT_EQ(DecimalString(4294967295ull), L"4294967295");
    EXPECT_EQ(DecimalString(18446744073709551615ull), L"18446744073709551615");
}

TEST(SignedDecimalString, WritesTheSignOfNegativeNumbersOnly)
{
    EXPECT_EQ(SignedDecimalString(0), L"0");
    EXPECT_EQ(SignedDecimalString(42), L"42");
    EXPECT_EQ(SignedDecimalString(-10), L"-10");
    EXPECT_EQ(SignedDecimalString(9223372036854775807LL), L"9223372036854775807");
    EXPECT_EQ(SignedDecimalString(-9223372036854775807LL - 1), L"-9223372036854775808");
}
