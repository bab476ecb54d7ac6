// The demo's content: loading behind the loading screen, the per-frame
// composition of the sixteen subscreens, and the teardown after the loop.
#include "solennedemo.h"

#include "base/console.h"
#include "dd/archive.h"
#include "dd/loadingscreen.h"
#include "dd/sprite.h"
#include "gl/context.h"
#include "gl/projection.h"
#include "lightning.h"
#include "screenmanager.h"
#include "velt/environment.h"
#include "velt/music.h"

float SolenneDemo::loadingProgress(int i, int n)
{
    // With one asset this is 0 / 0; the loading screen stores a NaN as 0.
    return static_cast<float>(i) * 0.7f / static_cast<float>(n - 1);
}

void SolenneDemo::startContent(Context& context, int width, int height)
{
    m_archive = new DD::Archive("data/data.kvt");
    m_environment = new VELT::Environment("data/solenne.kvt");
    m_music = new VELT::Music("data/music.mp3");
    m_assets = new std::vector<VELT::Asset*>(m_environment->getAssets());

    setWindowProjection(width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    Base::consoleLine("DEMO", "======== Loading assets ========");
    m_loadingScreen = new DD::LoadingScreen("loadingscreen/img_off.png", "loadingscreen/img_on.png",
                                            "loadingscreen/mask.png");
    m_loadingScreen->draw();
    context.swapBuffers();

    const int n = static_cast<int>(m_assets->size());
    for (int i = 0; i < n; ++i) {
        m_spriteTables.push_back(DD::Sprite::load((*m_assets)[i]->path.c_str()));
        m_loadingScreen->setProgress(loadingProgress(i, n));
        m_loadingScreen->draw();
        context.swapBuffers();
    }

    m_screenManager = new ScreenManager(1920, 1080);
    m_screenManager->setMode(0);

    m_loadingScreen->setProgress(1.0f);
    m_loadingScreen->draw();
    context.swapBuffers();
    Base::consoleLine("DEMO", "======== Done loading assets ========");

    m_environment->addListener(m_screenManager, "ScreenColor");
    m_environment->addListener(m_screenManager, "ScreenMode");
    m_environment->addListener(this, "DiscardSprite");
    m_environment->addListener(this, "Sprite");
    m_environment->addListener(this, "SpriteNoAnim");
    m_environment->addListener(this, "SpriteNoAnimOffset");
    m_environment->addListener(this, "ShowLightning");
    m_environment->addListener(this, "HideLightning");
    m_environment->addListener(this, "SyncLightning");
    m_environment->addListener(this, "ColorLightning");
    m_environment->addListener(this, "StartSong");
    m_environment->addListener(this, "Exit");

    m_lightningSync = 0.1f;
    Base::consoleLine("DEMO", ">>> DEMO STARTS NOW <<<");
    DD::Sprite::setSpriteArea(640, 480);
    for (int s = 0; s < MAX_SUBSCREENS; ++s)
        m_layers[s] = 0;
    m_lightningLayer = -1;
}

void SolenneDemo::drawContentFrame(float t, float previousFrameTime)
{
    m_environment->update(static_cast<double>(t));

    for (int s = 0; s < MAX_SUBSCREENS; ++s) {
        m_screenManager->beginSubscreen(static_cast<unsigned>(s));
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (m_lightningLayer == s) {
            drawLightning(640, 480, t, 12, 10.0f, 10.0f, m_lightningSync, m_lightningColor[0], m_lightningColor[1],
                          m_lightningColor[2], 1.0f);
        } else if (m_layers[s]) {
            if (m_layers[s]->hasLooped()) {
                m_layers[s] = 0;
            } else {
                m_layers[s]->setPosition(0, 0);
                m_layers[s]->draw();
            }
        }
        m_screenManager->endSubscreen();
    }

    const double step = static_cast<double>(t) - static_cast<double>(previousFrameTime);
    for (int s = 0; s < MAX_SUBSCREENS; ++s) {
        if (m_layers[s])
            m_layers[s]->update(step);
    }

    m_screenManager->render(t);
}

void SolenneDemo::tearDownContent()
{
    delete m_loadingScreen;
    m_loadingScreen = 0;
    delete m_assets;
    m_assets = 0;
    delete m_environment;
    m_environment = 0;
    delete m_archive;
    m_archive = 0;
}
