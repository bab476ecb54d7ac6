// Playback through the sound layer on SDL's disk driver: what reaches the device
// is compared sample for sample with a reference decoding of the same MP3.
#include "soundtestsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace
{
const unsigned RATE = FMOD_MIX_RATE;
const size_t WINDOW = 256;   // frames enough to locate a stretch of the music
const size_t DEVICE_BUFFER_FRAMES = 1024;

const Pcm& reference()
{
    static const Pcm pcm = decodeReference(mediaPath("music.mp3"));
    return pcm;
}

size_t referenceFrames()
{
    return reference().size() / 2;
}

// Frames from outFrame on that equal the reference from refFrame on.
size_t matchingRun(const Pcm& out, size_t outFrame, const Pcm& ref, size_t refFrame)
{
    size_t run = 0;
    while ((outFrame + run) * 2 + 1 < out.size() && (refFrame + run) * 2 + 1 < ref.size()
           && out[(outFrame + run) * 2] == ref[(refFrame + run) * 2]
           && out[(outFrame + run) * 2 + 1] == ref[(refFrame + run) * 2 + 1])
        ++run;
    return run;
}

size_t firstSoundingFrame(const Pcm& out, size_t from)
{
    size_t frame = from;
    while (frame * 2 < out.size() && out[frame * 2] == 0 && out[frame * 2 + 1] == 0)
        ++frame;
    return frame;
}

FMOD_CHANNEL* play(FMOD_SYSTEM* system, FMOD_SOUND* sound, bool paused = false)
{
    FMOD_CHANNEL* channel = nullptr;
    EXPECT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_FREE, sound, paused, &channel), FMOD_OK);
    EXPECT_NE(channel, nullptr);
    return channel;
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
}

TEST(SoundPlayback, TheStreamDecodesWholeAndGapless)
{
    // The music is 8 s of generated PCM; the encoder's padding must be gone.
    EXPECT_NEAR(double(referenceFrames()), 8.0 * RATE, 1152.0);
    DiskSystem disk("length");
    FMOD_SOUND* sound = disk.load(mediaPath("music.mp3"));
    unsigned frames = 0, ms = 0;
    EXPECT_EQ(FMOD_Sound_GetLength(sound, &frames, FMOD_TIMEUNIT_PCM), FMOD_OK);
    EXPECT_EQ(FMOD_Sound_GetLength(sound, &ms, FMOD_TIMEUNIT_MS), FMOD_OK);
    EXPECT_EQ(frames, referenceFrames());
    EXPECT_EQ(ms, unsigned(referenceFrames() * 1000 / RATE));
}

TEST(SoundPlayback, OtherRatesAndMonoAreDecodedToTheMixingFormat)
{
    // lame reads the 8 s of stereo samples as 16 s of mono at 48 kHz: 14.7 s.
    DiskSystem disk("resampled");
    FMOD_CHANNEL* channel = play(disk.system(), disk.load(mediaPath("music48mono.mp3")));
    ASSERT_TRUE(waitFor([&] { return !isPlaying(channel); }));
    const Pcm out = disk.finish();
    const size_t start = firstSoundingFrame(out, 0);
    size_t end = out.size() / 2;
    while (end > start && out[end * 2 - 2] == 0 && out[end * 2 - 1] == 0)
        --end;
    EXPECT_NEAR(double(end - start), 16.0 * 44100 * 44100 / 48000, 1152.0);
    size_t differentSides = 0;
    for (size_t frame = start; frame < end; ++frame)
        differentSides += out[frame * 2] != out[frame * 2 + 1];
    EXPECT_EQ(differentSides, 0u) << "mono is not on both sides";
}

TEST(SoundPlayback, TheDeviceGetsTheDecodedSamplesOnceThenSilence)
{
    DiskSystem disk("exact");
    FMOD_CHANNEL* channel = play(disk.system(), disk.load(mediaPath("music.mp3")));
    ASSERT_TRUE(waitFor([&] { return !isPlaying(channel); }));
    sleepMs(30);
    const Pcm out = disk.finish();

    const long start = findFrames(out, reference(), 0, WINDOW);
    ASSERT_GE(start, 0) << "the beginning of the music never reached the device";
    EXPECT_TRUE(isSilent(out, 0, start)) << "something played before the music";
    EXPECT_EQ(matchingRun(out, start, reference(), 0), referenceFrames());
    const size_t end = start + referenceFrames();
    EXPECT_GT(out.size() / 2, end) << "the device stopped with the music";
    EXPECT_TRUE(isSilent(out, end, out.size() / 2)) << "no silence after the end (looped?)";
}

