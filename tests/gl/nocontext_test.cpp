#include "gltestsupport.h"

#include "gl/framebuffer.h"
#include "gl/rendertarget.h"
#include "gl/shader.h"
#include "gl/texture.h"
#include "support/childprocess.h"

#include <csignal>

// Without a context (and without a pack) the GL objects stop before any GL
// call; no display is needed to see it.
TEST(GlObjectsWithoutContext, stopWithTheirOwnMessage)
{
    const struct
    {
        std::function<void()> body;
        std::string source;
        std::string expression;
        std::string message;
    } cases[] = {
        {[] { Texture texture(reinterpret_cast<const unsigned char*>("x"), 1); }, "src/gl/texture.cpp",
         "Context::ms_context != 0", "Cannot create a texture with no context"},
        {[] { Texture texture("screen/01.png"); }, "src/gl/texture.cpp", "DD::Archive::ms_archive != 0",
         "No archive in memory, cannot load texture screen/01.png"},
        {[] { Shader shader("", ""); }, "src/gl/shader.cpp", "Context::ms_context != 0",
         "Cannot create a shader without any GL context."},
        {[] { Framebuffer framebuffer(4, 4); }, "src/gl/framebuffer.cpp", "Context::ms_context != 0",
         "Cannot use framebuffer: context not created"},
        {[] { RenderTarget target(4, 4, GL_RGBA8); }, "src/gl/rendertarget.cpp", "Context::ms_context != 0",
         "Cannot create a render target : no context created."},
    };
    for (const auto& c : cases) {
        const ChildResult result = runInChild(c.body);
        EXPECT_EQ(result.signal, SIGABRT);
        EXPECT_EQ(result.output, assertionText(c.expression, placeOf(c.source, "FATAL_ASSERT(" + c.expression),
                                               c.message));
    }
}
