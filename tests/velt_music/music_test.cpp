// VELT::Music over the sound layer: construction, play, pause, seek, the
// smoothed spectrum, and silent but safe behaviour without a sound.
#include "velt/music.h"

#include "soundtestsupport.h"
#include "support/childprocess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

namespace
{
const int VALUES = VELT::Music::SPECTRUM_SIZE;

bool allZero(const float* values)
{
    return std::all_of(values, values + VALUES, [](float v) { return v == 0.0f; });
}

bool channelPaused(FMOD_CHANNEL* channel)
{
    FMOD_BOOL paused = 0;
    FMOD_Channel_GetPaused(channel, &paused);
    return paused != 0;
}

// Lines on standard error other than the disk driver's own announcement.
int layerLines(const std::string& errors)
{
    int lines = 0;
    size_t start = 0;
    for (size_t end; (end = errors.find('\n', start)) != std::string::npos; start = end + 1)
        lines += errors.compare(start, 9, "CRITICAL:") != 0;
    return lines;
}

const std::string musicPath = mediaPath("music.mp3");
}

TEST(Music, ConstructionLeavesItPausedWithoutAChannelAndASilentSpectrum)
{
    VELT::Music music(musicPath.c_str());
    EXPECT_TRUE(music.isPaused());
    EXPECT_EQ(music.getChannel(), nullptr);
    EXPECT_TRUE(allZero(music.getSpectrum()));
}

TEST(Music, BeforeTheFirstPlayPauseSeekAndUpdateChangeNothing)
{
    VELT::Music music(musicPath.c_str());
    music.togglePause();
    EXPECT_TRUE(music.isPaused());
    music.setPosition(3.0f);
    for (int i = 0; i < 8; ++i)
        music.update();
    EXPECT_TRUE(allZero(music.getSpectrum()));
    EXPECT_EQ(music.getChannel(), nullptr);

    // The seek was not remembered: play still starts from the beginning.
    music.play();
    ASSERT_NE(music.getChannel(), nullptr);
    EXPECT_FALSE(music.isPaused());
    EXPECT_TRUE(isPlaying(music.getChannel()));
    EXPECT_LT(positionOf(music.getChannel()), 2u * FMOD_MIX_RATE);
}

TEST(Music, PositionsAreTruncatedToWholeMillisecondsAndKeptInRange)
{
    EXPECT_EQ(VELT::Music::toMilliseconds(1.2345f), 1234u);
    EXPECT_EQ(VELT::Music::toMilliseconds(0.0009f), 0u);
    EXPECT_EQ(VELT::Music::toMilliseconds(61.5f), 61500u);
    EXPECT_EQ(VELT::Music::toMilliseconds(-2.0f), 0u);
    EXPECT_EQ(VELT::Music::toMilliseconds(std::numeric_limits<float>::quiet_NaN()), 0u);
    EXPECT_EQ(VELT::Music::toMilliseconds(1e12f), 0xFFFFFFFFu);
    EXPECT_EQ(VELT::Music::toMilliseconds(std::numeric_limits<float>::infinity()), 0xFFFFFFFFu);
}

TEST(Music, SetPositionSeeksTheChannel)
{
    VELT::Music music(musicPath.c_str());
    music.play();
    music.togglePause();
    music.setPosition(1.2345f);
    EXPECT_EQ(positionOf(music.getChannel()), 1234u * FMOD_MIX_RATE / 1000);
    music.setPosition(0.0009f);
    EXPECT_EQ(positionOf(music.getChannel()), 0u);
    music.setPosition(-5.0f);
    EXPECT_EQ(positionOf(music.getChannel()), 0u);
}

TEST(Music, TwoTogglesRestoreTheFirstStateAndThePausedFlagFollowsTheChannel)
{
    VELT::Music music(musicPath.c_str());
    music.play();
    FMOD_CHANNEL* channel = music.getChannel();
    EXPECT_FALSE(channelPaused(channel));
    music.togglePause();
    EXPECT_TRUE(channelPaused(channel));
    EXPECT_TRUE(music.isPaused());
    const unsigned pausedAt = positionOf(channel);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(positionOf(channel), pausedAt);
    music.togglePause();
    EXPECT_FALSE(channelPaused(channel));
    EXPECT_FALSE(music.isPaused());
    EXPECT_TRUE(waitFor([&] { return positionOf(channel) > pausedAt || !isPlaying(channel); }));
}

