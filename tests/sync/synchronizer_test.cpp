// The synchronizer with real sprites from a pack: events start tracks, keys
// come due strictly after their time, each once, in pending order, carrying
// the sprite loaded for their index and the firing event's value.
#include "synchronizer.h"

#include "dd/sprite.h"
#include "support/glharness.h"
#include "testassets.h"

#include <fstream>
#include <gtest/gtest.h>
#include <memory>

namespace
{
class SynchronizerSchedule : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ms_window = new GlTestWindow(64, 64);
        ms_pack = new TestPack("synchronizer");
        ms_pack->add("tables/white.png", solidPng(2, 2, Rgba{255, 255, 255, 255}));
        ms_pack->add("one.meta", "tables/white.png\n1\n1\n10\n10\n1\n0.1\n");
        ms_pack->add("two.meta", "tables/white.png\n1\n1\n20\n20\n2\n0.1\n0.1\n");
        ms_pack->open();
    }

    static void TearDownTestSuite()
    {
        delete ms_pack;
        delete ms_window;
    }

    // Written into the run folder that the pack made the working folder.
    static std::unique_ptr<Synchronizer> load(const std::string& content)
    {
        std::ofstream("schedule.txt", std::ios::binary) << content;
        return std::make_unique<Synchronizer>("schedule.txt");
    }

    static GlTestWindow* ms_window;
    static TestPack* ms_pack;
};

GlTestWindow* SynchronizerSchedule::ms_window = 0;
TestPack* SynchronizerSchedule::ms_pack = 0;

// Sprites one.meta and two.meta; track 0 keys at offsets 0.0 and 0.5.
const char* const HEADER = "2\none.meta\ntwo.meta\n"
                           "2\n2\n0:11:0.0\n1:12:0.5\n1\n1:13:0.25\n";
}

TEST_F(SynchronizerSchedule, KeysComeDueStrictlyAfterTheirTime)
{
    auto sync = load(std::string(HEADER) + "1\n0:7.0:10.0\n0\n0\n");
    const std::vector<DD::Sprite*>& sprites = sync->getSprites();
    ASSERT_EQ(sprites.size(), 2u);

    EXPECT_TRUE(sync->update(10.0f).empty());
    std::vector<Synchronizer::Key> keys = sync->update(10.2f);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].sprite, sprites[0]);
    EXPECT_EQ(keys[0].param, 11);
    EXPECT_EQ(keys[0].value, 7);
    EXPECT_EQ(keys[0].time, 10.0f);

    keys = sync->update(10.6f);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].sprite, sprites[1]);
    EXPECT_EQ(keys[0].param, 12);
    EXPECT_EQ(keys[0].time, 10.5f);

    EXPECT_TRUE(sync->update(11.0f).empty());
    EXPECT_TRUE(sync->update(100.0f).empty());
}

TEST_F(SynchronizerSchedule, EventsOnOneTrackScheduleTheirOwnKeys)
{
    auto sync = load(std::string(HEADER) + "3\n0:1:2.0\n0:-2.9:3.0\n1:5:0.0\n0\n0\n");
    // All three events fire at once; keys already past come out in the same
    // call, in the order they were scheduled.
    std::vector<Synchronizer::Key> keys = sync->update(50.0f);
    ASSERT_EQ(keys.size(), 5u);
    const int32_t params[] = {11, 12, 11, 12, 13};
    const int32_t values[] = {1, 1, -2, -2, 5};
    const float times[] = {2.0f, 2.5f, 3.0f, 3.5f, 0.25f};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(keys[i].param, params[i]) << i;
        EXPECT_EQ(keys[i].value, values[i]) << i;
        EXPECT_EQ(keys[i].time, times[i]) << i;
    }
    EXPECT_TRUE(sync->update(60.0f).empty());
}

TEST_F(SynchronizerSchedule, PendingKeysKeepTheirOrderAcrossUpdates)
{
    auto sync = load(std::string(HEADER) + "2\n0:1:1.0\n0:2:1.2\n0\n0\n");
    // 1.3: first event's key at 1.0 and second's at 1.2 are due; both second keys (1.5, 1.7) wait.
    std::vector<Synchronizer::Key> keys = sync->update(1.3f);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].value, 1);
    EXPECT_EQ(keys[1].value, 2);
    keys = sync->update(2.0f);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].time, 1.5f);
    EXPECT_EQ(keys[1].time, 1.7f);
}
