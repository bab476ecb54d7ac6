// Reader of the sprite metadata text: image name, grid, drawn size and frame
// durations, one value per line. DD::Sprite::load uses it; it touches no GL,
// so the format rules can be checked on their own.
#pragma once

#include <string>
#include <vector>

namespace DD
{
class SpriteMetadata
{
public:
    // The longest line the format allows, and the longest image name.
    static const unsigned MAX_LINE_LENGTH = 255;
    static const unsigned MAX_IMAGE_NAME_LENGTH = 254;

    SpriteMetadata();

    // Reads size bytes of metadata text. Never reads past them. False when the
    // text breaks the format; getError() then says why.
    bool parse(const unsigned char* data, unsigned size);

    const std::string& getImageName() const { return m_imageName; }
    unsigned getColumns() const { return m_columns; }
    unsigned getRows() const { return m_rows; }
    unsigned getWidth() const { return m_width; }
    unsigned getHeight() const { return m_height; }
    unsigned getFrameCount() const { return static_cast<unsigned>(m_frameDurations.size()); }
    const std::vector<float>& getFrameDurations() const { return m_frameDurations; }
    const std::string& getError() const { return m_error; }

    // The value readings of one line: leading blanks, a sign and digits (an
    // integer; a fraction and exponent too for a decimal), stopping at the
    // first other character; a line that does not start with a number is 0.
    static unsigned readInteger(const std::string& line);
    static float readDecimal(const std::string& line);

private:
    // Takes the next line-feed-terminated line from m_data, or fails with a
    // message naming the line that is missing.
    bool nextLine(std::string& line, const char* what);
    bool fail(const std::string& error);

    const unsigned char* m_data;
    unsigned m_size;
    unsigned m_position;
    unsigned m_lineNumber;

    std::string m_imageName;
    unsigned m_columns;
    unsigned m_rows;
    unsigned m_width;
    unsigned m_height;
    std::vector<float> m_frameDurations;
    std::string m_error;
};
}
