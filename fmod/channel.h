// One playback cursor of the sound layer: which sound it plays, where, whether
// paused, and the latest frames it played (for the spectrum). Owned by
// SND::SoundSystem; every member is used under the system's device lock.
#pragma once

#include <cstdint>
#include <vector>

namespace SND
{
class Sound;
class SoundSystem;

class Channel
{
public:
    // Frames of history kept: enough for the largest spectrum (8192 values).
    static const unsigned HISTORY_FRAMES = 16384;

    explicit Channel(SoundSystem* system);

    SoundSystem* system() const { return m_system; }

    void start(const Sound* sound, bool paused, unsigned long long startOrder);
    void stop();

    bool isPlaying() const { return m_sound != nullptr; }
    const Sound* sound() const { return m_sound; }
    unsigned long long startOrder() const { return m_startOrder; }
    bool isPaused() const { return m_paused; }
    void setPaused(bool paused) { m_paused = paused; }
    unsigned position() const { return m_cursor; }
    void setPosition(unsigned frame);

    // Adds this channel's next frames to the interleaved stereo mix, moves the
    // cursor and keeps them as history. A paused channel adds nothing and keeps
    // its history; a channel that reaches the end stops and forgets it.
    void mixInto(int32_t* mix, unsigned frames);

    // The last count frames of one side (0 left, 1 right) as floats in -1..1,
    // oldest first; count is at most HISTORY_FRAMES.
    void copyHistory(int side, float* out, unsigned count) const;

private:
    SoundSystem* m_system;
    const Sound* m_sound;
    unsigned m_cursor;
    bool m_paused;
    unsigned long long m_startOrder;
    std::vector<int16_t> m_history;   // ring of interleaved stereo frames
    unsigned m_historyNext;           // frame slot written next
};
}
