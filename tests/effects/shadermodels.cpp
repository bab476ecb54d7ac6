#include "shadermodels.h"

#include <algorithm>
#include <cmath>

float smoothstepModel(float edge0, float edge1, float x)
{
    const float t = std::min(std::max((x - edge0) / (edge1 - edge0), 0.0f), 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float loadingOffWeight(float p, float m)
{
    const float f1 = std::floor(smoothstepModel(p - 0.01f, p + 0.09f, m) * 1.1f);
    const float f2 = std::floor(smoothstepModel(p, p + 0.1f, m) * 1.1f) / 4.0f;
    const float f3 = std::floor(smoothstepModel(p + 0.01f, p + 0.11f, m) * 1.1f);
    return (f1 + f2 + f3) * 0.33f;
}

namespace
{
// Share of a linear sample along one axis that falls on real texels.
float insideWeight(float coordinate, int size)
{
    const float c = std::min(std::max(coordinate, 0.0f), 1.0f);
    const float u = c * size - 0.5f;
    const float i0 = std::floor(u);
    const float a = u - i0;
    float weight = 0.0f;
    if (i0 >= 0.0f && i0 < size)
        weight += 1.0f - a;
    if (i0 + 1.0f >= 0.0f && i0 + 1.0f < size)
        weight += a;
    return weight;
}

float fract(float v)
{
    return v - std::floor(v);
}

float mixModel(float a, float b, float t)
{
    return a + (b - a) * t;
}
}

Colour SolidClampTexture::sample(float s, float t) const
{
    const float w = insideWeight(s, width) * insideWeight(t, height);
    return {colour.r * w, colour.g * w, colour.b * w};
}

Colour crtModel(const SolidClampTexture& image, float s, float t, float time)
{
    const float tcx = s * 2.0f - 1.0f;
    const float tcy = t * 2.0f - 1.0f;
    float nx = mixModel(tcx, tcx / std::cos(tcy), 0.04f) * 0.5f + 0.5f;
    float ny = mixModel(tcy, tcy / std::cos(tcx), 0.04f) * 0.5f + 0.5f;

    Colour c = {0.0f, 0.0f, 0.0f};
    if (fract(nx) == nx && fract(ny) == ny) {
        c.r = image.sample(nx - 0.002f, ny).r;
        c.g = image.sample(nx, ny).g;
        c.b = image.sample(nx + 0.002f, ny).b;
        const float length = std::sqrt(0.2f * 0.2f + 0.5f * 0.5f + 0.3f * 0.3f);
        const float tint[3] = {0.2f / length, 0.5f / length, 0.3f / length};
        const float gs = 0.3f * c.r + 0.59f * c.g + 0.11f * c.b;
        float* channels[3] = {&c.r, &c.g, &c.b};
        for (int i = 0; i < 3; ++i)
            *channels[i] = mixModel(gs * mixModel(1.0f, tint[i], 0.65f), *channels[i], 0.9f);
    }
    const float flicker = 0.015f * std::sin(time * 80.0f);
    float s1 = std::sin(ny * 800.0f) * 0.5f + 0.5f;
    s1 = s1 * (0.2f + flicker) + (0.8f - flicker);
    float s2 = std::sin(ny * 8.0f + time) * 0.5f + 0.5f;
    s2 = smoothstepModel(0.05f, 0.15f, s2) * 0.1f + 0.9f;
    s1 *= s2;
    float v = std::max(std::sin(ny * 3.14f) * std::sin(nx * 3.14f), 0.0f);
    v = std::sqrt(std::sqrt(v)) * std::sqrt(std::sqrt(v)) * 0.8f + 0.2f;
    return {c.r * s1 * v, c.g * s1 * v, c.b * s1 * v};
}

namespace
{
float hashModel(float n)
{
    return fract(std::sin(n) * 43758.5453f);
}

float noiseModel(float px, float py, float pz)
{
    const float ix = std::floor(px), iy = std::floor(py), iz = std::floor(pz);
    float fx = px - ix, fy = py - iy, fz = pz - iz;
    fx = fx * fx * (3.0f - 2.0f * fx);
    fy = fy * fy * (3.0f - 2.0f * fy);
    fz = fz * fz * (3.0f - 2.0f * fz);
    const float n = ix + iy * 57.0f + 113.0f * iz;
    return mixModel(mixModel(mixModel(hashModel(n), hashModel(n + 1.0f), fx),
                             mixModel(hashModel(n + 57.0f), hashModel(n + 58.0f), fx), fy),
                    mixModel(mixModel(hashModel(n + 113.0f), hashModel(n + 114.0f), fx),
                             mixModel(hashModel(n + 170.0f), hashModel(n + 171.0f), fx), fy),
                    fz);
}
}

float arcDeformModel(float x, float time)
{
    const float envelope = std::sqrt(std::sin(x * 3.1415f));
    const float p = x * time * 1000.0f;
    const float deform = (noiseModel(p, p, p) * 2.0f - 1.0f) * 0.25f;
    return envelope * deform;
}

namespace
{
const float BLUR_HORIZONTAL[15] = {0.02f, 0.03f, 0.06f, 0.08f, 0.10f, 0.12f, 0.15f, 0.16f,
                                   0.15f, 0.12f, 0.10f, 0.08f, 0.06f, 0.03f, 0.02f};
const float BLUR_VERTICAL[9] = {0.05f, 0.09f, 0.12f, 0.15f, 0.16f, 0.15f, 0.12f, 0.09f, 0.05f};
}

float blurOfEvenRows(float (*sampleAt)(float t, const void* picture), const void* picture, float t, float step)
{
    float sum = 0.0f;
    for (float w : BLUR_HORIZONTAL)
        sum += sampleAt(t, picture) * w;
    for (int k = -4; k <= 4; ++k)
        sum += sampleAt(t + k * step, picture) * BLUR_VERTICAL[k + 4];
    return std::min(sum * 1.33f, 1.0f);
}

float blurOfEvenArea(float value)
{
    const float* horizontal = BLUR_HORIZONTAL;
    const float* vertical = BLUR_VERTICAL;
    float sum = 0.0f;
    for (int i = 0; i < 15; ++i)
        sum += value * horizontal[i];
    for (int i = 0; i < 9; ++i)
        sum += value * vertical[i];
    return std::min(sum * 1.33f, 1.0f);
}
