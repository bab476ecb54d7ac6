#include "gltestsupport.h"

#include "gl/framebuffer.h"

#include <memory>

namespace
{
const Rgba RED = {255, 0, 0, 255}, GREEN = {0, 255, 0, 255}, BLUE = {0, 0, 255, 255}, YELLOW = {255, 255, 0, 255};

void clearTo(const Rgba& colour)
{
    glClearColor(colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

std::vector<GLint> viewport()
{
    std::vector<GLint> box(4, -1);
    glGetIntegerv(GL_VIEWPORT, box.data());
    return box;
}
}

// The window is cleared blue and each framebuffer to its own colour, so the
// pixel at the origin tells which one drawing goes to.
class FramebufferTest : public GlTest
{
protected:
    Framebuffer* filled(int width, int height, const Rgba& colour)
    {
        m_owned.emplace_back(new Framebuffer(width, height));
        Framebuffer* framebuffer = m_owned.back().get();
        framebuffer->addRenderTarget(GL_RGBA8);
        framebuffer->bind();
        clearTo(colour);
        framebuffer->unbind();
        return framebuffer;
    }

    void expectBound(Framebuffer* framebuffer, const Rgba& colour, int width, int height, int stackDepth)
    {
        EXPECT_EQ(Framebuffer::ms_currentFramebuffer, framebuffer);
        EXPECT_EQ(m_window.readPixel(0, 0), colour);
        EXPECT_EQ(viewport(), (std::vector<GLint>{0, 0, width, height}));
        EXPECT_EQ(integerState(GL_ATTRIB_STACK_DEPTH), stackDepth);
    }

    void SetUp() override { clearTo(BLUE); }

    // Destroyed before the window that holds their GL objects.
    std::vector<std::unique_ptr<Framebuffer>> m_owned;
};

TEST_F(FramebufferTest, attachesDepthTextureAndUpToFourRenderTargets)
{
    Framebuffer framebuffer(64, 32);
    EXPECT_EQ(integerState(GL_FRAMEBUFFER_BINDING), 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(framebuffer.addRenderTarget(i == 0 ? GL_RGBA8 : GL_RGBA16F));
    EXPECT_FALSE(framebuffer.addRenderTarget(GL_RGBA8));
    EXPECT_EQ(framebuffer.getRenderTarget(4), nullptr);
    EXPECT_EQ(Framebuffer::ms_currentFramebuffer, nullptr);
    EXPECT_EQ(Framebuffer::ms_previousFramebuffer, nullptr);
    EXPECT_EQ(integerState(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(integerState(GL_ATTRIB_STACK_DEPTH), 0);

    framebuffer.bind();
    EXPECT_EQ(attachedObject(GL_DEPTH_ATTACHMENT), static_cast<GLint>(framebuffer.getDepthTexture()));
    for (unsigned int i = 0; i < 4; ++i)
        EXPECT_EQ(attachedObject(GL_COLOR_ATTACHMENT0 + i),
                  static_cast<GLint>(framebuffer.getRenderTarget(i)->getTextureId()));
    EXPECT_EQ(attachedObject(GL_COLOR_ATTACHMENT0 + 4), 0);
    framebuffer.unbind();
    EXPECT_EQ(framebuffer.getRenderTarget(1)->getFormat(), GL_RGBA16F);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    Framebuffer single(8, 8);
    single.addRenderTarget(GL_RGBA8);
    EXPECT_NE(single.getRenderTarget(0), nullptr);
    EXPECT_EQ(single.getRenderTarget(1), nullptr);
}

TEST_F(FramebufferTest, drawsIntoARenderTargetThatCanBeSampled)
{
    Framebuffer* framebuffer = filled(64, 32, RED);
    expectBound(nullptr, BLUE, 1280, 720, 0);

    RenderTarget* target = framebuffer->getRenderTarget(0);
    target->bind(0);
    drawQuad(-1, -1, 1, 1, 0, 0, 1, 1);
    EXPECT_EQ(m_window.readPixel(640, 360), RED);
    target->unbind();
    EXPECT_EQ(textureOnUnit(0), 0);

    // An unbound render target's unbind selects no unit and unbinds nothing.
    target->bind(2);
    glActiveTexture(GL_TEXTURE1);
    target->unbind();
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE2);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, target->getTextureId());
    target->unbind();
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
    EXPECT_EQ(textureOnUnit(1), static_cast<GLint>(target->getTextureId()));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(FramebufferTest, unbindingTheInnerOfTwoRebindsTheOuter)
{
    Framebuffer* f = filled(64, 32, RED);
    Framebuffer* g = filled(16, 8, GREEN);
    f->bind();
    g->bind();
    expectBound(g, GREEN, 16, 8, 1);
    EXPECT_EQ(Framebuffer::ms_previousFramebuffer, f);
    g->unbind();
    expectBound(f, RED, 64, 32, 1);
    EXPECT_EQ(Framebuffer::ms_previousFramebuffer, nullptr);
    f->unbind();
    expectBound(nullptr, BLUE, 1280, 720, 0);
}

TEST_F(FramebufferTest, aThirdNestedFramebufferForgetsTheFirst)
{
    Framebuffer* f = filled(64, 32, RED);
    Framebuffer* g = filled(16, 8, GREEN);
    Framebuffer* h = filled(8, 4, YELLOW);
    f->bind();
    g->bind();
    h->bind();
    EXPECT_EQ(Framebuffer::ms_previousFramebuffer, g);
    h->unbind();
    expectBound(g, GREEN, 16, 8, 1);
    g->unbind();
    expectBound(nullptr, BLUE, 1280, 720, 0);
}

TEST_F(FramebufferTest, creatingOneInsideAnotherRestoresTheOuterOnItsFirstTarget)
{
    Framebuffer* s = filled(64, 32, RED);
    s->bind();
    Framebuffer inner(16, 8);
    EXPECT_EQ(Framebuffer::ms_currentFramebuffer, s);
    EXPECT_EQ(integerState(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_TRUE(inner.addRenderTarget(GL_RGBA8));
    expectBound(s, RED, 64, 32, 1);
    EXPECT_EQ(Framebuffer::ms_previousFramebuffer, nullptr);
    s->unbind();
    expectBound(nullptr, BLUE, 1280, 720, 0);
}

TEST_F(FramebufferTest, bindingTheCurrentOneAgainTakesOneMoreUnbind)
{
    Framebuffer* f = filled(64, 32, RED);
    f->bind();
    f->bind();
    expectBound(f, RED, 64, 32, 2);
    f->unbind();
    EXPECT_EQ(integerState(GL_ATTRIB_STACK_DEPTH), 1);
    f->unbind();
    EXPECT_EQ(integerState(GL_ATTRIB_STACK_DEPTH), 0);
    EXPECT_EQ(viewport(), (std::vector<GLint>{0, 0, 1280, 720}));
}
