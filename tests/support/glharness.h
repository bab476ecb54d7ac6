// GL test harness: a real window and context (under the Xvfb that the test
// command starts), pixel read-back and PNG screenshots.
#pragma once

#include "gl/context.h"

#include <cstdint>
#include <string>
#include <vector>

struct Rgba
{
    uint8_t r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

// Opens a Context for as long as it lives, with the runner's projection and
// blend state, so a test draws as the demo would.
class GlTestWindow
{
public:
    GlTestWindow(int width = 1280, int height = 720);
    ~GlTestWindow();

    // Window coordinates, origin at the bottom-left pixel.
    Rgba readPixel(int x, int y) const;
    std::vector<Rgba> readPixels(int x, int y, int width, int height) const;
    // Saves the current back buffer (call before swapping) as a PNG.
    void saveScreenshot(const std::string& path) const;

    Context& context() { return *m_context; }
    int width() const { return m_width; }
    int height() const { return m_height; }

private:
    Context* m_context;
    int m_width;
    int m_height;
};

// Writes RGBA pixels (bottom row first, as glReadPixels gives them) as a PNG.
void writePng(const std::string& path, int width, int height, const std::vector<Rgba>& bottomUpPixels);

// True when two colour channels differ by at most tolerance.
bool nearColour(const Rgba& a, const Rgba& b, int tolerance = 2);
