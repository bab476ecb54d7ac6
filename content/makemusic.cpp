// Soundtrack generator: composes the demo's song on the tempo of tempo.h and
// writes it as a WAV file, which the build encodes to data/music.mp3.
//
//   makemusic OUT.wav
//
// The song is in A minor over Am - F - C - G, one chord a bar. Its sections
// (in bars) follow the timeline's scenes: intro 0-7, groove 8-23, theme 24-31,
// breakdown 32-39, build 40-47, climax 48-63, outro 64-71, ending 72-75.
#include "synth.h"
#include "tempo.h"

#include <cstdio>
#include <vector>

namespace
{
struct Note
{
    int step;   // sixteenth within the four-bar phrase
    int note;   // MIDI number
    int length; // in sixteenths
};

const int ROOTS[4] = {45, 41, 48, 43}; // A, F, C, G
const std::vector<int> CHORDS[4] = {{57, 60, 64}, {53, 57, 60}, {55, 60, 64}, {55, 59, 62}};

const std::vector<Note> THEME_A = {{0, 69, 3},  {3, 72, 3},  {6, 76, 4},  {10, 74, 2}, {12, 72, 4},
                                   {16, 69, 3}, {19, 72, 3}, {22, 77, 4}, {26, 76, 2}, {28, 72, 4},
                                   {32, 67, 3}, {35, 72, 3}, {38, 76, 4}, {42, 79, 2}, {44, 76, 4},
                                   {48, 74, 6}, {54, 71, 2}, {56, 67, 4}, {60, 71, 4}};
const std::vector<Note> THEME_B = {{0, 76, 8},  {8, 81, 8},  {16, 77, 6}, {22, 76, 2}, {24, 72, 8},
                                   {32, 79, 8}, {40, 76, 4}, {44, 72, 4}, {48, 74, 12}, {60, 71, 4}};

bool between(int bar, int first, int last) { return bar >= first && bar <= last; }
}

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: makemusic OUT.wav\n");
        return 2;
    }
    const double beat = Tempo::SECONDS_PER_BEAT;
    const double step = beat / 4.0;
    // A short tail lets the last chord ring out past the final bar line.
    Synth synth(Tempo::SONG_SECONDS);

    for (int bar = 0; bar < Tempo::SONG_BARS; ++bar)
    {
        const double t0 = bar * Tempo::SECONDS_PER_BAR;
        const int chord = bar % 4;
        const bool breakdown = between(bar, 32, 39);
        const bool ending = bar >= 72;

        // Pads everywhere but the very last bar, which holds the final chord.
        if (bar < Tempo::SONG_BARS - 1)
            synth.pad(t0, Tempo::SECONDS_PER_BAR, CHORDS[chord], breakdown ? 0.55f : 0.4f);
        else
            synth.pad(t0, Tempo::SECONDS_PER_BAR - 0.7, CHORDS[0], 0.4f);

        // Drums.
        bool kicks = between(bar, 8, 31) || between(bar, 40, 71) || between(bar, 72, 73);
        for (int b = 0; b < Tempo::BEATS_PER_BAR; ++b)
        {
            double t = t0 + b * beat;
            if (kicks)
                synth.kick(t, 0.9f);
            if ((between(bar, 16, 31) || between(bar, 44, 71)) && (b == 1 || b == 3))
                synth.snare(t, 0.5f);
            if (between(bar, 4, 31) || between(bar, 40, 71))
            {
                synth.hat(t + 2 * step, 0.35f, bar >= 16 && b == 3);
                if (bar >= 12)
                {
                    synth.hat(t + step, 0.18f, false);
                    synth.hat(t + 3 * step, 0.18f, false);
                }
            }
        }
        // A snare roll into the build and into the climax.
        if (bar == 39 || bar == 47)
            for (int s = 0; s < 16; ++s)
                synth.snare(t0 + s * step, 0.15f + 0.35f * s / 15.0f);

        // Bass: driving eighths with an octave jump.
        if (between(bar, 8, 31) || between(bar, 40, 73))
            for (int e = 0; e < 8; ++e)
            {
                int note = ROOTS[chord] + ((e % 4 == 3) ? 12 : 0);
                synth.bass(t0 + e * 2 * step, 2 * step * 0.85, note, 0.5f);
            }
        else if (breakdown)
            synth.bass(t0, Tempo::SECONDS_PER_BAR * 0.9, ROOTS[chord], 0.35f);

        // Arpeggio over the chord in sixteenths, panned left and right.
        if (between(bar, 4, 71) && !between(bar, 36, 39))
        {
            static const int order[8] = {0, 1, 2, 3, 4, 3, 2, 1};
            for (int s = 0; s < 16; ++s)
            {
                int i = order[s % 8];
                int note = CHORDS[chord][i % 3] + 12 * (i / 3) + 12;
                float gain = (bar >= 48 && bar < 64) ? 0.2f : 0.14f;
                synth.pluck(t0 + s * step, note, gain, (s % 2) ? 0.5f : -0.5f);
            }
        }

        // Lead: theme A from bar 24, theme B in the build, both in the climax,
        // the theme once more, softly, in the breakdown.
        const std::vector<Note>* theme = nullptr;
        float gain = 0.28f;
        if (between(bar, 24, 31) || between(bar, 48, 55))
            theme = &THEME_A;
        else if (between(bar, 40, 47) || between(bar, 56, 63))
            theme = &THEME_B;
        else if (between(bar, 32, 35))
        {
            theme = &THEME_A;
            gain = 0.16f;
        }
        if (theme && !ending)
            for (const Note& n : *theme)
                if (n.step / 16 == chord)
                    synth.lead(t0 + (n.step % 16) * step, n.length * step * 0.9, n.note, gain);
    }

    if (!synth.writeWav(argv[1]))
    {
        std::fprintf(stderr, "makemusic: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
