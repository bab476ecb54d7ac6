#include "velt/scriptnumbers.h"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <string>

namespace VELT
{
namespace
{
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
}

int32_t ScriptNumbers::readInteger(std::string_view word, std::size_t* used, bool* outOfRange)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) {
        negative = word[i] == '-';
        ++i;
    }
    const std::size_t firstDigit = i;
    // The magnitude stops growing just past 2^31: enough to know the value saturates.
    const int64_t beyond = int64_t(1) << 32;
    int64_t magnitude = 0;
    for (; i < word.size() && isDigit(word[i]); ++i) {
        if (magnitude < beyond)
            magnitude = magnitude * 10 + (word[i] - '0');
    }
    if (i == firstDigit)
        i = 0;
    if (used)
        *used = i;

    const int64_t lowest = std::numeric_limits<int32_t>::min();
    const int64_t highest = std::numeric_limits<int32_t>::max();
    const int64_t value = negative ? -magnitude : magnitude;
    if (outOfRange)
        *outOfRange = value < lowest || value > highest;
    if (value < lowest)
        return int32_t(lowest);
    if (value > highest)
        return int32_t(highest);
    return int32_t(value);
}

double ScriptNumbers::readReal(std::string_view word, std::size_t* used)
{
    std::size_t i = 0;
    if (i < word.size() && (word[i] == '+' || word[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; i < word.size() && isDigit(word[i]); ++i)
        ++digits;
    if (i < word.size() && word[i] == '.') {
        ++i;
        for (; i < word.size() && isDigit(word[i]); ++i)
            ++digits;
    }
    if (digits == 0) {
        if (used)
            *used = 0;
        return 0.0;
    }
    // The exponent counts only when at least one digit follows it.
    if (i < word.size() && (word[i] == 'e' || word[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < word.size() && (word[j] == '+' || word[j] == '-'))
            ++j;
        if (j < word.size() && isDigit(word[j])) {
            while (j < word.size() && isDigit(word[j]))
                ++j;
            i = j;
        }
    }
    if (used)
        *used = i;

    const char* begin = word.data();
    if (*begin == '+')
        ++begin;
    double value = 0.0;
    const std::from_chars_result result = std::from_chars(begin, word.data() + i, value);
    if (result.ec == std::errc::result_out_of_range) {
        // strtod saturates to an infinity or flushes to zero as the magnitude demands.
        const std::string number(begin, word.data() + i);
        value = std::strtod(number.c_str(), nullptr);
    }
    return value;
}
}
