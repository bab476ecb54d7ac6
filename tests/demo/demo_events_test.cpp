// The demo's reactions to timeline events, delivered by a real environment
// from a script, on real sprites (GL under Xvfb) and silent music.
#include "solennedemo.h"

#include "dd/sprite.h"
#include "gl/texture.h"
#include "support/childprocess.h"
#include "support/glharness.h"
#include "velt/environment.h"
#include "velt/music.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

// Reaches into the demo's state the way the frame does.
struct SolenneDemoProbe
{
    static DD::Sprite* layer(SolenneDemo& demo, int s) { return demo.m_layers[s]; }
    static int lightningLayer(SolenneDemo& demo) { return demo.m_lightningLayer; }
    static float lightningSync(SolenneDemo& demo) { return demo.m_lightningSync; }
    static const float* lightningColor(SolenneDemo& demo) { return demo.m_lightningColor; }
    static bool running(SolenneDemo& demo) { return demo.m_running; }
    static void prepare(SolenneDemo& demo, const std::vector<DD::Sprite*>& sprites)
    {
        demo.m_spriteTables = sprites;
        demo.m_music = new VELT::Music("no/such/music.mp3");
        demo.m_running = true;
    }
};

namespace
{
const char* kDeclarations = R"(
begin assets
texture first sprites/first
texture second sprites/second
end
begin event Sprite
int
asset
float
end
begin event SpriteNoAnim
int
asset
float
end
begin event SpriteNoAnimOffset
int
asset
float
int
end
begin event DiscardSprite
int
end
begin event ShowLightning
int
end
begin event HideLightning
end
begin event SyncLightning
float
end
begin event ColorLightning
float
float
float
end
begin event Exit
end
begin event StartSong
end
begin event ShortSprite
int
end
)";

const char* kNames[] = {"DiscardSprite", "Sprite", "SpriteNoAnim", "SpriteNoAnimOffset", "ShowLightning",
                        "HideLightning", "SyncLightning", "ColorLightning", "StartSong", "Exit"};

class DemoEvents : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static const unsigned char notAnImage[] = "no picture";
        m_texture = new Texture(notAnImage, sizeof notAnImage);
        // Eight frames of 0.1 s each.
        m_first = new DD::Sprite(m_texture, 4, 2, 64, 64, 8, 0.1f);
        m_second = new DD::Sprite(m_texture, 4, 2, 64, 64, 8, 0.1f);
        SolenneDemoProbe::prepare(m_demo, {m_first, m_second});
    }

    // Loads a timeline and delivers everything in it with one update.
    void play(const std::string& timeline)
    {
        std::istringstream script(std::string(kDeclarations) + "begin global\n" + timeline + "end\n");
        m_environment = new VELT::Environment(script);
        for (const char* name : kNames)
            m_environment->addListener(&m_demo, name);
        m_environment->update(100.0);
    }

    void TearDown() override { delete m_environment; }

    DD::Sprite* layer(int s) { return SolenneDemoProbe::layer(m_demo, s); }

    GlTestWindow m_window{320, 240};
    SolenneDemo m_demo;
    Texture* m_texture = nullptr;
    DD::Sprite* m_first = nullptr;
    DD::Sprite* m_second = nullptr;
    VELT::Environment* m_environment = nullptr;
};
}

TEST_F(DemoEvents, EventsInOneUpdateActInTimelineOrder)
{
    play("1 event Sprite 3 first 1.0\n"
         "2 event DiscardSprite 3\n"
         "3 event DiscardSprite 4\n"
         "1 event Sprite 4 second 1.0\n");
    EXPECT_EQ(layer(3), nullptr);
    EXPECT_EQ(layer(4), m_second);
}

TEST_F(DemoEvents, SpriteRewindsAndAnimatesWhileNoAnimFreezes)
{
    m_first->update(0.5);
    ASSERT_EQ(m_first->getFrame(), 1u);
    play("1 event Sprite 0 first 2.0\n");
    EXPECT_EQ(layer(0), m_first);
    EXPECT_EQ(m_first->getFrame(), 0u);
    m_first->update(0.5);
    EXPECT_EQ(m_first->getFrame(), 1u);

    play("2 event SpriteNoAnim 1 second 1.0\n");
    m_second->update(0.5);
    EXPECT_EQ(m_second->getFrame(), 0u);
}

TEST_F(DemoEvents, OneSpriteOnTwoLayersIsShared)
{
    play("1 event Sprite 2 first 1.0\n"
         "2 event Sprite 5 first 1.0\n");
    m_first->update(0.5);
    ASSERT_EQ(m_first->getFrame(), 1u);

    delete m_environment;
    play("3 event SpriteNoAnim 5 first 1.0\n");
    // The sprite on layer 2 is the same object: rewound and frozen too.
    EXPECT_EQ(layer(2), m_first);
    EXPECT_EQ(m_first->getFrame(), 0u);
    m_first->update(0.5);
    EXPECT_EQ(m_first->getFrame(), 0u);
}

