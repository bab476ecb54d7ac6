#include "noise.h"

#include <cmath>

namespace Noise
{
uint32_t hash(int32_t x, int32_t y, int32_t z)
{
    uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u ^
                 static_cast<uint32_t>(z) * 0xcb1ab31fu;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

float unit(int32_t x, int32_t y, int32_t z)
{
    return (hash(x, y, z) >> 8) * (1.0f / 16777216.0f);
}

namespace
{
int wrap(int v, int period)
{
    if (period <= 0)
        return v;
    int m = v % period;
    return m < 0 ? m + period : m;
}
}

float value(float x, float y, int seed, int periodX, int periodY)
{
    float fx = std::floor(x), fy = std::floor(y);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3.0f - 2.0f * tx);
    ty = ty * ty * (3.0f - 2.0f * ty);
    int x0 = wrap(ix, periodX), x1 = wrap(ix + 1, periodX);
    int y0 = wrap(iy, periodY), y1 = wrap(iy + 1, periodY);
    float a = unit(x0, y0, seed), b = unit(x1, y0, seed);
    float c = unit(x0, y1, seed), d = unit(x1, y1, seed);
    float top = a + (b - a) * tx;
    float bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float fractal(float x, float y, int seed, int periodX, int periodY)
{
    float sum = 0.0f, amplitude = 0.5f, total = 0.0f;
    for (int octave = 0; octave < 4; ++octave)
    {
        sum += value(x, y, seed + octave * 101, periodX, periodY) * amplitude;
        total += amplitude;
        x *= 2.0f;
        y *= 2.0f;
        periodX *= 2;
        periodY *= 2;
        amplitude *= 0.5f;
    }
    return sum / total;
}

uint32_t Random::next()
{
    m_state = m_state * 1664525u + 1013904223u;
    return m_state ^ (m_state >> 13);
}
}
