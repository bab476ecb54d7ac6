#include "monitorwall.h"

#include "noise.h"
#include "pixelfont.h"

#include <cmath>
#include <string>

namespace
{
const char* const BRANDS[] = {"SOLENNE", "VELT", "KVT-14", "QUILLON", "DD-CRT", "LUMEN"};

// Case colours of the styles: beige, light grey, charcoal, walnut.
const Colour CASE_COLOURS[] = {{0.74f, 0.69f, 0.58f, 1.0f},
                               {0.55f, 0.56f, 0.58f, 1.0f},
                               {0.16f, 0.16f, 0.18f, 1.0f},
                               {0.36f, 0.20f, 0.10f, 1.0f}};
const int WALNUT = 3;

float lightAt(float x, float y, int width, int height)
{
    // A soft lamp above the middle of the wall.
    float dx = (x / width - 0.5f) * 1.6f;
    float dy = (y / height + 0.15f);
    return 0.35f + 0.65f * std::exp(-(dx * dx + dy * dy) * 1.6f);
}

void paintSoftShadow(Canvas& canvas, float l, float t, float r, float b, float radius, float softness, float opacity)
{
    float cx = (l + r) * 0.5f, cy = (t + b) * 0.5f, hw = (r - l) * 0.5f, hh = (b - t) * 0.5f;
    canvas.fill(
        l - softness, t - softness, r + softness, b + softness,
        [=](float px, float py) { return Shape::box(px, py, cx, cy, hw, hh, radius) / softness; },
        [=](float, float) { return rgb(0.0f, 0.0f, 0.0f, opacity); });
}

void paintScrew(Canvas& canvas, float cx, float cy, float radius, float angle)
{
    canvas.fill(
        cx - radius, cy - radius, cx + radius, cy + radius,
        [=](float px, float py) { return Shape::circle(px, py, cx, cy, radius); },
        [=](float px, float py) {
            float shade = 0.75f - 0.35f * ((px - cx) + (py - cy)) / (2.0f * radius);
            return rgb(0.55f * shade + 0.1f, 0.55f * shade + 0.1f, 0.57f * shade + 0.1f);
        });
    float dx = std::cos(angle) * radius * 0.75f, dy = std::sin(angle) * radius * 0.75f;
    float w = std::max(0.6f, radius * 0.18f);
    canvas.fill(
        cx - radius, cy - radius, cx + radius, cy + radius,
        [=](float px, float py) { return Shape::segment(px, py, cx - dx, cy - dy, cx + dx, cy + dy, w); },
        [](float, float) { return rgb(0.12f, 0.12f, 0.13f); });
}

void paintKnob(Canvas& canvas, float cx, float cy, float radius, float angle)
{
    paintSoftShadow(canvas, cx - radius + 2, cy - radius + 3, cx + radius + 2, cy + radius + 3, radius, 4.0f, 0.5f);
    canvas.fill(
        cx - radius, cy - radius, cx + radius, cy + radius,
        [=](float px, float py) { return Shape::circle(px, py, cx, cy, radius); },
        [=](float px, float py) {
            float d = std::hypot(px - cx, py - cy) / radius;
            float ridge = 0.85f + 0.15f * std::cos(std::atan2(py - cy, px - cx) * 24.0f) * smooth(0.7f, 0.95f, d);
            float light = 0.9f - 0.45f * ((px - cx) + (py - cy)) / (2.0f * radius);
            float v = 0.22f * light * ridge;
            return rgb(v, v, v * 1.05f);
        });
    float ex = cx + std::cos(angle) * radius * 0.7f, ey = cy + std::sin(angle) * radius * 0.7f;
    canvas.fill(
        cx - radius, cy - radius, cx + radius, cy + radius,
        [=](float px, float py) { return Shape::segment(px, py, cx, cy, ex, ey, std::max(1.0f, radius * 0.1f)); },
        [](float, float) { return rgb(0.85f, 0.85f, 0.8f); });
}

void paintLed(Canvas& canvas, float cx, float cy, float radius, const Colour& colour)
{
    float glow = radius * 4.0f;
    canvas.fill(
        cx - glow, cy - glow, cx + glow, cy + glow,
        [=](float px, float py) { return Shape::circle(px, py, cx, cy, glow * 0.5f) / (glow * 0.5f); },
        [=](float px, float py) {
            float d = std::hypot(px - cx, py - cy) / glow;
            return withAlpha(colour, 0.45f * (1.0f - d) * (1.0f - d));
        });
    canvas.fill(
        cx - radius, cy - radius, cx + radius, cy + radius,
        [=](float px, float py) { return Shape::circle(px, py, cx, cy, radius); },
        [=](float px, float py) {
            float d = std::hypot(px - cx + radius * 0.3f, py - cy + radius * 0.3f) / radius;
            return mix(rgb(1.0f, 1.0f, 0.95f), colour, smooth(0.0f, 0.6f, d));
        });
}

void paintCable(Canvas& canvas, float ax, float ay, float bx, float by, float sag, float width, const Colour& colour)
{
    // A quadratic curve sagging below the straight line, drawn as short
    // segments with a thin highlight along its upper side.
    const int STEPS = 48;
    float mx = (ax + bx) * 0.5f, my = (ay + by) * 0.5f + sag;
    float px0 = ax, py0 = ay;
    for (int i = 1; i <= STEPS; ++i)
    {
        float t = static_cast<float>(i) / STEPS;
        float u = 1.0f - t;
        float px1 = u * u * ax + 2 * u * t * mx + t * t * bx;
        float py1 = u * u * ay + 2 * u * t * my + t * t * by;
        float l = std::min(px0, px1) - width, r = std::max(px0, px1) + width;
        float top = std::min(py0, py1) - width, bottom = std::max(py0, py1) + width;
        canvas.fill(
            l, top, r, bottom, [=](float x, float y) { return Shape::segment(x, y, px0, py0, px1, py1, width * 0.5f); },
            [=](float, float) { return colour; });
        canvas.fill(
            l, top, r, bottom,
            [=](float x, float y) {
                return Shape::segment(x, y, px0, py0 - width * 0.22f, px1, py1 - width * 0.22f, width * 0.12f);
            },
            [=](float, float) { return withAlpha(mix(colour, rgb(1, 1, 1), 0.35f), 0.6f); });
        px0 = px1;
        py0 = py1;
    }
}
}

