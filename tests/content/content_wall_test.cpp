// The real overlays through the real screen manager: in every layout each
// screen's picture shows through its opening, and the housing around it
// covers what lies outside. Catches overlays that are flipped, shifted or cut
// for the wrong layout, which the pictures alone cannot show.
#include "content/screenlayouts.h"
#include "dd/archive.h"
#include "screenmanager.h"
#include "support/glharness.h"
#include "velt/event.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
VELT::Event screenColor(int id, float r, float g, float b)
{
    VELT::Event event;
    event.name = "ScreenColor";
    event.args.resize(4);
    event.args[0].intValue = id;
    event.args[1].floatValue = r;
    event.args[2].floatValue = g;
    event.args[3].floatValue = b;
    return event;
}

// The subscreens are cleared to pure green; the CRT pass darkens their edges
// (vignette, scanlines) but keeps green far above red and blue.
bool isScreenGreen(const Rgba& c) { return c.g > 30 && c.g > 2 * c.r && c.g > 2 * c.b; }
}

TEST(ContentWall, EveryScreenShowsThroughItsOpeningAndNothingElseDoes)
{
    GlTestWindow window(1280, 720);
    DD::Archive archive((std::string(SOLENNE_BINARY_DIR) + "/data/data.kvt").c_str());
    ScreenManager screens(1920, 1080);
    for (int id = 0; id < 16; ++id)
    {
        VELT::Event event = screenColor(id, 0.0f, 1.0f, 0.0f);
        screens.onEvent(&event);
    }
    for (int mode = 0; mode < ScreenLayouts::MODE_COUNT; ++mode)
    {
        SCOPED_TRACE("mode " + std::to_string(mode));
        screens.setMode(mode);
        for (unsigned id = 0; id < 16; ++id)
        {
            screens.beginSubscreen(id);
            screens.endSubscreen();
        }
        screens.render(0.0f);
        const ScreenLayouts::Layout& layout = ScreenLayouts::LAYOUTS[mode];
        for (int i = 0; i < layout.count; ++i)
        {
            const ScreenLayouts::Rect& r = layout.rects[i];
            // Window pixels, origin at the bottom left.
            auto px = [&](float x) { return static_cast<int>((x + 1.0f) * 0.5f * window.width()); };
            auto py = [&](float y) { return static_cast<int>((y + 1.0f) * 0.5f * window.height()); };
            int cx = (px(r.left) + px(r.right)) / 2, cy = (py(r.top) + py(r.bottom)) / 2;
            EXPECT_TRUE(isScreenGreen(window.readPixel(cx, cy))) << "screen " << i << " is covered";
            // A little inside every edge the screen still shows...
            EXPECT_TRUE(isScreenGreen(window.readPixel(px(r.left) + 12, cy))) << "screen " << i << " left edge";
            EXPECT_TRUE(isScreenGreen(window.readPixel(px(r.right) - 12, cy))) << "screen " << i << " right edge";
            EXPECT_TRUE(isScreenGreen(window.readPixel(cx, py(r.top) - 12))) << "screen " << i << " top edge";
            EXPECT_TRUE(isScreenGreen(window.readPixel(cx, py(r.bottom) + 12))) << "screen " << i << " bottom edge";
            // ...and a little outside, the housing hides the subscreen.
            EXPECT_FALSE(isScreenGreen(window.readPixel(px(r.left) - 6, cy))) << "screen " << i << " left of it";
            EXPECT_FALSE(isScreenGreen(window.readPixel(px(r.right) + 6, cy))) << "screen " << i << " right of it";
            EXPECT_FALSE(isScreenGreen(window.readPixel(cx, py(r.top) + 6))) << "screen " << i << " above it";
            EXPECT_FALSE(isScreenGreen(window.readPixel(cx, py(r.bottom) - 6))) << "screen " << i << " below it";
        }
        window.saveScreenshot(std::string(SOLENNE_BINARY_DIR) + "/tests/content/wall-mode" + std::to_string(mode) +
                              ".png");
        window.context().swapBuffers();
    }
}
