#include "canvas.h"

#include <png.h>

#include <cstdio>

Canvas::Canvas(int width, int height, Colour fill)
    : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height, fill)
{
}

void Canvas::blend(int x, int y, const Colour& c)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    Colour& d = at(x, y);
    float a = clamp01(c.a);
    float outA = a + d.a * (1.0f - a);
    if (outA <= 0.0f)
    {
        d = Colour{0.0f, 0.0f, 0.0f, 0.0f};
        return;
    }
    float keep = d.a * (1.0f - a);
    d.r = (c.r * a + d.r * keep) / outA;
    d.g = (c.g * a + d.g * keep) / outA;
    d.b = (c.b * a + d.b * keep) / outA;
    d.a = outA;
}

void Canvas::paste(const Canvas& src, int x, int y)
{
    for (int sy = 0; sy < src.height(); ++sy)
        for (int sx = 0; sx < src.width(); ++sx)
        {
            int dx = x + sx, dy = y + sy;
            if (dx >= 0 && dy >= 0 && dx < m_width && dy < m_height)
                at(dx, dy) = src.at(sx, sy);
        }
}

namespace
{
unsigned char toByte(float v)
{
    return static_cast<unsigned char>(std::lround(clamp01(v) * 255.0f));
}
}

bool Canvas::savePng(const std::string& path, bool withAlpha) const
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    // Fast compression keeps the content build short; the pack is not shipped
    // over a network, so the few extra kilobytes do not matter.
    png_set_compression_level(png, 3);
    int channels = withAlpha ? 4 : 3;
    png_set_IHDR(png, info, m_width, m_height, 8, withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<unsigned char> row(static_cast<size_t>(m_width) * channels);
    for (int y = 0; y < m_height; ++y)
    {
        for (int x = 0; x < m_width; ++x)
        {
            const Colour& c = at(x, y);
            unsigned char* p = &row[static_cast<size_t>(x) * channels];
            p[0] = toByte(c.r);
            p[1] = toByte(c.g);
            p[2] = toByte(c.b);
            if (withAlpha)
                p[3] = toByte(c.a);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}
