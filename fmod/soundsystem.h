// The system object behind FMOD_SYSTEM: one SDL audio device whose callback mixes
// the channels in SDL's thread, the channels, the sounds and the spectrum analyser.
// Channel and sound state is touched only under the device (or silent output) lock.
#pragma once

#include "fmod.h"
#include "silentoutput.h"
#include "frequencyanalyser.h"

#include <SDL.h>
#include <memory>
#include <string>
#include <vector>

namespace SND
{
class Channel;
class Sound;

class SoundSystem
{
public:
    static const int MAX_CHANNELS = 4093;
    static const int DEVICE_BUFFER_FRAMES = 1024;

    SoundSystem();
    ~SoundSystem();
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    FMOD_RESULT setOutput(FMOD_OUTPUTTYPE output);
    FMOD_RESULT init(int maxChannels);
    FMOD_RESULT createSound(const char* nameOrData, FMOD_MODE mode, const FMOD_CREATESOUNDEXINFO* info, Sound** sound);
    FMOD_RESULT releaseSound(Sound* sound);
    FMOD_RESULT play(int channelIndex, Sound* sound, bool paused, Channel** channel);
    FMOD_RESULT spectrum(Channel* channel, float* values, int count, int side, FMOD_DSP_FFT_WINDOW window);

    void lock();
    void unlock();

private:
    static void SDLCALL audioCallback(void* userdata, Uint8* stream, int length);
    void mix(int16_t* out, unsigned frames);
    bool openDevice(const char* driver);
    void closeDevice();
    Channel* freeChannel();
    void report(const std::string& line);

    FMOD_OUTPUTTYPE m_output;
    bool m_initialised;
    bool m_audioStarted;             // this system holds a reference on SDL's audio subsystem
    SDL_AudioDeviceID m_device;      // 0 when no device could be opened at all
    std::unique_ptr<SilentOutput> m_silentOutput;   // runs the mix when there is no device
    bool m_reported;                 // the one diagnostic line has been printed
    unsigned long long m_playCount;
    std::vector<std::unique_ptr<Channel>> m_channels;
    std::vector<Sound*> m_sounds;
    std::vector<int32_t> m_mix;
    std::vector<float> m_spectrumInput;
    FrequencyAnalyser m_analyser;
};
}
