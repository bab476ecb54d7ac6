// The sound library's plain function interface: the FMOD_ functions, handles and
// constants that the music player calls. Our build implements them over libmpg123
// (decoding), SDL2 audio (a mixing callback in SDL's thread) and kissfft (spectrum).
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

typedef struct FMOD_SYSTEM FMOD_SYSTEM;
typedef struct FMOD_SOUND FMOD_SOUND;
typedef struct FMOD_CHANNEL FMOD_CHANNEL;

typedef int FMOD_BOOL;
typedef unsigned int FMOD_MODE;
typedef unsigned int FMOD_INITFLAGS;
typedef unsigned int FMOD_TIMEUNIT;

typedef enum
{
    FMOD_OK = 0,
    FMOD_ERR_CHANNEL_ALLOC,
    FMOD_ERR_FILE_BAD,
    FMOD_ERR_FILE_NOTFOUND,
    FMOD_ERR_FORMAT,
    FMOD_ERR_INITIALIZED,
    FMOD_ERR_INVALID_HANDLE,
    FMOD_ERR_INVALID_PARAM,
    FMOD_ERR_MEMORY,
    FMOD_ERR_OUTPUT_INIT,
    FMOD_ERR_UNINITIALIZED,
    FMOD_ERR_UNSUPPORTED
} FMOD_RESULT;

typedef enum
{
    FMOD_OUTPUTTYPE_AUTODETECT = 0,
    FMOD_OUTPUTTYPE_UNKNOWN = 1,
    FMOD_OUTPUTTYPE_NOSOUND = 2
} FMOD_OUTPUTTYPE;

typedef enum
{
    FMOD_CHANNEL_FREE = -1,
    FMOD_CHANNEL_REUSE = -2
} FMOD_CHANNELINDEX;

typedef enum
{
    FMOD_DSP_FFT_WINDOW_RECT = 0,
    FMOD_DSP_FFT_WINDOW_TRIANGLE = 1
} FMOD_DSP_FFT_WINDOW;

#define FMOD_INIT_NORMAL 0x00000000u

#define FMOD_DEFAULT 0x00000000u
#define FMOD_LOOP_OFF 0x00000001u
#define FMOD_LOOP_NORMAL 0x00000002u
#define FMOD_2D 0x00000008u
#define FMOD_3D 0x00000010u
#define FMOD_HARDWARE 0x00000020u
#define FMOD_SOFTWARE 0x00000040u
#define FMOD_CREATESTREAM 0x00000080u
#define FMOD_CREATESAMPLE 0x00000100u
#define FMOD_OPENMEMORY 0x00000800u
#define FMOD_ACCURATETIME 0x00004000u
#define FMOD_UNIQUE 0x00020000u

#define FMOD_TIMEUNIT_MS 0x00000001u
#define FMOD_TIMEUNIT_PCM 0x00000002u
#define FMOD_TIMEUNIT_PCMBYTES 0x00000004u

// Extra information for sound creation. Only cbsize and length are read:
// length is the byte count of the data when FMOD_OPENMEMORY is given.
// The record keeps the vendor's 136-byte size.
typedef struct FMOD_CREATESOUNDEXINFO
{
    int cbsize;
    unsigned int length;
    unsigned int fileoffset;
    int numchannels;
    int defaultfrequency;
    int format;
    unsigned int decodebuffersize;
    int initialsubsound;
    int numsubsounds;
    unsigned char reserved[100];
} FMOD_CREATESOUNDEXINFO;

// Every sound plays at this rate as 16-bit stereo: the device is opened in this
// format and streams are decoded straight into it.
#define FMOD_MIX_RATE 44100

FMOD_RESULT FMOD_System_Create(FMOD_SYSTEM** system);
FMOD_RESULT FMOD_System_SetOutput(FMOD_SYSTEM* system, FMOD_OUTPUTTYPE output);
FMOD_RESULT FMOD_System_Init(FMOD_SYSTEM* system, int maxchannels, FMOD_INITFLAGS flags, void* extradriverdata);
FMOD_RESULT FMOD_System_Update(FMOD_SYSTEM* system);
FMOD_RESULT FMOD_System_Release(FMOD_SYSTEM* system);
FMOD_RESULT FMOD_System_CreateStream(FMOD_SYSTEM* system, const char* name_or_data, FMOD_MODE mode,
                                     FMOD_CREATESOUNDEXINFO* exinfo, FMOD_SOUND** sound);
FMOD_RESULT FMOD_System_PlaySound(FMOD_SYSTEM* system, FMOD_CHANNELINDEX channelid, FMOD_SOUND* sound,
                                  FMOD_BOOL paused, FMOD_CHANNEL** channel);

FMOD_RESULT FMOD_Sound_Release(FMOD_SOUND* sound);
FMOD_RESULT FMOD_Sound_GetLength(FMOD_SOUND* sound, unsigned int* length, FMOD_TIMEUNIT lengthtype);

FMOD_RESULT FMOD_Channel_GetPaused(FMOD_CHANNEL* channel, FMOD_BOOL* paused);
FMOD_RESULT FMOD_Channel_SetPaused(FMOD_CHANNEL* channel, FMOD_BOOL paused);
FMOD_RESULT FMOD_Channel_IsPlaying(FMOD_CHANNEL* channel, FMOD_BOOL* isplaying);
FMOD_RESULT FMOD_Channel_SetPosition(FMOD_CHANNEL* channel, unsigned int position, FMOD_TIMEUNIT postype);
FMOD_RESULT FMOD_Channel_GetPosition(FMOD_CHANNEL* channel, unsigned int* position, FMOD_TIMEUNIT postype);
FMOD_RESULT FMOD_Channel_GetSpectrum(FMOD_CHANNEL* channel, float* spectrumarray, int numvalues, int channeloffset,
                                     FMOD_DSP_FFT_WINDOW windowtype);

#ifdef __cplusplus
}
#endif
