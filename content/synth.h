// A small deterministic synthesizer for the soundtrack: drum, bass, pad, arp
// and lead voices mixed into a stereo buffer at 44.1 kHz. The song generator
// places notes; nothing here reads a clock or a random seed from outside.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Synth
{
public:
    static constexpr int SAMPLE_RATE = 44100;

    explicit Synth(double seconds);

    // Each voice starts at `at` seconds; notes are MIDI numbers (69 = A 440 Hz).
    void kick(double at, float gain);
    void snare(double at, float gain);
    void hat(double at, float gain, bool open);
    void bass(double at, double length, int note, float gain);
    void pad(double at, double length, const std::vector<int>& notes, float gain);
    void pluck(double at, int note, float gain, float pan);
    void lead(double at, double length, int note, float gain);

    // Applies the lead's echo, the kick's pumping on the sustained voices and
    // a soft clip, then writes a 16-bit stereo WAV file.
    bool writeWav(const std::string& path);

private:
    struct Bus
    {
        std::vector<float> left, right;
    };

    void add(Bus& bus, int64_t index, float left, float right);
    float noise();

    int64_t m_frames;
    Bus m_drums;     // played as is
    Bus m_sustained; // bass and pad: ducked under the kick
    Bus m_lead;      // sent through the echo
    std::vector<double> m_kickTimes;
    uint32_t m_noiseState = 0x1234567u;
};
