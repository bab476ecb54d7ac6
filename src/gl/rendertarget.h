// A colour texture of fixed size and internal format that a Framebuffer
// draws into and that effects then sample from a texture unit. Framebuffer
// creates and owns its render targets.
#pragma once

class RenderTarget
{
public:
    // Unsigned bytes for GL_RGBA8, floats for any other internal format.
    RenderTarget(int width, int height, int internalFormat);
    ~RenderTarget();
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    unsigned int getTextureId() const { return m_texture; }
    int getFormat() const { return m_format; }

    // Makes the texture current on unit; the active unit stays there.
    void bind(int unit);
    // Undoes the last bind; does nothing when not bound.
    void unbind();

    static const int NOT_BOUND = 2147483647;

private:
    int m_format;
    int m_width;
    int m_height;
    unsigned int m_texture;
    int m_unit;
};
