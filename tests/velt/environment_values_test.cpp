// How argument words and times become values: one cell per argument, chosen
// by the declared parameter type.
#include "timelinerecorder.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{
// The cells of one event of type V, declared with the given parameter types.
std::vector<VELT::EventArg> cellsOf(const std::string& types, const std::string& words)
{
    const std::vector<VELT::Event> events =
        timelineOf("begin event V\n" + types + "end\nbegin global\n1 event V " + words + "\nend\n", {"V"});
    EXPECT_EQ(events.size(), 1u);
    return events.empty() ? std::vector<VELT::EventArg>() : events[0].args;
}
}

TEST(EnvironmentValues, BoolIsTrueOnlyForTheExactWord)
{
    const std::vector<VELT::EventArg> cells = cellsOf("bool\nbool\nbool\nbool\n", "true True 1 false");
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_TRUE(cells[0].boolValue);
    EXPECT_FALSE(cells[1].boolValue);
    EXPECT_FALSE(cells[2].boolValue);
    EXPECT_FALSE(cells[3].boolValue);
}

TEST(EnvironmentValues, CharFromApostropheOrLowEightBits)
{
    const std::vector<VELT::EventArg> cells = cellsOf("char\nchar\nchar\nchar\nchar\n", "'A 65 300 'Bcd -1");
    ASSERT_EQ(cells.size(), 5u);
    EXPECT_EQ(cells[0].charValue, 'A');
    EXPECT_EQ(cells[1].charValue, 65);
    EXPECT_EQ(cells[2].charValue, 44);
    EXPECT_EQ(cells[3].charValue, 'B');
    EXPECT_EQ(cells[4].charValue, -1);
}

TEST(EnvironmentValues, ShortKeepsTheLowSixteenBits)
{
    const std::vector<VELT::EventArg> cells = cellsOf("short\nshort\nshort\n", "-2 65537 40000");
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0].shortValue, -2);
    EXPECT_EQ(cells[1].shortValue, 1);
    EXPECT_EQ(cells[2].shortValue, int16_t(40000 - 65536));
}

TEST(EnvironmentValues, IntegersReadAsFarAsTheyGoAndSaturate)
{
    const std::vector<VELT::EventArg> cells =
        cellsOf("int\nint\nint\nint\nint\nint\nint\n", "+12 -7x abc 2147483647 2147483648 -2147483648 -99999999999999");
    ASSERT_EQ(cells.size(), 7u);
    EXPECT_EQ(cells[0].intValue, 12);
    EXPECT_EQ(cells[1].intValue, -7);
    EXPECT_EQ(cells[2].intValue, 0);
    EXPECT_EQ(cells[3].intValue, 2147483647);
    EXPECT_EQ(cells[4].intValue, 2147483647);
    EXPECT_EQ(cells[5].intValue, -2147483647 - 1);
    EXPECT_EQ(cells[6].intValue, -2147483647 - 1);
}

TEST(EnvironmentValues, SaturatedIntegersGiveTheirLowBitsToCharAndShort)
{
    const std::vector<VELT::EventArg> cells = cellsOf("char\nshort\n", "99999999999 -99999999999");
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].charValue, -1);     // low byte of 2147483647
    EXPECT_EQ(cells[1].shortValue, 0);     // low half of -2147483648
}

TEST(EnvironmentValues, FloatsAreRoundedToSinglePrecision)
{
    const std::vector<VELT::EventArg> cells = cellsOf("float\nfloat\nfloat\nfloat\n", "0.1 -2.5e2x .5 nope");
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0].floatValue, 0.1f);
    EXPECT_EQ(cells[1].floatValue, -250.0f);
    EXPECT_EQ(cells[2].floatValue, 0.5f);
    EXPECT_EQ(cells[3].floatValue, 0.0f);
}

TEST(EnvironmentValues, TimelineTimeIsSinglePrecisionPatternOffsetIsDouble)
{
    const std::vector<VELT::Event> events = timelineOf(
        "begin event E\nend\n"
        "begin pattern p\n0.1 E\nend\n"
        "begin global\n12.3 event E\n12.3 pattern p\nend\n",
        {"E"});
    ASSERT_EQ(events.size(), 2u);
    const double lineTime = double(12.3f);
    EXPECT_NE(lineTime, 12.3);
    EXPECT_EQ(events[0].time, lineTime);
    EXPECT_EQ(events[1].time, lineTime + 0.1);
}

TEST(EnvironmentValues, ExtremeTimesNeverComeDue)
{
    const std::vector<VELT::Event> events = timelineOf(
        "begin event E\nend\nbegin global\n1e999 event E\n-1e999 event E\n1e-999 event E\nend\n", {"E"});
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].time, 0.0);
}
