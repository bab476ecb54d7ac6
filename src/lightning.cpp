#include "lightning.h"

#include "gl/framebuffer.h"
#include "gl/glheaders.h"
#include "gl/rendertarget.h"
#include "gl/shader.h"

#include <cmath>

namespace
{
// Moves each vertex of the flat line up or down by a 3-D value noise of
// x x time; the envelope pins both ends. Only time enters the computation.
const char* const ARC_VERTEX_SHADER =
    "uniform float time;\n"
    "uniform float intensity;\n"
    "uniform float speed;\n"
    "uniform float sync;\n"
    "float hash(float n)\n"
    "{\n"
    "    return fract(sin(n) * 43758.5453);\n"
    "}\n"
    "float noise(vec3 p)\n"
    "{\n"
    "    vec3 i = floor(p);\n"
    "    vec3 f = fract(p);\n"
    "    f = f * f * (3.0 - 2.0 * f);\n"
    "    float n = i.x + i.y * 57.0 + 113.0 * i.z;\n"
    "    return mix(mix(mix(hash(n + 0.0), hash(n + 1.0), f.x),\n"
    "                   mix(hash(n + 57.0), hash(n + 58.0), f.x), f.y),\n"
    "               mix(mix(hash(n + 113.0), hash(n + 114.0), f.x),\n"
    "                   mix(hash(n + 170.0), hash(n + 171.0), f.x), f.y), f.z);\n"
    "}\n"
    "void main()\n"
    "{\n"
    "    vec4 v = gl_Vertex;\n"
    "    float envelope = sqrt(sin(v.x * 3.1415));\n"
    "    float deform = (noise(vec3(v.x, v.x, v.x) * time * 1000.0) * 2.0 - 1.0) * 0.25;\n"
    "    gl_Position = gl_ModelViewProjectionMatrix * vec4(v.x, v.y + envelope * deform, v.z, 1.0);\n"
    "}\n";

const char* const ARC_FRAGMENT_SHADER =
    "uniform vec4 color;\n"
    "void main()\n"
    "{\n"
    "    gl_FragColor = color;\n"
    "}\n";

const char* const BLUR_VERTEX_SHADER =
    "void main()\n"
    "{\n"
    "    gl_Position = gl_Vertex;\n"
    "    gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "}\n";

