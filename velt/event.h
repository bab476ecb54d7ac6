// One timed event of the timeline, the record the environment hands to its
// listeners, with its argument cells. Listeners read `args` by position and
// pick the member that the event type declares at that position.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace VELT
{
enum ArgType : int32_t
{
    ARG_BOOL = 1,
    ARG_CHAR = 2,
    ARG_SHORT = 4,
    ARG_INT = 8,
    ARG_FLOAT = 16,
    ARG_ASSET = 32
};

// One 32-bit cell; it does not record which member is meaningful.
union EventArg
{
    bool boolValue;
    int8_t charValue;
    int16_t shortValue;
    int32_t intValue;
    float floatValue;
    int32_t assetIndex;
};
static_assert(sizeof(EventArg) == 4, "an argument cell is 32 bits");

struct Event
{
    double time = 0.0;
    std::string name;
    std::vector<EventArg> args;
    bool fired = false;  // set once delivered and never cleared: update skips spent events by it
};
}
