// The loading picture drawn for real: every mask value at a progress against
// the CPU model of the progress shader, the stepped bands above the progress,
// the full on image at the end, clamping and the GL state left behind.
#include "dd/archive.h"
#include "dd/loadingscreen.h"

#include "shadermodels.h"
#include "support/childprocess.h"
#include "support/glharness.h"
#include "testassets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <signal.h>

namespace
{
const int WIDTH = 640;
const int HEIGHT = 480;
const Rgba ON_TOP = {250, 20, 0, 255};
const Rgba ON_BOTTOM = {200, 200, 40, 255};
const Rgba OFF = {0, 40, 250, 255};

// Mask value by column: every value 0-255 on two columns, then 255.
int maskValue(int column)
{
    return column / 2 < 255 ? column / 2 : 255;
}

Rgba onColour(int row)
{
    return row < HEIGHT / 2 ? ON_TOP : ON_BOTTOM;
}

Rgba expectedPixel(float progress, int column, int row)
{
    const float weight = loadingOffWeight(progress, maskValue(column) / 255.0f);
    const Rgba on = onColour(row);
    auto mix = [weight](uint8_t a, uint8_t b) {
        return static_cast<uint8_t>(std::lround((a / 255.0f + (b / 255.0f - a / 255.0f) * weight) * 255.0f));
    };
    return Rgba{mix(on.r, OFF.r), mix(on.g, OFF.g), mix(on.b, OFF.b), 255};
}

// Pictures as large as the window, so each pixel samples one texel centre
// and linear filtering returns the texel itself.
class LoadingScreenDrawing : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ms_window = new GlTestWindow(WIDTH, HEIGHT);
        ms_pack = new TestPack("loadingscreen");
        ms_pack->add("loadingscreen/img_off.png", solidPng(WIDTH, HEIGHT, OFF));
        ms_pack->add("loadingscreen/img_on.png", pngBytes(WIDTH, HEIGHT, [](int, int y) { return onColour(y); }));
        ms_pack->add("loadingscreen/mask.png", pngBytes(WIDTH, HEIGHT, [](int x, int) {
            const uint8_t v = static_cast<uint8_t>(maskValue(x));
            return Rgba{v, 0, 255, 255};
        }));
        ms_pack->add("small/off.png", solidPng(2, 1, Rgba{0, 0, 0, 255}));
        ms_pack->add("small/on.png", pngBytes(2, 1, [](int x, int) {
            return x == 0 ? Rgba{0, 0, 0, 255} : Rgba{255, 255, 255, 255};
        }));
        ms_pack->add("small/mask.png", solidPng(2, 1, Rgba{0, 0, 0, 255}));
        ms_pack->open();
        ms_screen = new DD::LoadingScreen("loadingscreen/img_off.png", "loadingscreen/img_on.png",
                                          "loadingscreen/mask.png");
    }

    static void TearDownTestSuite()
    {
        delete ms_screen;
        delete ms_pack;
        delete ms_window;
    }

    // Draws at a progress and compares every pixel with the model.
    static void expectModel(float progress)
    {
        ms_screen->setProgress(progress);
        ms_screen->draw();
        const std::vector<Rgba> pixels = ms_window->readPixels(0, 0, WIDTH, HEIGHT);
        int mismatches = 0;
        for (int row = 0; row < HEIGHT; ++row) {
            for (int column = 0; column < WIDTH; ++column) {
                const Rgba expected = expectedPixel(progress, column, HEIGHT - 1 - row);
                const Rgba& actual = pixels[static_cast<size_t>(row) * WIDTH + column];
                if (!nearColour(expected, Rgba{actual.r, actual.g, actual.b, 255}, 2) && ++mismatches <= 5)
                    ADD_FAILURE() << "progress " << progress << " column " << column << " row " << row << " mask "
                                  << maskValue(column);
            }
        }
        EXPECT_EQ(0, mismatches);
    }

    static Rgba pixelAtMask(int value)
    {
        return ms_window->readPixel(value * 2, HEIGHT - 1);
    }

    static GlTestWindow* ms_window;
    static TestPack* ms_pack;
    static DD::LoadingScreen* ms_screen;
};

GlTestWindow* LoadingScreenDrawing::ms_window = 0;
TestPack* LoadingScreenDrawing::ms_pack = 0;
DD::LoadingScreen* LoadingScreenDrawing::ms_screen = 0;

Rgba mixOf(Rgba on, Rgba off, float weight)
{
    auto mix = [weight](uint8_t a, uint8_t b) { return static_cast<uint8_t>(std::lround(a + (b - a) * weight)); };
    return Rgba{mix(on.r, off.r), mix(on.g, off.g), mix(on.b, off.b), 255};
}

bool nearRgb(Rgba expected, Rgba actual)
{
    actual.a = expected.a;
    return nearColour(expected, actual, 2);
}
}