MonitorWall::Housing MonitorWall::housingFor(int index, int width, int height) const
{
    Housing h;
    h.screen = ScreenLayouts::pixelBox(m_layout.rects[index], width, height);
    float w = static_cast<float>(h.screen.x1 - h.screen.x0);
    float ht = static_cast<float>(h.screen.y1 - h.screen.y0);
    float scale = height / 1080.0f;
    float side = std::max(16.0f * scale, 0.08f * w);
    float top = std::max(13.0f * scale, 0.075f * ht);
    // Big sets carry their knobs and speaker under the tube: a deeper strip.
    float bottom = std::max(32.0f * scale, (w > 500.0f * scale ? 0.21f : 0.17f) * ht);
    h.left = h.screen.x0 - side;
    h.right = h.screen.x1 + side;
    h.top = h.screen.y0 - top;
    h.bottom = h.screen.y1 + bottom;
    if (w > 500.0f * scale)
        h.style = WALNUT;
    else
        h.style = static_cast<int>(Noise::hash(h.screen.x0, h.screen.y0, 7) % 3);
    return h;
}

void MonitorWall::paintWall(Canvas& canvas) const
{
    int width = canvas.width(), height = canvas.height();
    float brickW = 96.0f * height / 1080.0f, brickH = 40.0f * height / 1080.0f, mortar = 4.0f * height / 1080.0f;
    canvas.paint([&](float x, float y) {
        int row = static_cast<int>(std::floor(y / brickH));
        float shift = (row & 1) ? brickW * 0.5f : 0.0f;
        int column = static_cast<int>(std::floor((x + shift) / brickW));
        float bx = x + shift - column * brickW, by = y - row * brickH;
        float edge = std::min(std::min(bx, brickW - bx), std::min(by, brickH - by));
        float light = lightAt(x, y, width, height);
        float tone = 0.8f + 0.4f * Noise::unit(column, row, 3);
        float grain = 0.9f + 0.2f * Noise::value(x * 0.08f, y * 0.08f, 11);
        Colour brick = rgb(0.30f * tone, 0.15f * tone, 0.11f * tone);
        Colour joint = rgb(0.09f, 0.085f, 0.08f);
        Colour c = mix(joint, brick, smooth(mortar * 0.5f, mortar * 1.2f, edge));
        // Top edges of bricks catch the lamp.
        c = scaled(c, (by < mortar * 2.0f && edge > mortar * 0.6f) ? 1.2f : 1.0f);
        return scaled(c, light * grain * 0.55f);
    });
}

