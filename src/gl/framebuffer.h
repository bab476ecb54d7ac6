// An off-screen drawing destination with a depth texture and up to four render
// targets, for the screen manager's subscreens and the lightning effect; one
// may be bound inside another, and unbinding the inner one rebinds the outer.
#pragma once

#include "gl/rendertarget.h"

class Framebuffer
{
public:
    static const unsigned int MAX_RENDER_TARGETS = 4;

    Framebuffer(int width, int height);
    ~Framebuffer();
    Framebuffer(const Framebuffer&) = delete;
    Framebuffer& operator=(const Framebuffer&) = delete;

    // Creates the next render target as the next colour attachment; false
    // once four are attached.
    bool addRenderTarget(int internalFormat);
    // Null when index is not below the number added.
    RenderTarget* getRenderTarget(unsigned int index);
    unsigned int getDepthTexture() const { return m_depthTexture; }

    // Draws into this framebuffer with the viewport at its size, suspending
    // the framebuffer bound before (only the last one is remembered).
    void bind();
    // Restores the viewport from before the bind and rebinds the suspended
    // framebuffer, if any.
    void unbind();

    static Framebuffer* ms_currentFramebuffer;
    static Framebuffer* ms_previousFramebuffer;

private:
    RenderTarget* m_targets[MAX_RENDER_TARGETS];
    unsigned int m_nTargets;
    int m_width;
    int m_height;
    unsigned int m_fbo;
    unsigned int m_depthTexture;
};
