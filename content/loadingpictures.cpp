#include "loadingpictures.h"

#include "animations.h"
#include "monitorwall.h"
#include "noise.h"
#include "pixelfont.h"

#include <cmath>
#include <string>
#include <vector>

namespace
{
const ScreenLayouts::Layout& WALL = ScreenLayouts::LAYOUTS[7];
const std::string TITLE = "SOLENNE";

float titleDot(int height) { return 13.0f * height / 1080.0f; }
float titleX(int width, int height) { return width * 0.5f - PixelFont::textWidth(TITLE, titleDot(height)) * 0.5f; }
float titleY(int height) { return 30.0f * height / 1080.0f; }

// Neon tubes: every dot of the title as a rounded tube segment, with a halo
// when lit.
void paintTitle(Canvas& canvas, bool lit)
{
    int width = canvas.width(), height = canvas.height();
    float dot = titleDot(height), x0 = titleX(width, height), y0 = titleY(height);
    if (lit)
    {
        float pad = dot * 3.0f;
        float w = PixelFont::textWidth(TITLE, dot), h = 7.0f * dot;
        canvas.fill(
            x0 - pad, y0 - pad, x0 + w + pad, y0 + h + pad,
            [=](float px, float py) {
                return Shape::box(px, py, x0 + w * 0.5f, y0 + h * 0.5f, w * 0.5f, h * 0.5f, dot) / pad;
            },
            [](float, float) { return rgb(1.0f, 0.2f, 0.6f, 0.35f); });
    }
    Colour tube = lit ? rgb(1.0f, 0.75f, 0.9f) : rgb(0.22f, 0.2f, 0.24f);
    PixelFont::draw(canvas, TITLE, x0, y0, dot, lit ? rgb(1.0f, 0.25f, 0.65f, 0.8f) : rgb(0.1f, 0.1f, 0.12f), 0.5f);
    for (size_t i = 0; i < TITLE.size(); ++i)
        for (int row = 0; row < PixelFont::GLYPH_HEIGHT; ++row)
            for (int col = 0; col < PixelFont::GLYPH_WIDTH; ++col)
            {
                if (!PixelFont::dot(TITLE[i], col, row))
                    continue;
                float cx = x0 + (i * PixelFont::ADVANCE + col + 0.5f) * dot, cy = y0 + (row + 0.5f) * dot;
                float r = dot * 0.22f;
                canvas.fill(
                    cx - dot, cy - dot, cx + dot, cy + dot,
                    [=](float px, float py) { return Shape::box(px, py, cx, cy, dot * 0.5f, dot * 0.5f, r) + dot * 0.18f; },
                    [=](float, float) { return tube; });
            }
}

// One still frame of each animation, to show on the lit screens.
std::vector<Canvas> stills()
{
    std::vector<Canvas> frames;
    const int picks[] = {0, 1, 2, 3, 6, 7, 9, 10, 5, 4, 11, 12, 8, 13, 1};
    std::vector<Animation> animations = Animations::all();
    for (int i = 0; i < WALL.count; ++i)
    {
        const Animation& a = animations[picks[i] % animations.size()];
        Canvas cell(256, 192, rgb(0, 0, 0));
        int frame = picks[i] == 4 ? 20 : (i * 5) % a.sheet.frames();
        a.painter(cell, frame, a.sheet.frames());
        frames.push_back(cell);
    }
    return frames;
}
}

Canvas LoadingPictures::off(int width, int height)
{
    MonitorWall wall(WALL);
    Canvas canvas = wall.paint(width, height, [](int, float u, float v) {
        // Dark glass with a faint reflection of the room across it.
        float reflection = 0.04f * smooth(0.35f, 0.0f, std::fabs(u - v * 0.6f - 0.15f));
        float edge = 1.0f - 0.6f * smooth(0.3f, 0.5f, std::max(std::fabs(u - 0.5f), std::fabs(v - 0.5f)));
        float g = 0.07f * edge + reflection;
        return rgb(g * 0.9f, g, g * 1.05f);
    });
    paintTitle(canvas, false);
    // Night: the room is dimmer and bluer than when the screens are on.
    canvas.paint([&](float x, float y) {
        const Colour& c = canvas.at(static_cast<int>(x), static_cast<int>(y));
        float grey = (c.r + c.g + c.b) / 3.0f;
        return rgb((c.r * 0.4f + grey * 0.6f) * 0.55f, (c.g * 0.4f + grey * 0.6f) * 0.6f,
                   (c.b * 0.4f + grey * 0.6f) * 0.8f);
    });
    return canvas;
}

