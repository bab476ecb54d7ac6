#include "base/assert.h"

#include <cstdio>
#include <cstdlib>

namespace Base
{
void failAssertion(const char* expression, const char* file, int line, const char* message)
{
    std::printf("ASSERTION \"%s\" FAILED\n", expression);
    std::fflush(stdout);
    std::printf("   * at:      %s:%d\n", file, line);
    std::fflush(stdout);
    std::printf("   * message: %s\n", message);
    std::fflush(stdout);
    std::abort();
}
}
