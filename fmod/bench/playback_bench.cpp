// Measures what playback costs: the decoding time at creation, then the share of
// one core the process uses while the device runs idle, while one stream plays,
// and while it plays with a 256-value spectrum read 60 times a second (what the
// music player's update does each frame).
// Usage: fmod_playback_bench MP3 [SECONDS]   (SDL_AUDIODRIVER picks the output)
#include "fmod.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <thread>

namespace
{
using Clock = std::chrono::steady_clock;

double cpuSeconds()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs for the given seconds, calling tick about 60 times a second, and
// returns the CPU share of one core in percent.
template <typename Tick>
double measure(double seconds, Tick tick)
{
    const double cpuStart = cpuSeconds();
    const Clock::time_point start = Clock::now();
    const Clock::time_point end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    Clock::time_point next = start;
    while (Clock::now() < end) {
        tick();
        next += std::chrono::microseconds(16667);
        std::this_thread::sleep_until(next);
    }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    return 100.0 * (cpuSeconds() - cpuStart) / wall;
}
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s MP3 [SECONDS]\n", argv[0]);
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 10.0;

    FMOD_SYSTEM* system = nullptr;
    FMOD_System_Create(&system);
    FMOD_System_SetOutput(system, FMOD_OUTPUTTYPE_AUTODETECT);
    FMOD_System_Init(system, 10, FMOD_INIT_NORMAL, nullptr);

    const double decodeCpu = cpuSeconds();
    const Clock::time_point decodeStart = Clock::now();
    FMOD_SOUND* sound = nullptr;
    if (FMOD_System_CreateStream(system, argv[1], 0x24149, nullptr, &sound) != FMOD_OK) {
        std::fprintf(stderr, "cannot decode %s\n", argv[1]);
        return 1;
    }
    const double decodeWall = std::chrono::duration<double>(Clock::now() - decodeStart).count();
    unsigned lengthMs = 0;
    FMOD_Sound_GetLength(sound, &lengthMs, FMOD_TIMEUNIT_MS);
    std::printf("decode at creation: %.1f ms wall, %.1f ms CPU for %.1f s of sound\n", decodeWall * 1000.0,
                (cpuSeconds() - decodeCpu) * 1000.0, lengthMs / 1000.0);

    std::printf("device running, nothing playing: %.2f %% of one core\n", measure(seconds, [] {}));

    FMOD_CHANNEL* channel = nullptr;
    FMOD_System_PlaySound(system, FMOD_CHANNEL_FREE, sound, 0, &channel);
    std::printf("one stream playing: %.2f %% of one core\n", measure(seconds, [] {}));

    float spectrum[256];
    const double withSpectrum = measure(seconds, [&] {
        FMOD_System_Update(system);
        FMOD_Channel_GetSpectrum(channel, spectrum, 256, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE);
    });
    std::printf("one stream playing, spectrum at 60 Hz: %.2f %% of one core\n", withSpectrum);

    FMOD_BOOL playing = 0;
    FMOD_Channel_IsPlaying(channel, &playing);
    if (!playing)
        std::printf("note: the stream ended during the measurement; use a longer file or fewer seconds\n");
    FMOD_Sound_Release(sound);
    FMOD_System_Release(system);
    return 0;
}
