// The real loading pictures through the demo's loading screen, at the points
// of the loading sequence: the title is lit from the start, every screen is
// lit once all sprites are in (progress 0.7) while the room still waits, and
// at 1.0 the whole picture is the lit one.
#include "packfile.h"
#include "pngimage.h"

#include "content/screenlayouts.h"
#include "dd/archive.h"
#include "dd/loadingscreen.h"
#include "support/glharness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{
const std::string DATA = std::string(SOLENNE_BINARY_DIR) + "/data/";

Rgba at(const PngImage& image, int x, int yFromTop)
{
    const unsigned char* p = image.pixel(x, yFromTop);
    return Rgba{p[0], p[1], p[2], 255};
}

// The loading screen's mix where the mask lies well above the progress.
Rgba waiting(const Rgba& on, const Rgba& off)
{
    auto mixOne = [](int a, int b) { return static_cast<uint8_t>(std::lround(a * 0.2575 + b * 0.7425)); };
    return Rgba{mixOne(on.r, off.r), mixOne(on.g, off.g), mixOne(on.b, off.b), 255};
}
}

TEST(ContentLoading, LightsTheTitleFirstThenTheScreensThenTheRoom)
{
    PackFile pack;
    std::string why;
    ASSERT_TRUE(pack.load(DATA + "data.kvt", why)) << why;
    PngImage on, off;
    ASSERT_TRUE(on.decode(pack.bytes("loadingscreen/img_on.png"), why)) << why;
    ASSERT_TRUE(off.decode(pack.bytes("loadingscreen/img_off.png"), why)) << why;
    ASSERT_EQ(on.width, 1920);
    ASSERT_EQ(on.height, 1080);

    // At the pictures' own size every window pixel samples one texel.
    GlTestWindow window(1920, 1080);
    DD::Archive archive((DATA + "data.kvt").c_str());
    DD::LoadingScreen screen("loadingscreen/img_off.png", "loadingscreen/img_on.png", "loadingscreen/mask.png");

    auto shown = [&](int x, int yFromTop) { return window.readPixel(x, 1079 - yFromTop); };
    const int titleX = 960, titleY = 75;   // the middle of the neon title
    const int roomX = 40, roomY = 1040;    // the bottom left corner of the room
    const ScreenLayouts::Layout& wall = ScreenLayouts::LAYOUTS[7];
    auto screenCentre = [&](int i, int& x, int& y) {
        ScreenLayouts::PixelBox box = ScreenLayouts::pixelBox(wall.rects[i], 1920, 1080);
        x = (box.x0 + box.x1) / 2;
        y = (box.y0 + box.y1) / 2;
    };

    for (float progress : {0.0f, 0.35f, 0.7f, 1.0f})
    {
        SCOPED_TRACE("progress " + std::to_string(progress));
        screen.setProgress(progress);
        screen.draw();
        EXPECT_TRUE(nearColour(shown(titleX, titleY), at(on, titleX, titleY), 3)) << "the title is not lit";
        int lit = 0;
        for (int i = 0; i < wall.count; ++i)
        {
            int x, y;
            screenCentre(i, x, y);
            if (nearColour(shown(x, y), at(on, x, y), 3))
                ++lit;
            else
                EXPECT_TRUE(nearColour(shown(x, y), waiting(at(on, x, y), at(off, x, y)), 3)) << "screen " << i;
        }
        Rgba room = shown(roomX, roomY);
        if (progress == 0.0f)
        {
            EXPECT_EQ(lit, 0);
        }
        if (progress == 0.35f)
        {
            EXPECT_GT(lit, 3);
            EXPECT_LT(lit, 12);
        }
        if (progress >= 0.7f)
        {
            EXPECT_EQ(lit, wall.count);
        }
        if (progress < 1.0f)
        {
            EXPECT_TRUE(nearColour(room, waiting(at(on, roomX, roomY), at(off, roomX, roomY)), 3))
                << "the room lights up before loading ends";
        }
        else
        {
            EXPECT_TRUE(nearColour(room, at(on, roomX, roomY), 3));
        }
        window.saveScreenshot(std::string(SOLENNE_BINARY_DIR) + "/tests/content/loading-" +
                              std::to_string(static_cast<int>(progress * 100)) + ".png");
        window.context().swapBuffers();
    }
}
