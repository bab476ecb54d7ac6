#include "animations.h"

#include "noise.h"
#include "pixelfont.h"
#include "tempo.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace
{
const float PI = 3.14159265f;
const float TAU = 6.28318531f;
// Cells are 4:3 like the screens they are shown on.
const int CELL_W = 256;
const int CELL_H = 192;

float phaseOf(int frame, int frames) { return static_cast<float>(frame) / frames; }

Colour palette(float v, float r, float g, float b)
{
    return rgb(0.5f + 0.5f * std::sin(PI * v + r), 0.5f + 0.5f * std::sin(PI * v + g), 0.5f + 0.5f * std::sin(PI * v + b));
}

// A line with a soft phosphor glow around a bright core.
void glowLine(Canvas& c, float ax, float ay, float bx, float by, const Colour& colour, float width)
{
    float pad = width * 4.0f;
    float l = std::min(ax, bx) - pad, r = std::max(ax, bx) + pad;
    float t = std::min(ay, by) - pad, b = std::max(ay, by) + pad;
    c.fill(
        l, t, r, b, [=](float x, float y) { return Shape::segment(x, y, ax, ay, bx, by, width * 1.5f) / (width * 2.0f); },
        [=](float, float) { return withAlpha(colour, 0.35f); });
    c.fill(
        l, t, r, b, [=](float x, float y) { return Shape::segment(x, y, ax, ay, bx, by, width * 0.5f); },
        [=](float, float) { return mix(colour, rgb(1, 1, 1), 0.4f); });
}

void glowDot(Canvas& c, float x, float y, float radius, const Colour& colour)
{
    float pad = radius * 3.0f;
    c.fill(
        x - pad, y - pad, x + pad, y + pad,
        [=](float px, float py) { return Shape::circle(px, py, x, y, radius * 1.5f) / (radius * 1.5f); },
        [=](float, float) { return withAlpha(colour, 0.3f); });
    c.fill(
        x - radius, y - radius, x + radius, y + radius,
        [=](float px, float py) { return Shape::circle(px, py, x, y, radius * 0.6f); },
        [=](float, float) { return mix(colour, rgb(1, 1, 1), 0.5f); });
}

void verticalGradient(Canvas& c, const Colour& top, const Colour& bottom)
{
    float h = static_cast<float>(c.height());
    c.paint([&](float, float y) { return mix(top, bottom, y / h); });
}

// ---- rotating logo --------------------------------------------------------

void paintLogo(Canvas& c, int frame, int frames)
{
    float phase = phaseOf(frame, frames);
    verticalGradient(c, rgb(0.02f, 0.01f, 0.08f), rgb(0.18f, 0.03f, 0.22f));
    // Perspective floor grid scrolling towards the viewer.
    for (int i = 0; i < 8; ++i)
    {
        float z = (i + 1.0f - std::fmod(phase * 4.0f, 1.0f)) / 8.0f;
        float y = 130.0f + 62.0f * (1.0f - z) * (1.0f - z);
        glowLine(c, 0, y, 256, y, rgb(0.9f, 0.2f, 0.8f, 1.0f), 0.5f + (1.0f - z));
    }
    for (int i = -8; i <= 8; ++i)
        glowLine(c, 128 + i * 6.0f, 130, 128 + i * 40.0f, 192, rgb(0.9f, 0.2f, 0.8f), 0.6f);

    const std::string word = "SOLENNE";
    const float dot = 5.2f;
    const int columns = static_cast<int>(word.size()) * PixelFont::ADVANCE - 1;
    float angle = TAU * phase;
    float bob = 6.0f * std::sin(TAU * phase * 2.0f);
    struct Dot
    {
        float x, y, z, size;
        Colour colour;
    };
    std::vector<Dot> dots;
    for (size_t i = 0; i < word.size(); ++i)
        for (int row = 0; row < PixelFont::GLYPH_HEIGHT; ++row)
            for (int col = 0; col < PixelFont::GLYPH_WIDTH; ++col)
            {
                if (!PixelFont::dot(word[i], col, row))
                    continue;
                float wx = (static_cast<float>(i * PixelFont::ADVANCE + col) - columns * 0.5f + 0.5f) * dot;
                float wy = (row - 3.0f) * dot;
                for (int layer = 0; layer < 3; ++layer) // a little depth to the letters
                {
                    float wz = (layer - 1.0f) * dot * 0.7f;
                    float x = wx * std::cos(angle) - wz * std::sin(angle);
                    float z = wx * std::sin(angle) + wz * std::cos(angle);
                    float p = 320.0f / (320.0f + z);
                    float facing = std::cos(angle);
                    float heat = static_cast<float>(row) / 6.0f;
                    Colour front = mix(rgb(1.0f, 0.95f, 0.4f), rgb(1.0f, 0.3f, 0.1f), heat);
                    Colour back = mix(rgb(0.3f, 0.5f, 1.0f), rgb(0.6f, 0.2f, 0.9f), heat);
                    Colour colour = facing >= 0.0f ? front : back;
                    float shade = 0.55f + 0.45f * std::fabs(facing);
                    if (layer != 1)
                        shade *= 0.6f;
                    dots.push_back({128.0f + x * p, 70.0f + bob + wy * p, z, dot * p * 0.55f, scaled(colour, shade)});
                }
            }
    std::sort(dots.begin(), dots.end(), [](const Dot& a, const Dot& b) { return a.z > b.z; });
    for (const Dot& d : dots)
        c.fill(
            d.x - d.size, d.y - d.size, d.x + d.size, d.y + d.size,
            [=](float px, float py) { return Shape::box(px, py, d.x, d.y, d.size, d.size, d.size * 0.3f); },
            [=](float, float) { return d.colour; });
}

// ---- plasma ---------------------------------------------------------------

void paintPlasma(Canvas& c, int frame, int frames)
{
    float t = TAU * phaseOf(frame, frames);
    c.paint([&](float x, float y) {
        float v = std::sin(x * 0.045f + t) + std::sin(y * 0.06f - 2.0f * t) + std::sin((x * 0.03f + y * 0.04f) + t) +
                  std::sin(std::hypot(x - 128.0f - 70.0f * std::sin(t), y - 96.0f - 50.0f * std::cos(t)) * 0.07f);
        return palette(v, 0.0f + t, 2.1f, 4.2f - t);
    });
}

// ---- tunnel ---------------------------------------------------------------

void paintTunnel(Canvas& c, int frame, int frames)
{
    float phase = phaseOf(frame, frames);
    float cx = 128.0f + 30.0f * std::sin(TAU * phase), cy = 96.0f + 20.0f * std::sin(TAU * phase * 2.0f);
    c.paint([&](float x, float y) {
        float dx = x - cx, dy = y - cy;
        float dist = std::max(1.0f, std::hypot(dx, dy));
        float u = (std::atan2(dy, dx) / TAU + 0.5f) * 16.0f + 2.0f * phase;
        float v = 900.0f / dist + 8.0f * phase;
        int check = (static_cast<int>(std::floor(u)) + static_cast<int>(std::floor(v))) & 1;
        float ring = 0.5f + 0.5f * std::sin(v * PI * 0.5f);
        Colour a = mix(rgb(0.1f, 0.6f, 1.0f), rgb(0.9f, 0.2f, 0.9f), ring);
        Colour b = mix(rgb(0.05f, 0.05f, 0.25f), rgb(0.2f, 0.0f, 0.3f), ring);
        float fog = clamp01(dist / 110.0f);
        return scaled(check ? a : b, fog * fog);
    });
}

// ---- starfield ------------------------------------------------------------

void paintStars(Canvas& c, int frame, int frames)
{
    float phase = phaseOf(frame, frames);
    verticalGradient(c, rgb(0.0f, 0.0f, 0.05f), rgb(0.02f, 0.0f, 0.08f));
    Noise::Random random(77);
    for (int i = 0; i < 260; ++i)
    {
        float sx = random.range(-1.0f, 1.0f), sy = random.range(-0.75f, 0.75f);
        float z0 = random.range(0.02f, 1.0f);
        int speed = 1 + static_cast<int>(random.next() % 2);
        float hue = random.unit();
        float z = std::fmod(z0 - phase * speed + 4.0f, 1.0f) + 0.02f;
        float z2 = std::min(1.02f, z + 0.05f);
        float x1 = 128.0f + sx / z * 40.0f, y1 = 96.0f + sy / z * 40.0f;
        float x2 = 128.0f + sx / z2 * 40.0f, y2 = 96.0f + sy / z2 * 40.0f;
        float bright = (1.0f - z) * (1.0f - z);
        Colour colour = mix(rgb(0.6f, 0.8f, 1.0f), rgb(1.0f, 0.9f, 0.6f), hue);
        glowLine(c, x2, y2, x1, y1, scaled(colour, 0.3f + bright), 0.3f + bright * 1.4f);
    }
}

// ---- scrolling text -------------------------------------------------------

const std::string SCROLL_TEXT = "SOLENNE *** SIXTEEN SCREENS, ONE SIGNAL *** GREETINGS TO ALL CRT LOVERS ***";

void paintScroller(Canvas& c, int frame, int frames)
{
    float phase = phaseOf(frame, frames);
    // Copper bars rolling behind the text.
    c.paint([&](float, float y) {
        Colour sum = rgb(0.01f, 0.0f, 0.04f);
        for (int bar = 0; bar < 4; ++bar)
        {
            float centre = 96.0f + 80.0f * std::sin(TAU * (phase * 2.0f + bar * 0.25f));
            float k = std::max(0.0f, 1.0f - std::fabs(y - centre) / 14.0f);
            Colour hue = palette(bar * 0.5f, 0.0f, 2.1f, 4.2f);
            sum = rgb(sum.r + hue.r * k * k, sum.g + hue.g * k * k, sum.b + hue.b * k * k);
        }
        return sum;
    });
    const float dot = 5.0f;
    float textWidth = PixelFont::textWidth(SCROLL_TEXT, dot);
    float x0 = 256.0f - (textWidth + 256.0f) * phase;
    for (size_t i = 0; i < SCROLL_TEXT.size(); ++i)
    {
        float gx = x0 + i * PixelFont::ADVANCE * dot;
        if (gx < -40.0f || gx > 260.0f)
            continue;
        float wave = 28.0f * std::sin(gx * 0.025f + TAU * phase * 6.0f);
        std::string glyph(1, SCROLL_TEXT[i]);
        PixelFont::draw(c, glyph, gx + 3, 78 + wave + 3, dot, rgb(0, 0, 0, 0.6f));
        for (int row = 0; row < PixelFont::GLYPH_HEIGHT; ++row)
        {
            // Chrome: each dot row its own shade, a bright band in the middle.
            std::string one(1, SCROLL_TEXT[i]);
            Colour shade = mix(rgb(0.55f, 0.8f, 1.0f), rgb(1.0f, 1.0f, 1.0f), row == 2 || row == 3 ? 1.0f : 0.0f);
            shade = mix(shade, rgb(0.9f, 0.4f, 0.1f), row >= 5 ? 0.6f : 0.0f);
            for (int col = 0; col < PixelFont::GLYPH_WIDTH; ++col)
                if (PixelFont::dot(SCROLL_TEXT[i], col, row))
                {
                    float px = gx + col * dot, py = 78 + wave + row * dot;
                    c.fill(
                        px, py, px + dot, py + dot,
                        [=](float x, float y) {
                            return Shape::box(x, y, px + dot * 0.5f, py + dot * 0.5f, dot * 0.5f + 0.3f, dot * 0.5f + 0.3f,
                                              1.0f);
                        },
                        [=](float, float) { return shade; });
                }
        }
    }
}

// ---- spectrum bars ----------------------------------------------------------

void paintSpectrum(Canvas& c, int frame, int frames)
{
    verticalGradient(c, rgb(0.0f, 0.02f, 0.02f), rgb(0.0f, 0.06f, 0.05f));
    const int BARS = 16;
    const int SEGMENTS = 14;
    // Four beats per loop: every fourth frame is a hit, then it decays.
    int beatFrame = frame % (frames / 4);
    float decay = std::exp(-beatFrame * 0.55f);
    for (int bar = 0; bar < BARS; ++bar)
    {
        float tilt = bar < 4 ? 1.0f : 0.75f - bar * 0.02f; // bass-heavy mix
        float jitter = Noise::unit(bar, frame, 5);
        float level = clamp01(tilt * (0.25f + 0.6f * decay) + 0.25f * jitter);
        float peak = clamp01(tilt * (0.25f + 0.6f * std::exp(-beatFrame * 0.25f)) + 0.2f);
        int lit = static_cast<int>(level * SEGMENTS);
        int peakSeg = std::max(lit, static_cast<int>(peak * SEGMENTS));
        float x0 = 14.0f + bar * 14.3f;
        for (int s = 0; s < SEGMENTS; ++s)
        {
            float y1 = 176.0f - s * 11.0f;
            float h = static_cast<float>(s) / SEGMENTS;
            Colour on = h < 0.55f ? rgb(0.2f, 1.0f, 0.3f) : (h < 0.8f ? rgb(1.0f, 0.9f, 0.2f) : rgb(1.0f, 0.25f, 0.15f));
            Colour colour = s < lit ? on : (s == peakSeg ? scaled(on, 0.9f) : scaled(on, 0.12f));
            c.fill(
                x0, y1 - 8, x0 + 11, y1,
                [=](float x, float y) { return Shape::box(x, y, x0 + 5.5f, y1 - 4.0f, 5.5f, 4.0f, 1.2f); },
                [=](float, float) { return colour; });
        }
    }
}

// ---- wireframe ----------------------------------------------------------------

void paintWireframe(Canvas& c, int frame, int frames)
{
    float phase = phaseOf(frame, frames);
    c.paint([&](float x, float y) {
        bool grid = std::fmod(x, 32.0f) < 1.0f || std::fmod(y, 32.0f) < 1.0f;
        return grid ? rgb(0.0f, 0.12f, 0.05f) : rgb(0.0f, 0.03f, 0.01f);
    });
    struct V
    {
        float x, y, z;
    };
    std::vector<V> verts;
    std::vector<std::array<int, 2>> edges;
    // A cube with an octahedron inside it.
    for (int i = 0; i < 8; ++i)
        verts.push_back({(i & 1) ? 1.0f : -1.0f, (i & 2) ? 1.0f : -1.0f, (i & 4) ? 1.0f : -1.0f});
    for (int i = 0; i < 8; ++i)
        for (int bit : {1, 2, 4})
            if (!(i & bit))
                edges.push_back({i, i | bit});
    int base = static_cast<int>(verts.size());
    const float o = 1.6f;
    V octa[] = {{o, 0, 0}, {-o, 0, 0}, {0, o, 0}, {0, -o, 0}, {0, 0, o}, {0, 0, -o}};
    for (const V& v : octa)
        verts.push_back(v);
    for (int a = 0; a < 6; ++a)
        for (int b = a + 1; b < 6; ++b)
            if (a / 2 != b / 2)
                edges.push_back({base + a, base + b});

    float ay = TAU * phase, ax = TAU * phase * 2.0f;
    auto project = [&](const V& v, float& sx, float& sy, float& depth) {
        float x = v.x * std::cos(ay) + v.z * std::sin(ay);
        float z = -v.x * std::sin(ay) + v.z * std::cos(ay);
        float y = v.y * std::cos(ax * 0.5f) - z * std::sin(ax * 0.5f);
        z = v.y * std::sin(ax * 0.5f) + z * std::cos(ax * 0.5f);
        float p = 250.0f / (z + 5.0f);
        sx = 128.0f + x * p;
        sy = 96.0f + y * p;
        depth = z;
    };
    for (size_t e = 0; e < edges.size(); ++e)
    {
        float x1, y1, z1, x2, y2, z2;
        project(verts[edges[e][0]], x1, y1, z1);
        project(verts[edges[e][1]], x2, y2, z2);
        float near = clamp01(0.5f - (z1 + z2) * 0.15f);
        Colour colour = static_cast<int>(e) < 12 ? rgb(0.2f, 1.0f, 0.4f) : rgb(0.3f, 0.8f, 1.0f);
        glowLine(c, x1, y1, x2, y2, scaled(colour, 0.4f + 0.6f * near), 0.8f + near);
    }
}

// ---- fire ----------------------------------------------------------------------

void paintFire(Canvas& c, int frame, int frames)
{
    float phase = phaseOf(frame, frames);
    const int PERIOD = 8; // noise cells in y; the flames rise exactly one period per loop
    c.paint([&](float x, float y) {
        float n = Noise::fractal(x * 0.04f, y * 0.04f + phase * PERIOD, 13, 0, PERIOD);
        float n2 = Noise::fractal(x * 0.09f + 3.0f, y * 0.09f + phase * PERIOD * 2, 29, 0, PERIOD * 2);
        float height = 1.0f - y / 192.0f;
        float heat = (n * 0.75f + n2 * 0.45f) * 1.6f - height * 1.35f - 0.05f;
        heat = clamp01(heat);
        Colour col = heat < 0.33f ? mix(rgb(0, 0, 0), rgb(0.75f, 0.05f, 0.0f), heat / 0.33f)
                     : heat < 0.66f ? mix(rgb(0.75f, 0.05f, 0.0f), rgb(1.0f, 0.6f, 0.05f), (heat - 0.33f) / 0.33f)
                                    : mix(rgb(1.0f, 0.6f, 0.05f), rgb(1.0f, 1.0f, 0.8f), (heat - 0.66f) / 0.34f);
        return col;
    });
}

// ---- countdown (film leader) -------------------------------------------------

void paintCountdown(Canvas& c, int frame, int)
{
    int digit = 4 - frame / 4;
    float sweep = (frame % 4 + 1) / 4.0f; // a quarter turn per frame
    Noise::Random random(static_cast<uint32_t>(frame + 300));
    c.paint([&](float x, float y) {
        float grain = 0.93f + 0.07f * Noise::unit(static_cast<int>(x), static_cast<int>(y), frame);
        float dx = x - 128.0f, dy = y - 96.0f;
        float r = std::hypot(dx, dy);
        float angle = std::atan2(dx, -dy) / TAU;
        if (angle < 0)
            angle += 1.0f;
        Colour paper = rgb(0.78f, 0.68f, 0.52f);
        Colour c0 = angle < sweep ? scaled(paper, 0.55f) : paper;
        bool ring = std::fabs(r - 78.0f) < 2.0f || std::fabs(r - 64.0f) < 1.5f;
        bool cross = std::fabs(dx) < 1.0f || std::fabs(dy) < 1.0f;
        if (ring || cross)
            c0 = rgb(0.15f, 0.12f, 0.1f);
        float vignette = 1.0f - 0.5f * clamp01((r - 90.0f) / 80.0f);
        return scaled(c0, grain * vignette);
    });
    std::string text = std::to_string(digit);
    const float dot = 14.0f;
    PixelFont::draw(c, text, 128.0f - PixelFont::textWidth(text, dot) * 0.5f, 96.0f - 3.5f * dot, dot,
                    rgb(0.1f, 0.08f, 0.06f), 0.35f);
    // Scratches and dust.
    for (int i = 0; i < 3; ++i)
    {
        float sx = random.range(0, 256), sy = random.range(0, 192);
        float len = random.range(10, 120);
        glowLine(c, sx, sy, sx + random.range(-2, 2), sy + len, rgb(0.95f, 0.92f, 0.85f, 1.0f), 0.3f);
        glowDot(c, random.range(0, 256), random.range(0, 192), random.range(0.8f, 2.0f), rgb(0.1f, 0.08f, 0.05f));
    }
}

// ---- portrait with glitches ---------------------------------------------------

void paintFace(Canvas& c)
{
    c.paint([&](float x, float y) {
        // Halftone dots over a magenta to indigo sky.
        Colour bg = mix(rgb(0.85f, 0.2f, 0.55f), rgb(0.1f, 0.05f, 0.35f), y / 192.0f);
        float cell = 6.0f;
        float gx = std::fmod(x, cell) - cell * 0.5f, gy = std::fmod(y, cell) - cell * 0.5f;
        float size = 2.6f * (1.0f - y / 192.0f) + 0.3f;
        return std::hypot(gx, gy) < size ? scaled(bg, 1.25f) : bg;
    });
    const Colour hair = rgb(0.08f, 0.03f, 0.15f);
    const Colour skin = rgb(0.55f, 0.9f, 0.92f);
    const Colour shadow = rgb(0.3f, 0.6f, 0.75f);
    auto ellipse = [](float cx, float cy, float rx, float ry) {
        return [=](float x, float y) {
            float k = std::hypot((x - cx) / rx, (y - cy) / ry);
            return (k - 1.0f) * std::min(rx, ry);
        };
    };
    auto solid = [](Colour col) { return [=](float, float) { return col; }; };
    // Shoulders, neck, hair behind, face, hair fringe.
    c.fill(40, 150, 216, 192, ellipse(128, 205, 90, 45), solid(rgb(0.05f, 0.02f, 0.1f)));
    c.fill(100, 110, 156, 192, [](float x, float y) { return Shape::box(x, y, 128, 150, 17, 40, 6); }, solid(shadow));
    c.fill(50, 10, 206, 192, [](float x, float y) { return Shape::box(x, y, 128, 105, 68, 88, 60); }, solid(hair));
    c.fill(80, 30, 176, 160, ellipse(128, 92, 40, 54), [&](float x, float) {
        return mix(skin, shadow, smooth(10.0f, 42.0f, x - 128.0f));
    });
    c.fill(70, 20, 190, 80, ellipse(140, 42, 52, 26), solid(hair));
    c.fill(70, 20, 130, 100, ellipse(96, 58, 18, 40), solid(hair));
    // Closed eyes with lashes, brows, nose, lips.
    for (float side : {-1.0f, 1.0f})
    {
        float ex = 128.0f + side * 17.0f;
        for (int i = 0; i < 6; ++i)
        {
            float a0 = PI * (0.15f + i * 0.14f), a1 = PI * (0.15f + (i + 1) * 0.14f);
            float x0 = ex + 9.0f * std::cos(a0), y0 = 92.0f + 4.0f * std::sin(a0);
            float x1 = ex + 9.0f * std::cos(a1), y1 = 92.0f + 4.0f * std::sin(a1);
            c.fill(ex - 14, 80, ex + 14, 104, [=](float x, float y) { return Shape::segment(x, y, x0, y0, x1, y1, 1.1f); },
                   solid(hair));
            if (i % 2 == 1)
                c.fill(ex - 14, 80, ex + 14, 104,
                       [=](float x, float y) { return Shape::segment(x, y, x1, y1, x1 + (x1 - ex) * 0.2f, y1 + 4.0f, 0.7f); },
                       solid(hair));
        }
        c.fill(ex - 14, 70, ex + 14, 90,
               [=](float x, float y) { return Shape::segment(x, y, ex - 9, 82 + side * 0.0f, ex + 9, 80, 1.3f); },
               solid(hair));
    }
    c.fill(118, 95, 136, 118, [](float x, float y) { return Shape::segment(x, y, 129, 98, 124, 113, 1.0f); },
           solid(shadow));
    c.fill(110, 118, 146, 135, ellipse(128, 125, 11, 4.5f), solid(rgb(0.95f, 0.15f, 0.45f)));
    c.fill(110, 118, 146, 135, [](float x, float y) { return Shape::segment(x, y, 118, 125, 138, 125, 0.6f); },
           solid(rgb(0.45f, 0.0f, 0.2f)));
}

const std::vector<float> PORTRAIT_DURATIONS = {0.5f,    0.0625f, 0.25f, 0.0625f, 0.0625f, 0.375f,
                                               0.125f,  0.125f,  0.0625f, 0.25f, 0.0625f, 0.0625f};

void paintPortrait(Canvas& c, int frame, int)
{
    Canvas clean(c.width(), c.height());
    paintFace(clean);
    // Even frames are the clean picture; odd ones glitch it, each differently.
    if (frame % 2 == 0)
    {
        c.paste(clean, 0, 0);
        return;
    }
    Noise::Random random(static_cast<uint32_t>(frame * 7919));
    int split = 2 + static_cast<int>(random.next() % 7);
    std::vector<int> offsets(c.height(), 0);
    int y = 0;
    while (y < c.height())
    {
        int band = 3 + static_cast<int>(random.next() % 22);
        int offset = random.unit() < 0.5f ? 0 : static_cast<int>(random.range(-40, 40));
        for (int i = y; i < std::min(c.height(), y + band); ++i)
            offsets[i] = offset;
        y += band;
    }
    bool invert = frame == 7;
    for (int py = 0; py < c.height(); ++py)
        for (int px = 0; px < c.width(); ++px)
        {
            auto sample = [&](int sx) {
                sx = ((sx % c.width()) + c.width()) % c.width();
                return clean.at(sx, py);
            };
            int sx = px + offsets[py];
            Colour col = rgb(sample(sx - split).r, sample(sx).g, sample(sx + split).b);
            if (invert)
                col = rgb(1 - col.r, 1 - col.g, 1 - col.b);
            if (py % 3 == 0)
                col = scaled(col, 0.7f);
            c.at(px, py) = col;
        }
}

// ---- oscilloscope ---------------------------------------------------------------

void paintScope(Canvas& c, int frame, int frames)
{
    float phase = phaseOf(frame, frames);
    c.paint([&](float x, float y) {
        bool major = std::fabs(x - 128.0f) < 0.8f || std::fabs(y - 96.0f) < 0.8f;
        bool minor = std::fmod(x + 0.0f, 32.0f) < 0.8f || std::fmod(y, 32.0f) < 0.8f;
        float glass = 0.05f * (1.0f - std::hypot(x - 128.0f, y - 96.0f) / 160.0f);
        Colour base = rgb(0.0f, 0.03f + glass, 0.02f + glass * 0.5f);
        return major ? rgb(0.1f, 0.35f, 0.2f) : (minor ? rgb(0.04f, 0.16f, 0.09f) : base);
    });
    // A Lissajous figure whose phase turns once per loop, with fading trail.
    const int STEPS = 260;
    float prevX = 0, prevY = 0;
    for (int i = 0; i <= STEPS; ++i)
    {
        float s = TAU * i / STEPS;
        float x = 128.0f + 95.0f * std::sin(3.0f * s + TAU * phase);
        float y = 96.0f + 70.0f * std::sin(2.0f * s);
        if (i > 0)
            glowLine(c, prevX, prevY, x, y, rgb(0.3f, 1.0f, 0.45f), 0.9f);
        prevX = x;
        prevY = y;
    }
}

// ---- letter tiles ------------------------------------------------------------

const std::string LETTERS = "SOLEN*! "; // the last tile is blank

void paintLetter(Canvas& c, int frame, int)
{
    Colour hue = palette(frame * 0.27f, 0.0f, 2.1f, 4.2f);
    c.paint([&](float x, float y) {
        float r = std::hypot(x - 128.0f, y - 96.0f) / 160.0f;
        return scaled(hue, 0.35f * (1.0f - r));
    });
    std::string text(1, LETTERS[frame]);
    const float dot = 20.0f;
    float x = 128.0f - PixelFont::textWidth(text, dot) * 0.5f, y = 96.0f - 3.5f * dot;
    PixelFont::draw(c, text, x + 5, y + 6, dot, rgb(0, 0, 0, 0.6f), 0.3f);
    PixelFont::draw(c, text, x, y, dot, mix(hue, rgb(1, 1, 1), 0.55f), 0.3f);
}

// ---- test card ------------------------------------------------------------------

void paintTestCard(Canvas& c, int frame, int)
{
    const Colour bars[] = {rgb(0.75f, 0.75f, 0.75f), rgb(0.75f, 0.75f, 0.0f), rgb(0.0f, 0.75f, 0.75f),
                           rgb(0.0f, 0.75f, 0.0f),   rgb(0.75f, 0.0f, 0.75f), rgb(0.75f, 0.0f, 0.0f),
                           rgb(0.0f, 0.0f, 0.75f)};
    c.paint([&](float x, float y) {
        if (y < 128.0f)
            return bars[std::min(6, static_cast<int>(x / (256.0f / 7.0f)))];
        if (y < 140.0f)
            return bars[6 - std::min(6, static_cast<int>(x / (256.0f / 7.0f)))];
        float ramp = std::floor(x / 32.0f) / 7.0f;
        return rgb(ramp, ramp, ramp);
    });
    c.fill(70, 38, 186, 154, [](float x, float y) { return Shape::circle(x, y, 128, 96, 56); },
           [](float, float) { return rgb(0.05f, 0.05f, 0.05f, 0.85f); });
    std::string label = frame == 0 ? "SOLENNE" : "STAND BY";
    const float dot = frame == 0 ? 2.8f : 2.2f;
    PixelFont::draw(c, label, 128.0f - PixelFont::textWidth(label, dot) * 0.5f, 96.0f - 3.5f * dot, dot,
                    rgb(1, 1, 1), 0.0f);
}

// ---- static ---------------------------------------------------------------------

void paintStatic(Canvas& c, int frame, int frames)
{
    float roll = phaseOf(frame, frames) * 192.0f;
    c.paint([&](float x, float y) {
        float v = Noise::unit(static_cast<int>(x) / 2, static_cast<int>(y), frame + 1000);
        float band = 1.0f + 0.35f * std::exp(-std::pow((y - roll) / 12.0f, 2.0f));
        v = std::pow(v, 1.6f) * band;
        return rgb(v * 0.92f, v * 0.95f, v);
    });
}
}

