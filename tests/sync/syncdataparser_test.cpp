// Reading sync data text: the five sections, lenient numbers, comments and
// empty lines anywhere, and every malformed file refused at its line.
#include "syncdataparser.h"

#include <gtest/gtest.h>

namespace
{
std::string parse(const std::string& text, SyncData& data)
{
    return SyncDataParser::parse(text, data);
}

std::string problemOf(const std::string& text)
{
    SyncData data;
    return parse(text, data);
}
}

TEST(SyncDataParser, ReadsTheFiveSectionsInOrder)
{
    SyncData data;
    ASSERT_EQ(parse("2\nsprites/a.meta\nsprites/b.meta\n"
                    "2\n2\n0:5:0.0\n1:-6:0.5\n0\n"
                    "2\n1:3.9:10.0\n0:-3.9:2\n"
                    "2\n7:1.5\n-8:3\n"
                    "2\n2:12.5:255:128:0\n15:1:0:0:255\n",
                    data),
              "");
    EXPECT_EQ(data.spriteNames, std::vector<std::string>({"sprites/a.meta", "sprites/b.meta"}));
    ASSERT_EQ(data.tracks.size(), 2u);
    ASSERT_EQ(data.tracks[0].size(), 2u);
    EXPECT_EQ(data.tracks[0][1].sprite, 1u);
    EXPECT_EQ(data.tracks[0][1].param, -6);
    EXPECT_EQ(data.tracks[0][1].offset, 0.5f);
    EXPECT_TRUE(data.tracks[1].empty());
    ASSERT_EQ(data.events.size(), 2u);
    EXPECT_EQ(data.events[0].track, 1u);
    EXPECT_EQ(data.events[0].value, 3);   // truncated toward zero
    EXPECT_EQ(data.events[1].value, -3);
    EXPECT_EQ(data.events[0].time, 10.0f);
    ASSERT_EQ(data.values.size(), 2u);
    EXPECT_EQ(data.values[1].value, -8);
    EXPECT_EQ(data.values[0].time, 1.5f);
    ASSERT_EQ(data.colors[2].size(), 1u);
    EXPECT_EQ(data.colors[2][0].red, 1.0f);
    EXPECT_EQ(data.colors[2][0].green, 128 / 255.0f);
    EXPECT_EQ(data.colors[2][0].blue, 0.0f);
    EXPECT_EQ(data.colors[2][0].time, 12.5f);
    EXPECT_EQ(data.colors[15][0].blue, 1.0f);
}

TEST(SyncDataParser, CommentsEmptyLinesAndLineEndsAreNotItems)
{
    SyncData data;
    ASSERT_EQ(parse("# header\n\n1\r\n# between\n\r\nname.meta\r\n0\n#\n0\n\n1\n  42junk:  2.5e0\n0\n# trailing", data),
              "");
    EXPECT_EQ(data.spriteNames, std::vector<std::string>({"name.meta"}));
    ASSERT_EQ(data.values.size(), 1u);
    EXPECT_EQ(data.values[0].value, 42);
    EXPECT_EQ(data.values[0].time, 2.5f);
    // A field without a number reads as 0; a blank line is an item, not a skipped line.
    EXPECT_EQ(problemOf("0\n0\n0\n1\n \n0\n"), "line 5: value line needs 2 fields value:time, found 1");
}

TEST(SyncDataParser, MissingFieldsAndIndicesOutsideTheirListsAreRefused)
{
    EXPECT_EQ(problemOf("0\n1\n1\n0:1\n"), "line 4: key line needs 3 fields sprite:param:offset, found 2");
    EXPECT_EQ(problemOf("1\na\n1\n1\n1:0:0\n"), "line 5: sprite 1 is outside 0-0");
    EXPECT_EQ(problemOf("1\na\n1\n1\n-1:0:0\n"), "line 5: sprite -1 is outside 0-0");
    EXPECT_EQ(problemOf("0\n1\n1\n0:0:0\n"), "line 4: sprite 0 is outside 0-(none)");
    EXPECT_EQ(problemOf("0\n1\n0\n1\n1:2:3\n"), "line 5: track 1 is outside 0-0");
    EXPECT_EQ(problemOf("0\n0\n1\n0\n"), "line 4: event line needs 3 fields track:value:time, found 1");
    EXPECT_EQ(problemOf("0\n0\n0\n1\n5\n"), "line 5: value line needs 2 fields value:time, found 1");
    EXPECT_EQ(problemOf("0\n0\n0\n0\n1\n16:0:1:1:1\n"), "line 6: channel 16 is outside 0-15");
    EXPECT_EQ(problemOf("0\n0\n0\n0\n1\n-1:0:1:1:1\n"), "line 6: channel -1 is outside 0-15");
    EXPECT_EQ(problemOf("0\n0\n0\n0\n1\n1:0:1:1\n"),
              "line 6: colour line needs 5 fields channel:time:red:green:blue, found 4");
}

TEST(SyncDataParser, FilesEndingEarlyOrCountingBackwardsAreRefused)
{
    EXPECT_EQ(problemOf(""), "line 1: the file ends where the count of sprites should follow");
    EXPECT_EQ(problemOf("0\n0\n0\n0\n"), "line 5: the file ends where the count of colours should follow");
    EXPECT_EQ(problemOf("3\na\n# comment\nb\n"), "line 5: the file ends where sprite name 3 of 3 should follow");
    EXPECT_EQ(problemOf("0\n2\n1\n0:0:0"), "line 4: sprite 0 is outside 0-(none)");
    EXPECT_EQ(problemOf("0\n1\n2000000000\n"), "line 4: the file ends where key 1 of 2000000000 should follow");
    EXPECT_EQ(problemOf("-1\n"), "line 1: negative count of sprites (-1)");
    EXPECT_EQ(problemOf("0\n1\n-5\n"), "line 3: negative count of keys of track 0 (-5)");
    EXPECT_EQ(problemOf("0\n0\n-99999999999\n"), "line 3: negative count of events (-2147483648)");
}

TEST(SyncDataParser, OverlongLinesAreRefusedOverlongCommentsSkipped)
{
    const std::string longName(254, 'n');
    EXPECT_EQ(problemOf("1\n" + longName + "\n0\n0\n0\n0\n"), "line 2: longer than 254 bytes");
    EXPECT_EQ(problemOf("1\n" + longName.substr(1) + "\n0\n0\n0\n0\n"), "");
    EXPECT_EQ(problemOf("#" + std::string(1000, 'c') + "\n0\n0\n0\n0\n0\n"), "");
}