TEST_F(LoadingScreenDrawing, AtProgressZeroTheBandsStepTowardTheOffImage)
{
    ms_screen->setProgress(0.0f);
    ms_screen->draw();
    // Mask values in 1/255 steps: 18 is below 0.0714, 19-20 below 0.0814,
    // 21-23 below 0.0914, 24 and up at or above it.
    for (int value : {0, 10, 18})
        EXPECT_TRUE(nearRgb(ON_TOP, pixelAtMask(value))) << value;
    for (int value : {19, 20})
        EXPECT_TRUE(nearRgb(mixOf(ON_TOP, OFF, 0.33f), pixelAtMask(value))) << value;
    for (int value : {21, 23})
        EXPECT_TRUE(nearRgb(mixOf(ON_TOP, OFF, 0.4125f), pixelAtMask(value))) << value;
    for (int value : {24, 100, 255})
        EXPECT_TRUE(nearRgb(mixOf(ON_TOP, OFF, 0.7425f), pixelAtMask(value))) << value;
}

TEST_F(LoadingScreenDrawing, EveryPixelFollowsTheShaderModel)
{
    for (float progress : {0.0f, 0.3f, 0.7f, 1.0f})
        expectModel(progress);
}

TEST_F(LoadingScreenDrawing, AtProgressOneTheWholePictureIsTheOnImageUpright)
{
    ms_screen->setProgress(1.0f);
    ms_screen->draw();
    const std::vector<Rgba> pixels = ms_window->readPixels(0, 0, WIDTH, HEIGHT);
    for (int row = 0; row < HEIGHT; ++row)
        for (int column = 0; column < WIDTH; column += 7)
            ASSERT_TRUE(nearRgb(row >= HEIGHT / 2 ? ON_TOP : ON_BOTTOM, pixels[static_cast<size_t>(row) * WIDTH + column]))
                << column << "," << row;
}

TEST_F(LoadingScreenDrawing, ProgressIsClampedAndANaNCountsAsZero)
{
    DD::LoadingScreen& screen = *ms_screen;
    screen.setProgress(-0.5f);
    EXPECT_EQ(0.0f, screen.getProgress());
    screen.setProgress(1.7f);
    EXPECT_EQ(1.0f, screen.getProgress());
    screen.setProgress(0.42f);
    EXPECT_EQ(0.42f, screen.getProgress());
    // One asset: 0 x 0.7 / (1 - 1).
    const float zero = 0.0f;
    screen.setProgress(zero * 0.7f / zero);
    EXPECT_EQ(0.0f, screen.getProgress());
    screen.setProgress(std::numeric_limits<float>::infinity());
    EXPECT_EQ(1.0f, screen.getProgress());
}

TEST_F(LoadingScreenDrawing, DrawLeavesNoTextureNoProgramUnitZeroAndTheMatrices)
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(3.0f, 4.0f, 0.0f);
    GLfloat modelviewBefore[16], projectionBefore[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelviewBefore);
    glGetFloatv(GL_PROJECTION_MATRIX, projectionBefore);
    GLint modelviewDepth = 0, projectionDepth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelviewDepth);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projectionDepth);

    ms_screen->draw();

    GLint value = 0;
    for (int unit = 0; unit < 3; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
        EXPECT_EQ(0, value) << "unit " << unit;
    }
    glActiveTexture(GL_TEXTURE2);
    ms_screen->draw();
    glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
    EXPECT_EQ(GL_TEXTURE0, value);
    glGetIntegerv(GL_CURRENT_PROGRAM, &value);
    EXPECT_EQ(0, value);
    glGetIntegerv(GL_MATRIX_MODE, &value);
    EXPECT_EQ(GL_PROJECTION, value);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &value);
    EXPECT_EQ(modelviewDepth, value);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &value);
    EXPECT_EQ(projectionDepth, value);
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(modelviewBefore[i], after[i]);
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(projectionBefore[i], after[i]);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

TEST_F(LoadingScreenDrawing, PicturesAreFilteredLinearly)
{
    // A 2 x 1 on image (black | white) stretched over the window: linear
    // filtering gives a ramp in the middle instead of a hard edge.
    DD::LoadingScreen small("small/off.png", "small/on.png", "small/mask.png");
    small.setProgress(1.0f);
    small.draw();
    const Rgba middle = ms_window->readPixel(WIDTH / 2, HEIGHT / 2);
    EXPECT_NEAR(128, middle.r, 3);
    EXPECT_LT(ms_window->readPixel(WIDTH / 2 - 80, HEIGHT / 2).r, middle.r);
    EXPECT_GT(ms_window->readPixel(WIDTH / 2 + 80, HEIGHT / 2).r, middle.r);
}

TEST(LoadingScreenConstruction, WithoutAnArchiveStops)
{
    ASSERT_EQ(nullptr, DD::Archive::ms_archive);
    ChildResult r = runInChild([] { DD::LoadingScreen screen("a.png", "b.png", "c.png"); });
    EXPECT_EQ(SIGABRT, r.signal);
    EXPECT_EQ(expectedAssertion("src/dd/loadingscreen.cpp", "Archive::ms_archive != 0",
                                "Need an archive to load images."),
              r.output);
}
