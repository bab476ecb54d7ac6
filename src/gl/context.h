// The demo's one window and its OpenGL 2.1 context, as a scoped singleton.
// The runner creates it before anything touches GL and destroys it last;
// every GL object checks ms_context before it creates GL names.
#pragma once

#include "gl/glheaders.h"

class Context
{
public:
    Context(const char* title, int width, int height, bool fullscreen);
    ~Context();

    // Shows the frame just drawn, then processes pending window events
    // (which also refreshes the key state read with glfwGetKey).
    void swapBuffers();

    // For the runner's keyboard and close tests.
    GLFWwindow* getWindow() const { return m_window; }
    // The framebuffer the window really got (full-screen may differ from the request).
    int getFramebufferWidth() const;
    int getFramebufferHeight() const;

    static Context* ms_context;

private:
    GLFWwindow* m_window;
};