TEST_F(DemoEvents, NoAnimOffsetStandsOnItsFrame)
{
    play("1 event SpriteNoAnimOffset 7 second 1.0 5\n");
    EXPECT_EQ(layer(7), m_second);
    EXPECT_EQ(m_second->getFrame(), 5u);
    m_second->update(0.5);
    EXPECT_EQ(m_second->getFrame(), 5u);
}

TEST_F(DemoEvents, LightningLayerKeepsTheStoredSprite)
{
    play("1 event ShowLightning 3\n"
         "2 event Sprite 3 first 1.0\n"
         "3 event SyncLightning 0.25\n"
         "4 event ColorLightning 0.2 0.4 1\n");
    EXPECT_EQ(SolenneDemoProbe::lightningLayer(m_demo), 3);
    EXPECT_EQ(layer(3), m_first);
    EXPECT_EQ(SolenneDemoProbe::lightningSync(m_demo), 0.25f);
    EXPECT_EQ(SolenneDemoProbe::lightningColor(m_demo)[0], 0.2f);
    EXPECT_EQ(SolenneDemoProbe::lightningColor(m_demo)[1], 0.4f);
    EXPECT_EQ(SolenneDemoProbe::lightningColor(m_demo)[2], 1.0f);

    delete m_environment;
    play("5 event HideLightning\n");
    EXPECT_EQ(SolenneDemoProbe::lightningLayer(m_demo), -1);
    EXPECT_EQ(layer(3), m_first);
}

TEST_F(DemoEvents, ArgumentsOutsideTheirRangeAreIgnored)
{
    play("1 event Sprite 1 first 1.0\n"
         "2 event Sprite 16 first 1.0\n"
         "3 event Sprite -1 second 1.0\n"
         "4 event Sprite 1 nosuchasset 1.0\n"  // the asset resolves to -1
         "5 event DiscardSprite 99\n"
         "6 event DiscardSprite -3\n"
         "7 event SpriteNoAnimOffset 2 second 1.0 8\n"
         "8 event SpriteNoAnimOffset 40 second 1.0 1\n"
         "9 event ShowLightning 21\n");
    EXPECT_EQ(layer(1), m_first);
    for (int s = 0; s < SolenneDemo::MAX_SUBSCREENS; ++s) {
        if (s != 1 && s != 2) {
            EXPECT_EQ(layer(s), nullptr) << "layer " << s;
        }
    }
    // A frame past the last is refused: the sprite is shown on its first frame.
    EXPECT_EQ(layer(2), m_second);
    EXPECT_EQ(m_second->getFrame(), 0u);
    // The lightning is then shown nowhere, but the value is kept.
    EXPECT_EQ(SolenneDemoProbe::lightningLayer(m_demo), 21);
}

TEST_F(DemoEvents, TableIndexPastTheLoadedSpritesIsIgnored)
{
    // An int cell read as a table index: 2 is one past the two loaded sprites.
    std::istringstream script(std::string(kDeclarations) +
                              "begin event Sprite\nint\nint\nfloat\nend\n"
                              "begin global\n1 event Sprite 0 2 1.0\n2 event Sprite 1 1 1.0\nend\n");
    m_environment = new VELT::Environment(script);
    m_environment->addListener(&m_demo, "Sprite");
    m_environment->update(100.0);
    EXPECT_EQ(layer(0), nullptr);
    EXPECT_EQ(layer(1), m_second);
}

TEST_F(DemoEvents, EventsWithTooFewCellsAreIgnored)
{
    // Declared with one parameter only: no cell to read the table or scale from.
    std::istringstream script(std::string(kDeclarations) +
                              "begin event Sprite\nint\nend\nbegin event ColorLightning\nfloat\nend\n"
                              "begin global\n1 event Sprite 0\n2 event ColorLightning 0.5\nend\n");
    m_environment = new VELT::Environment(script);
    m_environment->addListener(&m_demo, "Sprite");
    m_environment->addListener(&m_demo, "ColorLightning");
    m_environment->update(100.0);
    EXPECT_EQ(layer(0), nullptr);
    EXPECT_EQ(SolenneDemoProbe::lightningColor(m_demo)[0], 0.0f);
}

TEST_F(DemoEvents, ExitPrintsOncePerEventAndStopsTheLoop)
{
    ChildResult r = runInChild([this] {
        play("1 event Exit\n"
             "2 event StartSong\n"
             "3 event Exit\n");
        std::printf("running %d\n", SolenneDemoProbe::running(m_demo) ? 1 : 0);
    });
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.output, "P[VELT::Environment] Parsing environment from input stream\n"
                        "P[DEMO] Demo has reached its end, exiting...\n"
                        "P[DEMO] Demo has reached its end, exiting...\n"
                        "running 0\n");
}
