#include "gl/framebuffer.h"

#include "base/assert.h"
#include "gl/context.h"
#include "gl/glheaders.h"

Framebuffer* Framebuffer::ms_currentFramebuffer = 0;
Framebuffer* Framebuffer::ms_previousFramebuffer = 0;

namespace
{
const GLint CLAMP = 0x2900;
// GL_CURRENT_BIT | GL_STENCIL_BUFFER_BIT | GL_VIEWPORT_BIT
const GLbitfield SAVED_ATTRIBUTES = 0x0C01;
}

Framebuffer::Framebuffer(int width, int height)
    : m_targets()
    , m_nTargets(0)
    , m_width(width)
    , m_height(height)
    , m_fbo(0)
    , m_depthTexture(0)
{
    FATAL_ASSERT(Context::ms_context != 0, "Cannot use framebuffer: context not created");

    // Bound directly: creating a framebuffer must not disturb the binding
    // statics, even while another framebuffer is current.
    glGenFramebuffers(1, &m_fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, m_fbo);

    glGenTextures(1, &m_depthTexture);
    glBindTexture(GL_TEXTURE_2D, m_depthTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, m_width, m_height, 0, GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE,
                 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, CLAMP);
    glBindTexture(GL_TEXTURE_2D, 0);

    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, m_depthTexture, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

Framebuffer::~Framebuffer()
{
    // A dangling binding static would be dereferenced by the next bind or
    // unbind of another framebuffer.
    if (ms_currentFramebuffer == this)
        unbind();
    if (ms_previousFramebuffer == this)
        ms_previousFramebuffer = 0;
    for (unsigned int i = 0; i < m_nTargets; ++i)
        delete m_targets[i];
    glDeleteFramebuffers(1, &m_fbo);
    glDeleteTextures(1, &m_depthTexture);
}

bool Framebuffer::addRenderTarget(int internalFormat)
{
    if (m_nTargets > 3)
        return false;
    RenderTarget* target = new RenderTarget(m_width, m_height, internalFormat);
    m_targets[m_nTargets] = target;

    bind();
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + m_nTargets, GL_TEXTURE_2D, target->getTextureId(),
                           0);
    unbind();

    ++m_nTargets;
    return true;
}

RenderTarget* Framebuffer::getRenderTarget(unsigned int index)
{
    return index < m_nTargets ? m_targets[index] : 0;
}

void Framebuffer::bind()
{
    if (ms_currentFramebuffer != 0 && ms_currentFramebuffer != this) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glPopAttrib();
        ms_previousFramebuffer = ms_currentFramebuffer;
    }
    ms_currentFramebuffer = this;
    glBindFramebuffer(GL_FRAMEBUFFER, m_fbo);
    glPushAttrib(SAVED_ATTRIBUTES);
    glViewport(0, 0, m_width, m_height);
}

void Framebuffer::unbind()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glPopAttrib();
    if (ms_previousFramebuffer == this)
        return;
    Framebuffer* suspended = ms_previousFramebuffer;
    ms_currentFramebuffer = suspended;
    ms_previousFramebuffer = 0;
    if (suspended != 0)
        suspended->bind();
}
