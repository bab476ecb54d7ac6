// The lightning arc: its line strip, and the arc and glow drawn for real into
// a full-HD subscreen, compared with the CPU model of the arc shader at time 0
// (a smooth bow) and of the blur over an even area.
#include "lightning.h"

#include "gl/framebuffer.h"
#include "shadermodels.h"
#include "support/glharness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
std::vector<float> arcVertices(int segments)
{
    std::vector<float> xs;
    forEachArcVertex(segments, [&xs](float x) { xs.push_back(x); });
    return xs;
}
}

TEST(LightningArcStrip, TwelveSegmentsGiveThirteenVerticesEndingJustBelowOne)
{
    const std::vector<float> xs = arcVertices(12);
    ASSERT_EQ(13u, xs.size());
    EXPECT_EQ(0.0f, xs.front());
    EXPECT_LT(xs.back(), 1.0f);
    EXPECT_NEAR(1.0f, xs.back(), 1e-6f);
}

TEST(LightningArcStrip, OneSegmentGivesBothEnds)
{
    const std::vector<float> xs = arcVertices(1);
    ASSERT_EQ(2u, xs.size());
    EXPECT_EQ(0.0f, xs[0]);
    EXPECT_EQ(1.0f, xs[1]);
}

TEST(LightningArcStrip, SinglePrecisionStepsDecideTheLastVertex)
{
    // 10 x 0.1f overshoots 1: the strip stops at 0.9.
    EXPECT_EQ(10u, arcVertices(10).size());
    EXPECT_EQ(101u, arcVertices(100).size());
}

TEST(LightningArcStrip, NoSegmentsGiveNoVerticesAndHugeCountsEnd)
{
    EXPECT_TRUE(arcVertices(0).empty());
    EXPECT_TRUE(arcVertices(-7).empty());
    // Steps too small to move a float past 1 would never end the loop.
    EXPECT_EQ(static_cast<size_t>(MAX_ARC_SEGMENTS) + 1, arcVertices(2147483647).size());
}

