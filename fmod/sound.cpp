#include "sound.h"

#include "fmod.h"

#include <mpg123.h>

#include <utility>

namespace SND
{
namespace
{
// Decoding straight into the mixing format: forcing the rate and stereo in the
// decoder gives exact lengths, which a later rate conversion would not.
bool setUpDecoder(mpg123_handle* decoder)
{
    return mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_FORCE_STEREO | MPG123_QUIET | MPG123_GAPLESS, 0) == MPG123_OK
        && mpg123_param(decoder, MPG123_FORCE_RATE, FMOD_MIX_RATE, 0) == MPG123_OK
        && mpg123_format_none(decoder) == MPG123_OK
        && mpg123_format(decoder, FMOD_MIX_RATE, MPG123_STEREO, MPG123_ENC_SIGNED_16) == MPG123_OK
        && mpg123_open_feed(decoder) == MPG123_OK;
}

void decodeAll(mpg123_handle* decoder, const unsigned char* data, size_t size, std::vector<int16_t>& samples)
{
    if (mpg123_feed(decoder, data, size) != MPG123_OK)
        return;
    unsigned char buffer[16384];
    for (;;) {
        size_t done = 0;
        int result = mpg123_read(decoder, buffer, sizeof(buffer), &done);
        const int16_t* decoded = reinterpret_cast<const int16_t*>(buffer);
        samples.insert(samples.end(), decoded, decoded + done / sizeof(int16_t));
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
            return;   // MPG123_NEED_MORE: every fed byte is used up; anything else: damaged stream
    }
}
}

Sound::Sound(SoundSystem* system, std::vector<int16_t>&& samples)
    : m_system(system), m_samples(std::move(samples))
{
}

Sound* Sound::decode(SoundSystem* system, const unsigned char* data, size_t size)
{
    if (data == nullptr || size == 0)
        return nullptr;
    int error = MPG123_OK;
    mpg123_handle* decoder = mpg123_new(nullptr, &error);
    if (decoder == nullptr)
        return nullptr;
    std::vector<int16_t> samples;
    if (setUpDecoder(decoder))
        decodeAll(decoder, data, size, samples);
    mpg123_delete(decoder);
    samples.resize(samples.size() & ~size_t(1));   // whole stereo frames only
    if (samples.empty())
        return nullptr;
    return new Sound(system, std::move(samples));
}
}
