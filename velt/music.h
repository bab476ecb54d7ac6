// The demo's soundtrack player: its own sound system, one stream and the channel
// it plays on, with a short history of the channel's spectrum and a smoothed copy.
// The content start-up creates it from "data/music.mp3"; "StartSong" plays it.
#pragma once

#include "dd/archive.h"
#include "fmod.h"

namespace VELT
{
class Music
{
public:
    static const int SPECTRUM_SIZE = 256;
    static const int HISTORY_LENGTH = 6;

    explicit Music(const char* path);
    // Opens the sound from the entry's bytes; a null entry gives a silent music.
    explicit Music(const DD::Archive::File* file);
    ~Music();
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    void play();
    void togglePause();
    void setPosition(float seconds);
    void update();

    const float* getSpectrum() const { return m_spectrum; }
    bool isPaused() const { return m_paused; }
    FMOD_CHANNEL* getChannel() const { return m_channel; }

    // The position in milliseconds that setPosition asks for.
    static unsigned int toMilliseconds(float seconds);

private:
    void createSystem();
    void allocateSpectra();

    FMOD_SYSTEM* m_system;
    FMOD_SOUND* m_sound;
    FMOD_CHANNEL* m_channel;
    float* m_spectrum;
    float* m_history[HISTORY_LENGTH];
    bool m_paused;
};
}