std::vector<Animation> Animations::all()
{
    // Frame lengths in notes of the song, so the loops keep to its bars.
    const float SIXTEENTH = static_cast<float>(Tempo::SECONDS_PER_BEAT / 4.0);
    const float THIRTYSECOND = SIXTEENTH / 2.0f;
    return {
        {SpriteSheet("logo", CELL_W, CELL_H, 8, evenFrames(32, THIRTYSECOND)), paintLogo},
        {SpriteSheet("plasma", CELL_W, CELL_H, 8, evenFrames(32, THIRTYSECOND)), paintPlasma},
        {SpriteSheet("tunnel", CELL_W, CELL_H, 8, evenFrames(32, THIRTYSECOND)), paintTunnel},
        {SpriteSheet("stars", CELL_W, CELL_H, 8, evenFrames(32, THIRTYSECOND)), paintStars},
        // 80 cells fill a 2048 × 1920 table; the pass lasts three bars (6 s).
        {SpriteSheet("scroller", CELL_W, CELL_H, 8, evenFrames(80, 0.075f)), paintScroller},
        {SpriteSheet("spectrum", CELL_W, CELL_H, 4, evenFrames(16, SIXTEENTH)), paintSpectrum},
        {SpriteSheet("wireframe", CELL_W, CELL_H, 8, evenFrames(32, THIRTYSECOND)), paintWireframe},
        {SpriteSheet("fire", CELL_W, CELL_H, 8, evenFrames(32, THIRTYSECOND)), paintFire},
        {SpriteSheet("countdown", CELL_W, CELL_H, 4, evenFrames(16, SIXTEENTH)), paintCountdown},
        {SpriteSheet("portrait", CELL_W, CELL_H, 4, PORTRAIT_DURATIONS), paintPortrait},
        {SpriteSheet("scope", CELL_W, CELL_H, 8, evenFrames(32, THIRTYSECOND)), paintScope},
        {SpriteSheet("letters", CELL_W, CELL_H, 4, evenFrames(8, 1.0f)), paintLetter},
        {SpriteSheet("testcard", CELL_W, CELL_H, 2, evenFrames(2, 1.0f)), paintTestCard},
        {SpriteSheet("static", CELL_W, CELL_H, 4, evenFrames(8, THIRTYSECOND)), paintStatic},
    };
}
