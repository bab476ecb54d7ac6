#include "soundsystem.h"

#include "channel.h"
#include "sound.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <dlfcn.h>

namespace SND
{
namespace
{
bool readWholeFile(const char* path, std::vector<unsigned char>& bytes)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return false;
    unsigned char buffer[65536];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + count);
    std::fclose(file);
    return true;
}

void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...)
{
}

// libasound prints several lines of its own when a device does not open; our
// one diagnostic line says it all. SDL loads the library itself, so reach the
// copy it loaded, if any.
void silenceAlsa()
{
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (alsa == nullptr)
        return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (void* set = dlsym(alsa, "snd_lib_error_set_handler"))
        reinterpret_cast<SetHandler>(set)(&ignoreAlsaMessage);
    dlclose(alsa);
}

bool isPowerOfTwo(int value)
{
    return value > 0 && (value & (value - 1)) == 0;
}
}

SoundSystem::SoundSystem()
    : m_output(FMOD_OUTPUTTYPE_AUTODETECT), m_initialised(false), m_audioStarted(false), m_device(0),
      m_reported(false), m_playCount(0)
{
}

SoundSystem::~SoundSystem()
{
    closeDevice();
    for (Sound* sound : m_sounds)
        delete sound;
}

FMOD_RESULT SoundSystem::setOutput(FMOD_OUTPUTTYPE output)
{
    if (m_initialised)
        return FMOD_ERR_INITIALIZED;
    if (output != FMOD_OUTPUTTYPE_AUTODETECT && output != FMOD_OUTPUTTYPE_NOSOUND)
        return FMOD_ERR_UNSUPPORTED;
    m_output = output;
    return FMOD_OK;
}

FMOD_RESULT SoundSystem::init(int maxChannels)
{
    if (m_initialised)
        return FMOD_ERR_INITIALIZED;
    if (maxChannels < 1 || maxChannels > MAX_CHANNELS)
        return FMOD_ERR_INVALID_PARAM;
    for (int i = 0; i < maxChannels; ++i)
        m_channels.push_back(std::unique_ptr<Channel>(new Channel(this)));
    m_spectrumInput.resize(Channel::HISTORY_FRAMES);
    m_initialised = true;

    const char* wanted = m_output == FMOD_OUTPUTTYPE_NOSOUND ? "dummy" : nullptr;
    if (openDevice(wanted))
        return FMOD_OK;
    // With no sound card ALSA starts but its device does not open: go on
    // through SDL's dummy driver, which still plays (silently) in real time.
    // That driver has one device per process; a second system times itself.
    const std::string reason = SDL_GetError();
    if (wanted == nullptr && openDevice("dummy")) {
        report("fmod: cannot open the audio device (" + reason + "); playing silently");
        return FMOD_OK;
    }
    m_mix.resize(size_t(DEVICE_BUFFER_FRAMES) * 2);
    m_silentOutput.reset(new SilentOutput(&SoundSystem::audioCallback, this, DEVICE_BUFFER_FRAMES, FMOD_MIX_RATE));
    if (m_output != FMOD_OUTPUTTYPE_NOSOUND)
        report("fmod: cannot open the audio device (" + reason + "); playing silently");
    return FMOD_OK;
}

bool SoundSystem::openDevice(const char* driver)
{
    // SDL must not take over SIGINT and SIGTERM from the program that uses us.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (driver != nullptr)
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver, SDL_HINT_OVERRIDE);
    bool started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (driver != nullptr)
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (!started)
        return false;
    m_audioStarted = true;
    silenceAlsa();

    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = FMOD_MIX_RATE;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = DEVICE_BUFFER_FRAMES;
    wanted.callback = &SoundSystem::audioCallback;
    wanted.userdata = this;
    SDL_AudioSpec obtained;
    // No format changes allowed: SDL converts for the hardware if it must, and
    // the callback always mixes 16-bit stereo at the decoding rate.
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (m_device == 0) {
        std::string reason = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_audioStarted = false;
        SDL_SetError("%s", reason.c_str());
        return false;
    }
    m_mix.resize(size_t(obtained.samples) * 2);
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

