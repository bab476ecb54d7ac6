#include "support/glharness.h"

#include "gl/projection.h"

#include <cstdio>
#include <cstdlib>
#include <png.h>

GlTestWindow::GlTestWindow(int width, int height)
    : m_context(new Context("Solenne test", width, height, false))
    , m_width(width)
    , m_height(height)
{
    glViewport(0, 0, width, height);
    setWindowProjection(width, height);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

GlTestWindow::~GlTestWindow()
{
    delete m_context;
}

Rgba GlTestWindow::readPixel(int x, int y) const
{
    return readPixels(x, y, 1, 1)[0];
}

std::vector<Rgba> GlTestWindow::readPixels(int x, int y, int width, int height) const
{
    std::vector<Rgba> pixels(static_cast<size_t>(width) * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void GlTestWindow::saveScreenshot(const std::string& path) const
{
    writePng(path, m_width, m_height, readPixels(0, 0, m_width, m_height));
}

void writePng(const std::string& path, int width, int height, const std::vector<Rgba>& bottomUpPixels)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int row = height - 1; row >= 0; --row)
        png_write_row(png, reinterpret_cast<png_const_bytep>(&bottomUpPixels[static_cast<size_t>(row) * width]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

bool nearColour(const Rgba& a, const Rgba& b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance && std::abs(a.a - b.a) <= tolerance;
}
