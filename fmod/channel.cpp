#include "channel.h"

#include "sound.h"

#include <algorithm>

namespace SND
{
Channel::Channel(SoundSystem* system)
    : m_system(system), m_sound(nullptr), m_cursor(0), m_paused(false), m_startOrder(0),
      m_history(HISTORY_FRAMES * 2, 0), m_historyNext(0)
{
}

void Channel::start(const Sound* sound, bool paused, unsigned long long startOrder)
{
    m_sound = sound;
    m_cursor = 0;
    m_paused = paused;
    m_startOrder = startOrder;
    std::fill(m_history.begin(), m_history.end(), 0);
    m_historyNext = 0;
}

void Channel::stop()
{
    m_sound = nullptr;
    std::fill(m_history.begin(), m_history.end(), 0);
}

void Channel::setPosition(unsigned frame)
{
    if (m_sound != nullptr)
        m_cursor = std::min(frame, m_sound->frameCount());
}

void Channel::mixInto(int32_t* mix, unsigned frames)
{
    if (m_sound == nullptr || m_paused)
        return;
    unsigned count = std::min(frames, m_sound->frameCount() - m_cursor);
    const int16_t* source = m_sound->frames() + size_t(m_cursor) * 2;
    for (unsigned i = 0; i < count * 2; ++i)
        mix[i] += source[i];
    for (unsigned i = 0; i < count; ++i) {
        m_history[size_t(m_historyNext) * 2] = source[i * 2];
        m_history[size_t(m_historyNext) * 2 + 1] = source[i * 2 + 1];
        m_historyNext = (m_historyNext + 1) % HISTORY_FRAMES;
    }
    m_cursor += count;
    if (m_cursor >= m_sound->frameCount())
        stop();
}

void Channel::copyHistory(int side, float* out, unsigned count) const
{
    count = std::min(count, HISTORY_FRAMES);
    unsigned frame = (m_historyNext + HISTORY_FRAMES - count) % HISTORY_FRAMES;
    for (unsigned i = 0; i < count; ++i) {
        out[i] = m_history[size_t(frame) * 2 + side] / 32768.0f;
        frame = (frame + 1) % HISTORY_FRAMES;
    }
}
}
