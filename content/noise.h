// Deterministic hashing and value noise for the generated pictures and the
// synthesizer: same inputs, same numbers, on every run.
#pragma once

#include <cstdint>

namespace Noise
{
// A well-mixed 32-bit hash of up to three integers.
uint32_t hash(int32_t x, int32_t y = 0, int32_t z = 0);

// hash mapped to [0, 1).
float unit(int32_t x, int32_t y = 0, int32_t z = 0);

// Smooth value noise in [0, 1); the lattice repeats every periodX cells along
// x and periodY along y (0: no repetition), so loops and tiles join up.
float value(float x, float y, int seed, int periodX = 0, int periodY = 0);

// Four octaves of value noise, [0, 1).
float fractal(float x, float y, int seed, int periodX = 0, int periodY = 0);

// A small linear congruential generator for sequences (stars, glitches).
class Random
{
public:
    explicit Random(uint32_t seed) : m_state(seed * 2654435761u + 1u) {}
    uint32_t next();
    float unit() { return (next() >> 8) * (1.0f / 16777216.0f); }
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }

private:
    uint32_t m_state;
};
}
