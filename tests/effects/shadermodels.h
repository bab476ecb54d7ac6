// Small CPU versions of the demo's shaders, in single precision like the
// GPU, so GL tests can compare read-back pixels with what the maths says.
#pragma once

struct Colour
{
    float r, g, b;
};

float smoothstepModel(float edge0, float edge1, float x);

// The loading screen: weight of the off image for a mask value at a progress.
float loadingOffWeight(float progress, float mask);

// A texture of one solid colour, size width x height, sampled with linear
// filtering and GL_CLAMP wrapping (the border, black with alpha 0, blends in
// within half a texel of the edges) - the subscreens as the CRT pass reads them.
struct SolidClampTexture
{
    Colour colour;
    int width;
    int height;
    Colour sample(float s, float t) const;
};

// The CRT pass at texture coordinate (s, t) of a subscreen quad.
Colour crtModel(const SolidClampTexture& image, float s, float t, float time);

// The arc's vertical displacement at x (before the projection), as the
// arc vertex shader computes it.
float arcDeformModel(float x, float time);

// The blur pass over an even area: every tap reads the same value.
float blurOfEvenArea(float value);

// The blur pass at texture coordinate t over a picture whose rows are even
// (every horizontal tap reads sampleAt(t)), with the step b between taps.
float blurOfEvenRows(float (*sampleAt)(float t, const void* picture), const void* picture, float t, float step);
