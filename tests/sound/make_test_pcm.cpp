// Writes the raw 16-bit stereo PCM (44100 Hz, little-endian) that the sound tests
// encode with lame: "music" is a deterministic tune of changing chords over a
// little noise, so that any stretch of it can be located; "tones" is a steady
// sine on each side (left and right at given frequencies) for the spectrum.
// Usage: make_test_pcm music SECONDS OUT | make_test_pcm tones SECONDS LEFT_HZ RIGHT_HZ OUT
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
const int RATE = 44100;
const double PI = 3.14159265358979323846;

int16_t toSample(double value)
{
    return static_cast<int16_t>(std::lround(std::max(-1.0, std::min(1.0, value)) * 32767.0));
}

// Peaks stay near 0.3 of full scale so that two playbacks mix without clipping.
std::vector<int16_t> music(double seconds)
{
    const double scale[] = {261.63, 293.66, 329.63, 392.00, 440.00, 523.25, 587.33, 659.25};
    uint32_t seed = 12345;
    auto random = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) / double(1 << 24);
    };
    const int frames = int(seconds * RATE);
    const int noteFrames = RATE / 5;
    std::vector<int16_t> pcm;
    double notes[3] = {};
    for (int i = 0; i < frames; ++i) {
        if (i % noteFrames == 0)
            for (double& note : notes)
                note = scale[int(random() * 8)] * (random() < 0.3 ? 0.5 : 1.0);
        const double t = double(i) / RATE;
        const double envelope = 0.4 + 0.6 * std::exp(-double(i % noteFrames) / (RATE * 0.08));
        double left = 0.0, right = 0.0;
        for (int n = 0; n < 3; ++n) {
            const double tone = std::sin(2 * PI * notes[n] * t) + 0.3 * std::sin(4 * PI * notes[n] * t);
            left += tone * (n == 2 ? 0.3 : 0.7);
            right += tone * (n == 0 ? 0.3 : 0.7);
        }
        const double noise = (random() - 0.5) * 0.02;
        pcm.push_back(toSample(0.09 * envelope * left + noise));
        pcm.push_back(toSample(0.09 * envelope * right + noise));
    }
    return pcm;
}

std::vector<int16_t> tones(double seconds, double leftHz, double rightHz)
{
    std::vector<int16_t> pcm;
    for (int i = 0; i < int(seconds * RATE); ++i) {
        const double t = double(i) / RATE;
        pcm.push_back(toSample(0.5 * std::sin(2 * PI * leftHz * t)));
        pcm.push_back(toSample(0.5 * std::sin(2 * PI * rightHz * t)));
    }
    return pcm;
}
}

int main(int argc, char** argv)
{
    std::vector<int16_t> pcm;
    const char* out = nullptr;
    if (argc == 4 && std::strcmp(argv[1], "music") == 0) {
        pcm = music(std::atof(argv[2]));
        out = argv[3];
    } else if (argc == 6 && std::strcmp(argv[1], "tones") == 0) {
        pcm = tones(std::atof(argv[2]), std::atof(argv[3]), std::atof(argv[4]));
        out = argv[5];
    } else {
        std::fprintf(stderr, "usage: %s music SECONDS OUT | tones SECONDS LEFT_HZ RIGHT_HZ OUT\n", argv[0]);
        return 2;
    }
    std::FILE* file = std::fopen(out, "wb");
    if (file == nullptr)
        return 1;
    const bool written = std::fwrite(pcm.data(), sizeof(int16_t), pcm.size(), file) == pcm.size();
    return std::fclose(file) == 0 && written ? 0 : 1;
}
