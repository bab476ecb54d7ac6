// One asset of the environment script: a file the demo loads at start-up.
// The environment lists them in script order; timeline arguments of type
// asset refer to them by their position in that list.
#pragma once

#include <cstdint>
#include <string>

namespace VELT
{
enum AssetType : int32_t
{
    ASSET_MESH = 0,
    ASSET_SHADER = 1,
    ASSET_SOUND = 2,
    ASSET_TEXTURE = 3,
    ASSET_UNKNOWN = 255
};

struct Asset
{
    std::string path;
    std::string name;
    int32_t type = ASSET_UNKNOWN;
};
}
