// No sound is never a crash: missing, undecodable and empty files, and no usable
// audio device, give silence, at most one line on standard error and nothing on
// standard output. Each case runs in a child process that reports on stdout.
#include "soundtestsupport.h"
#include "support/childprocess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <signal.h>
#include <sys/stat.h>
#include <thread>

namespace
{
std::string outputPath(const std::string& name)
{
    return std::string(SOUND_TEST_OUTPUT_DIR) + "/" + name;
}

void writeFile(const std::string& path, const std::string& content)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
}

bool fileExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

size_t lineCount(const std::string& text)
{
    size_t lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

FMOD_SYSTEM* createSystem(FMOD_RESULT* initResult = nullptr)
{
    FMOD_SYSTEM* system = nullptr;
    FMOD_System_Create(&system);
    FMOD_System_SetOutput(system, FMOD_OUTPUTTYPE_AUTODETECT);
    FMOD_RESULT result = FMOD_System_Init(system, 10, FMOD_INIT_NORMAL, nullptr);
    if (initResult != nullptr)
        *initResult = result;
    return system;
}

// Plays the test music for half a second of wall time and prints how far it got
// as a share of that time, rounded to tenths.
void reportPace(FMOD_SYSTEM* system)
{
    FMOD_SOUND* sound = nullptr;
    FMOD_System_CreateStream(system, mediaPath("music.mp3").c_str(), 0x24149, nullptr, &sound);
    FMOD_CHANNEL* channel = nullptr;
    FMOD_System_PlaySound(system, FMOD_CHANNEL_FREE, sound, 0, &channel);
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    unsigned played = 0;
    FMOD_Channel_GetPosition(channel, &played, FMOD_TIMEUNIT_MS);
    const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("moving %d, not faster than real time %d\n", played > 100, played <= wall + 150);
}

ChildResult runWithoutDevice(const char* driver, const char* file)
{
    return runInChild([=] {
        setenv("SDL_AUDIODRIVER", driver, 1);
        setenv("SDL_DISKAUDIOFILE", file, 1);
        FMOD_RESULT init = FMOD_ERR_UNINITIALIZED;
        FMOD_SYSTEM* system = createSystem(&init);
        std::printf("init %d\n", init);
        reportPace(system);
    });
}
}

