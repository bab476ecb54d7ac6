// The program-wide fatal assertion: guards invariants everywhere in the demo,
// its framework and its tools. A failed check prints three lines on standard
// output (expression, place, message), each flushed, and aborts the process.
#pragma once

namespace Base
{
[[noreturn]] void failAssertion(const char* expression, const char* file, int line, const char* message);
}

// The place line shows __FILE__, which the build makes project-relative.
#define FATAL_ASSERT(expression, message)                                   \
    do {                                                                    \
        if (!(expression))                                                  \
            ::Base::failAssertion(#expression, __FILE__, __LINE__, message); \
    } while (0)
