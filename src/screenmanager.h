// The monitor wall: sixteen full-HD off-screen subscreens, composed each frame
// through the CRT shader into the current layout's rectangles and covered by
// its overlay. The runner draws into the subscreens and listens through it to
// the "ScreenColor" and "ScreenMode" events.
#pragma once

#include "velt/eventlistener.h"

class Framebuffer;
class Shader;
class Texture;

class ScreenManager final : public VELT::EventListener
{
public:
    static const unsigned MAX_SUBSCREENS = 16;

    ScreenManager(unsigned width, unsigned height);

    // Stores the mode as given; render() shows nothing for a mode outside 0-7.
    void setMode(int mode) { m_mode = mode; }
    int getMode() const { return m_mode; }

    // Makes subscreen subscreenId the drawing target, with a projection
    // centred on it, and clears it to its colour (which stays the clear colour).
    void beginSubscreen(unsigned subscreenId);
    void endSubscreen();

    // Draws the mode's subscreens through the CRT shader, then its overlay.
    void render(float time);

    // One textured quad in device coordinates, (0, 1) at the top-left corner.
    void drawQuad(float left, float top, float right, float bottom);

    // "ScreenColor" (id, red, green, blue) and "ScreenMode" (mode); an id
    // outside 0-15 or a mode outside 0-7 is ignored, like any other name.
    void onEvent(Event* event) override;

    // The subscreen's framebuffer (index = id) and its stored clear colour;
    // null and black for an id outside the table.
    Framebuffer* getFramebuffer(unsigned subscreenId) const;
    void getClearColor(unsigned subscreenId, float& red, float& green, float& blue) const;

private:
    ScreenManager(const ScreenManager&) = delete;
    ScreenManager& operator=(const ScreenManager&) = delete;

    int m_mode;
    Shader* m_shader;
    Framebuffer* m_framebuffers[MAX_SUBSCREENS];
    Framebuffer* m_currentFramebuffer;
    float m_clearColors[MAX_SUBSCREENS][3];
    unsigned m_width;
    unsigned m_height;
    Texture* m_overlays[8];
};
