// The flip-book clock of a DD::Sprite: current frame, time spent in it, speed
// and the looped/advanced flags. Kept apart from the drawing so the timing
// rules can be exercised without a GL context.
#pragma once

#include <vector>

namespace DD
{
class SpriteAnimation
{
public:
    // frameCount frames, each lasting frameDuration seconds.
    SpriteAnimation(unsigned frameCount, float frameDuration);

    // Replaces the durations of the first frames (at most the frame count).
    void setFrameDurations(const std::vector<float>& durations);

    void setSpeed(float speed) { m_speed = speed; }
    float getSpeed() const { return m_speed; }

    // False, and nothing changes, for an index past the last frame.
    bool setFrame(unsigned frame);
    unsigned getFrame() const { return m_frame; }
    unsigned getFrameCount() const { return static_cast<unsigned>(m_frameDurations.size()); }
    float getFrameTime() const { return m_frameTime; }
    float getFrameDuration(unsigned frame) const { return m_frameDurations[frame]; }

    void rewind();
    bool hasLooped() const { return m_looped; }

    // Called by each draw: the next update may step again.
    void markDrawn() { m_advanced = false; }
    // Advances by dt seconds of demo time; at most one step between two draws.
    void update(double dt);

private:
    unsigned m_frame;
    float m_frameTime;
    std::vector<float> m_frameDurations;
    float m_speed;
    bool m_looped;
    bool m_advanced;
};
}
