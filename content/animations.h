// The demo's flip-book animations: for each, its sprite table layout, frame
// durations and the painter of its frames. The content generator writes them
// all; the loading screen's lit picture borrows single frames from them.
#pragma once

#include "spritesheet.h"

#include <vector>

struct Animation
{
    SpriteSheet sheet;
    SpriteSheet::FramePainter painter;
};

namespace Animations
{
// Every animation of the demo, in a fixed order.
std::vector<Animation> all();
}
