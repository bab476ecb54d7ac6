#include "velt/music.h"

#include <cstring>

namespace VELT
{
namespace
{
const FMOD_MODE STREAM_MODE = FMOD_LOOP_OFF | FMOD_2D | FMOD_SOFTWARE | FMOD_CREATESAMPLE | FMOD_ACCURATETIME | FMOD_UNIQUE;
const FMOD_MODE MEMORY_STREAM_MODE = STREAM_MODE | FMOD_OPENMEMORY;
const int MAX_CHANNELS = 10;

// Weights of the history, newest first; each older spectrum counts half as much.
const float HISTORY_WEIGHTS[Music::HISTORY_LENGTH] = {1.0f, 0.6f, 0.3f, 0.15f, 0.075f, 0.0375f};
const float HISTORY_WEIGHT_SUM = 2.1625f;
}

Music::Music(const char* path)
    : m_system(nullptr), m_sound(nullptr), m_channel(nullptr), m_spectrum(nullptr), m_history(), m_paused(true)
{
    createSystem();
    FMOD_System_CreateStream(m_system, path, STREAM_MODE, nullptr, &m_sound);
    allocateSpectra();
}

Music::Music(const DD::Archive::File* file)
    : m_system(nullptr), m_sound(nullptr), m_channel(nullptr), m_spectrum(nullptr), m_history(), m_paused(true)
{
    createSystem();
    if (file != nullptr && file->m_data != nullptr) {
        FMOD_CREATESOUNDEXINFO info;
        std::memset(&info, 0, sizeof(info));
        info.cbsize = sizeof(info);
        info.length = file->m_size;
        FMOD_System_CreateStream(m_system, reinterpret_cast<const char*>(file->m_data), MEMORY_STREAM_MODE, &info,
                                 &m_sound);
    }
    allocateSpectra();
}

Music::~Music()
{
    FMOD_Sound_Release(m_sound);
    delete[] m_spectrum;
    for (float* spectrum : m_history)
        delete[] spectrum;
}

void Music::createSystem()
{
    FMOD_System_Create(&m_system);
    FMOD_System_SetOutput(m_system, FMOD_OUTPUTTYPE_AUTODETECT);
    FMOD_System_Init(m_system, MAX_CHANNELS, FMOD_INIT_NORMAL, nullptr);
}

void Music::allocateSpectra()
{
    m_spectrum = new float[SPECTRUM_SIZE]();
    for (float*& spectrum : m_history)
        spectrum = new float[SPECTRUM_SIZE]();
}

void Music::play()
{
    FMOD_System_PlaySound(m_system, FMOD_CHANNEL_FREE, m_sound, 0, &m_channel);
    m_paused = false;
}

void Music::togglePause()
{
    // Before the first play there is no channel to pause or resume.
    if (m_channel == nullptr)
        return;
    FMOD_BOOL paused = m_paused;
    FMOD_Channel_GetPaused(m_channel, &paused);
    FMOD_Channel_SetPaused(m_channel, !paused);
    m_paused = !paused;
}

unsigned int Music::toMilliseconds(float seconds)
{
    const float milliseconds = seconds * 1000;
    // Negative and not-a-number positions are the start; huge ones the farthest end.
    if (!(milliseconds > 0.0f))
        return 0;
    if (milliseconds >= 4294967296.0f)
        return 0xFFFFFFFFu;
    return static_cast<unsigned int>(milliseconds);
}

void Music::setPosition(float seconds)
{
    if (m_channel == nullptr)
        return;
    FMOD_Channel_SetPosition(m_channel, toMilliseconds(seconds), FMOD_TIMEUNIT_MS);
}

void Music::update()
{
    delete[] m_history[HISTORY_LENGTH - 1];
    for (int i = HISTORY_LENGTH - 1; i > 0; --i)
        m_history[i] = m_history[i - 1];
    // Zero-filled so that no channel, or a failed read, counts as silence.
    m_history[0] = new float[SPECTRUM_SIZE]();

    FMOD_System_Update(m_system);
    if (m_channel != nullptr)
        FMOD_Channel_GetSpectrum(m_channel, m_history[0], SPECTRUM_SIZE, 0, FMOD_DSP_FFT_WINDOW_TRIANGLE);

    for (int i = 0; i < SPECTRUM_SIZE; ++i) {
        float sum = 0.0f;
        for (int k = 0; k < HISTORY_LENGTH; ++k)
            sum += HISTORY_WEIGHTS[k] * m_history[k][i];
        m_spectrum[i] = sum / HISTORY_WEIGHT_SUM;
    }
}
}
