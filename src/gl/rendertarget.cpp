#include "gl/rendertarget.h"

#include "base/assert.h"
#include "gl/context.h"
#include "gl/glheaders.h"

namespace
{
const GLint CLAMP = 0x2900;
}

RenderTarget::RenderTarget(int width, int height, int internalFormat)
    : m_format(internalFormat)
    , m_width(width)
    , m_height(height)
    , m_texture(0)
    , m_unit(NOT_BOUND)
{
    FATAL_ASSERT(Context::ms_context != 0, "Cannot create a render target : no context created.");
    const GLenum pixelType = internalFormat == GL_RGBA8 ? GL_UNSIGNED_BYTE : GL_FLOAT;

    glGenTextures(1, &m_texture);
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glTexImage2D(GL_TEXTURE_2D, 0, m_format, m_width, m_height, 0, GL_RGBA, pixelType, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, CLAMP);
    glBindTexture(GL_TEXTURE_2D, 0);
}

RenderTarget::~RenderTarget()
{
    glDeleteTextures(1, &m_texture);
}

void RenderTarget::bind(int unit)
{
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, m_texture);
    m_unit = unit;
}

void RenderTarget::unbind()
{
    // Unbound, the unit is no valid unit at all; selecting it would be a GL
    // error at best.
    if (m_unit == NOT_BOUND)
        return;
    glActiveTexture(GL_TEXTURE0 + m_unit);
    glBindTexture(GL_TEXTURE_2D, 0);
    m_unit = NOT_BOUND;
}
