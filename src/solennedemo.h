// SolenneDemo is the demo itself: the entry point creates one and calls run,
// which opens the window, loads the content behind the loading screen, plays
// the timeline until "Exit" or Escape, and takes everything down again. It
// also reacts to the timeline's sprite, lightning, music and exit events.
#pragma once

#include "screenmanager.h"
#include "velt/eventlistener.h"

#include <vector>

class Context;
namespace DD
{
class Archive;
class LoadingScreen;
class Sprite;
}
namespace VELT
{
class Environment;
class Music;
struct Asset;
}

class SolenneDemo : public VELT::EventListener
{
public:
    // One sprite layer per subscreen.
    static const int MAX_SUBSCREENS = ScreenManager::MAX_SUBSCREENS;

    SolenneDemo();

    void run(int width, int height, bool fullscreen);

    void onEvent(VELT::Event* event) override;

    // The loading screen's progress after sprite i of n has loaded.
    static float loadingProgress(int i, int n);

private:
    friend struct SolenneDemoProbe;

    // The content's three places in the run: after the window exists, once
    // per frame after the clock is read, and after the loop.
    void startContent(Context& context, int width, int height);
    void drawContentFrame(float t, float previousFrameTime);
    void tearDownContent();

    // Ends the loop after the current frame when the viewer asks to leave.
    void checkForQuit(Context& context);

    // The sprite for a table index, or null when the index names none.
    DD::Sprite* spriteAt(int table) const;
    void placeSprite(const VELT::Event& event, float speed);

    VELT::Music* m_music;
    std::vector<DD::Sprite*> m_spriteTables;
    DD::Sprite* m_layers[MAX_SUBSCREENS];
    float m_lightningColor[3];
    int m_lightningLayer;
    float m_lightningSync;
    bool m_running;

    // What the content holds for the duration of run.
    DD::Archive* m_archive;
    VELT::Environment* m_environment;
    std::vector<VELT::Asset*>* m_assets;
    DD::LoadingScreen* m_loadingScreen;
    ScreenManager* m_screenManager;
};
