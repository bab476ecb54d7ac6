// The sprite metadata reader: values, strict line counting, and every way a
// file can break the format without the reader going past its bytes.
#include "dd/spritemetadata.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using DD::SpriteMetadata;

namespace
{
// The text in a buffer of exactly its length, so a read past it is a real overrun.
struct Parsed
{
    bool ok;
    SpriteMetadata metadata;
};

Parsed parse(const std::string& text)
{
    std::vector<unsigned char> bytes(text.begin(), text.end());
    Parsed result;
    result.ok = result.metadata.parse(bytes.empty() ? 0 : bytes.data(), static_cast<unsigned>(bytes.size()));
    return result;
}

void expectRejected(const std::string& text, const std::string& reason)
{
    Parsed parsed = parse(text);
    EXPECT_FALSE(parsed.ok) << text;
    EXPECT_NE(parsed.metadata.getError().find(reason), std::string::npos)
        << "error was: " << parsed.metadata.getError();
}
}

TEST(SpriteMetadataReading, ReadsEveryLineOfAWellFormedFile)
{
    Parsed parsed = parse("sprites/logo.png\n4\n2\n100\n50\n3\n0.1\n0.25\n1e-1\n");
    ASSERT_TRUE(parsed.ok) << parsed.metadata.getError();
    const SpriteMetadata& m = parsed.metadata;
    EXPECT_EQ("sprites/logo.png", m.getImageName());
    EXPECT_EQ(4u, m.getColumns());
    EXPECT_EQ(2u, m.getRows());
    EXPECT_EQ(100u, m.getWidth());
    EXPECT_EQ(50u, m.getHeight());
    ASSERT_EQ(3u, m.getFrameCount());
    EXPECT_FLOAT_EQ(0.1f, m.getFrameDurations()[0]);
    EXPECT_FLOAT_EQ(0.25f, m.getFrameDurations()[1]);
    EXPECT_FLOAT_EQ(0.1f, m.getFrameDurations()[2]);
}

TEST(SpriteMetadataReading, AnEmptyLineIsALineThatReadsAsZero)
{
    Parsed parsed = parse("\n1\n1\n\n7\n1\n\n");
    ASSERT_TRUE(parsed.ok) << parsed.metadata.getError();
    EXPECT_EQ("", parsed.metadata.getImageName());
    EXPECT_EQ(0u, parsed.metadata.getWidth());
    EXPECT_EQ(7u, parsed.metadata.getHeight());
    ASSERT_EQ(1u, parsed.metadata.getFrameCount());
    EXPECT_EQ(0.0f, parsed.metadata.getFrameDurations()[0]);
}

TEST(SpriteMetadataReading, NothingAfterTheLastDurationIsRead)
{
    Parsed parsed = parse("a.png\n1\n1\n8\n8\n1\n0.5\nnot a number and no line feed");
    ASSERT_TRUE(parsed.ok) << parsed.metadata.getError();
    EXPECT_EQ(1u, parsed.metadata.getFrameCount());

    Parsed noFrames = parse("a.png\n2\n3\n8\n8\n0\ntrailing");
    ASSERT_TRUE(noFrames.ok) << noFrames.metadata.getError();
    EXPECT_EQ(0u, noFrames.metadata.getFrameCount());
}

TEST(SpriteMetadataReading, CarriageReturnStaysInTheLine)
{
    Parsed parsed = parse("a.png\r\n4\r\n2\r\n10\r\n10\r\n1\r\n0.5\r\n");
    ASSERT_TRUE(parsed.ok) << parsed.metadata.getError();
    EXPECT_EQ("a.png\r", parsed.metadata.getImageName());
    EXPECT_EQ(4u, parsed.metadata.getColumns());
    EXPECT_FLOAT_EQ(0.5f, parsed.metadata.getFrameDurations()[0]);
}

TEST(SpriteMetadataReading, IntegerLinesStopAtTheFirstOtherCharacter)
{
    EXPECT_EQ(12u, SpriteMetadata::readInteger("  +12abc"));
    EXPECT_EQ(3u, SpriteMetadata::readInteger("3.9"));
    EXPECT_EQ(0u, SpriteMetadata::readInteger("x12"));
    EXPECT_EQ(0u, SpriteMetadata::readInteger(""));
    EXPECT_EQ(static_cast<unsigned>(-2), SpriteMetadata::readInteger("-2"));
    EXPECT_EQ(2147483647u, SpriteMetadata::readInteger("99999999999999999999"));
    EXPECT_EQ(5u, SpriteMetadata::readInteger(std::string("5\0" "7", 3)));
}

TEST(SpriteMetadataReading, DecimalLinesTakeOnlyThePlainDecimalForm)
{
    EXPECT_FLOAT_EQ(0.5f, SpriteMetadata::readDecimal("0.5s"));
    EXPECT_FLOAT_EQ(0.25f, SpriteMetadata::readDecimal(" 2.5e-1x"));
    EXPECT_FLOAT_EQ(1.0f, SpriteMetadata::readDecimal("1e"));
    EXPECT_FLOAT_EQ(0.5f, SpriteMetadata::readDecimal(".5"));
    EXPECT_FLOAT_EQ(-2.0f, SpriteMetadata::readDecimal("-2"));
    EXPECT_EQ(0.0f, SpriteMetadata::readDecimal("0x10"));
    EXPECT_EQ(0.0f, SpriteMetadata::readDecimal("nan"));
    EXPECT_EQ(0.0f, SpriteMetadata::readDecimal("inf"));
    EXPECT_EQ(0.0f, SpriteMetadata::readDecimal("."));
}

TEST(SpriteMetadataRejection, TextThatEndsBeforeTheLastDuration)
{
    expectRejected("a.png\n1\n1\n8\n8\n3\n0.1\n0.1\n", "line 9 (a frame duration) is missing");
    expectRejected("a.png\n1\n1\n8\n", "line 5 (the frame height) is missing");
    expectRejected("", "line 1 (the image name) is missing");
}

TEST(SpriteMetadataRejection, LastLineWithoutItsLineFeed)
{
    expectRejected("a.png\n1\n1\n8\n8\n2\n0.1\n0.1", "line 8 (a frame duration) does not end with a line feed");
    expectRejected("a.png\n1\n1\n8\n8\n0", "line 6 (the frame count) does not end with a line feed");
}

TEST(SpriteMetadataRejection, AHugeOrNegativeFrameCountFailsAtTheEndOfTheText)
{
    expectRejected("a.png\n1\n1\n8\n8\n-1\n0.1\n", "line 8 (a frame duration) is missing");
    expectRejected("a.png\n1\n1\n8\n8\n2000000000\n", "line 7 (a frame duration) is missing");
}

TEST(SpriteMetadataRejection, ATableWithoutCells)
{
    expectRejected("a.png\n0\n2\n8\n8\n1\n0.1\n", "at least one column and one row");
    expectRejected("a.png\n2\nrows\n8\n8\n1\n0.1\n", "at least one column and one row");
}

TEST(SpriteMetadataRejection, LinesLongerThanTheFormatAllows)
{
    const std::string name254(254, 'n');
    EXPECT_TRUE(parse(name254 + "\n1\n1\n8\n8\n0\n").ok);
    expectRejected(std::string(255, 'n') + "\n1\n1\n8\n8\n0\n", "image name on line 1 is longer than 254");
    expectRejected("a.png\n1\n1\n8\n8\n1\n" + std::string(256, '1') + "\n", "line 7 (a frame duration) is longer");
}
