// The real overlays through the real screen manager: in every layout each
// screen's picture shows through its opening, and the housing around it
// covers what lies outside. Catches overlays that are flipped, shifted or cut
// for the wrong layout, which the pictures alone cannot show.
#include "content/screenlayouts.h"
#include "dd/archive.h"
#include "dd/sprite.h"
#include "screenmanager.h"
#include "support/glharness.h"
#include "velt/environment.h"
#include "velt/event.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

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

// Every sprite of the timeline, loaded as the demo loads it and drawn into the
// fifteen-screen wall, shows a picture: a table the image decoder could not
// read would draw as a flat, untextured quad.
TEST(ContentWall, EverySpriteOfTheTimelineDrawsAPicture)
{
    GlTestWindow window(1280, 720);
    const std::string data = std::string(SOLENNE_BINARY_DIR) + "/data/";
    DD::Archive archive((data + "data.kvt").c_str());
    VELT::Environment environment(data + "solenne.kvt");
    std::vector<VELT::Asset*> assets = environment.getAssets();
    ASSERT_GE(assets.size(), 10u);
    std::vector<DD::Sprite*> sprites;
    for (VELT::Asset* asset : assets)
        sprites.push_back(DD::Sprite::load(asset->path.c_str()));
    DD::Sprite::setSpriteArea(640, 480);

    ScreenManager screens(1920, 1080);
    screens.setMode(7);
    const ScreenLayouts::Layout& layout = ScreenLayouts::LAYOUTS[7];
    for (size_t first = 0; first < sprites.size(); first += layout.count)
    {
        for (unsigned id = 0; id < 16; ++id)
        {
            screens.beginSubscreen(id);
            size_t index = first + id;
            if (id < static_cast<unsigned>(layout.count) && index < sprites.size())
            {
                sprites[index]->setPosition(0, 0);
                sprites[index]->draw();
            }
            screens.endSubscreen();
        }
        screens.render(0.0f);
        for (int i = 0; i < layout.count && first + i < sprites.size(); ++i)
        {
            const ScreenLayouts::Rect& r = layout.rects[i];
            int x0 = static_cast<int>((r.left + 1.0f) * 0.5f * window.width());
            int x1 = static_cast<int>((r.right + 1.0f) * 0.5f * window.width());
            int y0 = static_cast<int>((r.bottom + 1.0f) * 0.5f * window.height());
            int y1 = static_cast<int>((r.top + 1.0f) * 0.5f * window.height());
            // The middle half of the screen, where the CRT pass darkens least.
            std::vector<Rgba> pixels =
                window.readPixels(x0 + (x1 - x0) / 4, y0 + (y1 - y0) / 4, (x1 - x0) / 2, (y1 - y0) / 2);
            double sum = 0, sum2 = 0;
            for (const Rgba& p : pixels)
            {
                double v = p.r + p.g + p.b;
                sum += v;
                sum2 += v * v;
            }
            double mean = sum / pixels.size();
            double spread = std::sqrt(std::max(0.0, sum2 / pixels.size() - mean * mean));
            EXPECT_GT(spread, 12.0) << assets[first + i]->name << " shows no picture";
            EXPECT_LT(mean, 700.0) << assets[first + i]->name << " is a white quad";
        }
        window.saveScreenshot(std::string(SOLENNE_BINARY_DIR) + "/tests/content/sprites-from" +
                              std::to_string(first) + ".png");
        window.context().swapBuffers();
    }
}
