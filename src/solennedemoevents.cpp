// The demo's reactions to the timeline: music, sprites on subscreens, the
// lightning arc and the end of the demo. Nothing is drawn here; the frame
// that delivered the event already draws the new state.
#include "solennedemo.h"

#include "base/console.h"
#include "dd/sprite.h"
#include "velt/environment.h"
#include "velt/music.h"

#include <cstring>

namespace
{
bool isLayer(int layer)
{
    return layer >= 0 && layer < SolenneDemo::MAX_SUBSCREENS;
}

// A script may declare an event with fewer parameters than the demo reads;
// such an event is ignored rather than read past its cells.
bool hasArgs(const VELT::Event& event, size_t count)
{
    return event.args.size() >= count;
}
}

DD::Sprite* SolenneDemo::spriteAt(int table) const
{
    if (table < 0 || static_cast<size_t>(table) >= m_spriteTables.size())
        return 0;
    return m_spriteTables[static_cast<size_t>(table)];
}

// "Sprite" and "SpriteNoAnim": layer, table, scale.
void SolenneDemo::placeSprite(const VELT::Event& event, float speed)
{
    if (!hasArgs(event, 3))
        return;
    const int layer = event.args[0].intValue;
    DD::Sprite* sprite = spriteAt(event.args[1].assetIndex);
    if (!isLayer(layer) || !sprite)
        return;
    m_layers[layer] = sprite;
    sprite->rewind();
    sprite->setSpeed(speed);
    sprite->setScale(event.args[2].floatValue);
}

void SolenneDemo::onEvent(VELT::Event* delivered)
{
    const VELT::Event& event = *delivered;
    const char* name = event.name.c_str();

    if (std::strcmp(name, "StartSong") == 0)
        m_music->play();

    if (std::strcmp(name, "DiscardSprite") == 0 && hasArgs(event, 1)) {
        const int layer = event.args[0].intValue;
        if (isLayer(layer))
            m_layers[layer] = 0;
    }

    if (std::strcmp(name, "Sprite") == 0)
        placeSprite(event, 1.0f);

    if (std::strcmp(name, "SpriteNoAnim") == 0)
        placeSprite(event, 0.0f);

    if (std::strcmp(name, "SpriteNoAnimOffset") == 0 && hasArgs(event, 4)) {
        const int layer = event.args[0].intValue;
        DD::Sprite* sprite = spriteAt(event.args[1].assetIndex);
        if (isLayer(layer) && sprite) {
            m_layers[layer] = sprite;
            sprite->rewind();
            sprite->setSpeed(0.0f);
            // A frame the sprite does not have is refused there: it stays on frame 0.
            sprite->setFrame(static_cast<unsigned>(event.args[3].intValue));
            sprite->setScale(event.args[2].floatValue);
        }
    }

    if (std::strcmp(name, "Exit") == 0) {
        Base::consoleLine("DEMO", "Demo has reached its end, exiting...");
        m_running = false;
    }

    // A layer outside 0-15 is kept: the frame then shows the lightning nowhere.
    if (std::strcmp(name, "ShowLightning") == 0 && hasArgs(event, 1))
        m_lightningLayer = event.args[0].intValue;

    if (std::strcmp(name, "HideLightning") == 0)
        m_lightningLayer = -1;

    if (std::strcmp(name, "SyncLightning") == 0 && hasArgs(event, 1))
        m_lightningSync = event.args[0].floatValue;

    if (std::strcmp(name, "ColorLightning") == 0 && hasArgs(event, 3)) {
        m_lightningColor[0] = event.args[0].floatValue;
        m_lightningColor[1] = event.args[1].floatValue;
        m_lightningColor[2] = event.args[2].floatValue;
    }
}
