// The FMOD_ functions: handles are the layer's own objects, checked for null
// and handed to SND::SoundSystem, which does the work under its device lock.
#include "fmod.h"

#include "channel.h"
#include "sound.h"
#include "soundsystem.h"

namespace
{
SND::SoundSystem* asSystem(FMOD_SYSTEM* system)
{
    return reinterpret_cast<SND::SoundSystem*>(system);
}

SND::Sound* asSound(FMOD_SOUND* sound)
{
    return reinterpret_cast<SND::Sound*>(sound);
}

SND::Channel* asChannel(FMOD_CHANNEL* channel)
{
    return reinterpret_cast<SND::Channel*>(channel);
}

// Runs a read or change of a channel under its system's device lock.
template <typename Body>
FMOD_RESULT withChannel(FMOD_CHANNEL* handle, Body body)
{
    SND::Channel* channel = asChannel(handle);
    if (channel == nullptr)
        return FMOD_ERR_INVALID_HANDLE;
    channel->system()->lock();
    FMOD_RESULT result = body(*channel);
    channel->system()->unlock();
    return result;
}
}

extern "C" {

FMOD_RESULT FMOD_System_Create(FMOD_SYSTEM** system)
{
    if (system == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    *system = reinterpret_cast<FMOD_SYSTEM*>(new SND::SoundSystem());
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_SetOutput(FMOD_SYSTEM* system, FMOD_OUTPUTTYPE output)
{
    return system == nullptr ? FMOD_ERR_INVALID_HANDLE : asSystem(system)->setOutput(output);
}

FMOD_RESULT FMOD_System_Init(FMOD_SYSTEM* system, int maxchannels, FMOD_INITFLAGS, void*)
{
    return system == nullptr ? FMOD_ERR_INVALID_HANDLE : asSystem(system)->init(maxchannels);
}

FMOD_RESULT FMOD_System_Update(FMOD_SYSTEM* system)
{
    // Mixing runs in SDL's audio thread; there is no periodic work left to do here.
    return system == nullptr ? FMOD_ERR_INVALID_HANDLE : FMOD_OK;
}

FMOD_RESULT FMOD_System_Release(FMOD_SYSTEM* system)
{
    if (system == nullptr)
        return FMOD_ERR_INVALID_HANDLE;
    delete asSystem(system);
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_CreateStream(FMOD_SYSTEM* system, const char* name_or_data, FMOD_MODE mode,
                                     FMOD_CREATESOUNDEXINFO* exinfo, FMOD_SOUND** sound)
{
    if (sound == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    *sound = nullptr;
    if (system == nullptr)
        return FMOD_ERR_INVALID_HANDLE;
    SND::Sound* created = nullptr;
    FMOD_RESULT result = asSystem(system)->createSound(name_or_data, mode, exinfo, &created);
    *sound = reinterpret_cast<FMOD_SOUND*>(created);
    return result;
}

FMOD_RESULT FMOD_System_PlaySound(FMOD_SYSTEM* system, FMOD_CHANNELINDEX channelid, FMOD_SOUND* sound,
                                  FMOD_BOOL paused, FMOD_CHANNEL** channel)
{
    if (channel != nullptr)
        *channel = nullptr;
    if (system == nullptr)
        return FMOD_ERR_INVALID_HANDLE;
    SND::Channel* started = nullptr;
    FMOD_RESULT result = asSystem(system)->play(channelid, asSound(sound), paused != 0, &started);
    if (channel != nullptr)
        *channel = reinterpret_cast<FMOD_CHANNEL*>(started);
    return result;
}

FMOD_RESULT FMOD_Sound_Release(FMOD_SOUND* sound)
{
    if (sound == nullptr)
        return FMOD_ERR_INVALID_HANDLE;
    return asSound(sound)->system()->releaseSound(asSound(sound));
}

FMOD_RESULT FMOD_Sound_GetLength(FMOD_SOUND* sound, unsigned int* length, FMOD_TIMEUNIT lengthtype)
{
    if (sound == nullptr)
        return FMOD_ERR_INVALID_HANDLE;
    if (length == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    const unsigned frames = asSound(sound)->frameCount();
    switch (lengthtype) {
    case FMOD_TIMEUNIT_MS: *length = unsigned(frames * 1000ull / FMOD_MIX_RATE); return FMOD_OK;
    case FMOD_TIMEUNIT_PCM: *length = frames; return FMOD_OK;
    case FMOD_TIMEUNIT_PCMBYTES: *length = frames * 4; return FMOD_OK;
    default: return FMOD_ERR_INVALID_PARAM;
    }
}

FMOD_RESULT FMOD_Channel_GetPaused(FMOD_CHANNEL* channel, FMOD_BOOL* paused)
{
    if (paused == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    return withChannel(channel, [&](SND::Channel& c) {
        *paused = c.isPaused();
        return FMOD_OK;
    });
}

FMOD_RESULT FMOD_Channel_SetPaused(FMOD_CHANNEL* channel, FMOD_BOOL paused)
{
    return withChannel(channel, [&](SND::Channel& c) {
        c.setPaused(paused != 0);
        return FMOD_OK;
    });
}

FMOD_RESULT FMOD_Channel_IsPlaying(FMOD_CHANNEL* channel, FMOD_BOOL* isplaying)
{
    if (isplaying == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    return withChannel(channel, [&](SND::Channel& c) {
        *isplaying = c.isPlaying();
        return FMOD_OK;
    });
}

FMOD_RESULT FMOD_Channel_SetPosition(FMOD_CHANNEL* channel, unsigned int position, FMOD_TIMEUNIT postype)
{
    unsigned long long frame;
    switch (postype) {
    case FMOD_TIMEUNIT_MS: frame = position * (unsigned long long)FMOD_MIX_RATE / 1000; break;
    case FMOD_TIMEUNIT_PCM: frame = position; break;
    case FMOD_TIMEUNIT_PCMBYTES: frame = position / 4; break;
    default: return FMOD_ERR_INVALID_PARAM;
    }
    return withChannel(channel, [&](SND::Channel& c) {
        if (!c.isPlaying())
            return FMOD_ERR_INVALID_HANDLE;
        // A position past the end is the end: the channel stops at its next mix.
        c.setPosition(frame > 0xFFFFFFFFull ? 0xFFFFFFFFu : unsigned(frame));
        return FMOD_OK;
    });
}

FMOD_RESULT FMOD_Channel_GetPosition(FMOD_CHANNEL* channel, unsigned int* position, FMOD_TIMEUNIT postype)
{
    if (position == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    unsigned frame = 0;
    FMOD_RESULT result = withChannel(channel, [&](SND::Channel& c) {
        if (!c.isPlaying())
            return FMOD_ERR_INVALID_HANDLE;
        frame = c.position();
        return FMOD_OK;
    });
    if (result != FMOD_OK)
        return result;
    switch (postype) {
    case FMOD_TIMEUNIT_MS: *position = unsigned(frame * 1000ull / FMOD_MIX_RATE); return FMOD_OK;
    case FMOD_TIMEUNIT_PCM: *position = frame; return FMOD_OK;
    case FMOD_TIMEUNIT_PCMBYTES: *position = frame * 4; return FMOD_OK;
    default: return FMOD_ERR_INVALID_PARAM;
    }
}

FMOD_RESULT FMOD_Channel_GetSpectrum(FMOD_CHANNEL* channel, float* spectrumarray, int numvalues, int channeloffset,
                                     FMOD_DSP_FFT_WINDOW windowtype)
{
    if (spectrumarray == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    SND::Channel* c = asChannel(channel);
    if (c == nullptr) {
        // Callers keep reading the array, so a missing channel gives silence.
        for (int i = 0; i < numvalues; ++i)
            spectrumarray[i] = 0.0f;
        return FMOD_ERR_INVALID_HANDLE;
    }
    return c->system()->spectrum(c, spectrumarray, numvalues, channeloffset, windowtype);
}
}
