// The spectrum of what a channel played: a tone on each side of a test MP3
// (left in bin 20, right in bin 40 of 256) must peak in its own bin.
#include "soundtestsupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
const int VALUES = 256;

int peakBin(const float* spectrum)
{
    return int(std::max_element(spectrum, spectrum + VALUES) - spectrum);
}

bool allZero(const float* spectrum)
{
    return std::all_of(spectrum, spectrum + VALUES, [](float v) { return v == 0.0f; });
}
}

TEST(SoundSpectrum, EachSideOfAToneSpectrumPeaksInItsBin)
{
    DiskSystem disk("spectrum");
    FMOD_SOUND* sound = disk.load(mediaPath("tones.mp3"));
    FMOD_CHANNEL* channel = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(disk.system(), FMOD_CHANNEL_FREE, sound, 0, &channel), FMOD_OK);
    ASSERT_TRUE(reaches(channel, FMOD_MIX_RATE / 2));
    // Paused, the channel's last frames stay put and the spectrum with them.
    FMOD_Channel_SetPaused(channel, 1);

    float left[VALUES], right[VALUES], rect[VALUES];
    ASSERT_EQ(FMOD_Channel_GetSpectrum(channel, left, VALUES, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE), FMOD_OK);
    ASSERT_EQ(FMOD_Channel_GetSpectrum(channel, right, VALUES, 1, FMOD_DSP_FFT_WINDOW_TRIANGLE), FMOD_OK);
    ASSERT_EQ(FMOD_Channel_GetSpectrum(channel, rect, VALUES, 0, FMOD_DSP_FFT_WINDOW_RECT), FMOD_OK);
    EXPECT_EQ(peakBin(left), 20);
    EXPECT_EQ(peakBin(right), 40);
    EXPECT_EQ(peakBin(rect), 20);
    // The tones are half of full scale; the magnitudes are linear.
    EXPECT_NEAR(left[20], 0.5f, 0.05f);
    EXPECT_NEAR(right[40], 0.5f, 0.05f);
    EXPECT_LT(left[40], 0.05f);
    EXPECT_LT(left[100], 0.01f);

    float again[VALUES];
    FMOD_Channel_GetSpectrum(channel, again, VALUES, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE);
    EXPECT_TRUE(std::equal(left, left + VALUES, again));

    FMOD_Sound_Release(sound);
    FMOD_Channel_GetSpectrum(channel, again, VALUES, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE);
    EXPECT_TRUE(allZero(again)) << "a stopped channel still shows a spectrum";
}

TEST(SoundSpectrum, BadRequestsAreRefusedAndNoChannelReadsAsSilence)
{
    DiskSystem disk("spectrumargs");
    FMOD_SOUND* sound = disk.load(mediaPath("tones.mp3"));
    FMOD_CHANNEL* channel = nullptr;
    FMOD_System_PlaySound(disk.system(), FMOD_CHANNEL_FREE, sound, 1, &channel);
    float values[16384];
    EXPECT_EQ(FMOD_Channel_GetSpectrum(channel, values, 100, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(FMOD_Channel_GetSpectrum(channel, values, 32, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(FMOD_Channel_GetSpectrum(channel, values, 16384, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(FMOD_Channel_GetSpectrum(channel, values, 256, 2, FMOD_DSP_FFT_WINDOW_TRIANGLE), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(FMOD_Channel_GetSpectrum(channel, values, 256, -1, FMOD_DSP_FFT_WINDOW_TRIANGLE), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(FMOD_Channel_GetSpectrum(channel, values, 8192, 1, FMOD_DSP_FFT_WINDOW_TRIANGLE), FMOD_OK);
    EXPECT_EQ(FMOD_Channel_GetSpectrum(channel, values, 256, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE), FMOD_OK);
    EXPECT_TRUE(allZero(values)) << "a channel that has not played yet has a spectrum";

    std::fill(values, values + VALUES, 1.0f);
    EXPECT_EQ(FMOD_Channel_GetSpectrum(nullptr, values, VALUES, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE),
              FMOD_ERR_INVALID_HANDLE);
    EXPECT_TRUE(allZero(values));
}
