// How the environment script reads its number words: decimal integers and
// decimal reals, read as far as they fit their form (0 when nothing fits).
// Used by the environment parser for times and argument values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace VELT
{
class ScriptNumbers
{
public:
    // An optional sign, then decimal digits up to the first other byte.
    // Values beyond the signed 32-bit range saturate to INT32_MIN/INT32_MAX
    // (as the demo's original platform did); outOfRange tells when that happened.
    static int32_t readInteger(std::string_view word, std::size_t* used = nullptr, bool* outOfRange = nullptr);

    // An optional sign, digits with an optional decimal point, an optional
    // exponent. Too large magnitudes give an infinity, too small ones zero.
    static double readReal(std::string_view word, std::size_t* used = nullptr);
};
}
