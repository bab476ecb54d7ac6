// Paints the monitor-wall pictures: a dim brick wall with shelves and cables
// and one old monitor housing around every subscreen of a layout. The overlay
// pictures are these with the screens cut out; the loading screen reuses the
// wall with its screens dark or lit.
#pragma once

#include "canvas.h"
#include "screenlayouts.h"

#include <functional>

class MonitorWall
{
public:
    // Fills the picture behind the screen glass: index is the subscreen id,
    // (u, v) run from 0 to 1 across the glass, v downwards.
    using GlassShader = std::function<Colour(int index, float u, float v)>;

    explicit MonitorWall(const ScreenLayouts::Layout& layout) : m_layout(layout) {}

    // The wall with every housing; glass areas are painted by glass, or left
    // fully transparent when glass is empty.
    Canvas paint(int width, int height, const GlassShader& glass) const;

private:
    struct Housing
    {
        ScreenLayouts::PixelBox screen; // the opening
        float left, top, right, bottom;  // outer edge of the case
        int style;
    };

    Housing housingFor(int index, int width, int height) const;
    void paintWall(Canvas& canvas) const;
    void paintShelves(Canvas& canvas, const Housing* housings, int count) const;
    void paintCables(Canvas& canvas, const Housing* housings, int count) const;
    void paintHousing(Canvas& canvas, const Housing& housing, int index) const;

    const ScreenLayouts::Layout& m_layout;
};
