// A reusable group of events defined in the environment script. The timeline
// instantiates it at a start time; its arguments stay text until then, so
// placeholders can take the instantiating line's words.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace VELT
{
struct PatternArg
{
    int32_t type = 0;   // the ArgType of the parameter at this position when the pattern was read
    std::string text;   // a literal word or a placeholder such as "{0}"
};

struct PatternEvent
{
    double time = 0.0;  // seconds from the pattern's start
    std::string name;
    std::vector<PatternArg> args;
};

struct Pattern
{
    std::string name;
    std::vector<PatternEvent*> events;
};
}