void MonitorWall::paintShelves(Canvas& canvas, const Housing* housings, int count) const
{
    // Housings whose bottoms line up share one shelf.
    std::vector<bool> done(count, false);
    float thickness = 16.0f * canvas.height() / 1080.0f;
    for (int i = 0; i < count; ++i)
    {
        if (done[i])
            continue;
        float l = housings[i].left, r = housings[i].right, y = housings[i].bottom;
        for (int j = i; j < count; ++j)
            if (!done[j] && std::fabs(housings[j].bottom - housings[i].bottom) < 12.0f)
            {
                done[j] = true;
                l = std::min(l, housings[j].left);
                r = std::max(r, housings[j].right);
                y = std::max(y, housings[j].bottom);
            }
        l -= 40.0f;
        r += 40.0f;
        paintSoftShadow(canvas, l + 6, y + 6, r + 6, y + thickness + 14, 4.0f, 14.0f, 0.6f);
        // Brackets under the shelf near both ends.
        for (float bx : {l + 60.0f, r - 60.0f})
        {
            float depth = thickness * 3.0f;
            canvas.fill(
                bx - 6, y, bx + 6, y + thickness + depth,
                [=](float px, float py) { return Shape::segment(px, py, bx, y + thickness, bx, y + thickness + depth, 4.0f); },
                [](float, float) { return rgb(0.12f, 0.12f, 0.13f); });
            canvas.fill(
                bx - 4, y, bx + 4 + depth, y + thickness + depth,
                [=](float px, float py) {
                    return Shape::segment(px, py, bx, y + thickness + depth, bx + depth, y + thickness, 3.0f);
                },
                [](float, float) { return rgb(0.10f, 0.10f, 0.11f); });
        }
        canvas.fill(
            l, y, r, y + thickness,
            [=](float px, float py) {
                return Shape::box(px, py, (l + r) * 0.5f, y + thickness * 0.5f, (r - l) * 0.5f, thickness * 0.5f, 2.0f);
            },
            [=](float px, float py) {
                float v = (py - y) / thickness;
                float metal = v < 0.2f ? 0.55f : 0.32f - 0.12f * v;
                float streak = 0.95f + 0.05f * Noise::value(px * 0.3f, 0.5f, 21);
                return rgb(metal * streak, metal * streak, metal * 1.08f * streak);
            });
    }
}

void MonitorWall::paintCables(Canvas& canvas, const Housing* housings, int count) const
{
    const Colour colours[] = {rgb(0.03f, 0.03f, 0.035f), rgb(0.13f, 0.13f, 0.14f), rgb(0.36f, 0.07f, 0.05f),
                              rgb(0.05f, 0.05f, 0.06f), rgb(0.55f, 0.45f, 0.12f)};
    float h = static_cast<float>(canvas.height());
    float scale = h / 1080.0f;
    for (int i = 0; i < count; ++i)
    {
        const Housing& a = housings[i];
        Noise::Random random(static_cast<uint32_t>(a.screen.x0 * 31 + a.screen.y0));
        float ax = a.left + (a.right - a.left) * random.range(0.25f, 0.75f);
        // One cable from each case down past the bottom edge of the wall.
        float bx = ax + random.range(-160.0f, 160.0f) * scale;
        paintCable(canvas, ax, a.bottom - 6, bx, h + 20, random.range(10.0f, 60.0f) * scale,
                   random.range(4.0f, 7.0f) * scale, colours[i % 5]);
        // And a loose loop to its right-hand neighbour on the same level.
        for (int j = 0; j < count; ++j)
        {
            const Housing& b = housings[j];
            if (j != i && std::fabs(b.bottom - a.bottom) < 12.0f && b.left > a.right &&
                b.left - a.right < 200.0f * scale)
            {
                paintCable(canvas, a.right - 10, a.top + (a.bottom - a.top) * 0.6f, b.left + 10,
                           b.top + (b.bottom - b.top) * 0.55f, random.range(30.0f, 70.0f) * scale, 4.0f * scale,
                           colours[(i + 3) % 5]);
                break;
            }
        }
    }
}

