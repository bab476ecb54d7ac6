// The three pictures of the loading screen: the monitor wall at night with
// its screens dark ("off"), the same wall with every screen lit and the neon
// title glowing ("on"), and the grey mask that lights the screens one after
// another while the sprites load, title first and the room last.
#pragma once

#include "canvas.h"

namespace LoadingPictures
{
Canvas off(int width, int height);
Canvas on(int width, int height);
Canvas mask(int width, int height);
}