Canvas LoadingPictures::on(int width, int height)
{
    MonitorWall wall(WALL);
    std::vector<Canvas> pictures = stills();
    Canvas canvas = wall.paint(width, height, [&](int index, float u, float v) {
        const Canvas& p = pictures[index];
        int x = std::min(p.width() - 1, static_cast<int>(u * p.width()));
        int y = std::min(p.height() - 1, static_cast<int>(v * p.height()));
        Colour c = p.at(x, y);
        // Scanlines and a rounded, darker tube edge.
        float scan = (static_cast<int>(v * 140.0f) & 1) ? 0.8f : 1.0f;
        float edge = 1.0f - 0.7f * smooth(0.38f, 0.5f, std::max(std::fabs(u - 0.5f), std::fabs(v - 0.5f)));
        return scaled(c, scan * edge * 1.1f);
    });
    // The screens light the wall around them a little.
    for (int i = 0; i < WALL.count; ++i)
    {
        ScreenLayouts::PixelBox box = ScreenLayouts::pixelBox(WALL.rects[i], width, height);
        float cx = (box.x0 + box.x1) * 0.5f, cy = (box.y0 + box.y1) * 0.5f;
        float reach = (box.x1 - box.x0) * 1.1f;
        Colour tint = pictures[i].at(128, 96);
        canvas.fill(
            cx - reach, cy - reach, cx + reach, cy + reach,
            [=](float px, float py) { return Shape::circle(px, py, cx, cy, reach * 0.5f) / (reach * 0.5f); },
            [=](float px, float py) {
                float d = std::hypot(px - cx, py - cy) / reach;
                return withAlpha(mix(tint, rgb(0.6f, 0.7f, 1.0f), 0.5f), 0.12f * (1.0f - d));
            });
    }
    paintTitle(canvas, true);
    return canvas;
}

Canvas LoadingPictures::mask(int width, int height)
{
    Canvas canvas(width, height);
    float dot = titleDot(height), x0 = titleX(width, height), y0 = titleY(height);
    float titleW = PixelFont::textWidth(TITLE, dot), titleH = 7.0f * dot;
    canvas.paint([&](float x, float y) {
        // The room comes last, from the middle outwards.
        float r = std::hypot((x - width * 0.5f) / width, (y - height * 0.5f) / height);
        // Above 0.8 it stays clear of the loading screen's soft edge (about
        // 0.09 wide) until the last step to 1.0.
        float g = 0.8f + 0.18f * r + 0.02f * Noise::value(x * 0.05f, y * 0.05f, 41);
        // The neon title is lit from the start.
        if (x > x0 - dot * 2 && x < x0 + titleW + dot * 2 && y > y0 - dot * 2 && y < y0 + titleH + dot * 2)
            g = 0.0f;
        // Screens in id order, each rolling on from its top edge.
        for (int i = 0; i < WALL.count; ++i)
        {
            ScreenLayouts::PixelBox box = ScreenLayouts::pixelBox(WALL.rects[i], width, height);
            float margin = 6.0f * height / 1080.0f;
            if (x >= box.x0 - margin && x < box.x1 + margin && y >= box.y0 - margin && y < box.y1 + margin)
            {
                float v = clamp01((y - box.y0) / (box.y1 - box.y0));
                // From 0.1, so that at progress 0 even the first screen waits.
                g = 0.1f + 0.52f * i / (WALL.count - 1) + 0.03f * v;
            }
        }
        g = clamp01(g);
        return rgb(g, g, g);
    });
    return canvas;
}