void MonitorWall::paintHousing(Canvas& canvas, const Housing& hs, int index) const
{
    const float l = hs.left, t = hs.top, r = hs.right, b = hs.bottom;
    const float cx = (l + r) * 0.5f, cy = (t + b) * 0.5f, hw = (r - l) * 0.5f, hh = (b - t) * 0.5f;
    const float size = std::min(r - l, b - t);
    const float radius = std::min(24.0f, std::max(6.0f, size * 0.05f));
    const Colour base = CASE_COLOURS[hs.style];
    const bool wood = hs.style == WALNUT;
    const int seed = index * 17 + hs.style;

    paintSoftShadow(canvas, l + 8, t + 12, r + 8, b + 12, radius, 16.0f, 0.75f);

    canvas.fill(
        l, t, r, b, [=](float px, float py) { return Shape::box(px, py, cx, cy, hw, hh, radius); },
        [=](float px, float py) {
            float v = (py - t) / (b - t);
            Colour c = scaled(base, 1.1f - 0.3f * v);
            if (wood)
            {
                float grain = std::sin(py * 0.09f + Noise::fractal(px * 0.004f, py * 0.03f, seed) * 14.0f);
                c = scaled(c, 0.85f + 0.15f * grain);
            }
            else
            {
                c = scaled(c, 0.97f + 0.06f * Noise::value(px * 0.5f, py * 0.5f, seed));
            }
            // Rounded edge: lit from the top left, shaded bottom right.
            float d = Shape::box(px, py, cx, cy, hw, hh, radius);
            float rim = smooth(-5.0f, 0.0f, d);
            float dir = ((px - cx) / hw + (py - cy) / hh) * 0.5f;
            return scaled(c, 1.0f - rim * 0.45f * dir);
        });

    // The recess between case and glass, darkening toward the tube.
    const auto& s = hs.screen;
    float sx0 = static_cast<float>(s.x0), sy0 = static_cast<float>(s.y0);
    float sx1 = static_cast<float>(s.x1), sy1 = static_cast<float>(s.y1);
    float lip = std::max(6.0f, 0.03f * (sx1 - sx0));
    float scx = (sx0 + sx1) * 0.5f, scy = (sy0 + sy1) * 0.5f;
    float shw = (sx1 - sx0) * 0.5f, shh = (sy1 - sy0) * 0.5f;
    canvas.fill(
        sx0 - lip, sy0 - lip, sx1 + lip, sy1 + lip,
        [=](float px, float py) { return Shape::box(px, py, scx, scy, shw + lip, shh + lip, lip * 1.2f); },
        [=](float px, float py) {
            float d = Shape::box(px, py, scx, scy, shw, shh, 0.0f);
            float k = smooth(0.0f, lip, d);
            Colour rim = wood ? rgb(0.08f, 0.06f, 0.05f) : scaled(base, 0.45f);
            return mix(rgb(0.02f, 0.02f, 0.025f), rim, k);
        });

    // Corner screws.
    float screwR = std::max(3.0f, size * 0.014f);
    float inset = radius * 0.6f + screwR + 2.0f;
    Noise::Random random(static_cast<uint32_t>(seed));
    for (int corner = 0; corner < 4; ++corner)
    {
        float x = (corner & 1) ? r - inset : l + inset;
        float y = (corner & 2) ? b - inset : t + inset;
        paintScrew(canvas, x, y, screwR, random.range(0.0f, 3.14159f));
    }

    // The control strip under the glass: badge, vents or speaker, knobs, LED.
    float stripTop = sy1 + lip + 2.0f, stripBottom = b - inset - screwR;
    float stripH = std::max(8.0f, stripBottom - stripTop);
    float stripCy = stripTop + stripH * 0.5f;
    std::string brand = BRANDS[Noise::hash(seed, 5) % 6];
    float dot = std::max(1.2f, std::min(stripH * 0.09f, (r - l) * 0.22f / PixelFont::textWidth(brand, 1.0f)));
    float textH = 7.0f * dot;
    float badgeX = sx0 + 2.0f, badgeY = stripCy - textH * 0.5f;
    float badgeW = PixelFont::textWidth(brand, dot);
    canvas.fill(
        badgeX - dot * 2, badgeY - dot * 2, badgeX + badgeW + dot * 2, badgeY + textH + dot * 2,
        [=](float px, float py) {
            return Shape::box(px, py, badgeX + badgeW * 0.5f, badgeY + textH * 0.5f, badgeW * 0.5f + dot * 2,
                              textH * 0.5f + dot * 2, dot);
        },
        [](float, float) { return rgb(0.08f, 0.08f, 0.09f); });
    PixelFont::draw(canvas, brand, badgeX, badgeY, dot, rgb(0.78f, 0.74f, 0.62f), 0.0f);

    float ledR = std::max(2.2f, stripH * 0.07f);
    float ledX = sx1 - ledR * 2.0f;
    const Colour ledColours[] = {rgb(0.3f, 1.0f, 0.3f), rgb(1.0f, 0.6f, 0.1f), rgb(1.0f, 0.2f, 0.15f)};
    paintLed(canvas, ledX, stripCy, ledR, ledColours[Noise::hash(seed, 9) % 3]);

    float big = (r - l) > 300.0f;
    if (big)
    {
        // Two knobs left of the LED and a speaker grille between them and the badge.
        float knobR = std::min(stripH * 0.42f, 26.0f);
        float k1 = ledX - ledR * 4.0f - knobR, k2 = k1 - knobR * 2.8f;
        paintKnob(canvas, k1, stripCy, knobR, random.range(0.0f, 6.28f));
        paintKnob(canvas, k2, stripCy, knobR, random.range(0.0f, 6.28f));
        float gx0 = badgeX + badgeW + dot * 8.0f, gx1 = k2 - knobR * 2.0f;
        float gy0 = stripCy - stripH * 0.3f, gy1 = stripCy + stripH * 0.3f;
        float pitch = std::max(4.0f, stripH * 0.12f);
        for (float gy = gy0; gy <= gy1; gy += pitch)
            canvas.fill(
                gx0, gy - 2, gx1, gy + 2,
                [=](float px, float py) { return Shape::segment(px, py, gx0, gy, gx1, gy, pitch * 0.22f); },
                [](float, float) { return rgb(0.03f, 0.03f, 0.03f, 0.85f); });
    }
    else
    {
        // Ventilation slits in the middle of the strip.
        float vx0 = scx - (sx1 - sx0) * 0.12f, vx1 = scx + (sx1 - sx0) * 0.12f;
        for (int i = -1; i <= 1; ++i)
        {
            float vy = stripCy + i * stripH * 0.22f;
            canvas.fill(
                vx0 - 2, vy - 2, vx1 + 2, vy + 2,
                [=](float px, float py) { return Shape::segment(px, py, vx0, vy, vx1, vy, 1.1f); },
                [](float, float) { return rgb(0.03f, 0.03f, 0.03f, 0.8f); });
        }
    }
}

Canvas MonitorWall::paint(int width, int height, const GlassShader& glass) const
{
    Canvas canvas(width, height);
    paintWall(canvas);
    std::vector<Housing> housings;
    for (int i = 0; i < m_layout.count; ++i)
        housings.push_back(housingFor(i, width, height));
    paintCables(canvas, housings.data(), m_layout.count);
    paintShelves(canvas, housings.data(), m_layout.count);
    for (int i = 0; i < m_layout.count; ++i)
        paintHousing(canvas, housings[i], i);
    // The openings: every pixel the subscreen's rectangle touches.
    for (int i = 0; i < m_layout.count; ++i)
    {
        const auto& s = housings[i].screen;
        for (int y = s.y0; y < s.y1; ++y)
            for (int x = s.x0; x < s.x1; ++x)
            {
                if (x < 0 || y < 0 || x >= width || y >= height)
                    continue;
                float u = (x + 0.5f - s.x0) / (s.x1 - s.x0), v = (y + 0.5f - s.y0) / (s.y1 - s.y0);
                canvas.at(x, y) = glass ? glass(i, u, v) : Colour{0.0f, 0.0f, 0.0f, 0.0f};
            }
    }
    return canvas;
}
