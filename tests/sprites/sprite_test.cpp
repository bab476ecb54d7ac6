// DD::Sprite drawn for real: which cell of the table lands where in the
// sprite area, its loading from the pack, and the fatal stops.
#include "dd/archive.h"
#include "dd/sprite.h"
#include "gl/texture.h"

#include "support/childprocess.h"
#include "support/glharness.h"
#include "testassets.h"

#include <gtest/gtest.h>

#include <memory>
#include <signal.h>

namespace
{
const int AREA_WIDTH = 640;
const int AREA_HEIGHT = 480;

// Table texel (x, y from the top) as a colour, so a read-back pixel names its texel.
Rgba texelColour(int x, int y)
{
    return Rgba{static_cast<uint8_t>(x * 16 + 8), static_cast<uint8_t>(y * 32 + 8), 200, 255};
}

std::string metadata(const std::string& image, int columns, int rows, int width, int height,
                     const std::vector<std::string>& durations)
{
    std::string text = image + "\n" + std::to_string(columns) + "\n" + std::to_string(rows) + "\n" +
                       std::to_string(width) + "\n" + std::to_string(height) + "\n" +
                       std::to_string(durations.size()) + "\n";
    for (const std::string& d : durations)
        text += d + "\n";
    return text;
}

// The window is as large as the sprite area, so one area unit is one pixel:
// area x maps to column x + 320 and area y to row y + 240.
class SpriteDrawing : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ms_window = new GlTestWindow(AREA_WIDTH, AREA_HEIGHT);
        ms_pack = new TestPack("sprites");
        // 4 x 2 cells of 4 x 4 texels each.
        ms_pack->add("tables/grid.png", pngBytes(16, 8, texelColour));
        ms_pack->add("tables/white.png", solidPng(2, 2, Rgba{255, 255, 255, 255}));
        ms_pack->add("grid.meta", metadata("tables/grid.png", 4, 2, 400, 400, std::vector<std::string>(8, "0.1")));
        ms_pack->add("timed.meta", metadata("tables/white.png", 1, 1, 10, 10, {"0.1", "0.5", "0.1"}));
        ms_pack->add("empty.meta", metadata("tables/white.png", 1, 1, 10, 10, {}));
        ms_pack->add("short.meta", "tables/white.png\n1\n1\n10\n10\n3\n0.1\n0.1\n");
        ms_pack->add("unterminated.meta", "tables/white.png\n1\n1\n10\n10\n1\n0.1");
        ms_pack->add("nocolumns.meta", "tables/white.png\n0\n1\n10\n10\n1\n0.1\n");
        ms_pack->open();
    }

    static void TearDownTestSuite()
    {
        delete ms_pack;
        delete ms_window;
    }

    void SetUp() override
    {
        DD::Sprite::setSpriteArea(AREA_WIDTH, AREA_HEIGHT);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    static bool lit(int areaX, int areaY)
    {
        return ms_window->readPixel(areaX + AREA_WIDTH / 2, areaY + AREA_HEIGHT / 2).r > 0;
    }

    static GlTestWindow* ms_window;
    static TestPack* ms_pack;
};

GlTestWindow* SpriteDrawing::ms_window = 0;
TestPack* SpriteDrawing::ms_pack = 0;

// A white frame of the given size, from its own texture.
std::unique_ptr<DD::Sprite> whiteSprite(unsigned width, unsigned height)
{
    return std::unique_ptr<DD::Sprite>(new DD::Sprite("tables/white.png", 1, 1, width, height, 1, 0.1f));
}
}

TEST_F(SpriteDrawing, FrameFiveOfAFourByTwoTableIsColumnOneOfRowOne)
{
    std::unique_ptr<DD::Sprite> sprite(DD::Sprite::load("grid.meta"));
    ASSERT_EQ(8u, sprite->getFrameCount());
    sprite->setFrame(5);
    sprite->draw();

    // The 400 x 400 quad shows the 4 x 4 texels of the cell, 100 pixels each:
    // s from 0.25 to 0.5 (texel columns 4-7), t from 0.5 down to 0 (rows 4-7 from the top).
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            const int column = 120 + i * 100 + 50;
            const int row = 439 - (j * 100 + 50);
            EXPECT_EQ(texelColour(4 + i, 4 + j), ms_window->readPixel(column, row)) << i << "," << j;
        }
    }
}