// A cross of 15 horizontal and 9 vertical taps, read at the fragment's place
// in a full-HD subscreen, so the small arc picture stretches over the whole
// subscreen; the sum is brightened into a glow.
const char* const BLUR_FRAGMENT_SHADER =
    "uniform sampler2D tex0;\n"
    "uniform float intensity;\n"
    "void main()\n"
    "{\n"
    "    float b = (1.0 / 96.0) * (intensity * 0.1);\n"
    "    vec2 uv = gl_FragCoord.xy / vec2(1920.0, 1080.0);\n"
    "    vec4 sum = vec4(0.0);\n"
    "    sum += texture2D(tex0, vec2(uv.x - 7.0 * b, uv.y)) * 0.02;\n"
    "    sum += texture2D(tex0, vec2(uv.x - 6.0 * b, uv.y)) * 0.03;\n"
    "    sum += texture2D(tex0, vec2(uv.x - 5.0 * b, uv.y)) * 0.06;\n"
    "    sum += texture2D(tex0, vec2(uv.x - 4.0 * b, uv.y)) * 0.08;\n"
    "    sum += texture2D(tex0, vec2(uv.x - 3.0 * b, uv.y)) * 0.10;\n"
    "    sum += texture2D(tex0, vec2(uv.x - 2.0 * b, uv.y)) * 0.12;\n"
    "    sum += texture2D(tex0, vec2(uv.x - 1.0 * b, uv.y)) * 0.15;\n"
    "    sum += texture2D(tex0, vec2(uv.x, uv.y)) * 0.16;\n"
    "    sum += texture2D(tex0, vec2(uv.x + 1.0 * b, uv.y)) * 0.15;\n"
    "    sum += texture2D(tex0, vec2(uv.x + 2.0 * b, uv.y)) * 0.12;\n"
    "    sum += texture2D(tex0, vec2(uv.x + 3.0 * b, uv.y)) * 0.10;\n"
    "    sum += texture2D(tex0, vec2(uv.x + 4.0 * b, uv.y)) * 0.08;\n"
    "    sum += texture2D(tex0, vec2(uv.x + 5.0 * b, uv.y)) * 0.06;\n"
    "    sum += texture2D(tex0, vec2(uv.x + 6.0 * b, uv.y)) * 0.03;\n"
    "    sum += texture2D(tex0, vec2(uv.x + 7.0 * b, uv.y)) * 0.02;\n"
    "    sum += texture2D(tex0, vec2(uv.x, uv.y - 4.0 * b)) * 0.05;\n"
    "    sum += texture2D(tex0, vec2(uv.x, uv.y - 3.0 * b)) * 0.09;\n"
    "    sum += texture2D(tex0, vec2(uv.x, uv.y - 2.0 * b)) * 0.12;\n"
    "    sum += texture2D(tex0, vec2(uv.x, uv.y - 1.0 * b)) * 0.15;\n"
    "    sum += texture2D(tex0, vec2(uv.x, uv.y)) * 0.16;\n"
    "    sum += texture2D(tex0, vec2(uv.x, uv.y + 1.0 * b)) * 0.15;\n"
    "    sum += texture2D(tex0, vec2(uv.x, uv.y + 2.0 * b)) * 0.12;\n"
    "    sum += texture2D(tex0, vec2(uv.x, uv.y + 3.0 * b)) * 0.09;\n"
    "    sum += texture2D(tex0, vec2(uv.x, uv.y + 4.0 * b)) * 0.05;\n"
    "    gl_FragColor = sum * 1.33;\n"
    "}\n";

// Created together by the first call that draws, kept until the program ends.
Shader* ms_arcShader = 0;
Shader* ms_blurShader = 0;
Framebuffer* ms_lightningFramebuffer = 0;
}

void drawLightning(int width, int height, float time, int segments, float intensity, float speed, float sync,
                   float red, float green, float blue, float alpha)
{
    // The arc needs at least one segment and a finite vertical range +-1/sync.
    const float halfRange = 1.0f / sync;
    if (segments <= 0 || !std::isfinite(halfRange))
        return;

    if (!ms_arcShader || !ms_blurShader) {
        ms_arcShader = new Shader(ARC_VERTEX_SHADER, ARC_FRAGMENT_SHADER);
        ms_blurShader = new Shader(BLUR_VERTEX_SHADER, BLUR_FRAGMENT_SHADER);
        ms_lightningFramebuffer = new Framebuffer(width, height);
        ms_lightningFramebuffer->addRenderTarget(GL_RGBA8);
    }

    ms_lightningFramebuffer->bind();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, -halfRange, halfRange, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLineWidth(16.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    ms_arcShader->bind();
    ms_arcShader->setUniform4f("color", red, green, blue, alpha);
    ms_arcShader->setUniform1f("intensity", intensity);
    ms_arcShader->setUniform1f("speed", speed);
    ms_arcShader->setUniform1f("sync", sync);
    ms_arcShader->setUniform1f("time", time);
    glBegin(GL_LINE_STRIP);
    forEachArcVertex(segments, [](float x) { glVertex3f(x, 0.0f, 0.0f); });
    glEnd();
    ms_arcShader->unbind();
    ms_lightningFramebuffer->unbind();

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    ms_blurShader->bind();
    ms_blurShader->setUniform1i("tex0", 0);
    ms_blurShader->setUniform1f("intensity", speed);
    RenderTarget* arcImage = ms_lightningFramebuffer->getRenderTarget(0);
    arcImage->bind(0);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(1.0f, -1.0f);
    glEnd();
    arcImage->unbind();
    ms_blurShader->unbind();
}
