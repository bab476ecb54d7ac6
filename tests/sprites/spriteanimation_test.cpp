// The flip-book clock: one step per drawn frame at most, excess time dropped,
// looping, rewinding, freezing, and sprites without frames or with bad indices.
#include "dd/spriteanimation.h"

#include <gtest/gtest.h>

using DD::SpriteAnimation;

namespace
{
// One frame of the runner: the sprite is drawn, then updated.
void drawnFrame(SpriteAnimation& animation, double dt)
{
    animation.markDrawn();
    animation.update(dt);
}
}

TEST(SpriteTiming, ALongStepAdvancesOneFrameAndDropsTheExcess)
{
    SpriteAnimation animation(8, 0.1f);
    drawnFrame(animation, 0.25);
    EXPECT_EQ(1u, animation.getFrame());
    EXPECT_EQ(0.0f, animation.getFrameTime());
    drawnFrame(animation, 0.25);
    EXPECT_EQ(2u, animation.getFrame());
}

TEST(SpriteTiming, ShortStepsAccumulateScaledBySpeed)
{
    SpriteAnimation animation(4, 0.1f);
    drawnFrame(animation, 0.04);
    drawnFrame(animation, 0.04);
    EXPECT_EQ(0u, animation.getFrame());
    EXPECT_FLOAT_EQ(0.08f, animation.getFrameTime());
    drawnFrame(animation, 0.04);
    EXPECT_EQ(1u, animation.getFrame());

    animation.setSpeed(2.0f);
    drawnFrame(animation, 0.03);
    EXPECT_FLOAT_EQ(0.06f, animation.getFrameTime());
    drawnFrame(animation, 0.03);
    EXPECT_EQ(2u, animation.getFrame());
}

TEST(SpriteTiming, OnlyTheFirstUpdateBetweenTwoDrawsCounts)
{
    SpriteAnimation animation(4, 0.1f);
    drawnFrame(animation, 0.25);
    animation.update(0.25);
    animation.update(0.25);
    EXPECT_EQ(1u, animation.getFrame());
    drawnFrame(animation, 0.25);
    EXPECT_EQ(2u, animation.getFrame());
}

TEST(SpriteTiming, WrappingToFrameZeroMarksTheLoopUntilRewind)
{
    SpriteAnimation animation(3, 0.1f);
    drawnFrame(animation, 0.2);
    drawnFrame(animation, 0.2);
    EXPECT_FALSE(animation.hasLooped());
    drawnFrame(animation, 0.2);
    EXPECT_EQ(0u, animation.getFrame());
    EXPECT_TRUE(animation.hasLooped());

    drawnFrame(animation, 0.05);
    animation.rewind();
    EXPECT_FALSE(animation.hasLooped());
    EXPECT_EQ(0u, animation.getFrame());
    EXPECT_EQ(0.0f, animation.getFrameTime());
    // rewind also clears the advanced flag: an update without a draw counts.
    animation.update(0.2);
    EXPECT_EQ(1u, animation.getFrame());
}

TEST(SpriteTiming, SpeedZeroFreezesAFrameWithAPositiveDuration)
{
    SpriteAnimation animation(4, 0.1f);
    animation.rewind();
    animation.setSpeed(0.0f);
    for (int i = 0; i < 50; ++i)
        drawnFrame(animation, 1.0);
    EXPECT_EQ(0u, animation.getFrame());

    ASSERT_TRUE(animation.setFrame(2));
    for (int i = 0; i < 50; ++i)
        drawnFrame(animation, 1.0);
    EXPECT_EQ(2u, animation.getFrame());
    EXPECT_FALSE(animation.hasLooped());
}

TEST(SpriteTiming, ADurationOfZeroOrLessStillAdvances)
{
    SpriteAnimation animation(3, 0.0f);
    animation.setFrameDurations({0.0f, -1.0f});
    animation.setSpeed(0.0f);
    drawnFrame(animation, 0.0);
    EXPECT_EQ(1u, animation.getFrame());
    drawnFrame(animation, 0.0);
    EXPECT_EQ(2u, animation.getFrame());
}

TEST(SpriteTiming, FrameDurationsOnlyFillTheFramesThatExist)
{
    SpriteAnimation animation(2, 0.5f);
    animation.setFrameDurations({0.1f, 0.2f, 0.3f});
    EXPECT_EQ(2u, animation.getFrameCount());
    EXPECT_FLOAT_EQ(0.2f, animation.getFrameDuration(1));
}

TEST(SpriteTimingSafety, ASpriteWithoutFramesStandsStill)
{
    SpriteAnimation animation(0, 0.1f);
    for (int i = 0; i < 3; ++i)
        drawnFrame(animation, 1.0);
    EXPECT_EQ(0u, animation.getFrame());
    EXPECT_FALSE(animation.hasLooped());
    EXPECT_FALSE(animation.setFrame(0));
}

TEST(SpriteTimingSafety, AFrameIndexPastTheLastIsRefused)
{
    SpriteAnimation animation(8, 0.1f);
    ASSERT_TRUE(animation.setFrame(3));
    EXPECT_FALSE(animation.setFrame(8));
    EXPECT_FALSE(animation.setFrame(4000000000u));
    EXPECT_EQ(3u, animation.getFrame());
    ASSERT_TRUE(animation.setFrame(7));
    drawnFrame(animation, 0.2);
    EXPECT_EQ(0u, animation.getFrame());
}
