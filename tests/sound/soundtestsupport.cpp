#include "soundtestsupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mpg123.h>
#include <thread>

std::string mediaPath(const std::string& name)
{
    return std::string(SOUND_TEST_MEDIA_DIR) + "/" + name;
}

Pcm decodeReference(const std::string& path)
{
    Pcm pcm;
    mpg123_handle* decoder = mpg123_new(nullptr, nullptr);
    mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_FORCE_STEREO | MPG123_QUIET, 0);
    mpg123_format_none(decoder);
    mpg123_format(decoder, FMOD_MIX_RATE, MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(decoder, path.c_str()) == MPG123_OK) {
        int16_t buffer[8192];
        size_t done = 0;
        int result;
        do {
            result = mpg123_read(decoder, buffer, sizeof(buffer), &done);
            pcm.insert(pcm.end(), buffer, buffer + done / sizeof(int16_t));
        } while (result == MPG123_OK || result == MPG123_NEW_FORMAT);
        mpg123_close(decoder);
    }
    mpg123_delete(decoder);
    return pcm;
}

long findFrames(const Pcm& haystack, const Pcm& needle, size_t from, size_t count, size_t start)
{
    const size_t frames = haystack.size() / 2;
    for (size_t at = start; at + count <= frames; ++at) {
        bool same = true;
        for (size_t i = 0; i < count * 2 && same; ++i)
            same = haystack[at * 2 + i] == needle[from * 2 + i];
        if (same)
            return long(at);
    }
    return -1;
}

bool isSilent(const Pcm& pcm, size_t firstFrame, size_t endFrame)
{
    for (size_t i = firstFrame * 2; i < endFrame * 2 && i < pcm.size(); ++i)
        if (pcm[i] != 0)
            return false;
    return true;
}

bool waitFor(const std::function<bool()>& condition, double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

unsigned positionOf(FMOD_CHANNEL* channel)
{
    unsigned position = 0;
    FMOD_Channel_GetPosition(channel, &position, FMOD_TIMEUNIT_PCM);
    return position;
}

bool reaches(FMOD_CHANNEL* channel, unsigned frame)
{
    waitFor([&] { return positionOf(channel) >= frame || !isPlaying(channel); });
    return isPlaying(channel) && positionOf(channel) >= frame;
}

bool isPlaying(FMOD_CHANNEL* channel)
{
    FMOD_BOOL playing = 0;
    FMOD_Channel_IsPlaying(channel, &playing);
    return playing != 0;
}

DiskSystem::DiskSystem(const std::string& name, int channels)
    : m_system(nullptr), m_outputPath(std::string(SOUND_TEST_OUTPUT_DIR) + "/" + name + ".raw")
{
    std::remove(m_outputPath.c_str());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", m_outputPath.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "5", 1);
    FMOD_System_Create(&m_system);
    FMOD_System_SetOutput(m_system, FMOD_OUTPUTTYPE_AUTODETECT);
    EXPECT_EQ(FMOD_System_Init(m_system, channels, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
}

DiskSystem::~DiskSystem()
{
    if (m_system != nullptr)
        FMOD_System_Release(m_system);
    std::remove(m_outputPath.c_str());
}

FMOD_SOUND* DiskSystem::load(const std::string& path)
{
    FMOD_SOUND* sound = nullptr;
    EXPECT_EQ(FMOD_System_CreateStream(m_system, path.c_str(), 0x24149, nullptr, &sound), FMOD_OK);
    return sound;
}

Pcm DiskSystem::finish()
{
    FMOD_System_Release(m_system);
    m_system = nullptr;
    Pcm pcm;
    std::FILE* file = std::fopen(m_outputPath.c_str(), "rb");
    if (file == nullptr)
        return pcm;
    int16_t buffer[8192];
    size_t count;
    while ((count = std::fread(buffer, sizeof(int16_t), 8192, file)) > 0)
        pcm.insert(pcm.end(), buffer, buffer + count);
    std::fclose(file);
    std::remove(m_outputPath.c_str());
    return pcm;
}