TEST_F(SpriteDrawing, FrameZeroIsTheTopLeftCell)
{
    std::unique_ptr<DD::Sprite> sprite(DD::Sprite::load("grid.meta"));
    sprite->draw();
    EXPECT_EQ(texelColour(0, 0), ms_window->readPixel(170, 389));
    EXPECT_EQ(texelColour(3, 3), ms_window->readPixel(470, 89));
}

TEST_F(SpriteDrawing, AHundredByFiftyFrameSpansPlusMinusFiftyByTwentyFive)
{
    whiteSprite(100, 50)->draw();
    EXPECT_TRUE(lit(-50, -25));
    EXPECT_TRUE(lit(49, 24));
    EXPECT_FALSE(lit(-51, 0));
    EXPECT_FALSE(lit(50, 0));
    EXPECT_FALSE(lit(0, -26));
    EXPECT_FALSE(lit(0, 25));
}

TEST_F(SpriteDrawing, EdgesAreCutTowardZero)
{
    // Width 3: half 1.5, so the quad runs from (int)-1.5 = -1 to (int)1.5 = 1.
    whiteSprite(3, 5)->draw();
    EXPECT_FALSE(lit(-2, 0));
    EXPECT_TRUE(lit(-1, 0));
    EXPECT_TRUE(lit(0, 0));
    EXPECT_FALSE(lit(1, 0));
    EXPECT_TRUE(lit(0, 1));
    EXPECT_FALSE(lit(0, 2));
    EXPECT_TRUE(lit(0, -2));
    EXPECT_FALSE(lit(0, -3));
}

TEST_F(SpriteDrawing, PositionAndScaleMoveAndGrowTheQuad)
{
    std::unique_ptr<DD::Sprite> sprite = whiteSprite(100, 50);
    sprite->setPosition(100, -50);
    sprite->move(10, 5);
    int x = 0, y = 0;
    sprite->getPosition(x, y);
    EXPECT_EQ(110, x);
    EXPECT_EQ(-45, y);
    sprite->setScale(2.0f);
    sprite->draw();
    // Centre (110, -45), 200 x 100: x from 10 to 210, y from -95 to 5.
    EXPECT_TRUE(lit(10, -95));
    EXPECT_TRUE(lit(209, 4));
    EXPECT_FALSE(lit(9, -45));
    EXPECT_FALSE(lit(210, -45));
    EXPECT_FALSE(lit(110, 5));
    EXPECT_FALSE(lit(110, -96));
}

TEST_F(SpriteDrawing, DrawsInOpaqueWhiteWhateverTheCurrentColour)
{
    glColor4f(1.0f, 0.0f, 0.0f, 0.25f);
    std::unique_ptr<DD::Sprite> sprite(DD::Sprite::load("grid.meta"));
    sprite->draw();
    EXPECT_EQ(texelColour(0, 0), ms_window->readPixel(170, 389));
}

TEST_F(SpriteDrawing, LeavesTheMatricesAndUnitZeroAsItFoundThem)
{
    GLint projectionDepth = 0, modelviewDepth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projectionDepth);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelviewDepth);
    GLfloat projectionBefore[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projectionBefore);

    whiteSprite(10, 10)->draw();

    GLint value = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &value);
    EXPECT_EQ(projectionDepth, value);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &value);
    EXPECT_EQ(modelviewDepth, value);
    glGetIntegerv(GL_MATRIX_MODE, &value);
    EXPECT_EQ(GL_PROJECTION, value);
    GLfloat projectionAfter[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projectionAfter);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(projectionBefore[i], projectionAfter[i]);
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(0, value);
}

TEST_F(SpriteDrawing, LoadedDurationsDriveTheAnimation)
{
    std::unique_ptr<DD::Sprite> sprite(DD::Sprite::load("timed.meta"));
    ASSERT_EQ(3u, sprite->getFrameCount());
    sprite->draw();
    sprite->update(0.2);
    EXPECT_EQ(1u, sprite->getFrame());
    sprite->draw();
    sprite->update(0.2);
    EXPECT_EQ(1u, sprite->getFrame()) << "frame 1 lasts 0.5 s";
    sprite->update(0.4);
    EXPECT_EQ(1u, sprite->getFrame()) << "no second step before the next draw";
    sprite->draw();
    sprite->update(0.4);
    EXPECT_EQ(2u, sprite->getFrame());
}

