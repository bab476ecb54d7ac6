// A flip-book animation whose frames are cells of one sprite table image,
// drawn centred in the shared sprite area. The demo loads one per asset of
// the script and draws it into its subscreen every frame.
#pragma once

#include "dd/spriteanimation.h"

class Texture;

namespace DD
{
class Sprite
{
public:
    // The drawing area of every sprite, in sprite-area units (640 x 480 in the demo).
    static void setSpriteArea(int width, int height);
    // Reads a metadata file from the archive; the caller owns the sprite.
    static Sprite* load(const char* metaDataFile);

    Sprite(const char* textureFile, unsigned columns, unsigned rows, unsigned width, unsigned height,
           unsigned frameCount, float frameDuration);
    // Draws from an existing texture, which stays the caller's.
    Sprite(Texture* texture, unsigned columns, unsigned rows, unsigned width, unsigned height,
           unsigned frameCount, float frameDuration);
    ~Sprite();

    void setPosition(int x, int y);
    void getPosition(int& x, int& y) const;
    void move(int dx, int dy);
    void setScale(float scale) { m_scale = scale; }
    void setSpeed(float speed) { m_animation.setSpeed(speed); }
    // An index past the last frame is refused with a console line.
    void setFrame(unsigned frame);
    void rewind() { m_animation.rewind(); }
    bool hasLooped() const { return m_animation.hasLooped(); }
    unsigned getFrame() const { return m_animation.getFrame(); }
    unsigned getFrameCount() const { return m_animation.getFrameCount(); }

    // Draws the current frame into the current draw buffer.
    void draw();
    // Advances by dt seconds; only the first update after a draw counts.
    void update(double dt) { m_animation.update(dt); }

    static int ms_spriteAreaWidth;
    static int ms_spriteAreaHeight;

private:
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    static void requireCells(unsigned columns, unsigned rows);
    void initialise(unsigned columns, unsigned rows, unsigned width, unsigned height);

    Texture* m_texture;
    bool m_ownsTexture;
    unsigned m_columns;
    unsigned m_rows;
    unsigned m_width;
    unsigned m_height;
    int m_x;
    int m_y;
    float m_cellWidth;
    float m_cellHeight;
    float m_scale;
    SpriteAnimation m_animation;
};
}
