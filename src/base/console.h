// Console lines of the demo and its framework: "P[" tag "] " text, newline,
// flushed at once, on standard output. Tags in use: "DEMO", "VELT::Environment".
#pragma once

#include <string>

namespace Base
{
void consoleLine(const char* tag, const std::string& text);
}