TEST(SoundPlayback, APauseLeavesAGapAndResumesOnTheSameSample)
{
    DiskSystem disk("pause");
    FMOD_CHANNEL* channel = play(disk.system(), disk.load(mediaPath("music.mp3")));
    ASSERT_TRUE(reaches(channel, RATE));
    EXPECT_EQ(FMOD_Channel_SetPaused(channel, 1), FMOD_OK);
    FMOD_BOOL paused = 0;
    EXPECT_EQ(FMOD_Channel_GetPaused(channel, &paused), FMOD_OK);
    EXPECT_TRUE(paused);
    const unsigned pausedAt = positionOf(channel);
    ASSERT_LT(pausedAt, referenceFrames() - RATE) << "the music ran out before the pause";
    sleepMs(40);
    EXPECT_EQ(positionOf(channel), pausedAt) << "a paused channel moved on";
    EXPECT_TRUE(isPlaying(channel));
    EXPECT_EQ(FMOD_Channel_SetPaused(channel, 0), FMOD_OK);
    ASSERT_TRUE(waitFor([&] { return !isPlaying(channel); }));
    const Pcm out = disk.finish();

    const long start = findFrames(out, reference(), 0, WINDOW);
    ASSERT_GE(start, 0);
    EXPECT_EQ(matchingRun(out, start, reference(), 0), pausedAt);
    const size_t resumed = firstSoundingFrame(out, start + pausedAt);
    EXPECT_GE(resumed - (start + pausedAt), DEVICE_BUFFER_FRAMES) << "the gap is shorter than a buffer";
    EXPECT_EQ(matchingRun(out, resumed, reference(), pausedAt), referenceFrames() - pausedAt);
    EXPECT_TRUE(isSilent(out, resumed + referenceFrames() - pausedAt, out.size() / 2));
}

TEST(SoundPlayback, ASeekMovesTheCursorToTheAskedPosition)
{
    // Seeking before the first sample plays, then while playing.
    DiskSystem disk("seek");
    FMOD_SOUND* sound = disk.load(mediaPath("music.mp3"));
    FMOD_CHANNEL* channel = play(disk.system(), sound, true);
    EXPECT_EQ(FMOD_Channel_SetPosition(channel, 2000, FMOD_TIMEUNIT_MS), FMOD_OK);
    EXPECT_EQ(positionOf(channel), 2 * RATE);
    FMOD_Channel_SetPaused(channel, 0);
    ASSERT_TRUE(reaches(channel, 3 * RATE));
    EXPECT_EQ(FMOD_Channel_SetPosition(channel, 6500, FMOD_TIMEUNIT_MS), FMOD_OK);
    ASSERT_TRUE(waitFor([&] { return !isPlaying(channel); }));
    const Pcm out = disk.finish();

    const size_t start = firstSoundingFrame(out, 0);
    EXPECT_EQ(findFrames(out, reference(), 2 * RATE, WINDOW), long(start)) << "the first seek did not land";
    const size_t before = matchingRun(out, start, reference(), 2 * RATE);
    EXPECT_GE(before, RATE);
    const size_t jump = start + before;
    const size_t target = 6500 * RATE / 1000;
    EXPECT_EQ(matchingRun(out, jump, reference(), target), referenceFrames() - target)
        << "the second seek did not land on its sample";
    EXPECT_TRUE(isSilent(out, jump + referenceFrames() - target, out.size() / 2));
}

