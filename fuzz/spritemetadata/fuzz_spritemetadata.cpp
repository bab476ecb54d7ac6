// Feeds arbitrary bytes to the sprite metadata reader that DD::Sprite::load
// asserts on. It must never read outside the bytes, and whatever it accepts
// must be a sprite the drawing and timing code can use.
#include "dd/spritemetadata.h"

#include <cstdint>
#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DD::SpriteMetadata metadata;
    const bool accepted = metadata.parse(size ? data : 0, static_cast<unsigned>(size));
    if (!accepted) {
        if (metadata.getError().empty())
            __builtin_trap();
        return 0;
    }

    const size_t lineFeeds = static_cast<size_t>(std::count(data, data + size, '\n'));
    if (metadata.getColumns() == 0 || metadata.getRows() == 0 ||
        metadata.getImageName().size() > DD::SpriteMetadata::MAX_IMAGE_NAME_LENGTH ||
        metadata.getFrameCount() + 6 > lineFeeds)
        __builtin_trap();
    return 0;
}
