// Magnitude spectrum of a block of samples through kissfft, as the sound layer's
// FMOD_Channel_GetSpectrum returns it: n values from 2n samples, linear, where a
// full-scale sine gives about 1.0 in its bin. Used by SND::SoundSystem.
#pragma once

#include "fmod.h"

#include <kiss_fftr.h>
#include <vector>

namespace SND
{
class FrequencyAnalyser
{
public:
    FrequencyAnalyser() = default;
    ~FrequencyAnalyser();
    FrequencyAnalyser(const FrequencyAnalyser&) = delete;
    FrequencyAnalyser& operator=(const FrequencyAnalyser&) = delete;

    // samples holds 2 * values samples, oldest first; out receives values magnitudes.
    void analyse(const float* samples, int values, FMOD_DSP_FFT_WINDOW window, float* out);

private:
    void prepare(int size);

    kiss_fftr_cfg m_config = nullptr;
    int m_size = 0;
    std::vector<kiss_fft_scalar> m_input;
    std::vector<kiss_fft_cpx> m_bins;
};
}