void SoundSystem::closeDevice()
{
    m_silentOutput.reset();
    if (m_device != 0)
        SDL_CloseAudioDevice(m_device);
    m_device = 0;
    if (m_audioStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_audioStarted = false;
}

void SoundSystem::report(const std::string& line)
{
    if (m_reported)
        return;
    m_reported = true;
    std::fprintf(stderr, "%s\n", line.c_str());
}

void SoundSystem::lock()
{
    if (m_device != 0)
        SDL_LockAudioDevice(m_device);
    else if (m_silentOutput)
        m_silentOutput->lock();
}

void SoundSystem::unlock()
{
    if (m_device != 0)
        SDL_UnlockAudioDevice(m_device);
    else if (m_silentOutput)
        m_silentOutput->unlock();
}

FMOD_RESULT SoundSystem::createSound(const char* nameOrData, FMOD_MODE mode, const FMOD_CREATESOUNDEXINFO* info,
                                     Sound** sound)
{
    *sound = nullptr;
    if (nameOrData == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    Sound* created = nullptr;
    if (mode & FMOD_OPENMEMORY) {
        const size_t needed = offsetof(FMOD_CREATESOUNDEXINFO, length) + sizeof(info->length);
        if (info == nullptr || info->cbsize < int(needed))
            return FMOD_ERR_INVALID_PARAM;
        created = Sound::decode(this, reinterpret_cast<const unsigned char*>(nameOrData), info->length);
        if (created == nullptr) {
            report("fmod: the sound in memory could not be decoded; it stays silent");
            return FMOD_ERR_FORMAT;
        }
    } else {
        std::vector<unsigned char> bytes;
        if (!readWholeFile(nameOrData, bytes)) {
            report(std::string("fmod: cannot open \"") + nameOrData + "\"; it stays silent");
            return FMOD_ERR_FILE_NOTFOUND;
        }
        created = Sound::decode(this, bytes.data(), bytes.size());
        if (created == nullptr) {
            report(std::string("fmod: \"") + nameOrData + "\" could not be decoded; it stays silent");
            return FMOD_ERR_FORMAT;
        }
    }
    m_sounds.push_back(created);
    *sound = created;
    return FMOD_OK;
}

FMOD_RESULT SoundSystem::releaseSound(Sound* sound)
{
    auto found = std::find(m_sounds.begin(), m_sounds.end(), sound);
    if (found == m_sounds.end())
        return FMOD_ERR_INVALID_HANDLE;
    // The audio thread must be done with the samples before they are freed.
    lock();
    for (auto& channel : m_channels)
        if (channel->sound() == sound)
            channel->stop();
    unlock();
    m_sounds.erase(found);
    delete sound;
    return FMOD_OK;
}

Channel* SoundSystem::freeChannel()
{
    Channel* oldest = m_channels.front().get();
    for (auto& channel : m_channels) {
        if (!channel->isPlaying())
            return channel.get();
        if (channel->startOrder() < oldest->startOrder())
            oldest = channel.get();
    }
    return oldest;   // all busy: the playback started longest ago gives way
}

FMOD_RESULT SoundSystem::play(int channelIndex, Sound* sound, bool paused, Channel** channel)
{
    if (channel != nullptr)
        *channel = nullptr;
    if (!m_initialised)
        return FMOD_ERR_UNINITIALIZED;
    if (std::find(m_sounds.begin(), m_sounds.end(), sound) == m_sounds.end())
        return FMOD_ERR_INVALID_HANDLE;
    if (channelIndex != FMOD_CHANNEL_FREE && (channelIndex < 0 || channelIndex >= int(m_channels.size())))
        return FMOD_ERR_INVALID_PARAM;
    lock();
    Channel* target = channelIndex == FMOD_CHANNEL_FREE ? freeChannel() : m_channels[channelIndex].get();
    target->start(sound, paused, ++m_playCount);
    unlock();
    if (channel != nullptr)
        *channel = target;
    return FMOD_OK;
}

FMOD_RESULT SoundSystem::spectrum(Channel* channel, float* values, int count, int side, FMOD_DSP_FFT_WINDOW window)
{
    if (!isPowerOfTwo(count) || count < 64 || count * 2 > int(Channel::HISTORY_FRAMES) || side < 0 || side > 1
        || (window != FMOD_DSP_FFT_WINDOW_RECT && window != FMOD_DSP_FFT_WINDOW_TRIANGLE))
        return FMOD_ERR_INVALID_PARAM;
    lock();
    channel->copyHistory(side, m_spectrumInput.data(), unsigned(count) * 2);
    unlock();
    m_analyser.analyse(m_spectrumInput.data(), count, window, values);
    return FMOD_OK;
}

void SDLCALL SoundSystem::audioCallback(void* userdata, Uint8* stream, int length)
{
    // SDL calls this with the device lock held.
    static_cast<SoundSystem*>(userdata)->mix(reinterpret_cast<int16_t*>(stream), unsigned(length) / 4);
}

void SoundSystem::mix(int16_t* out, unsigned frames)
{
    const unsigned chunk = unsigned(m_mix.size() / 2);
    while (frames > 0) {
        unsigned count = std::min(frames, chunk);
        std::fill(m_mix.begin(), m_mix.begin() + size_t(count) * 2, 0);
        for (auto& channel : m_channels)
            channel->mixInto(m_mix.data(), count);
        for (unsigned i = 0; i < count * 2; ++i)
            out[i] = int16_t(std::clamp(m_mix[i], int32_t(-32768), int32_t(32767)));
        out += size_t(count) * 2;
        frames -= count;
    }
}
}