TEST(Music, EveryPlayStartsAnotherPlaybackBesideTheFirst)
{
    VELT::Music music(musicPath.c_str());
    music.play();
    FMOD_CHANNEL* first = music.getChannel();
    ASSERT_TRUE(reaches(first, FMOD_MIX_RATE / 4));
    music.play();
    EXPECT_NE(music.getChannel(), first);
    EXPECT_TRUE(isPlaying(first));
    EXPECT_LT(positionOf(music.getChannel()), positionOf(first));
}

TEST(Music, TheSmoothedSpectrumRisesToAConstantSpectrumInSixUpdates)
{
    VELT::Music music(mediaPath("tones.mp3").c_str());
    music.play();
    ASSERT_TRUE(reaches(music.getChannel(), FMOD_MIX_RATE / 2));
    // Paused, the channel's spectrum stays the same from one update to the next.
    music.togglePause();
    float constant[VALUES];
    FMOD_Channel_GetSpectrum(music.getChannel(), constant, VALUES, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE);
    ASSERT_GT(constant[20], 0.3f);

    music.update();
    for (int i = 0; i < VALUES; ++i)
        ASSERT_NEAR(music.getSpectrum()[i], constant[i] / 2.1625f, 1e-6f + constant[i] * 1e-5f) << "bin " << i;
    for (int update = 2; update <= 5; ++update)
        music.update();
    EXPECT_LT(music.getSpectrum()[20], constant[20] * 0.99f) << "full height before the sixth update";
    music.update();
    for (int i = 0; i < VALUES; ++i)
        ASSERT_NEAR(music.getSpectrum()[i], constant[i], 1e-6f + constant[i] * 1e-5f) << "bin " << i;
    for (int update = 0; update < 4; ++update)
        music.update();
    for (int i = 0; i < VALUES; ++i)
        ASSERT_NEAR(music.getSpectrum()[i], constant[i], 1e-6f + constant[i] * 1e-5f) << "bin " << i;
}

TEST(Music, DestroyingAPlayingMusicStopsItsChannel)
{
    FMOD_CHANNEL* channel = nullptr;
    {
        VELT::Music music(musicPath.c_str());
        music.play();
        channel = music.getChannel();
        ASSERT_TRUE(reaches(channel, 1));
    }
    // The sound system outlives the music, so its channel can still be asked.
    EXPECT_FALSE(isPlaying(channel));
}

TEST(Music, WithoutAPlayableFileEverythingRunsSilentlyWithOneLineOnStandardError)
{
    const std::string garbage = std::string(SOUND_TEST_OUTPUT_DIR) + "/music-garbage.mp3";
    std::FILE* file = std::fopen(garbage.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    for (int i = 0; i < 100; ++i)
        std::fputs("not music at all\n", file);
    std::fclose(file);

    for (const std::string& path : {std::string("data/no-such-music.mp3"), garbage}) {
        ChildResult r = runInChild([&] {
            VELT::Music music(path.c_str());
            music.play();
            music.togglePause();
            music.setPosition(2.0f);
            for (int i = 0; i < 3; ++i)
                music.update();
            std::printf("channel %d paused %d silent %d\n", music.getChannel() != nullptr, music.isPaused(),
                        allZero(music.getSpectrum()));
        });
        EXPECT_TRUE(r.exited) << path << ": signal " << r.signal;
        EXPECT_EQ(r.output, "channel 0 paused 0 silent 1\n") << path;
        EXPECT_EQ(layerLines(r.errors), 1) << path << ": " << r.errors;
    }
}

TEST(Music, AnArchiveEntryPlaysFromItsBytesUpToItsSize)
{
    std::FILE* file = std::fopen(musicPath.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::vector<unsigned char> bytes(1 << 20);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);

    DD::Archive::File entry;
    entry.m_data = new unsigned char[bytes.size()];
    std::copy(bytes.begin(), bytes.end(), entry.m_data);
    // A seek past the end stops at the end, which shows how long the sound is.
    const unsigned wanted = 7900u * FMOD_MIX_RATE / 1000;
    for (uint32_t size : {uint32_t(bytes.size()), uint32_t(bytes.size() / 2)}) {
        entry.m_size = size;
        VELT::Music music(&entry);
        music.play();
        ASSERT_NE(music.getChannel(), nullptr);
        music.togglePause();
        music.setPosition(7.9f);
        if (size == bytes.size())
            EXPECT_EQ(positionOf(music.getChannel()), wanted);
        else
            EXPECT_NEAR(double(positionOf(music.getChannel())), 4.0 * FMOD_MIX_RATE, 0.1 * FMOD_MIX_RATE);
    }

    const DD::Archive::File* none = nullptr;
    VELT::Music silent(none);
    silent.play();
    silent.update();
    EXPECT_EQ(silent.getChannel(), nullptr);
    EXPECT_TRUE(allZero(silent.getSpectrum()));
}
