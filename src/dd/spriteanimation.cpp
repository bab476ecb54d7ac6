#include "dd/spriteanimation.h"

#include <cstddef>

namespace DD
{
SpriteAnimation::SpriteAnimation(unsigned frameCount, float frameDuration)
    : m_frame(0)
    , m_frameTime(0.0f)
    , m_frameDurations(frameCount, frameDuration)
    , m_speed(1.0f)
    , m_looped(false)
    , m_advanced(false)
{
}

void SpriteAnimation::setFrameDurations(const std::vector<float>& durations)
{
    for (std::size_t i = 0; i < durations.size() && i < m_frameDurations.size(); ++i)
        m_frameDurations[i] = durations[i];
}

bool SpriteAnimation::setFrame(unsigned frame)
{
    // update() reads the duration of the current frame: an index past the
    // table would read memory that is not there.
    if (frame >= m_frameDurations.size())
        return false;
    m_frame = frame;
    return true;
}

void SpriteAnimation::rewind()
{
    m_frame = 0;
    m_frameTime = 0.0f;
    m_looped = false;
    m_advanced = false;
}

void SpriteAnimation::update(double dt)
{
    if (m_advanced)
        return;
    m_advanced = true;

    // A sprite without frames has nothing to step through (and no modulus).
    if (m_frameDurations.empty())
        return;

    m_frameTime = static_cast<float>(dt * m_speed + m_frameTime);
    if (m_frameTime >= m_frameDurations[m_frame]) {
        m_frame = (m_frame + 1) % static_cast<unsigned>(m_frameDurations.size());
        if (m_frame == 0)
            m_looped = true;
        // The excess is dropped: one step per drawn frame at most.
        m_frameTime = 0.0f;
    }
}
}
