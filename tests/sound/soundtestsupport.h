// Helpers of the sound tests: the reference decoding of the test MP3s, a sound
// system on SDL's disk driver whose output file the tests read back, and
// searches for decoded frames inside that output.
#pragma once

#include "fmod.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Interleaved 16-bit stereo frames.
using Pcm = std::vector<int16_t>;

std::string mediaPath(const std::string& name);

// Decodes with libmpg123's own file reader into the mixing format.
Pcm decodeReference(const std::string& path);

// The frame index where the frames [from, from + count) of needle first occur
// in haystack at or after start, or -1.
long findFrames(const Pcm& haystack, const Pcm& needle, size_t from, size_t count, size_t start = 0);

bool isSilent(const Pcm& pcm, size_t firstFrame, size_t endFrame);

// Polls until the condition holds or the seconds run out; returns the condition.
bool waitFor(const std::function<bool()>& condition, double seconds = 20.0);

unsigned positionOf(FMOD_CHANNEL* channel);
// Waits until the channel has played up to frame; false if it stopped first.
bool reaches(FMOD_CHANNEL* channel, unsigned frame);
bool isPlaying(FMOD_CHANNEL* channel);

// A sound system whose device is SDL's disk driver, writing to its own file
// about four times faster than real time: fast, yet slow enough that a test
// thread held up on a busy machine still acts before the music ends.
class DiskSystem
{
public:
    explicit DiskSystem(const std::string& name, int channels = 10);
    ~DiskSystem();

    FMOD_SYSTEM* system() const { return m_system; }
    FMOD_SOUND* load(const std::string& path);
    // Releases the system, which closes the device, and returns what it wrote.
    Pcm finish();

private:
    FMOD_SYSTEM* m_system;
    std::string m_outputPath;
};