TEST(SoundFailure, MissingGarbageAndEmptyFilesGiveNoSoundAndCallsOnNothingAreSafe)
{
    const std::string garbage = outputPath("garbage.mp3");
    const std::string empty = outputPath("empty.mp3");
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "This is a text file, not an MP3 stream.\n";
    writeFile(garbage, text);
    writeFile(empty, "");

    ChildResult r = runInChild([&] {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        FMOD_SYSTEM* system = createSystem();
        FMOD_SOUND* sound = reinterpret_cast<FMOD_SOUND*>(system);
        const int missing = FMOD_System_CreateStream(system, "no/such/music.mp3", 0x24149, nullptr, &sound);
        const bool missingNull = sound == nullptr;
        const int undecodable = FMOD_System_CreateStream(system, garbage.c_str(), 0x24149, nullptr, &sound);
        const int nothing = FMOD_System_CreateStream(system, empty.c_str(), 0x24149, nullptr, &sound);
        std::printf("open %d %d %d null %d %d\n", missing, undecodable, nothing, missingNull, sound == nullptr);

        FMOD_CHANNEL* channel = reinterpret_cast<FMOD_CHANNEL*>(system);
        const int played = FMOD_System_PlaySound(system, FMOD_CHANNEL_FREE, nullptr, 0, &channel);
        FMOD_BOOL paused = 7;
        const int getPaused = FMOD_Channel_GetPaused(nullptr, &paused);
        const int setPaused = FMOD_Channel_SetPaused(nullptr, 1);
        const int seek = FMOD_Channel_SetPosition(nullptr, 1000, FMOD_TIMEUNIT_MS);
        float spectrum[256] = {1.0f};
        const int spectrumResult = FMOD_Channel_GetSpectrum(nullptr, spectrum, 256, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE);
        const int released = FMOD_Sound_Release(nullptr);
        std::printf("channel %d %d %d %d %d %d %d untouched %d zero %d\n", played, channel == nullptr, getPaused,
                    setPaused, seek, spectrumResult, released, paused == 7, spectrum[0] == 0.0f);
    });
    EXPECT_TRUE(r.exited) << "signal " << r.signal;
    char expected[200];
    std::snprintf(expected, sizeof(expected), "open %d %d %d null 1 1\nchannel %d 1 %d %d %d %d %d untouched 1 zero 1\n",
                  FMOD_ERR_FILE_NOTFOUND, FMOD_ERR_FORMAT, FMOD_ERR_FORMAT, FMOD_ERR_INVALID_HANDLE,
                  FMOD_ERR_INVALID_HANDLE, FMOD_ERR_INVALID_HANDLE, FMOD_ERR_INVALID_HANDLE, FMOD_ERR_INVALID_HANDLE,
                  FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(r.output, expected);
    EXPECT_EQ(lineCount(r.errors), 1u) << r.errors;
    EXPECT_NE(r.errors.find("no/such/music.mp3"), std::string::npos) << r.errors;
}

TEST(SoundFailure, ADeviceThatDoesNotOpenFallsBackToSilentRealTimePlayback)
{
    // The disk driver starts but cannot create its file: like ALSA with no card.
    const std::string unreachable = outputPath("no-such-folder/out.raw");
    ChildResult r = runWithoutDevice("disk", unreachable.c_str());
    EXPECT_TRUE(r.exited) << "signal " << r.signal;
    EXPECT_EQ(r.output, "init 0\nmoving 1, not faster than real time 1\n");
    EXPECT_EQ(lineCount(r.errors), 1u) << r.errors;
    EXPECT_NE(r.errors.find("cannot open the audio device"), std::string::npos) << r.errors;
}

TEST(SoundFailure, TheMachinesOwnOutputPlaysWithAtMostOneLineOnStandardError)
{
    // Without a sound card (as on build machines) ALSA starts, its device does
    // not open, and libasound would print lines of its own.
    ChildResult r = runInChild([] {
        unsetenv("SDL_AUDIODRIVER");
        FMOD_RESULT init = FMOD_ERR_UNINITIALIZED;
        FMOD_SYSTEM* system = createSystem(&init);
        std::printf("init %d\n", init);
        reportPace(system);
    });
    EXPECT_TRUE(r.exited) << "signal " << r.signal;
    EXPECT_EQ(r.output, "init 0\nmoving 1, not faster than real time 1\n");
    EXPECT_LE(lineCount(r.errors), 1u) << r.errors;
}

TEST(SoundFailure, AnAudioDriverThatDoesNotStartFallsBackToSilentRealTimePlayback)
{
    ChildResult r = runWithoutDevice("no-such-driver", "");
    EXPECT_TRUE(r.exited) << "signal " << r.signal;
    EXPECT_EQ(r.output, "init 0\nmoving 1, not faster than real time 1\n");
    EXPECT_EQ(lineCount(r.errors), 1u) << r.errors;
}

TEST(SoundFailure, ASecondSystemWithoutADeviceStillPlaysInRealTime)
{
    // SDL's dummy driver serves one device per process.
    ChildResult r = runInChild([] {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        FMOD_SYSTEM* first = createSystem();
        FMOD_RESULT init = FMOD_ERR_UNINITIALIZED;
        FMOD_SYSTEM* second = createSystem(&init);
        std::printf("init %d\n", init);
        reportPace(second);
        reportPace(first);
        FMOD_System_Release(second);
        FMOD_System_Release(first);
    });
    EXPECT_TRUE(r.exited) << "signal " << r.signal;
    EXPECT_EQ(r.output, "init 0\nmoving 1, not faster than real time 1\nmoving 1, not faster than real time 1\n");
    EXPECT_EQ(lineCount(r.errors), 1u) << r.errors;
}

TEST(SoundFailure, NoSoundOutputPlaysSilentlyWithoutAWordAndLeavesSignalsAlone)
{
    const std::string file = outputPath("nosound.raw");
    std::remove(file.c_str());
    ChildResult r = runInChild([&] {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
        FMOD_SYSTEM* system = nullptr;
        FMOD_System_Create(&system);
        const int output = FMOD_System_SetOutput(system, FMOD_OUTPUTTYPE_NOSOUND);
        const int init = FMOD_System_Init(system, 10, FMOD_INIT_NORMAL, nullptr);
        struct sigaction interrupt, terminate;
        sigaction(SIGINT, nullptr, &interrupt);
        sigaction(SIGTERM, nullptr, &terminate);
        std::printf("output %d init %d default signals %d\n", output, init,
                    interrupt.sa_handler == SIG_DFL && terminate.sa_handler == SIG_DFL);
        reportPace(system);
    });
    EXPECT_TRUE(r.exited) << "signal " << r.signal;
    EXPECT_EQ(r.output, "output 0 init 0 default signals 1\nmoving 1, not faster than real time 1\n");
    EXPECT_EQ(r.errors, "");
    EXPECT_FALSE(fileExists(file)) << "the disk driver was used for no-sound output";
}
