// The monitor wall drawn for real: every layout compared pixel by pixel with
// the CPU model of the CRT pass and the overlay, the events that steer it,
// the subscreen binding and its two fatal stops. Each layout is also saved as
// a screenshot (build folder, screenshots/screenmanager_mode<N>.png).
#include "screenlayout.h"
#include "screenmanager.h"

#include "gl/framebuffer.h"
#include "gl/rendertarget.h"
#include "shadermodels.h"
#include "support/childprocess.h"
#include "support/glharness.h"
#include "testassets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <signal.h>

namespace
{
const int WIDTH = 1280;
const int HEIGHT = 720;
const int SUBSCREEN_WIDTH = 1920;
const int SUBSCREEN_HEIGHT = 1080;
// Overlay pictures are 64 x 36 texels, each 20 x 20 window pixels.
const int OVERLAY_WIDTH = 64;
const int OVERLAY_HEIGHT = 36;
const int OVERLAY_NUMBERS[8] = {1, 2, 3, 4, 7, 8, 9, 10};

const Rgba PALETTE[16] = {
    {230, 25, 75, 255},  {60, 180, 75, 255},  {255, 225, 25, 255}, {0, 130, 200, 255},
    {245, 130, 48, 255}, {145, 30, 180, 255}, {70, 240, 240, 255}, {240, 50, 230, 255},
    {210, 245, 60, 255}, {250, 190, 212, 255}, {0, 128, 128, 255}, {220, 190, 255, 255},
    {170, 110, 40, 255}, {255, 250, 200, 255}, {128, 0, 0, 255},   {170, 255, 195, 255},
};

// The top-left texel of each overlay names its file; overlay 01 also has a
// white opaque, half-transparent and transparent texel inside mode 0's screen.
Rgba overlayTexel(int number, int x, int y)
{
    if (x == 0 && y == 0)
        return Rgba{static_cast<uint8_t>(number * 20), static_cast<uint8_t>(255 - number * 20), 128, 255};
    if (number == 1 && y == 22 && (x == 26 || x == 28 || x == 30))
        return Rgba{255, 255, 255, static_cast<uint8_t>(x == 26 ? 255 : x == 28 ? 128 : 0)};
    return Rgba{255, 255, 255, 0};
}

VELT::EventArg intArg(int value)
{
    VELT::EventArg arg;
    arg.intValue = value;
    return arg;
}

VELT::EventArg floatArg(float value)
{
    VELT::EventArg arg;
    arg.floatValue = value;
    return arg;
}

VELT::Event screenMode(int mode)
{
    VELT::Event event;
    event.name = "ScreenMode";
    event.args.push_back(intArg(mode));
    return event;
}

VELT::Event screenColor(int id, Rgba colour)
{
    VELT::Event event;
    event.name = "ScreenColor";
    event.args = {intArg(id), floatArg(colour.r / 255.0f), floatArg(colour.g / 255.0f), floatArg(colour.b / 255.0f)};
    return event;
}

uint8_t toByte(float value)
{
    return static_cast<uint8_t>(std::lround(std::min(std::max(value, 0.0f), 1.0f) * 255.0f));
}

class ScreenManagerWall : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ms_window = new GlTestWindow(WIDTH, HEIGHT);
        ms_pack = new TestPack("screenmanager");
        for (int number : OVERLAY_NUMBERS) {
            char name[32];
            std::snprintf(name, sizeof(name), "screen/%02d.png", number);
            ms_pack->add(name, pngBytes(OVERLAY_WIDTH, OVERLAY_HEIGHT,
                                        [number](int x, int y) { return overlayTexel(number, x, y); }));
        }
        ms_pack->open();
        ms_manager = new ScreenManager(SUBSCREEN_WIDTH, SUBSCREEN_HEIGHT);
        ms_manager->setMode(0);
    }

    static void TearDownTestSuite()
    {
        delete ms_manager;
        delete ms_pack;
        delete ms_window;
    }

    // Gives every subscreen its palette colour and clears it, as the runner's loop would.
    static void paintSubscreens()
    {
        for (unsigned id = 0; id < ScreenManager::MAX_SUBSCREENS; ++id) {
            VELT::Event event = screenColor(static_cast<int>(id), PALETTE[id]);
            ms_manager->onEvent(&event);
            ms_manager->beginSubscreen(id);
            ms_manager->endSubscreen();
        }
    }

    // The window pixel the model expects, or false where a screen edge runs
    // so close to the pixel centre that rasterisation may go either way.
    static bool modelPixel(int mode, float time, int column, int row, Rgba& expected)
    {
        const float x = (column + 0.5f) / WIDTH * 2.0f - 1.0f;
        const float y = (row + 0.5f) / HEIGHT * 2.0f - 1.0f;
        Colour colour = {0.0f, 0.0f, 0.0f};
        unsigned count = 0;
        const SubscreenRectangle* rows = ScreenLayout::getRectangles(mode, count);
        for (unsigned i = 0; i < count; ++i) {
            const SubscreenRectangle& r = rows[i];
            const float pixelX = 2.0f / WIDTH, pixelY = 2.0f / HEIGHT;
            const float near = std::min(std::min(std::fabs(x - r.left), std::fabs(x - r.right)) / pixelX,
                                        std::min(std::fabs(y - r.top), std::fabs(y - r.bottom)) / pixelY);
            const bool inside = x > r.left && x < r.right && y > r.bottom && y < r.top;
            const bool alongside = (x > r.left && x < r.right) || (y > r.bottom && y < r.top);
            if (near < 1.0f && (inside || alongside))
                return false;
            if (!inside)
                continue;
            const Rgba c = PALETTE[r.id];
            SolidClampTexture image = {{c.r / 255.0f, c.g / 255.0f, c.b / 255.0f}, SUBSCREEN_WIDTH, SUBSCREEN_HEIGHT};
            colour = crtModel(image, (x - r.left) / (r.right - r.left), (y - r.bottom) / (r.top - r.bottom), time);
        }
        const int number = OVERLAY_NUMBERS[ScreenLayout::getOverlayIndex(mode)];
        const Rgba o = overlayTexel(number, column * OVERLAY_WIDTH / WIDTH, (HEIGHT - 1 - row) * OVERLAY_HEIGHT / HEIGHT);
        const float a = o.a / 255.0f;
        expected = Rgba{toByte(o.r / 255.0f * a + colour.r * (1.0f - a)), toByte(o.g / 255.0f * a + colour.g * (1.0f - a)),
                        toByte(o.b / 255.0f * a + colour.b * (1.0f - a)), 255};
        return true;
    }

    // Renders a mode and compares the whole window with the model.
    static void expectWall(int mode, float time, const std::string& screenshot = "")
    {
        ms_manager->setMode(mode);
        ms_manager->render(time);
        const std::vector<Rgba> pixels = ms_window->readPixels(0, 0, WIDTH, HEIGHT);
        if (!screenshot.empty()) {
            // The window is cleared to transparent black: shown opaque, as on screen.
            std::vector<Rgba> opaque = pixels;
            for (Rgba& p : opaque)
                p.a = 255;
            writePng(screenshot, WIDTH, HEIGHT, opaque);
        }
        int compared = 0, mismatches = 0;
        for (int row = 0; row < HEIGHT; ++row) {
            for (int column = 0; column < WIDTH; ++column) {
                Rgba expected;
                if (!modelPixel(mode, time, column, row, expected))
                    continue;
                ++compared;
                Rgba actual = pixels[static_cast<size_t>(row) * WIDTH + column];
                actual.a = 255;
                if (!nearColour(expected, actual, 3) && ++mismatches <= 5)
                    ADD_FAILURE() << "mode " << mode << " pixel " << column << "," << row << ": expected "
                                  << int(expected.r) << " " << int(expected.g) << " " << int(expected.b) << ", got "
                                  << int(actual.r) << " " << int(actual.g) << " " << int(actual.b);
            }
        }
        EXPECT_EQ(0, mismatches) << "mode " << mode;
        EXPECT_GT(compared, WIDTH * HEIGHT * 9 / 10);
    }

    static Rgba windowPixelAt(float x, float y)
    {
        return ms_window->readPixel(static_cast<int>((x + 1.0f) / 2.0f * WIDTH),
                                    static_cast<int>((y + 1.0f) / 2.0f * HEIGHT));
    }

    static GlTestWindow* ms_window;
    static TestPack* ms_pack;
    static ScreenManager* ms_manager;
};

