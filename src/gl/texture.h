// A 2D texture decoded from an encoded image (PNG and whatever else SOIL
// reads), by pack entry name or from bytes in memory. Sprites, the loading
// screen and the screen manager's overlays bind it to a unit for drawing.
#pragma once

#include <string>

class Texture
{
public:
    // Loads the pack entry named file (a loose file of that name first).
    explicit Texture(const char* file);
    // Loads the encoded image of size bytes at data.
    Texture(const unsigned char* data, int size);

    // Decodes and uploads, then samples nearest and repeats; false (and
    // m_id 0) when the image could not be decoded.
    bool loadFromMemory(const unsigned char* data, int size);

    // Binds to unit; a second bind before unbind changes nothing.
    void bind(int unit);
    // Unbinds from the unit of the binding; the active unit stays there.
    void unbind();

    // 1 selects linear filtering, anything else nearest. Call while unbound.
    void setFilter(int minFilter, int magFilter);
    // 0 selects clamping, anything else repeating. Call while unbound.
    void setWrap(int repeatS, int repeatT);

    unsigned int getId() const { return m_id; }

private:
    bool load(const unsigned char* data, int size, const std::string& what);

    bool m_bound;
    int m_unit;
    unsigned int m_id;
};
