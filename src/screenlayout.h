// The eight monitor-wall layouts as data: which subscreens each screen mode
// shows, where (window device coordinates), and its overlay picture. The
// screen manager draws from these rows; tests read them to find the screens.
#pragma once

struct SubscreenRectangle
{
    int mode;
    unsigned id;
    float left;
    float top;
    float right;
    float bottom;
};

class ScreenLayout
{
public:
    static const int MODE_COUNT = 8;

    // The rows of one mode, in ascending id order; count 0 for a mode outside 0-7.
    static const SubscreenRectangle* getRectangles(int mode, unsigned& count);
    // The overlay pictures in the order they are loaded.
    static const char* getOverlayName(unsigned loadIndex);
    // Which loaded overlay a mode lays over its screens.
    static unsigned getOverlayIndex(int mode);
};
