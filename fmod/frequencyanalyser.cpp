#include "frequencyanalyser.h"

#include <cmath>
#include <cstdlib>

namespace SND
{
FrequencyAnalyser::~FrequencyAnalyser()
{
    kiss_fftr_free(m_config);
}

void FrequencyAnalyser::prepare(int size)
{
    if (size == m_size)
        return;
    kiss_fftr_free(m_config);
    m_config = kiss_fftr_alloc(size, 0, nullptr, nullptr);
    m_size = size;
    m_input.resize(size);
    m_bins.resize(size / 2 + 1);
}

void FrequencyAnalyser::analyse(const float* samples, int values, FMOD_DSP_FFT_WINDOW window, float* out)
{
    const int size = values * 2;
    prepare(size);
    double windowSum = 0.0;
    for (int i = 0; i < size; ++i) {
        double weight = 1.0;
        if (window == FMOD_DSP_FFT_WINDOW_TRIANGLE)
            weight = 1.0 - std::fabs(2.0 * i / (size - 1) - 1.0);
        m_input[i] = static_cast<kiss_fft_scalar>(samples[i] * weight);
        windowSum += weight;
    }
    kiss_fftr(m_config, m_input.data(), m_bins.data());
    // A sine of amplitude a puts a * windowSum / 2 into its bin.
    const double scale = 2.0 / windowSum;
    for (int k = 0; k < values; ++k)
        out[k] = static_cast<float>(std::hypot(m_bins[k].r, m_bins[k].i) * scale);
}
}
