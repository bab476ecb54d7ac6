// The eight monitor-wall layouts: where each subscreen lies on the window, in
// device coordinates, and which overlay picture frames it. The overlay painter
// cuts its openings here and the content tests check the pictures against it.
#pragma once

namespace ScreenLayouts
{
struct Rect
{
    float left, top, right, bottom;
};

struct Layout
{
    const char* overlay;
    int count;
    Rect rects[15];
};

constexpr int MODE_COUNT = 8;

constexpr Layout LAYOUTS[MODE_COUNT] = {
    {"screen/01.png", 1, {{-0.387f, 0.63f, 0.394f, -0.407f}}},
    {"screen/02.png", 2, {{-0.732f, 0.47f, -0.145f, -0.307f}, {0.15f, 0.47f, 0.738f, -0.307f}}},
    {"screen/03.png", 3,
     {{-0.77f, 0.78f, -0.378f, 0.261f}, {-0.77f, -0.156f, -0.378f, -0.667f}, {-0.067f, 0.628f, 0.717f, -0.407f}}},
    {"screen/04.png", 4,
     {{-0.77f, 0.585f, -0.378f, 0.067f},
      {-0.798f, -0.322f, -0.602f, -0.581f},
      {-0.481f, -0.322f, -0.285f, -0.581f},
      {-0.067f, 0.63f, 0.717f, -0.407f}}},
    {"screen/09.png", 8,
     {{-0.815f, 0.65f, -0.374f, 0.067f},
      {-0.221f, 0.65f, 0.22f, 0.067f},
      {0.375f, 0.65f, 0.816f, 0.067f},
      {-0.709f, -0.394f, -0.514f, -0.654f},
      {-0.401f, -0.394f, -0.207f, -0.654f},
      {-0.097f, -0.394f, 0.099f, -0.654f},
      {0.209f, -0.394f, 0.405f, -0.654f},
      {0.516f, -0.394f, 0.711f, -0.654f}}},
    {"screen/10.png", 7,
     {{-0.854f, 0.707f, -0.658f, 0.448f},
      {-0.527f, 0.707f, -0.331f, 0.448f},
      {-0.854f, 0.157f, -0.658f, -0.102f},
      {-0.527f, 0.157f, -0.331f, -0.102f},
      {-0.854f, -0.394f, -0.658f, -0.654f},
      {-0.527f, -0.394f, -0.331f, -0.654f},
      {-0.067f, 0.628f, 0.717f, -0.407f}}},
    {"screen/08.png", 10,
     {{-0.92f, 0.711f, -0.724f, 0.452f},
      {-0.634f, 0.711f, -0.439f, 0.452f},
      {-0.348f, 0.711f, -0.152f, 0.452f},
      {-0.92f, 0.161f, -0.724f, -0.098f},
      {-0.634f, 0.161f, -0.439f, -0.098f},
      {-0.348f, 0.161f, -0.152f, -0.098f},
      {-0.92f, -0.391f, -0.724f, -0.65f},
      {-0.634f, -0.391f, -0.439f, -0.65f},
      {-0.348f, -0.391f, -0.152f, -0.65f},
      {0.047f, 0.631f, 0.83f, -0.406f}}},
    {"screen/07.png", 15,
     {{-0.754f, 0.707f, -0.558f, 0.448f},
      {-0.427f, 0.707f, -0.231f, 0.448f},
      {-0.098f, 0.707f, 0.098f, 0.448f},
      {0.229f, 0.707f, 0.425f, 0.448f},
      {0.558f, 0.707f, 0.754f, 0.448f},
      {-0.754f, 0.157f, -0.558f, -0.102f},
      {-0.427f, 0.157f, -0.231f, -0.102f},
      {-0.098f, 0.157f, 0.098f, -0.102f},
      {0.229f, 0.157f, 0.425f, -0.102f},
      {0.558f, 0.157f, 0.754f, -0.102f},
      {-0.754f, -0.394f, -0.558f, -0.654f},
      {-0.427f, -0.394f, -0.231f, -0.654f},
      {-0.098f, -0.394f, 0.098f, -0.654f},
      {0.229f, -0.394f, 0.425f, -0.654f},
      {0.558f, -0.394f, 0.754f, -0.654f}}},
};

// Overlay pictures are painted at the size of a full-HD window.
constexpr int OVERLAY_WIDTH = 1920;
constexpr int OVERLAY_HEIGHT = 1080;

// Pixel columns and rows an opening covers: every pixel that the rectangle
// touches, so the subscreen never shows a sliver of housing over its picture.
struct PixelBox
{
    int x0, y0, x1, y1; // inclusive start, exclusive end; row 0 is the top
};

inline PixelBox pixelBox(const Rect& r, int width, int height)
{
    auto column = [width](float x) { return (x + 1.0) * 0.5 * width; };
    auto row = [height](float y) { return (1.0 - y) * 0.5 * height; };
    PixelBox box;
    box.x0 = static_cast<int>(column(r.left));
    box.x1 = static_cast<int>(column(r.right) + 0.999999);
    box.y0 = static_cast<int>(row(r.top));
    box.y1 = static_cast<int>(row(r.bottom) + 0.999999);
    return box;
}
}
