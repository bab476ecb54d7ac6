#include "synth.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace
{
const double TAU = 6.283185307179586;

double frequency(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// Two cascaded one-pole low-pass filters: a gentle 12 dB slope.
struct LowPass
{
    float a = 0.0f, b = 0.0f;
    float run(float x, float cutoff)
    {
        // w / (1 + w) stands in for 1 - e^-w: close enough below a few kHz, and
        // far cheaper than an exponential per sample.
        float w = static_cast<float>(TAU / Synth::SAMPLE_RATE) * cutoff;
        float k = w / (1.0f + w);
        a += (x - a) * k;
        b += (a - b) * k;
        return b;
    }
};

float saw(double phase) { return static_cast<float>(2.0 * (phase - std::floor(phase)) - 1.0); }
}

Synth::Synth(double seconds) : m_frames(static_cast<int64_t>(seconds * SAMPLE_RATE))
{
    for (Bus* bus : {&m_drums, &m_sustained, &m_lead})
    {
        bus->left.assign(m_frames, 0.0f);
        bus->right.assign(m_frames, 0.0f);
    }
}

void Synth::add(Bus& bus, int64_t index, float left, float right)
{
    if (index < 0 || index >= m_frames)
        return;
    bus.left[index] += left;
    bus.right[index] += right;
}

float Synth::noise()
{
    m_noiseState = m_noiseState * 1664525u + 1013904223u;
    return static_cast<float>((m_noiseState >> 8) & 0xffff) / 32768.0f - 1.0f;
}

void Synth::kick(double at, float gain)
{
    m_kickTimes.push_back(at);
    int64_t start = static_cast<int64_t>(at * SAMPLE_RATE);
    double phase = 0.0;
    for (int64_t i = 0; i < SAMPLE_RATE / 2; ++i)
    {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double f = 48.0 + 120.0 * std::exp(-t * 28.0);
        phase += f / SAMPLE_RATE;
        float body = static_cast<float>(std::sin(TAU * phase) * std::exp(-t * 7.0));
        float click = static_cast<float>(std::exp(-t * 400.0)) * 0.4f;
        float s = std::tanh((body + click) * 1.6f) * gain;
        add(m_drums, start + i, s, s);
    }
}

void Synth::snare(double at, float gain)
{
    int64_t start = static_cast<int64_t>(at * SAMPLE_RATE);
    float previous = 0.0f;
    for (int64_t i = 0; i < SAMPLE_RATE / 4; ++i)
    {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        float n = noise();
        float bright = n - previous * 0.6f;
        previous = n;
        float tone = static_cast<float>(std::sin(TAU * 185.0 * t) * std::exp(-t * 30.0));
        float s = (bright * static_cast<float>(std::exp(-t * 16.0)) * 0.7f + tone * 0.6f) * gain;
        add(m_drums, start + i, s * 0.95f, s);
    }
}

void Synth::hat(double at, float gain, bool open)
{
    int64_t start = static_cast<int64_t>(at * SAMPLE_RATE);
    float previous = 0.0f;
    double decay = open ? 14.0 : 70.0;
    for (int64_t i = 0; i < SAMPLE_RATE / (open ? 3 : 10); ++i)
    {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        float n = noise();
        float high = n - previous; // a crude high-pass: metallic hiss
        previous = n;
        float s = high * static_cast<float>(std::exp(-t * decay)) * gain * 0.5f;
        add(m_drums, start + i, s * 0.8f, s);
    }
}

void Synth::bass(double at, double length, int note, float gain)
{
    int64_t start = static_cast<int64_t>(at * SAMPLE_RATE);
    int64_t count = static_cast<int64_t>(length * SAMPLE_RATE);
    double f = frequency(note);
    LowPass filter;
    for (int64_t i = 0; i < count; ++i)
    {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        float raw = saw(f * t) * 0.6f + saw(f * 1.004 * t) * 0.4f;
        float cutoff = static_cast<float>(180.0 + 1400.0 * std::exp(-t * 14.0));
        float env = static_cast<float>(std::min(1.0, t * 400.0) * std::min(1.0, (length - t) * 200.0));
        float s = filter.run(raw, cutoff) * env * gain;
        add(m_sustained, start + i, s, s);
    }
}

void Synth::pad(double at, double length, const std::vector<int>& notes, float gain)
{
    int64_t start = static_cast<int64_t>(at * SAMPLE_RATE);
    const double release = 0.6;
    int64_t count = static_cast<int64_t>((length + release) * SAMPLE_RATE);
    for (size_t v = 0; v < notes.size(); ++v)
    {
        double f = frequency(notes[v]);
        LowPass left, right;
        for (int64_t i = 0; i < count; ++i)
        {
            double t = static_cast<double>(i) / SAMPLE_RATE;
            float a = saw(f * 0.997 * t + v * 0.31);
            float b = saw(f * 1.003 * t + v * 0.17);
            float c = saw(f * 0.5 * t);
            double attack = std::min(1.0, t / 0.35);
            double tail = t < length ? 1.0 : std::max(0.0, 1.0 - (t - length) / release);
            float env = static_cast<float>(attack * tail) * gain / static_cast<float>(notes.size());
            float cutoff = static_cast<float>(900.0 + 500.0 * std::sin(TAU * t / length * 0.5));
            add(m_sustained, start + i, left.run(a + c * 0.5f, cutoff) * env, right.run(b + c * 0.5f, cutoff) * env);
        }
    }
}

void Synth::pluck(double at, int note, float gain, float pan)
{
    int64_t start = static_cast<int64_t>(at * SAMPLE_RATE);
    double f = frequency(note);
    for (int64_t i = 0; i < SAMPLE_RATE / 3; ++i)
    {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double phase = f * t - std::floor(f * t);
        float triangle = static_cast<float>(phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase);
        float s = triangle * static_cast<float>(std::exp(-t * 11.0)) * gain;
        add(m_lead, start + i, s * (1.0f - pan), s * (1.0f + pan));
    }
}

void Synth::lead(double at, double length, int note, float gain)
{
    int64_t start = static_cast<int64_t>(at * SAMPLE_RATE);
    int64_t count = static_cast<int64_t>((length + 0.15) * SAMPLE_RATE);
    double f = frequency(note);
    LowPass filter;
    double phase = 0.0;
    for (int64_t i = 0; i < count; ++i)
    {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double vibrato = 1.0 + 0.006 * std::sin(TAU * 5.5 * t) * std::min(1.0, t * 3.0);
        phase += f * vibrato / SAMPLE_RATE;
        double width = 0.5 + 0.2 * std::sin(TAU * 0.7 * t);
        float square = (phase - std::floor(phase)) < width ? 1.0f : -1.0f;
        float s = filter.run(square * 0.7f + saw(phase * 2.0) * 0.15f, 2600.0f);
        double env = std::min(1.0, t * 80.0) * (t < length ? 1.0 - 0.25 * std::min(1.0, t * 4.0)
                                                          : 0.75 * std::max(0.0, 1.0 - (t - length) / 0.15));
        s *= static_cast<float>(env) * gain;
        add(m_lead, start + i, s, s);
    }
}

bool Synth::writeWav(const std::string& path)
{
    // Ping-pong echo on the lead bus, a dotted eighth at 120 beats a minute.
    const int64_t delay = SAMPLE_RATE * 375 / 1000;
    for (int64_t i = delay; i < m_frames; ++i)
    {
        m_lead.left[i] += m_lead.right[i - delay] * 0.35f;
        m_lead.right[i] += m_lead.left[i - delay] * 0.35f;
    }
    std::vector<double> kicks = m_kickTimes;
    std::sort(kicks.begin(), kicks.end());
    size_t nextKick = 0;
    double lastKick = -10.0;

    std::ofstream out(path, std::ios::binary);
    auto put32 = [&](uint32_t v) {
        for (int b = 0; b < 4; ++b)
            out.put(static_cast<char>((v >> (8 * b)) & 0xff));
    };
    auto put16 = [&](uint16_t v) {
        out.put(static_cast<char>(v & 0xff));
        out.put(static_cast<char>(v >> 8));
    };
    uint32_t dataBytes = static_cast<uint32_t>(m_frames * 4);
    out.write("RIFF", 4);
    put32(36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(16);
    put16(1);
    put16(2);
    put32(SAMPLE_RATE);
    put32(SAMPLE_RATE * 4);
    put16(4);
    put16(16);
    out.write("data", 4);
    put32(dataBytes);
    // A gentle high-pass on the master takes out the offset that the kick's
    // click and the one-sided envelopes leave behind.
    float previousIn[2] = {0.0f, 0.0f}, previousOut[2] = {0.0f, 0.0f};
    for (int64_t i = 0; i < m_frames; ++i)
    {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        while (nextKick < kicks.size() && kicks[nextKick] <= t)
            lastKick = kicks[nextKick++];
        float duck = static_cast<float>(1.0 - 0.55 * std::exp(-(t - lastKick) * 9.0));
        float channels[2] = {m_drums.left[i] + m_sustained.left[i] * duck + m_lead.left[i],
                             m_drums.right[i] + m_sustained.right[i] * duck + m_lead.right[i]};
        for (int ch = 0; ch < 2; ++ch)
        {
            float c = channels[ch] - previousIn[ch] + 0.9995f * previousOut[ch];
            previousIn[ch] = channels[ch];
            previousOut[ch] = c;
            float s = std::tanh(c * 0.8f) * 0.95f;
            put16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(s * 32767.0f))));
        }
    }
    return static_cast<bool>(out);
}