TEST(SoundPlayback, TwoPlaysMixTwoCursors)
{
    DiskSystem disk("mix");
    FMOD_SOUND* sound = disk.load(mediaPath("music.mp3"));
    FMOD_CHANNEL* first = play(disk.system(), sound);
    ASSERT_TRUE(reaches(first, RATE / 2));
    FMOD_CHANNEL* second = play(disk.system(), sound);
    EXPECT_NE(first, second);
    EXPECT_TRUE(isPlaying(first)) << "the second play stopped the first";
    ASSERT_TRUE(waitFor([&] { return !isPlaying(first) && !isPlaying(second); }));
    const Pcm out = disk.finish();

    const Pcm& ref = reference();
    const long start = findFrames(out, ref, 0, WINDOW);
    ASSERT_GE(start, 0);
    const size_t lag = matchingRun(out, start, ref, 0);
    ASSERT_GE(lag, RATE / 2);
    ASSERT_LT(lag, referenceFrames());
    // From the second start on, the device gets the sum of both cursors.
    size_t mismatches = 0;
    for (size_t frame = 0; frame < referenceFrames() + lag; ++frame) {
        for (size_t side = 0; side < 2; ++side) {
            int expected = 0;
            if (frame < referenceFrames())
                expected += ref[frame * 2 + side];
            if (frame >= lag)
                expected += ref[(frame - lag) * 2 + side];
            expected = std::clamp(expected, -32768, 32767);
            if (out[(start + frame) * 2 + side] != expected)
                ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0u);
    EXPECT_TRUE(isSilent(out, start + referenceFrames() + lag, out.size() / 2));
}

TEST(SoundPlayback, ReleasingAPlayingSoundSilencesItsChannels)
{
    DiskSystem disk("release");
    FMOD_SOUND* sound = disk.load(mediaPath("music.mp3"));
    FMOD_CHANNEL* first = play(disk.system(), sound);
    FMOD_CHANNEL* second = play(disk.system(), sound, true);
    ASSERT_TRUE(reaches(first, RATE / 2));
    EXPECT_EQ(FMOD_Sound_Release(sound), FMOD_OK);
    EXPECT_FALSE(isPlaying(first));
    EXPECT_FALSE(isPlaying(second));
    unsigned position = 0;
    EXPECT_EQ(FMOD_Channel_GetPosition(first, &position, FMOD_TIMEUNIT_MS), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(FMOD_Channel_SetPosition(first, 0, FMOD_TIMEUNIT_MS), FMOD_ERR_INVALID_HANDLE);
    FMOD_CHANNEL* again = nullptr;
    EXPECT_EQ(FMOD_System_PlaySound(disk.system(), FMOD_CHANNEL_FREE, sound, 0, &again), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(again, nullptr);
    sleepMs(40);
    const Pcm out = disk.finish();

    const long start = findFrames(out, reference(), 0, WINDOW);
    ASSERT_GE(start, 0);
    const size_t played = matchingRun(out, start, reference(), 0);
    EXPECT_GE(played, RATE / 2);
    EXPECT_LT(played, referenceFrames());
    EXPECT_TRUE(isSilent(out, start + played, out.size() / 2));
}

TEST(SoundPlayback, EveryPlayTakesAFreeChannelUntilTheOldestMustGiveWay)
{
    DiskSystem disk("channels", 3);
    FMOD_SOUND* sound = disk.load(mediaPath("music.mp3"));
    FMOD_CHANNEL* a = play(disk.system(), sound, true);
    FMOD_CHANNEL* b = play(disk.system(), sound, true);
    FMOD_CHANNEL* c = play(disk.system(), sound, true);
    EXPECT_NE(a, b);
    EXPECT_NE(b, c);
    EXPECT_NE(a, c);
    FMOD_Channel_SetPosition(b, 1000, FMOD_TIMEUNIT_MS);
    EXPECT_EQ(play(disk.system(), sound, true), a);
    EXPECT_EQ(positionOf(a), 0u);
    EXPECT_EQ(positionOf(b), RATE);
    FMOD_CHANNEL* unused = nullptr;
    EXPECT_EQ(FMOD_System_PlaySound(disk.system(), FMOD_CHANNELINDEX(3), sound, 1, &unused), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(FMOD_System_PlaySound(disk.system(), FMOD_CHANNELINDEX(-7), sound, 1, &unused), FMOD_ERR_INVALID_PARAM);
}

TEST(SoundPlayback, AStreamOpensFromMemoryWithItsLength)
{
    EXPECT_EQ(sizeof(FMOD_CREATESOUNDEXINFO), 136u);
    std::vector<char> bytes;
    std::FILE* file = std::fopen(mediaPath("music.mp3").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    char buffer[65536];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + count);
    std::fclose(file);

    DiskSystem disk("memory");
    FMOD_CREATESOUNDEXINFO info = {};
    info.cbsize = sizeof(info);
    info.length = unsigned(bytes.size());
    FMOD_SOUND* whole = nullptr;
    ASSERT_EQ(FMOD_System_CreateStream(disk.system(), bytes.data(), 0x24949, &info, &whole), FMOD_OK);
    unsigned frames = 0;
    FMOD_Sound_GetLength(whole, &frames, FMOD_TIMEUNIT_PCM);
    EXPECT_EQ(frames, referenceFrames());

    // Only length bytes are read: half the bytes give about half the music.
    info.length = unsigned(bytes.size() / 2);
    FMOD_SOUND* half = nullptr;
    ASSERT_EQ(FMOD_System_CreateStream(disk.system(), bytes.data(), 0x24949, &info, &half), FMOD_OK);
    FMOD_Sound_GetLength(half, &frames, FMOD_TIMEUNIT_PCM);
    EXPECT_NEAR(double(frames), referenceFrames() / 2.0, RATE * 0.1);

    FMOD_SOUND* refused = whole;
    info.cbsize = 4;
    EXPECT_EQ(FMOD_System_CreateStream(disk.system(), bytes.data(), 0x24949, &info, &refused), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(FMOD_System_CreateStream(disk.system(), bytes.data(), 0x24949, nullptr, &refused), FMOD_ERR_INVALID_PARAM);
}