namespace
{
const int SUB_WIDTH = 1920;
const int SUB_HEIGHT = 1080;
const float CLEAR[3] = {0.02f, 0.06f, 0.1f};

// A full-HD framebuffer standing in for the subscreen being rendered, as the
// screen manager leaves it: bound, cleared to its colour with alpha 1.
class LightningDrawing : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ms_window = new GlTestWindow(640, 480);
        ms_subscreen = new Framebuffer(SUB_WIDTH, SUB_HEIGHT);
        ms_subscreen->addRenderTarget(GL_RGBA8);
    }

    static void TearDownTestSuite()
    {
        delete ms_subscreen;
        delete ms_window;
    }

    void SetUp() override
    {
        ms_subscreen->bind();
        glClearColor(CLEAR[0], CLEAR[1], CLEAR[2], 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    void TearDown() override
    {
        ms_subscreen->unbind();
    }

    static std::vector<Rgba> subscreenPixels()
    {
        std::vector<Rgba> pixels(static_cast<size_t>(SUB_WIDTH) * SUB_HEIGHT);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, SUB_WIDTH, SUB_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    // The runner's arc (640 x 480, 12 segments, intensity and speed 10) in orange.
    static void drawArc(float time, float sync, int segments = 12, int width = 640, int height = 480)
    {
        drawLightning(width, height, time, segments, 10.0f, 10.0f, sync, 0.6f, 0.3f, 0.0f, 1.0f);
    }

    // Middle row of the glow in one column: halfway between the first and
    // last rows whose red rises above half its peak over the background.
    static void glowBand(const std::vector<Rgba>& pixels, int column, float& centre, int& thickness)
    {
        int peak = 0;
        for (int row = 0; row < SUB_HEIGHT; ++row)
            peak = std::max(peak, int(pixels[static_cast<size_t>(row) * SUB_WIDTH + column].r));
        const int background = int(std::lround(blurOfEvenArea(CLEAR[0]) * 255.0f));
        const int threshold = background + (peak - background) / 2;
        int first = -1, last = -1;
        for (int row = 0; row < SUB_HEIGHT; ++row) {
            if (pixels[static_cast<size_t>(row) * SUB_WIDTH + column].r > threshold) {
                if (first < 0)
                    first = row;
                last = row;
            }
        }
        centre = (first + last) / 2.0f;
        thickness = last - first + 1;
    }

    // Where the model puts the line at column: the strip's straight pieces
    // between the displaced vertices, scaled by the projection +-1/sync.
    static float modelRow(int column, float sync, int segments)
    {
        const std::vector<float> xs = arcVertices(segments);
        const float x = (column + 0.5f) / SUB_WIDTH;
        for (size_t i = 0; i + 1 < xs.size(); ++i) {
            if (x < xs[i] || x > xs[i + 1])
                continue;
            const float a = (x - xs[i]) / (xs[i + 1] - xs[i]);
            const float y = arcDeformModel(xs[i], 0.0f) * (1.0f - a) + arcDeformModel(xs[i + 1], 0.0f) * a;
            return (y * sync + 1.0f) / 2.0f * SUB_HEIGHT;
        }
        return -1.0f;
    }

    static GlTestWindow* ms_window;
    static Framebuffer* ms_subscreen;
};

GlTestWindow* LightningDrawing::ms_window = 0;
Framebuffer* LightningDrawing::ms_subscreen = 0;
}

// Runs first: calls that draw nothing must not create the arc's objects either,
// so the first real call (640 x 480 below) still sizes the framebuffer.
TEST_F(LightningDrawing, NoSegmentsOrSyncZeroDrawNothingAndReturn)
{
    const std::vector<Rgba> before = subscreenPixels();
    drawLightning(100, 100, 0.0f, 0, 10.0f, 10.0f, 2.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    drawLightning(100, 100, 0.0f, -5, 10.0f, 10.0f, 2.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    drawLightning(100, 100, 0.0f, 12, 10.0f, 10.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    drawLightning(100, 100, 0.0f, 12, 10.0f, 10.0f, -0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(before == subscreenPixels());
    EXPECT_EQ(ms_subscreen, Framebuffer::ms_currentFramebuffer);
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(0, program);
}

TEST_F(LightningDrawing, AtTimeZeroTheArcIsASmoothBowBelowTheCentreLine)
{
    const float sync = 2.0f;
    drawArc(0.0f, sync);
    const std::vector<Rgba> pixels = subscreenPixels();
    for (int column : {240, 480, 720, 960, 1200, 1440, 1680}) {
        float centre = 0.0f;
        int thickness = 0;
        glowBand(pixels, column, centre, thickness);
        EXPECT_NEAR(modelRow(column, sync, 12), centre, 6.0f) << "column " << column;
        EXPECT_LT(centre, SUB_HEIGHT / 2 - 50) << "below the centre line";
        // The 16-pixel line of the 480-high arc picture, 2.25 times taller here.
        EXPECT_GT(thickness, 30);
        EXPECT_LT(thickness, 80);
    }
    // In the middle the bow reaches -0.25 of the +-0.5 range: a quarter of the height.
    float middle = 0.0f;
    int thickness = 0;
    glowBand(pixels, 960, middle, thickness);
    EXPECT_NEAR(SUB_HEIGHT / 4.0f, middle, 4.0f);
}

TEST_F(LightningDrawing, OneSegmentIsAStraightLineAcross)
{
    drawArc(0.0f, 2.0f, 1);
    const std::vector<Rgba> pixels = subscreenPixels();
    for (int column : {300, 960, 1600}) {
        float centre = 0.0f;
        int thickness = 0;
        glowBand(pixels, column, centre, thickness);
        EXPECT_NEAR(SUB_HEIGHT / 2.0f, centre, 4.0f) << "column " << column;
    }
}

namespace
{
// The arc picture of a straight one-segment arc, one colour channel: the rows
// whose centres lie within 8 pixels of the line (16 of the 480) in the arc's
// colour, the rest in the subscreen's, sampled linearly with a clamped border.
struct StraightArcPicture
{
    float line;
    float background;
    float lineRow;
};

float sampleStraightArc(float t, const void* data)
{
    const StraightArcPicture& picture = *static_cast<const StraightArcPicture*>(data);
    auto texel = [&picture](float row) {
        if (row < 0.0f || row > 479.0f)
            return 0.0f;
        const float distance = row + 0.5f - picture.lineRow;
        return distance >= -8.0f && distance < 8.0f ? picture.line : picture.background;
    };
    const float u = std::min(std::max(t, 0.0f), 1.0f) * 480.0f - 0.5f;
    const float row = std::floor(u);
    const float a = u - row;
    return texel(row) * (1.0f - a) + texel(row + 1.0f) * a;
}
}

TEST_F(LightningDrawing, TheGlowAcrossAStraightArcFollowsTheBlurModel)
{
    drawArc(0.0f, 2.0f, 1);
    const std::vector<Rgba> pixels = subscreenPixels();
    const float arcColour[3] = {0.6f, 0.3f, 0.0f};
    // Halfway along, the line sits at half the (tiny) displacement of its right end.
    const float sync = 2.0f;
    const float lineRow = (arcDeformModel(1.0f, 0.0f) * 0.5f * sync + 1.0f) / 2.0f * 480.0f;
    int mismatches = 0;
    // The middle column, away from the arc's ends; rows away from the clamped border.
    for (int row = 100; row < SUB_HEIGHT - 100; ++row) {
        const Rgba p = pixels[static_cast<size_t>(row) * SUB_WIDTH + SUB_WIDTH / 2];
        const uint8_t actual[3] = {p.r, p.g, p.b};
        for (int channel = 0; channel < 3; ++channel) {
            const StraightArcPicture picture = {arcColour[channel], CLEAR[channel], lineRow};
            const float t = (row + 0.5f) / SUB_HEIGHT;
            const float expected = blurOfEvenRows(sampleStraightArc, &picture, t, 1.0f / 96.0f) * 255.0f;
            if (std::fabs(expected - actual[channel]) > 3.0f && ++mismatches <= 5)
                ADD_FAILURE() << "row " << row << " channel " << channel << ": expected " << expected << ", got "
                              << int(actual[channel]);
        }
    }
    EXPECT_EQ(0, mismatches);
}

TEST_F(LightningDrawing, AnEvenAreaComesOutAboutThreeTimesAsBright)
{
    drawArc(0.0f, 2.0f);
    const std::vector<Rgba> pixels = subscreenPixels();
    // Far from the arc and from the picture's clamped border.
    for (int row : {700, 900}) {
        for (int column : {400, 960, 1500}) {
            const Rgba p = pixels[static_cast<size_t>(row) * SUB_WIDTH + column];
            const Rgba expected = {static_cast<uint8_t>(std::lround(blurOfEvenArea(CLEAR[0]) * 255.0f)),
                                   static_cast<uint8_t>(std::lround(blurOfEvenArea(CLEAR[1]) * 255.0f)),
                                   static_cast<uint8_t>(std::lround(blurOfEvenArea(CLEAR[2]) * 255.0f)), 255};
            EXPECT_TRUE(nearColour(expected, p, 3))
                << row << "," << column << ": " << int(p.r) << " " << int(p.g) << " " << int(p.b) << " " << int(p.a);
        }
    }
}

TEST_F(LightningDrawing, ReturnsWithTheSubscreenBoundAndNothingElse)
{
    GLint framebufferBefore = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebufferBefore);
    glActiveTexture(GL_TEXTURE0);
    drawArc(0.7f, 0.1f);

    GLint value = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &value);
    EXPECT_EQ(framebufferBefore, value);
    EXPECT_EQ(ms_subscreen, Framebuffer::ms_currentFramebuffer);
    EXPECT_EQ(nullptr, Framebuffer::ms_previousFramebuffer);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(SUB_WIDTH, viewport[2]);
    EXPECT_EQ(SUB_HEIGHT, viewport[3]);
    glGetIntegerv(GL_CURRENT_PROGRAM, &value);
    EXPECT_EQ(0, value);
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(0, value);

    // The subscreen's own unbind then returns to the window.
    ms_subscreen->unbind();
    EXPECT_EQ(nullptr, Framebuffer::ms_currentFramebuffer);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(640, viewport[2]);
    EXPECT_EQ(480, viewport[3]);
    ms_subscreen->bind();
}

TEST_F(LightningDrawing, ALaterCallWithAnotherSizeKeepsTheFirstFramebuffer)
{
    drawArc(0.0f, 2.0f);
    const std::vector<Rgba> first = subscreenPixels();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawArc(0.0f, 2.0f, 12, 160, 120);
    EXPECT_TRUE(first == subscreenPixels());
}

TEST_F(LightningDrawing, LaterTimesJitterTheArc)
{
    drawArc(0.0f, 2.0f);
    const std::vector<Rgba> bow = subscreenPixels();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawArc(12.345f, 2.0f);
    EXPECT_FALSE(bow == subscreenPixels());
}
