// The loading screen's progress while the demo loads its sprites.
#include "solennedemo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
// The values the loading screen is given: 0 as built, one per sprite, then 1.
std::vector<float> progressSequence(int n)
{
    std::vector<float> values{0.0f};
    for (int i = 0; i < n; ++i)
        values.push_back(SolenneDemo::loadingProgress(i, n));
    values.push_back(1.0f);
    return values;
}
}

TEST(DemoLoading, FiveAssetsFillSeventyPercentThenAll)
{
    const std::vector<float> expected{0.0f, 0.0f, 0.175f, 0.35f, 0.525f, 0.7f, 1.0f};
    EXPECT_EQ(progressSequence(5), expected);
}

TEST(DemoLoading, NoAssetsGoStraightToFull)
{
    const std::vector<float> expected{0.0f, 1.0f};
    EXPECT_EQ(progressSequence(0), expected);
}

TEST(DemoLoading, OneAssetDividesZeroByZero)
{
    // The loading screen stores a NaN progress as 0.
    EXPECT_TRUE(std::isnan(SolenneDemo::loadingProgress(0, 1)));
}
