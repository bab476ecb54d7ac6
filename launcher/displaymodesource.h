// Where the launcher learns which screen modes the display offers. The window
// reads the modes through this seam, so the system's own list and a fixed list
// handed in by a test go through the same code.
#pragma once

#include <vector>

struct DisplayMode
{
    int width;
    int height;
    int bitsPerPixel;
    int refreshRate;  // Hz, 0 where the system does not say
};

class DisplayModeSource
{
public:
    virtual ~DisplayModeSource() = default;

    // Every mode in the order the system reports it, duplicates included.
    virtual std::vector<DisplayMode> modes() const = 0;
};
