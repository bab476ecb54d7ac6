#include "syncschedule.h"

#include <algorithm>
#include <cmath>

SyncSchedule::SyncSchedule(Synchronizer& sync, const SyncData& data)
    : m_sync(sync)
    , m_data(data)
{
}

float SyncSchedule::lastTime(const SyncData& data)
{
    float last = 0.0f;
    for (const SyncData::EventEntry& event : data.events) {
        float longest = 0.0f;
        for (const SyncData::KeyTemplate& key : data.tracks[event.track])
            longest = std::max(longest, key.offset);
        last = std::max(last, event.time + longest);
    }
    for (const SyncValueEntry& entry : data.values)
        last = std::max(last, entry.time);
    for (const std::vector<SyncColorEntry>& channel : data.colors) {
        for (const SyncColorEntry& entry : channel)
            last = std::max(last, entry.time);
    }
    return last;
}

int SyncSchedule::spriteIndex(const DD::Sprite* sprite) const
{
    const std::vector<DD::Sprite*>& sprites = m_sync.getSprites();
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        if (sprites[i] == sprite)
            return int(i);
    }
    return -1;
}

void SyncSchedule::print(std::FILE* out, float from, float to, float step)
{
    // Counted steps, so a long run does not drift by adding the step up.
    const long steps = long(std::floor((to - from) / step + 1e-4f));
    for (long i = 0; i <= steps; ++i) {
        const float t = from + float(i) * step;
        std::fprintf(out, "t=%.3f value=%d\n", t, m_sync.valueAt(t));
        for (const Synchronizer::Key& key : m_sync.update(t)) {
            const int sprite = spriteIndex(key.sprite);
            std::fprintf(out, "  key sprite=%d (%s) param=%d value=%d time=%.3f\n", sprite,
                         sprite >= 0 ? m_data.spriteNames[std::size_t(sprite)].c_str() : "?", key.param, key.value,
                         key.time);
        }
        for (int channel = 0; channel < Synchronizer::CHANNELS; ++channel) {
            if (m_data.colors[channel].empty())
                continue;
            const Synchronizer::ColorEntry c = m_sync.colorAt(channel, t);
            std::fprintf(out, "  colour %d = %.3f %.3f %.3f (from %.3f)\n", channel, c.red, c.green, c.blue, c.time);
        }
    }
}
