// A 5 × 7 dot-matrix font, the lettering of old terminals, used for the logo,
// the scroller, the countdown, the letter tiles and the monitors' badges.
#pragma once

#include "canvas.h"

#include <string>

class PixelFont
{
public:
    static constexpr int GLYPH_WIDTH = 5;
    static constexpr int GLYPH_HEIGHT = 7;
    static constexpr int ADVANCE = 6; // glyph plus one column of spacing

    // True where the glyph of ch has a dot; unknown characters are blank.
    static bool dot(char ch, int column, int row);

    // Width in pixels of text drawn with dots of size `dot`.
    static float textWidth(const std::string& text, float dot) { return text.size() * ADVANCE * dot - dot; }

    // Draws text with its top-left corner at (x, y); each dot is a square of
    // `dot` pixels with rounded corners (roundness 0 to 0.5 of a dot).
    static void draw(Canvas& canvas, const std::string& text, float x, float y, float dot, const Colour& colour,
                     float roundness = 0.15f);
};
