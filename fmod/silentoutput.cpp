#include "silentoutput.h"

namespace SND
{
SilentOutput::SilentOutput(SDL_AudioCallback callback, void* userdata, unsigned frames, unsigned rate)
    : m_callback(callback), m_userdata(userdata), m_buffer(size_t(frames) * 4),
      m_period(std::chrono::nanoseconds(1000000000ull * frames / rate)), m_stopping(false),
      m_thread(&SilentOutput::run, this)
{
}

SilentOutput::~SilentOutput()
{
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void SilentOutput::run()
{
    std::unique_lock<std::mutex> guard(m_mutex);
    auto next = std::chrono::steady_clock::now();
    while (!m_stopping) {
        m_callback(m_userdata, m_buffer.data(), int(m_buffer.size()));
        next += m_period;
        m_wake.wait_until(guard, next, [this] { return m_stopping; });
    }
}
}
