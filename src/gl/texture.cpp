#include "gl/texture.h"

#include "base/assert.h"
#include "dd/archive.h"
#include "gl/context.h"
#include "gl/glheaders.h"

#include <SOIL/SOIL.h>
#include <cstdio>

namespace
{
// Fixed-function GL 1.x clamping; not in core headers under this name.
const GLint CLAMP = 0x2900;
}

Texture::Texture(const char* file)
    : m_bound(false)
    , m_unit(0)
    , m_id(0)
{
    FATAL_ASSERT(DD::Archive::ms_archive != 0,
                 (std::string("No archive in memory, cannot load texture ") + file).c_str());
    DD::Archive::File* ft = DD::Archive::ms_archive->getFile(file);
    FATAL_ASSERT(ft != 0, (std::string("File ") + file + " not found.").c_str());
    load(ft->m_data, static_cast<int>(ft->m_size), std::string("\"") + file + "\"");
}

Texture::Texture(const unsigned char* data, int size)
    : m_bound(false)
    , m_unit(0)
    , m_id(0)
{
    FATAL_ASSERT(Context::ms_context != 0, "Cannot create a texture with no context");
    loadFromMemory(data, size);
}

bool Texture::loadFromMemory(const unsigned char* data, int size)
{
    return load(data, size, "image of " + std::to_string(size) + " bytes");
}

bool Texture::load(const unsigned char* data, int size, const std::string& what)
{
    // SOIL uploads with the unpack alignment in force, which defaults to 4:
    // rows of RGB images whose width is not a multiple of 4 would shear.
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    m_id = SOIL_load_OGL_texture_from_memory(data, size, SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, SOIL_FLAG_INVERT_Y);
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    if (m_id == 0) {
        std::printf("Texture: cannot decode %s: %s\n", what.c_str(), SOIL_last_result());
        std::fflush(stdout);
        return false;
    }

    // SOIL leaves linear filtering and clamping; the demo draws with nearest
    // sampling and repeats unless told otherwise.
    bind(0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    unbind();
    return true;
}

void Texture::bind(int unit)
{
    if (m_bound)
        return;
    m_unit = unit;
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, m_id);
    m_bound = true;
}

void Texture::unbind()
{
    if (!m_bound)
        return;
    glActiveTexture(GL_TEXTURE0 + m_unit);
    glBindTexture(GL_TEXTURE_2D, 0);
    m_bound = false;
}

void Texture::setFilter(int minFilter, int magFilter)
{
    bind(0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter == 1 ? GL_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter == 1 ? GL_LINEAR : GL_NEAREST);
    unbind();
}

void Texture::setWrap(int repeatS, int repeatT)
{
    bind(0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, repeatS == 0 ? CLAMP : GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, repeatT == 0 ? CLAMP : GL_REPEAT);
    unbind();
}
