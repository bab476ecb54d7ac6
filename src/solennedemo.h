// SolenneDemo is the demo itself: the entry point creates one and calls run,
// which opens the window, loads the content, plays the timeline until "Exit"
// or Escape, and takes everything down again.
#pragma once

class Context;

class SolenneDemo
{
public:
    SolenneDemo();

    void run(int width, int height, bool fullscreen);

private:
    // The content's three places in the run: after the window exists, once
    // per frame after the clock is read, and after the loop.
    void startContent(int width, int height);
    void drawContentFrame(float t, float previousFrameTime);
    void tearDownContent();

    // Ends the loop after the current frame when the viewer asks to leave.
    void checkForQuit(Context& context);

    bool m_running;
};
