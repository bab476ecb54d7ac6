#include "gl/context.h"

#include "base/assert.h"

#include <cstdio>
#include <cstdlib>

Context* Context::ms_context = 0;

namespace
{
// GLFW tells why it could not start or open the window only through this
// callback; its text names the cause (no display, invalid size, no GL 2.1).
void reportWindowLibraryError(int, const char* description)
{
    std::fprintf(stderr, "quillon: cannot open the demo window: %s\n", description);
    std::fflush(stderr);
}

// The cause has been reported by the callback; leave without a core dump.
[[noreturn]] void giveUp()
{
    glfwTerminate();
    std::exit(1);
}
}

Context::Context(const char* title, int width, int height, bool fullscreen)
    : m_window(0)
{
    FATAL_ASSERT(ms_context == 0, "An OpenGL context has already been opened.");
    ms_context = this;

    glfwSetErrorCallback(reportWindowLibraryError);
    if (!glfwInit())
        giveUp();

    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 1);
    glfwWindowHint(GLFW_RED_BITS, 8);
    glfwWindowHint(GLFW_GREEN_BITS, 8);
    glfwWindowHint(GLFW_BLUE_BITS, 8);
    glfwWindowHint(GLFW_ALPHA_BITS, 8);
    glfwWindowHint(GLFW_DEPTH_BITS, 8);
    glfwWindowHint(GLFW_STENCIL_BITS, 8);

    GLFWmonitor* monitor = fullscreen ? glfwGetPrimaryMonitor() : 0;
    m_window = glfwCreateWindow(width, height, title, monitor, 0);
    if (!m_window)
        giveUp();

    glfwSetWindowTitle(m_window, title);
    glfwMakeContextCurrent(m_window);
    // A short Escape tap between two polls must still be seen by glfwGetKey.
    glfwSetInputMode(m_window, GLFW_STICKY_KEYS, GLFW_TRUE);

    glewInit();
    glEnable(GL_TEXTURE_2D);
}

Context::~Context()
{
    FATAL_ASSERT(ms_context == this, "The ms_context variable has been tampered with...");
    glfwTerminate();
    ms_context = 0;
}

void Context::swapBuffers()
{
    glfwSwapBuffers(m_window);
    glfwPollEvents();
}

int Context::getFramebufferWidth() const
{
    int width = 0, height = 0;
    glfwGetFramebufferSize(m_window, &width, &height);
    return width;
}

int Context::getFramebufferHeight() const
{
    int width = 0, height = 0;
    glfwGetFramebufferSize(m_window, &width, &height);
    return height;
}