TEST_F(SpriteDrawing, ASpriteWithoutFramesDrawsNothingAndStandsStill)
{
    std::unique_ptr<DD::Sprite> sprite(DD::Sprite::load("empty.meta"));
    EXPECT_EQ(0u, sprite->getFrameCount());
    for (int i = 0; i < 3; ++i) {
        sprite->draw();
        sprite->update(1.0);
    }
    EXPECT_EQ(0u, sprite->getFrame());
    EXPECT_FALSE(sprite->hasLooped());
    EXPECT_FALSE(lit(0, 0));
}

TEST_F(SpriteDrawing, AFrameIndexPastTheLastIsRefusedWithAConsoleLine)
{
    std::unique_ptr<DD::Sprite> sprite(DD::Sprite::load("grid.meta"));
    sprite->setFrame(2);
    testing::internal::CaptureStdout();
    sprite->setFrame(8);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ("P[DEMO] Sprite frame 8 ignored: the sprite has 8 frames.\n", output);
    EXPECT_EQ(2u, sprite->getFrame());
}

TEST_F(SpriteDrawing, DrawBeforeTheAreaIsSetStops)
{
    std::unique_ptr<DD::Sprite> sprite = whiteSprite(10, 10);
    for (int height : {0, 480}) {
        ChildResult r = runInChild([&] {
            DD::Sprite::setSpriteArea(0, height);
            sprite->draw();
        });
        EXPECT_EQ(SIGABRT, r.signal);
        EXPECT_EQ(expectedAssertion("src/dd/sprite.cpp", "(ms_spriteAreaWidth > 0) && (ms_spriteAreaHeight > 0)",
                                    "Sprite area size has not been set."),
                  r.output);
    }
}

TEST_F(SpriteDrawing, MalformedMetadataStopsWithAMessageNamingTheFile)
{
    const std::string place = sourcePlace("src/dd/sprite.cpp", "FATAL_ASSERT(wellFormed");
    struct Case
    {
        const char* file;
        const char* reason;
    } cases[] = {
        {"short.meta", "line 9 (a frame duration) is missing: the text ends before it"},
        {"unterminated.meta", "line 7 (a frame duration) does not end with a line feed"},
        {"nocolumns.meta", "the sprite table needs at least one column and one row"},
    };
    for (const Case& c : cases) {
        ChildResult r = runInChild([&] { DD::Sprite::load(c.file); });
        EXPECT_EQ(SIGABRT, r.signal) << c.file;
        EXPECT_EQ(assertionText("wellFormed", place,
                                std::string("Sprite metadata file \"") + c.file + "\" is malformed: " + c.reason + "."),
                  r.output);
    }
}

TEST_F(SpriteDrawing, MissingNamesStop)
{
    ChildResult noName = runInChild([] { DD::Sprite::load(0); });
    EXPECT_EQ(expectedAssertion("src/dd/sprite.cpp", "metaDataFile",
                                "You must specify a sprite metadata file to load."),
              noName.output);
    ChildResult noImage = runInChild([] { DD::Sprite sprite(static_cast<const char*>(0), 1, 1, 1, 1, 1, 0.1f); });
    EXPECT_EQ(expectedAssertion("src/dd/sprite.cpp", "textureFile", "You must specify a sprite table texture to load."),
              noImage.output);
    ChildResult noTexture = runInChild([] { DD::Sprite sprite(static_cast<Texture*>(0), 1, 1, 1, 1, 1, 0.1f); });
    EXPECT_EQ(expectedAssertion("src/dd/sprite.cpp", "texture", "You must specify a sprite table texture to load."),
              noTexture.output);
}

TEST(SpriteLoading, WithoutAnOpenArchiveStops)
{
    ASSERT_EQ(nullptr, DD::Archive::ms_archive);
    ChildResult r = runInChild([] { DD::Sprite::load("any.meta"); });
    EXPECT_EQ(SIGABRT, r.signal);
    EXPECT_EQ(expectedAssertion("src/dd/sprite.cpp", "Archive::ms_archive != 0",
                                "No archive in memory, cannot load sprite any.meta"),
              r.output);
}

TEST(SpriteLoading, ATableWithoutCellsStopsBeforeLoadingItsImage)
{
    for (unsigned columns : {0u, 3u}) {
        ChildResult r = runInChild([columns] { DD::Sprite sprite("tables/any.png", columns, 3 - columns, 1, 1, 1, 0.1f); });
        EXPECT_EQ(SIGABRT, r.signal);
        EXPECT_EQ(expectedAssertion("src/dd/sprite.cpp", "(columns > 0) && (rows > 0)",
                                    "A sprite table needs at least one column and one row."),
                  r.output);
    }
}