GlTestWindow* ScreenManagerWall::ms_window = 0;
TestPack* ScreenManagerWall::ms_pack = 0;
ScreenManager* ScreenManagerWall::ms_manager = 0;
}

TEST_F(ScreenManagerWall, EveryLayoutShowsItsScreensWhereTheTableSays)
{
    paintSubscreens();
    const std::string folder = std::string(SOLENNE_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(folder);
    for (int mode = 0; mode < ScreenLayout::MODE_COUNT; ++mode)
        expectWall(mode, 0.0f, folder + "/screenmanager_mode" + std::to_string(mode) + ".png");
}

TEST_F(ScreenManagerWall, TheTimeUniformMovesScanlinesAndTheRollingBand)
{
    paintSubscreens();
    expectWall(7, 1.3f);
    expectWall(0, 4.0f);
}

TEST_F(ScreenManagerWall, ModeZeroSamplesOnlySubscreenZero)
{
    paintSubscreens();
    expectWall(0, 0.0f);
    const std::vector<Rgba> before = ms_window->readPixels(0, 0, WIDTH, HEIGHT);

    // Repaint subscreens 1-15 white: the window must not change at all.
    for (unsigned id = 1; id < ScreenManager::MAX_SUBSCREENS; ++id) {
        VELT::Event event = screenColor(static_cast<int>(id), Rgba{255, 255, 255, 255});
        ms_manager->onEvent(&event);
        ms_manager->beginSubscreen(id);
        ms_manager->endSubscreen();
    }
    ms_manager->render(0.0f);
    EXPECT_TRUE(before == ms_window->readPixels(0, 0, WIDTH, HEIGHT));
}

TEST_F(ScreenManagerWall, CornersAreBlackWhileEdgeMiddlesShowTheImage)
{
    paintSubscreens();
    ms_manager->setMode(0);
    ms_manager->render(0.0f);
    unsigned count = 0;
    const SubscreenRectangle& r = *ScreenLayout::getRectangles(0, count);
    const int left = static_cast<int>(std::ceil((r.left + 1.0f) / 2.0f * WIDTH));
    const int right = static_cast<int>(std::floor((r.right + 1.0f) / 2.0f * WIDTH)) - 1;
    const int bottom = static_cast<int>(std::ceil((r.bottom + 1.0f) / 2.0f * HEIGHT));
    const int top = static_cast<int>(std::floor((r.top + 1.0f) / 2.0f * HEIGHT)) - 1;
    const Rgba black = {0, 0, 0, 255};
    for (int column : {left + 1, right - 1})
        for (int row : {bottom + 1, top - 1}) {
            Rgba p = ms_window->readPixel(column, row);
            p.a = 255;
            EXPECT_EQ(black, p) << column << "," << row;
        }
    const int middleColumn = (left + right) / 2, middleRow = (bottom + top) / 2;
    for (auto place : {std::make_pair(left + 1, middleRow), std::make_pair(right - 1, middleRow),
                       std::make_pair(middleColumn, bottom + 1), std::make_pair(middleColumn, top - 1)}) {
        const Rgba p = ms_window->readPixel(place.first, place.second);
        EXPECT_GT(p.r + p.g + p.b, 30) << place.first << "," << place.second;
    }
}

TEST_F(ScreenManagerWall, TheOverlayAlphaDecidesWhatShowsThrough)
{
    paintSubscreens();
    ms_manager->setMode(0);
    ms_manager->render(0.0f);
    // Texel row 22 from the top is window rows 260-279 from the bottom.
    const int row = HEIGHT - 1 - (22 * 20 + 10);
    const Rgba opaque = ms_window->readPixel(26 * 20 + 10, row);
    const Rgba half = ms_window->readPixel(28 * 20 + 10, row);
    const Rgba clear = ms_window->readPixel(30 * 20 + 10, row);
    EXPECT_TRUE(nearColour(Rgba{255, 255, 255, opaque.a}, opaque));
    Rgba model;
    ASSERT_TRUE(modelPixel(0, 0.0f, 28 * 20 + 10, row, model));
    EXPECT_TRUE(nearColour(model, Rgba{half.r, half.g, half.b, 255}, 3));
    EXPECT_GT(half.r, clear.r);
    ASSERT_TRUE(modelPixel(0, 0.0f, 30 * 20 + 10, row, model));
    EXPECT_TRUE(nearColour(model, Rgba{clear.r, clear.g, clear.b, 255}, 3));
    EXPECT_LT(clear.g, 200) << "the subscreen shows, not the overlay's white";
}

TEST_F(ScreenManagerWall, ScreenModeIgnoresModesOutsideTheTable)
{
    ms_manager->setMode(2);
    for (int mode : {8, 255, -1}) {
        VELT::Event event = screenMode(mode);
        ms_manager->onEvent(&event);
        EXPECT_EQ(2, ms_manager->getMode()) << mode;
    }
    VELT::Event seven = screenMode(7);
    ms_manager->onEvent(&seven);
    EXPECT_EQ(7, ms_manager->getMode());
    ms_manager->render(0.0f);
    // The fifteen-screen layout lies under "screen/07.png".
    Rgba marker = ms_window->readPixel(5, HEIGHT - 5);
    marker.a = 255;
    EXPECT_EQ(overlayTexel(7, 0, 0), marker);

    VELT::Event other;
    other.name = "ScreenModes";
    other.args.push_back(intArg(3));
    ms_manager->onEvent(&other);
    VELT::Event empty;
    empty.name = "ScreenMode";
    ms_manager->onEvent(&empty);
    EXPECT_EQ(7, ms_manager->getMode());
}

TEST_F(ScreenManagerWall, AModeOutsideTheTableLeavesTheWindowCleared)
{
    ms_manager->setMode(9);
    ms_manager->render(0.0f);
    const std::vector<Rgba> pixels = ms_window->readPixels(0, 0, WIDTH, HEIGHT);
    for (size_t i = 0; i < pixels.size(); i += 97)
        ASSERT_EQ(0, pixels[i].r + pixels[i].g + pixels[i].b) << i;
}

TEST_F(ScreenManagerWall, ScreenColorTakesEffectAtTheNextBeginOfThatSubscreen)
{
    paintSubscreens();
    const Rgba newColour = {12, 34, 56, 255};
    VELT::Event event = screenColor(3, newColour);
    ms_manager->onEvent(&event);

    std::vector<Rgba> texel(static_cast<size_t>(SUBSCREEN_WIDTH) * SUBSCREEN_HEIGHT);
    auto centreOfSubscreen3 = [&] {
        RenderTarget* target = ms_manager->getFramebuffer(3)->getRenderTarget(0);
        glBindTexture(GL_TEXTURE_2D, target->getTextureId());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        return texel[texel.size() / 2];
    };
    EXPECT_EQ(PALETTE[3], centreOfSubscreen3());

    ms_manager->beginSubscreen(3);
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    EXPECT_FLOAT_EQ(1.0f, clearColour[3]);
    ms_manager->endSubscreen();
    EXPECT_EQ(newColour, centreOfSubscreen3());
}

TEST_F(ScreenManagerWall, ScreenColorForAnIdOutsideTheTableChangesNothing)
{
    paintSubscreens();
    for (int id : {16, 255, -1, 1000000}) {
        VELT::Event event = screenColor(id, Rgba{1, 2, 3, 255});
        ms_manager->onEvent(&event);
    }
    VELT::Event tooShort = screenColor(2, Rgba{1, 2, 3, 255});
    tooShort.args.resize(2);
    ms_manager->onEvent(&tooShort);
    for (unsigned id = 0; id < ScreenManager::MAX_SUBSCREENS; ++id) {
        float r = 0, g = 0, b = 0;
        ms_manager->getClearColor(id, r, g, b);
        EXPECT_FLOAT_EQ(PALETTE[id].r / 255.0f, r) << id;
        EXPECT_FLOAT_EQ(PALETTE[id].g / 255.0f, g) << id;
        EXPECT_FLOAT_EQ(PALETTE[id].b / 255.0f, b) << id;
    }
}

TEST_F(ScreenManagerWall, BeginBindsTheSubscreenWithACentredProjectionAndEndReturnsToTheWindow)
{
    ms_manager->beginSubscreen(5);
    EXPECT_EQ(ms_manager->getFramebuffer(5), Framebuffer::ms_currentFramebuffer);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(SUBSCREEN_WIDTH, viewport[2]);
    EXPECT_EQ(SUBSCREEN_HEIGHT, viewport[3]);
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ(1.0f / 960.0f, projection[0]);
    EXPECT_FLOAT_EQ(1.0f / 540.0f, projection[5]);
    EXPECT_FLOAT_EQ(0.0f, projection[12]);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(GL_MODELVIEW, mode);
    ms_manager->endSubscreen();

    EXPECT_EQ(nullptr, Framebuffer::ms_currentFramebuffer);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(WIDTH, viewport[2]);
    EXPECT_EQ(HEIGHT, viewport[3]);
}

TEST_F(ScreenManagerWall, EndingTwiceStops)
{
    ms_manager->beginSubscreen(0);
    ms_manager->endSubscreen();
    ChildResult r = runInChild([] { ms_manager->endSubscreen(); });
    EXPECT_EQ(SIGABRT, r.signal);
    EXPECT_EQ(expectedAssertion("src/screenmanager.cpp", "m_currentFramebuffer", "No subscreen rendering is started."),
              r.output);
}

TEST_F(ScreenManagerWall, SubscreenSixteenStops)
{
    ChildResult r = runInChild([] { ms_manager->beginSubscreen(16); });
    EXPECT_EQ(SIGABRT, r.signal);
    EXPECT_EQ(expectedAssertion("src/screenmanager.cpp", "subscreenId < MAX_SUBSCREENS",
                                "Cannot enable a subscreen with an ID >= to the maximum number of subscreens."),
              r.output);
}
