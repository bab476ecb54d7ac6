#include "screenmanager.h"

#include "base/assert.h"
#include "gl/framebuffer.h"
#include "gl/glheaders.h"
#include "gl/rendertarget.h"
#include "gl/shader.h"
#include "gl/texture.h"
#include "screenlayout.h"

namespace
{
const char* const CRT_VERTEX_SHADER =
    "void main()\n"
    "{\n"
    "    gl_Position = gl_Vertex;\n"
    "    gl_FrontColor = gl_Color;\n"
    "    gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "}\n";

// The tube: a slight barrel curvature with black rounded corners, colour
// fringes, a touch of tinted grey, flickering scanlines, a slow rolling band
// and a vignette. The vignette term is kept at 0 or above: outside the tube
// it would take the root of a negative number (NaN) in the black border.
const char* const CRT_FRAGMENT_SHADER =
    "uniform float time;\n"
    "uniform sampler2D image;\n"
    "const float deform = 0.04;\n"
    "const float saturation = 0.9;\n"
    "const float tintQty = 0.65;\n"
    "void main()\n"
    "{\n"
    "    vec3 tint = normalize(vec3(0.2, 0.5, 0.3));\n"
    "    vec2 tc = gl_TexCoord[0].xy * 2.0 - 1.0;\n"
    "    vec2 ntc = vec2(tc.x / cos(tc.y), tc.y / cos(tc.x));\n"
    "    ntc = mix(tc, ntc, deform);\n"
    "    ntc = ntc * 0.5 + 0.5;\n"
    "    vec3 colour = vec3(0.0);\n"
    "    if (fract(ntc.x) == ntc.x && fract(ntc.y) == ntc.y) {\n"
    "        colour.r = texture2D(image, ntc - vec2(0.002, 0.0)).r;\n"
    "        colour.g = texture2D(image, ntc).g;\n"
    "        colour.b = texture2D(image, ntc + vec2(0.002, 0.0)).b;\n"
    "        float gs = 0.3 * colour.r + 0.59 * colour.g + 0.11 * colour.b;\n"
    "        colour = mix(gs * mix(vec3(1.0), tint, tintQty), colour, saturation);\n"
    "    }\n"
    "    float flicker = 0.015 * sin(time * 80.0);\n"
    "    float s1 = sin(ntc.y * 800.0) * 0.5 + 0.5;\n"
    "    s1 = s1 * (0.2 + flicker) + (0.8 - flicker);\n"
    "    float s2 = sin(ntc.y * 8.0 + time) * 0.5 + 0.5;\n"
    "    s2 = smoothstep(0.05, 0.15, s2) * 0.1 + 0.9;\n"
    "    s1 *= s2;\n"
    "    float v = max(sin(ntc.y * 3.14) * sin(ntc.x * 3.14), 0.0);\n"
    "    v = sqrt(sqrt(v)) * sqrt(sqrt(v)) * 0.8 + 0.2;\n"
    "    gl_FragColor = vec4(colour * s1 * v, 1.0);\n"
    "}\n";
}

ScreenManager::ScreenManager(unsigned width, unsigned height)
    : m_mode(0)
    , m_shader(0)
    , m_currentFramebuffer(0)
    , m_width(width)
    , m_height(height)
{
    for (unsigned id = 0; id < MAX_SUBSCREENS; ++id) {
        m_framebuffers[id] = new Framebuffer(static_cast<int>(width), static_cast<int>(height));
        m_framebuffers[id]->addRenderTarget(GL_RGBA8);
        m_clearColors[id][0] = 0.0f;
        m_clearColors[id][1] = 0.0f;
        m_clearColors[id][2] = 0.0f;
    }
    for (unsigned i = 0; i < static_cast<unsigned>(ScreenLayout::MODE_COUNT); ++i)
        m_overlays[i] = new Texture(ScreenLayout::getOverlayName(i));
    m_shader = new Shader(CRT_VERTEX_SHADER, CRT_FRAGMENT_SHADER);
}

void ScreenManager::beginSubscreen(unsigned subscreenId)
{
    FATAL_ASSERT(subscreenId < MAX_SUBSCREENS,
                 "Cannot enable a subscreen with an ID >= to the maximum number of subscreens.");
    m_currentFramebuffer = m_framebuffers[subscreenId];
    m_currentFramebuffer->bind();

    const int halfWidth = static_cast<int>(m_width) / 2;
    const int halfHeight = static_cast<int>(m_height) / 2;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-halfWidth, halfWidth, -halfHeight, halfHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const float* colour = m_clearColors[subscreenId];
    glClearColor(colour[0], colour[1], colour[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void ScreenManager::endSubscreen()
{
    FATAL_ASSERT(m_currentFramebuffer, "No subscreen rendering is started.");
    m_currentFramebuffer->unbind();
    m_currentFramebuffer = 0;
}

void ScreenManager::render(float time)
{
    m_shader->bind();
    m_shader->setUniform1f("time", time);
    m_shader->unbind();

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    unsigned count = 0;
    const SubscreenRectangle* rectangles = ScreenLayout::getRectangles(m_mode, count);
    if (count == 0)
        return;

    for (unsigned i = 0; i < count; ++i) {
        const SubscreenRectangle& rectangle = rectangles[i];
        RenderTarget* image = m_framebuffers[rectangle.id]->getRenderTarget(0);
        image->bind(0);
        m_shader->bind();
        drawQuad(rectangle.left, rectangle.top, rectangle.right, rectangle.bottom);
        m_shader->unbind();
        image->unbind();
    }

    // Fixed-function texturing modulates by the current colour, which the
    // attribute pops of the subscreen passes may have left stale.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    Texture* overlay = m_overlays[ScreenLayout::getOverlayIndex(m_mode)];
    overlay->bind(0);
    drawQuad(-1.0f, 1.0f, 1.0f, -1.0f);
    overlay->unbind();
}

void ScreenManager::drawQuad(float left, float top, float right, float bottom)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(left, top);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(left, bottom);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(right, bottom);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(right, top);
    glEnd();
}

void ScreenManager::onEvent(Event* event)
{
    if (event->name == "ScreenColor") {
        if (event->args.size() < 4)
            return;
        // The colour table has sixteen rows: other ids would write past it.
        const unsigned id = static_cast<unsigned>(event->args[0].intValue);
        if (id >= MAX_SUBSCREENS)
            return;
        m_clearColors[id][0] = event->args[1].floatValue;
        m_clearColors[id][1] = event->args[2].floatValue;
        m_clearColors[id][2] = event->args[3].floatValue;
    } else if (event->name == "ScreenMode") {
        if (event->args.empty())
            return;
        const unsigned mode = static_cast<unsigned>(event->args[0].intValue);
        if (mode <= 7)
            m_mode = static_cast<int>(mode);
    }
}

Framebuffer* ScreenManager::getFramebuffer(unsigned subscreenId) const
{
    return subscreenId < MAX_SUBSCREENS ? m_framebuffers[subscreenId] : 0;
}

void ScreenManager::getClearColor(unsigned subscreenId, float& red, float& green, float& blue) const
{
    red = green = blue = 0.0f;
    if (subscreenId >= MAX_SUBSCREENS)
        return;
    red = m_clearColors[subscreenId][0];
    green = m_clearColors[subscreenId][1];
    blue = m_clearColors[subscreenId][2];
}
