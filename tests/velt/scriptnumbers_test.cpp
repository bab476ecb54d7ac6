// The script's number reading: how far a word is read and what it gives.
#include "velt/scriptnumbers.h"

#include <cmath>
#include <gtest/gtest.h>

using VELT::ScriptNumbers;

TEST(ScriptNumbers, IntegerReadingStopsAtTheFirstNonDigit)
{
    std::size_t used = 99;
    EXPECT_EQ(ScriptNumbers::readInteger("-42abc", &used), -42);
    EXPECT_EQ(used, 3u);
    EXPECT_EQ(ScriptNumbers::readInteger("+", &used), 0);
    EXPECT_EQ(used, 0u);
    EXPECT_EQ(ScriptNumbers::readInteger("", &used), 0);
    EXPECT_EQ(ScriptNumbers::readInteger("1.9"), 1);
    EXPECT_EQ(ScriptNumbers::readInteger("\v5"), 0);  // no leading blanks in a word's reading
}

TEST(ScriptNumbers, IntegerOutsideThirtyTwoBitsSaturates)
{
    bool outOfRange = false;
    EXPECT_EQ(ScriptNumbers::readInteger("2147483647", nullptr, &outOfRange), 2147483647);
    EXPECT_FALSE(outOfRange);
    EXPECT_EQ(ScriptNumbers::readInteger("-2147483648", nullptr, &outOfRange), -2147483647 - 1);
    EXPECT_FALSE(outOfRange);
    EXPECT_EQ(ScriptNumbers::readInteger("2147483648", nullptr, &outOfRange), 2147483647);
    EXPECT_TRUE(outOfRange);
    EXPECT_EQ(ScriptNumbers::readInteger("-2147483649", nullptr, &outOfRange), -2147483647 - 1);
    EXPECT_TRUE(outOfRange);
    EXPECT_EQ(ScriptNumbers::readInteger(std::string(500, '9'), nullptr, &outOfRange), 2147483647);
    EXPECT_TRUE(outOfRange);
}

TEST(ScriptNumbers, RealReadingFollowsTheDecimalForm)
{
    std::size_t used = 0;
    EXPECT_EQ(ScriptNumbers::readReal("1.5e3x", &used), 1500.0);
    EXPECT_EQ(used, 5u);
    EXPECT_EQ(ScriptNumbers::readReal("2e", &used), 2.0);  // an exponent needs digits
    EXPECT_EQ(used, 1u);
    EXPECT_EQ(ScriptNumbers::readReal("-.25", &used), -0.25);
    EXPECT_EQ(ScriptNumbers::readReal("+7.", &used), 7.0);
    EXPECT_EQ(used, 3u);
    EXPECT_EQ(ScriptNumbers::readReal(".", &used), 0.0);
    EXPECT_EQ(used, 0u);
}

TEST(ScriptNumbers, RealReadingKnowsNoSpecialWords)
{
    EXPECT_EQ(ScriptNumbers::readReal("inf"), 0.0);
    EXPECT_EQ(ScriptNumbers::readReal("nan"), 0.0);
    EXPECT_EQ(ScriptNumbers::readReal("0x10"), 0.0);
    EXPECT_EQ(ScriptNumbers::readReal("1e400"), HUGE_VAL);
    EXPECT_EQ(ScriptNumbers::readReal("-1e400"), -HUGE_VAL);
    EXPECT_EQ(ScriptNumbers::readReal("1e-400"), 0.0);
}
