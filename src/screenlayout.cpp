#include "screenlayout.h"

namespace
{
// One row per visible subscreen: mode, id, left, top, right, bottom.
// Modes 5, 6 and 7 are grids of small screens (2, 3 and 5 columns by three
// rows, id = row x columns + column from the top); 5 and 6 end with one large screen.
const SubscreenRectangle RECTANGLES[] = {
    {0, 0, -0.387f, 0.63f, 0.394f, -0.407f},

    {1, 0, -0.732f, 0.47f, -0.145f, -0.307f},
    {1, 1, 0.15f, 0.47f, 0.738f, -0.307f},

    {2, 0, -0.77f, 0.78f, -0.378f, 0.261f},
    {2, 1, -0.77f, -0.156f, -0.378f, -0.667f},
    {2, 2, -0.067f, 0.628f, 0.717f, -0.407f},

    {3, 0, -0.77f, 0.585f, -0.378f, 0.067f},
    {3, 1, -0.798f, -0.322f, -0.602f, -0.581f},
    {3, 2, -0.481f, -0.322f, -0.285f, -0.581f},
    {3, 3, -0.067f, 0.63f, 0.717f, -0.407f},

    {4, 0, -0.815f, 0.65f, -0.374f, 0.067f},
    {4, 1, -0.221f, 0.65f, 0.22f, 0.067f},
    {4, 2, 0.375f, 0.65f, 0.816f, 0.067f},
    {4, 3, -0.709f, -0.394f, -0.514f, -0.654f},
    {4, 4, -0.401f, -0.394f, -0.207f, -0.654f},
    {4, 5, -0.097f, -0.394f, 0.099f, -0.654f},
    {4, 6, 0.209f, -0.394f, 0.405f, -0.654f},
    {4, 7, 0.516f, -0.394f, 0.711f, -0.654f},

    {5, 0, -0.854f, 0.707f, -0.658f, 0.448f},
    {5, 1, -0.527f, 0.707f, -0.331f, 0.448f},
    {5, 2, -0.854f, 0.157f, -0.658f, -0.102f},
    {5, 3, -0.527f, 0.157f, -0.331f, -0.102f},
    {5, 4, -0.854f, -0.394f, -0.658f, -0.654f},
    {5, 5, -0.527f, -0.394f, -0.331f, -0.654f},
    {5, 6, -0.067f, 0.628f, 0.717f, -0.407f},

    {6, 0, -0.92f, 0.711f, -0.724f, 0.452f},
    {6, 1, -0.634f, 0.711f, -0.439f, 0.452f},
    {6, 2, -0.348f, 0.711f, -0.152f, 0.452f},
    {6, 3, -0.92f, 0.161f, -0.724f, -0.098f},
    {6, 4, -0.634f, 0.161f, -0.439f, -0.098f},
    {6, 5, -0.348f, 0.161f, -0.152f, -0.098f},
    {6, 6, -0.92f, -0.391f, -0.724f, -0.65f},
    {6, 7, -0.634f, -0.391f, -0.439f, -0.65f},
    {6, 8, -0.348f, -0.391f, -0.152f, -0.65f},
    {6, 9, 0.047f, 0.631f, 0.83f, -0.406f},

    {7, 0, -0.754f, 0.707f, -0.558f, 0.448f},
    {7, 1, -0.427f, 0.707f, -0.231f, 0.448f},
    {7, 2, -0.098f, 0.707f, 0.098f, 0.448f},
    {7, 3, 0.229f, 0.707f, 0.425f, 0.448f},
    {7, 4, 0.558f, 0.707f, 0.754f, 0.448f},
    {7, 5, -0.754f, 0.157f, -0.558f, -0.102f},
    {7, 6, -0.427f, 0.157f, -0.231f, -0.102f},
    {7, 7, -0.098f, 0.157f, 0.098f, -0.102f},
    {7, 8, 0.229f, 0.157f, 0.425f, -0.102f},
    {7, 9, 0.558f, 0.157f, 0.754f, -0.102f},
    {7, 10, -0.754f, -0.394f, -0.558f, -0.654f},
    {7, 11, -0.427f, -0.394f, -0.231f, -0.654f},
    {7, 12, -0.098f, -0.394f, 0.098f, -0.654f},
    {7, 13, 0.229f, -0.394f, 0.425f, -0.654f},
    {7, 14, 0.558f, -0.394f, 0.754f, -0.654f},
};

const unsigned RECTANGLE_COUNT = sizeof(RECTANGLES) / sizeof(RECTANGLES[0]);

// No overlay is numbered 05 or 06.
const char* const OVERLAY_NAMES[ScreenLayout::MODE_COUNT] = {
    "screen/01.png", "screen/02.png", "screen/03.png", "screen/04.png",
    "screen/07.png", "screen/08.png", "screen/09.png", "screen/10.png",
};

// Mode -> position in OVERLAY_NAMES: modes 4-7 use 09, 10, 08 and 07.
const unsigned OVERLAY_OF_MODE[ScreenLayout::MODE_COUNT] = {0, 1, 2, 3, 6, 7, 5, 4};
}

const SubscreenRectangle* ScreenLayout::getRectangles(int mode, unsigned& count)
{
    count = 0;
    const SubscreenRectangle* first = 0;
    for (unsigned i = 0; i < RECTANGLE_COUNT; ++i) {
        if (RECTANGLES[i].mode != mode)
            continue;
        if (!first)
            first = &RECTANGLES[i];
        ++count;
    }
    return first;
}

const char* ScreenLayout::getOverlayName(unsigned loadIndex)
{
    return loadIndex < static_cast<unsigned>(MODE_COUNT) ? OVERLAY_NAMES[loadIndex] : 0;
}

unsigned ScreenLayout::getOverlayIndex(int mode)
{
    return OVERLAY_OF_MODE[static_cast<unsigned>(mode) % MODE_COUNT];
}
