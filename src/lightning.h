// The lightning arc: a horizontal line pinned at both ends that jitters by a
// noise on the graphics card, drawn sharp into a small framebuffer of its own
// and blurred into a glow over the subscreen being rendered. The runner calls
// it once a frame, in place of a sprite, for the lightning's subscreen.
#pragma once

// Segments beyond this are drawn as this many, so a huge count cannot stall a frame.
const int MAX_ARC_SEGMENTS = 4096;

// Preconditions: a subscreen framebuffer is bound and the clear colour is its
// own. On return that framebuffer is bound again, with no shader and no
// texture on unit 0. width and height size the arc's framebuffer on the
// first call only. Segments of 0 or less and a sync that gives no finite
// projection (0 among them) draw nothing.
void drawLightning(int width, int height, float time, int segments, float intensity, float speed, float sync,
                   float red, float green, float blue, float alpha);

// Calls emit(x) for each vertex of the arc's line strip: x from 0 in steps
// of 1/segments (single precision) while x <= 1, at most segments + 1 times.
template <typename Emit>
void forEachArcVertex(int segments, Emit emit)
{
    if (segments <= 0)
        return;
    if (segments > MAX_ARC_SEGMENTS)
        segments = MAX_ARC_SEGMENTS;
    const float step = 1.0f / static_cast<float>(segments);
    int emitted = 0;
    for (float x = 0.0f; x <= 1.0f && emitted <= segments; x += step, ++emitted)
        emit(x);
}
