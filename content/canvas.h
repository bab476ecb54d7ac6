// A floating-point RGBA picture with anti-aliased shape filling and PNG output.
// Every generator of the demo's pictures (overlays, loading screen, sprite
// tables) paints into one of these and saves it as an 8-bit PNG.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

struct Colour
{
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 1.0f;
};

inline Colour rgb(float r, float g, float b, float a = 1.0f) { return Colour{r, g, b, a}; }
inline Colour mix(const Colour& x, const Colour& y, float t)
{
    return Colour{x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}
inline Colour scaled(const Colour& c, float k) { return Colour{c.r * k, c.g * k, c.b * k, c.a}; }
inline Colour withAlpha(const Colour& c, float a) { return Colour{c.r, c.g, c.b, a}; }
inline float clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }
inline float smooth(float e0, float e1, float x)
{
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

class Canvas
{
public:
    Canvas(int width, int height, Colour fill = Colour{0.0f, 0.0f, 0.0f, 0.0f});

    int width() const { return m_width; }
    int height() const { return m_height; }
    Colour& at(int x, int y) { return m_pixels[static_cast<size_t>(y) * m_width + x]; }
    const Colour& at(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }

    // Lays c over the pixel, c.a being its opacity (straight alpha).
    void blend(int x, int y, const Colour& c);

    // Paints the shape whose signed distance (in pixels, negative inside) is
    // distance(x, y), coloured by shade(x, y), inside the given bounds.
    // Pixel centres lie at half-integer positions; the edge is anti-aliased
    // over one pixel.
    template <class Distance, class Shade>
    void fill(float x0, float y0, float x1, float y1, Distance distance, Shade shade)
    {
        int ix0 = std::max(0, static_cast<int>(std::floor(x0)) - 1);
        int iy0 = std::max(0, static_cast<int>(std::floor(y0)) - 1);
        int ix1 = std::min(m_width, static_cast<int>(std::ceil(x1)) + 1);
        int iy1 = std::min(m_height, static_cast<int>(std::ceil(y1)) + 1);
        for (int y = iy0; y < iy1; ++y)
            for (int x = ix0; x < ix1; ++x)
            {
                float px = x + 0.5f, py = y + 0.5f;
                float coverage = clamp01(0.5f - distance(px, py));
                if (coverage <= 0.0f)
                    continue;
                Colour c = shade(px, py);
                c.a *= coverage;
                blend(x, y, c);
            }
    }

    // Sets every pixel to shade(x, y) at its centre.
    template <class Shade>
    void paint(Shade shade)
    {
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                at(x, y) = shade(x + 0.5f, y + 0.5f);
    }

    // Copies src with its top-left corner at (x, y), replacing what is there.
    void paste(const Canvas& src, int x, int y);

    // Writes an 8-bit, non-interlaced PNG: RGBA when withAlpha, RGB otherwise.
    bool savePng(const std::string& path, bool withAlpha) const;

private:
    int m_width;
    int m_height;
    std::vector<Colour> m_pixels;
};

// Signed distances in pixels for the shapes the pictures are built from.
namespace Shape
{
inline float box(float px, float py, float cx, float cy, float halfW, float halfH, float radius)
{
    float qx = std::fabs(px - cx) - halfW + radius;
    float qy = std::fabs(py - cy) - halfH + radius;
    float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}
inline float circle(float px, float py, float cx, float cy, float radius)
{
    return std::hypot(px - cx, py - cy) - radius;
}
inline float segment(float px, float py, float ax, float ay, float bx, float by, float radius)
{
    float dx = bx - ax, dy = by - ay;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0.0f ? clamp01(((px - ax) * dx + (py - ay) * dy) / len2) : 0.0f;
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy)) - radius;
}
}
