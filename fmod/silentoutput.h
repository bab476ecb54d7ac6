// A stand-in for an audio device when none can be opened (SDL's dummy driver
// serves one device per process): a thread that calls the mixing callback at
// real-time pace and throws the sound away. Used by SND::SoundSystem.
#pragma once

#include <SDL.h>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace SND
{
class SilentOutput
{
public:
    SilentOutput(SDL_AudioCallback callback, void* userdata, unsigned frames, unsigned rate);
    ~SilentOutput();
    SilentOutput(const SilentOutput&) = delete;
    SilentOutput& operator=(const SilentOutput&) = delete;

    // The callback runs under this lock, as SDL's callback runs under the device lock.
    void lock() { m_mutex.lock(); }
    void unlock() { m_mutex.unlock(); }

private:
    void run();

    SDL_AudioCallback m_callback;
    void* m_userdata;
    std::vector<uint8_t> m_buffer;
    std::chrono::nanoseconds m_period;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping;
    std::thread m_thread;
};
}
