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

// Every power of ten up to 10^22 is a double exactly (5^22 < 2^53).
const double EXACT_POWERS_OF_TEN[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
const int MAX_EXACT_POWER = 22;
const uint64_t MAX_EXACT_INTEGER = uint64_t(1) << 53;
const std::size_t MAX_COUNTED_DIGITS = 19;  // any 19 digits fit 64 bits

// The digits of a real without exponent, as an integer and the count of
// those after the point.
struct DecimalDigits
{
    uint64_t mantissa = 0;
    int fractionDigits = 0;
    std::size_t count = 0;
};

// A real without exponent whose digits and scale are exact doubles: one
// correctly rounded division gives the nearest double to the written value,
// which is what from_chars gives too. Returns false where that does not hold.
bool readExactly(const DecimalDigits& digits, bool negative, double& value)
{
    if (digits.count > MAX_COUNTED_DIGITS || digits.mantissa > MAX_EXACT_INTEGER ||
        digits.fractionDigits > MAX_EXACT_POWER)
        return false;
    value = double(digits.mantissa) / EXACT_POWERS_OF_TEN[digits.fractionDigits];
    if (negative)
        value = -value;
    return true;
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
    bool negative = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) {
        negative = word[i] == '-';
        ++i;
    }
    DecimalDigits digits;
    for (; i < word.size() && isDigit(word[i]); ++i, ++digits.count)
        digits.mantissa = digits.mantissa * 10 + uint64_t(word[i] - '0');
    if (i < word.size() && word[i] == '.') {
        ++i;
        for (; i < word.size() && isDigit(word[i]); ++i, ++digits.count, ++digits.fractionDigits)
            digits.mantissa = digits.mantissa * 10 + uint64_t(word[i] - '0');
    }
    if (digits.count == 0) {
        if (used)
            *used = 0;
        return 0.0;
    }
    bool hasExponent = false;
    // The exponent counts only when at least one digit follows it.
    if (i < word.size() && (word[i] == 'e' || word[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < word.size() && (word[j] == '+' || word[j] == '-'))
            ++j;
        if (j < word.size() && isDigit(word[j])) {
            while (j < word.size() && isDigit(word[j]))
                ++j;
            i = j;
            hasExponent = true;
        }
    }
    if (used)
        *used = i;

    double value = 0.0;
    if (!hasExponent && readExactly(digits, negative, value))
        return value;

    const char* begin = word.data();
    if (*begin == '+')
        ++begin;
    const std::from_chars_result result = std::from_chars(begin, word.data() + i, value);
    if (result.ec == std::errc::result_out_of_range) {
        // strtod saturates to an infinity or flushes to zero as the magnitude demands.
        const std::string number(begin, word.data() + i);
        value = std::strtod(number.c_str(), nullptr);
    }
    return value;
}
}
