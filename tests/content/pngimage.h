// Decodes a PNG held in memory to 8-bit RGBA and keeps its header facts, so
// the content tests can check both what the image decoder of the demo accepts
// (8-bit, not interlaced) and what the pixels show.
#pragma once

#include <string>
#include <vector>

struct PngImage
{
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int colourType = 0;
    bool interlaced = false;
    std::vector<unsigned char> rgba; // width × height × 4, row 0 at the top

    bool decode(const std::vector<unsigned char>& bytes, std::string& why);
    const unsigned char* pixel(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};
