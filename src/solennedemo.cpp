#include "solennedemo.h"

#include "base/console.h"
#include "gl/context.h"
#include "gl/projection.h"

SolenneDemo::SolenneDemo()
    : m_music(0)
    , m_layers()
    , m_lightningColor()
    , m_lightningLayer(-1)
    , m_lightningSync(0.1f)
    , m_running(false)
    , m_archive(0)
    , m_environment(0)
    , m_assets(0)
    , m_loadingScreen(0)
    , m_screenManager(0)
{
}

void SolenneDemo::run(int width, int height, bool fullscreen)
{
    Context* context = new Context("Solenne :: KVT at Corvanta 2012", width, height, fullscreen);

    startContent(*context, width, height);

    m_running = true;
    glfwSetTime(0.0);

    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);

    float previousFrameTime = 0.0f;
    while (m_running) {
        // Full-screen may give another size than asked for: draw into what the window got.
        glViewport(0, 0, context->getFramebufferWidth(), context->getFramebufferHeight());
        setWindowProjection(width, height);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

        const float t = static_cast<float>(glfwGetTime());
        drawContentFrame(t, previousFrameTime);

        checkForQuit(*context);
        context->swapBuffers();
        previousFrameTime = t;
    }

    Base::consoleLine("DEMO", ">>> DEMO ENDS NOW <<<");
    tearDownContent();
    delete context;
}

void SolenneDemo::checkForQuit(Context& context)
{
    if (glfwGetKey(context.getWindow(), GLFW_KEY_ESCAPE) == GLFW_PRESS)
        m_running = false;
    // Closing the window is the desktop's way of saying the same.
    if (glfwWindowShouldClose(context.getWindow()))
        m_running = false;
}
