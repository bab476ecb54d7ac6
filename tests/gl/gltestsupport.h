// Helpers for the GL object tests: PNG bytes made in memory, a textured quad
// in normalised device coordinates, GL state queries and the place of a
// check in the sources.
#pragma once

#include "gl/glheaders.h"
#include "support/files.h"
#include "support/glharness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Encodes rows given top row first, channels 3 (RGB) or 4 (RGBA).
std::vector<unsigned char> encodePng(int width, int height, int channels, const std::vector<unsigned char>& topDown);

// A white quad from (x0, y0) to (x1, y1) in normalised device coordinates,
// with s0..s1 across and t0 at the bottom edge, t1 at the top.
void drawQuad(float x0, float y0, float x1, float y1, float s0, float t0, float s1, float t1);

GLint integerState(GLenum name);
GLint textureOnUnit(int unit);
GLint attachedObject(GLenum attachment);


// Every test gets its own window and context.
class GlTest : public ::testing::Test
{
protected:
    GlTestWindow m_window;
};
