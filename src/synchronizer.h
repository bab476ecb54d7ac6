// A timing table loaded from a sync data file: tracks of sprite keys started
// by timed events, a step table of values and sixteen step tables of colours.
// A self-contained effect component; update hands out the keys that came due.
#pragma once

#include "syncdata.h"

#include <cstdint>
#include <list>
#include <string>
#include <vector>

namespace DD
{
class Sprite;
}

class Synchronizer
{
public:
    struct Key
    {
        DD::Sprite* sprite;
        int32_t param;
        int32_t value;  // the firing event's value (unused in a track's template)
        float time;     // absolute once scheduled; the offset in a track's template
    };

    typedef std::vector<Key> Track;

    struct Event
    {
        float time;
        int32_t value;
        const Track* track;
    };

    typedef SyncValueEntry ValueEntry;
    typedef SyncColorEntry ColorEntry;

    static const int CHANNELS = SyncData::CHANNELS;

    // Loads the file; a file that cannot be opened or is malformed stops the
    // program with a fatal assertion that names the file (and the line).
    explicit Synchronizer(const char* path);
    // Deletes the sprites it loaded: keys handed out point into them, so
    // they are valid only while the synchronizer lives (and need the GL context).
    ~Synchronizer();

    Synchronizer(const Synchronizer&) = delete;
    Synchronizer& operator=(const Synchronizer&) = delete;

    // The keys now due (t strictly past their time), in pending order.
    std::vector<Key> update(float t);
    // Step lookups: the last entry whose time is at or before t.
    int32_t valueAt(float t) const;
    ColorEntry colorAt(int channel, float t) const;

    // The sprites in file order, so a key's sprite can be named by its index.
    const std::vector<DD::Sprite*>& getSprites() const { return m_sprites; }

private:
    void build(const SyncData& data);

    std::list<Track> m_tracks;
    std::list<Event> m_events;
    std::vector<DD::Sprite*> m_sprites;
    std::vector<ValueEntry> m_values;
    std::vector<ColorEntry> m_colors[CHANNELS];
    std::list<Key> m_pendingKeys;
};
