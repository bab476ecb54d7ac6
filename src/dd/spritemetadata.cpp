#include "dd/spritemetadata.h"

#include <cctype>
#include <cstddef>
#include <climits>
#include <cstdlib>

namespace DD
{
SpriteMetadata::SpriteMetadata()
    : m_data(0)
    , m_size(0)
    , m_position(0)
    , m_lineNumber(0)
    , m_columns(0)
    , m_rows(0)
    , m_width(0)
    , m_height(0)
{
}

bool SpriteMetadata::parse(const unsigned char* data, unsigned size)
{
    m_data = data;
    m_size = data ? size : 0;
    m_position = 0;
    m_lineNumber = 0;
    m_frameDurations.clear();
    m_error.clear();

    std::string line;
    if (!nextLine(line, "the image name"))
        return false;
    if (line.size() > MAX_IMAGE_NAME_LENGTH)
        return fail("the image name on line 1 is longer than 254 characters");
    m_imageName = line;

    unsigned* const gridValues[] = {&m_columns, &m_rows, &m_width, &m_height};
    const char* const gridNames[] = {"the column count", "the row count", "the frame width", "the frame height"};
    for (unsigned i = 0; i < 4; ++i) {
        if (!nextLine(line, gridNames[i]))
            return false;
        *gridValues[i] = readInteger(line);
    }
    if (m_columns == 0 || m_rows == 0)
        return fail("the sprite table needs at least one column and one row");

    if (!nextLine(line, "the frame count"))
        return false;
    const unsigned frameCount = readInteger(line);

    // Durations are collected as they are found, so a huge count in a short
    // file fails at its end instead of allocating for frames that are not there.
    for (unsigned i = 0; i < frameCount; ++i) {
        if (!nextLine(line, "a frame duration"))
            return false;
        m_frameDurations.push_back(readDecimal(line));
    }
    return true;
}

bool SpriteMetadata::nextLine(std::string& line, const char* what)
{
    const unsigned lineNumber = m_lineNumber + 1;
    unsigned end = m_position;
    while (end < m_size && m_data[end] != '\n')
        ++end;
    if (end >= m_size) {
        const bool unterminated = end > m_position;
        return fail("line " + std::to_string(lineNumber) + " (" + what + ") " +
                    (unterminated ? "does not end with a line feed" : "is missing: the text ends before it"));
    }
    if (end - m_position > MAX_LINE_LENGTH)
        return fail("line " + std::to_string(lineNumber) + " (" + what + ") is longer than 255 characters");

    line.assign(reinterpret_cast<const char*>(m_data + m_position), end - m_position);
    m_position = end + 1;
    m_lineNumber = lineNumber;
    return true;
}

bool SpriteMetadata::fail(const std::string& error)
{
    m_error = error;
    return false;
}

unsigned SpriteMetadata::readInteger(const std::string& line)
{
    // c_str() stops at an embedded NUL, as a C reading of the line would.
    long value = std::strtol(line.c_str(), 0, 10);
    // Out-of-range numbers saturate at the int limits; a negative count
    // becomes a huge unsigned value, which the line count then rejects.
    if (value > INT_MAX)
        value = INT_MAX;
    if (value < INT_MIN)
        value = INT_MIN;
    return static_cast<unsigned>(static_cast<int>(value));
}

float SpriteMetadata::readDecimal(const std::string& line)
{
    // Only the plain decimal form is taken: strtod alone would also accept
    // "inf", "nan" and hexadecimal, which a duration line never means.
    const char* text = line.c_str();
    std::size_t i = 0;
    while (std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    const std::size_t start = i;
    if (text[i] == '+' || text[i] == '-')
        ++i;
    std::size_t digits = 0;
    while (std::isdigit(static_cast<unsigned char>(text[i])))
        ++i, ++digits;
    if (text[i] == '.') {
        ++i;
        while (std::isdigit(static_cast<unsigned char>(text[i])))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0.0f;
    if (text[i] == 'e' || text[i] == 'E') {
        std::size_t exponent = i + 1;
        if (text[exponent] == '+' || text[exponent] == '-')
            ++exponent;
        if (std::isdigit(static_cast<unsigned char>(text[exponent]))) {
            while (std::isdigit(static_cast<unsigned char>(text[exponent])))
                ++exponent;
            i = exponent;
        }
    }
    return static_cast<float>(std::strtod(std::string(text + start, i - start).c_str(), 0));
}
}
