#include "dd/loadingscreen.h"

#include "base/assert.h"
#include "dd/archive.h"
#include "gl/glheaders.h"
#include "gl/shader.h"
#include "gl/texture.h"

#include <string>

namespace
{
const char* const PROGRESS_VERTEX_SHADER =
    "void main() { gl_Position = gl_Vertex; gl_TexCoord[0].xy = gl_MultiTexCoord0.xy; }";

// Where the mask is below the progress the on image shows; a little above it
// three stepped terms fade toward the off image, which never shows unmixed.
const char* const PROGRESS_FRAGMENT_SHADER =
    "uniform sampler2D image_on;\n"
    "uniform sampler2D image_off;\n"
    "uniform sampler2D mask;\n"
    "uniform float progress;\n"
    "void main()\n"
    "{\n"
    "    vec2 uv = gl_TexCoord[0].xy;\n"
    "    float m = texture2D(mask, uv).r;\n"
    "    vec4 on = texture2D(image_on, uv);\n"
    "    vec4 off = texture2D(image_off, uv);\n"
    "    float f1 = floor(smoothstep(progress - 0.01, progress + 0.09, m) * 1.1);\n"
    "    float f2 = floor(smoothstep(progress, progress + 0.1, m) * 1.1) / 4.0;\n"
    "    float f3 = floor(smoothstep(progress + 0.01, progress + 0.11, m) * 1.1);\n"
    "    gl_FragColor = mix(on, off, (f1 + f2 + f3) * 0.33);\n"
    "}\n";

std::string notFoundMessage(const char* name)
{
    return std::string("Error loading file \"") + name + "\"";
}

Texture* linearTexture(const DD::Archive::File* file)
{
    Texture* texture = new Texture(reinterpret_cast<const unsigned char*>(file->m_data), static_cast<int>(file->m_size));
    texture->setFilter(1, 1);
    return texture;
}
}

namespace DD
{
LoadingScreen::LoadingScreen(const char* imageOff, const char* imageOn, const char* mask)
{
    FATAL_ASSERT(Archive::ms_archive != 0, "Need an archive to load images.");
    m_progress = 0.0f;

    Archive::File* fn = Archive::ms_archive->getFile(imageOn);
    FATAL_ASSERT(fn != 0, notFoundMessage(imageOn).c_str());
    Archive::File* ff = Archive::ms_archive->getFile(imageOff);
    FATAL_ASSERT(ff != 0, notFoundMessage(imageOff).c_str());
    Archive::File* fm = Archive::ms_archive->getFile(mask);
    FATAL_ASSERT(fm != 0, notFoundMessage(mask).c_str());

    m_imageOn = linearTexture(fn);
    m_imageOff = linearTexture(ff);
    m_mask = linearTexture(fm);

    m_shader = new Shader(PROGRESS_VERTEX_SHADER, PROGRESS_FRAGMENT_SHADER);
    m_shader->bind();
    m_shader->setUniform1i("image_off", 0);
    m_shader->setUniform1i("image_on", 1);
    m_shader->setUniform1i("mask", 2);
    m_shader->unbind();
}

void LoadingScreen::setProgress(float progress)
{
    if (progress < 0.0f)
        m_progress = 0.0f;
    else if (progress > 1.0f)
        m_progress = 1.0f;
    else if (progress != progress)
        m_progress = 0.0f;
    else
        m_progress = progress;
}

void LoadingScreen::draw()
{
    m_imageOff->bind(0);
    m_imageOn->bind(1);
    m_mask->bind(2);
    m_shader->bind();
    m_shader->setUniform1f("progress", m_progress);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(1.0f, 1.0f);
    glEnd();

    m_mask->unbind();
    m_imageOn->unbind();
    m_imageOff->unbind();
    m_shader->unbind();

    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}
}
