#include "base/console.h"

#include <cstdio>

namespace Base
{
void consoleLine(const char* tag, const std::string& text)
{
    std::printf("P[%s] %s\n", tag, text.c_str());
    std::fflush(stdout);
}
}
