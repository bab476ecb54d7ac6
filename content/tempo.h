// The soundtrack's tempo and length, shared by the music generator and the
// timeline checks: every event of content/solenne.kvt lies on this beat grid.
#pragma once

namespace Tempo
{
// 120 beats a minute in 4/4: a beat is half a second and a bar two seconds,
// which keeps the timeline's times easy to read and write by hand.
constexpr int BEATS_PER_MINUTE = 120;
constexpr int BEATS_PER_BAR = 4;
constexpr double SECONDS_PER_BEAT = 60.0 / BEATS_PER_MINUTE;
constexpr double SECONDS_PER_BAR = SECONDS_PER_BEAT * BEATS_PER_BAR;

// The song is this many bars long; the timeline starts it with "StartSong"
// after a one-bar count-in and ends the demo with "Exit" when it is over.
constexpr int SONG_BARS = 76;
constexpr double SONG_SECONDS = SONG_BARS * SECONDS_PER_BAR;

// Finest subdivision that timeline events may use: a sixteenth note.
constexpr int GRID_STEPS_PER_BEAT = 4;
constexpr double GRID_SECONDS = SECONDS_PER_BEAT / GRID_STEPS_PER_BEAT;
}
