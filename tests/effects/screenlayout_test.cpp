// The layout rows as the screen manager reads them: which subscreens each
// mode shows, in which order, and which overlay covers them.
#include "screenlayout.h"

#include <gtest/gtest.h>

#include <string>

TEST(ScreenLayoutTable, EachModeShowsItsSubscreensInAscendingIdOrder)
{
    const unsigned expectedCounts[ScreenLayout::MODE_COUNT] = {1, 2, 3, 4, 8, 7, 10, 15};
    for (int mode = 0; mode < ScreenLayout::MODE_COUNT; ++mode) {
        unsigned count = 0;
        const SubscreenRectangle* rows = ScreenLayout::getRectangles(mode, count);
        ASSERT_EQ(expectedCounts[mode], count) << "mode " << mode;
        for (unsigned i = 0; i < count; ++i) {
            EXPECT_EQ(mode, rows[i].mode);
            EXPECT_EQ(i, rows[i].id) << "mode " << mode;
            EXPECT_LT(rows[i].left, rows[i].right);
            EXPECT_GT(rows[i].top, rows[i].bottom);
            EXPECT_GE(rows[i].left, -1.0f);
            EXPECT_LE(rows[i].right, 1.0f);
            EXPECT_GE(rows[i].bottom, -1.0f);
            EXPECT_LE(rows[i].top, 1.0f);
        }
    }
}

TEST(ScreenLayoutTable, ModesOutsideTheTableShowNothing)
{
    for (int mode : {-1, 8, 255}) {
        unsigned count = 99;
        EXPECT_EQ(nullptr, ScreenLayout::getRectangles(mode, count));
        EXPECT_EQ(0u, count);
    }
}

TEST(ScreenLayoutTable, OverlaysLoadInFileOrderAndMapToTheirModes)
{
    const char* const loadOrder[] = {"screen/01.png", "screen/02.png", "screen/03.png", "screen/04.png",
                                     "screen/07.png", "screen/08.png", "screen/09.png", "screen/10.png"};
    for (unsigned i = 0; i < 8; ++i)
        EXPECT_EQ(std::string(loadOrder[i]), ScreenLayout::getOverlayName(i));
    EXPECT_EQ(nullptr, ScreenLayout::getOverlayName(8));

    const char* const overlayOfMode[] = {"screen/01.png", "screen/02.png", "screen/03.png", "screen/04.png",
                                         "screen/09.png", "screen/10.png", "screen/08.png", "screen/07.png"};
    for (int mode = 0; mode < ScreenLayout::MODE_COUNT; ++mode)
        EXPECT_EQ(std::string(overlayOfMode[mode]), ScreenLayout::getOverlayName(ScreenLayout::getOverlayIndex(mode)));
}
