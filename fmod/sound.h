// One sound of the sound layer: the whole stream decoded at creation into the
// mixing format (16-bit stereo at FMOD_MIX_RATE). Created and released by
// SND::SoundSystem; channels read its samples from SDL's audio thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace SND
{
class SoundSystem;

class Sound
{
public:
    // Decodes MP3 bytes; returns null when no audio frame could be decoded.
    static Sound* decode(SoundSystem* system, const unsigned char* data, size_t size);

    SoundSystem* system() const { return m_system; }
    const int16_t* frames() const { return m_samples.data(); }
    unsigned frameCount() const { return static_cast<unsigned>(m_samples.size() / 2); }

private:
    Sound(SoundSystem* system, std::vector<int16_t>&& samples);

    SoundSystem* m_system;
    std::vector<int16_t> m_samples;   // interleaved left, right
};
}
