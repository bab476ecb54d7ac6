#include "synchronizer.h"

#include "base/assert.h"
#include "dd/sprite.h"
#include "syncdataparser.h"

#include <cstdio>

namespace
{
std::string readWhole(std::FILE* f)
{
    std::string text;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, got);
    return text;
}
}

Synchronizer::Synchronizer(const char* path)
{
    const std::string cannotOpen = std::string("Could not open file \"") + path + "\" to read sync data.";
    std::FILE* f = std::fopen(path, "rb");
    FATAL_ASSERT(f, cannotOpen.c_str());
    const std::string text = readWhole(f);
    std::fclose(f);

    SyncData data;
    const std::string problem = SyncDataParser::parse(text, data);
    const std::string malformed = std::string("Malformed sync data file \"") + path + "\", " + problem + ".";
    FATAL_ASSERT(problem.empty(), malformed.c_str());
    build(data);
}

Synchronizer::~Synchronizer()
{
    for (DD::Sprite* sprite : m_sprites)
        delete sprite;
}

void Synchronizer::build(const SyncData& data)
{
    for (const std::string& name : data.spriteNames)
        m_sprites.push_back(DD::Sprite::load(name.c_str()));

    std::vector<const Track*> tracks;
    for (const std::vector<SyncData::KeyTemplate>& keys : data.tracks) {
        Track track;
        for (const SyncData::KeyTemplate& key : keys)
            track.push_back({m_sprites[key.sprite], key.param, 0, key.offset});
        m_tracks.push_back(track);
        tracks.push_back(&m_tracks.back());
    }
    for (const SyncData::EventEntry& event : data.events)
        m_events.push_back({event.time, event.value, tracks[event.track]});
    m_values = data.values;
    for (int channel = 0; channel < CHANNELS; ++channel)
        m_colors[channel] = data.colors[channel];
}

std::vector<Synchronizer::Key> Synchronizer::update(float t)
{
    for (auto event = m_events.begin(); event != m_events.end();) {
        if (!(t > event->time)) {
            ++event;
            continue;
        }
        for (const Key& key : *event->track)
            m_pendingKeys.push_back({key.sprite, key.param, event->value, event->time + key.time});
        event = m_events.erase(event);
    }

    std::vector<Key> due;
    for (auto key = m_pendingKeys.begin(); key != m_pendingKeys.end();) {
        if (t > key->time) {
            due.push_back(*key);
            key = m_pendingKeys.erase(key);
        } else {
            ++key;
        }
    }
    return due;
}

int32_t Synchronizer::valueAt(float t) const
{
    int32_t value = 0;
    for (const ValueEntry& entry : m_values) {
        if (!(t >= entry.time))
            break;
        value = entry.value;
    }
    return value;
}

Synchronizer::ColorEntry Synchronizer::colorAt(int channel, float t) const
{
    ColorEntry color = {0.0f, 0.0f, 0.0f, 0.0f};
    // A channel outside the sixteen tables has no entries.
    if (channel < 0 || channel >= CHANNELS)
        return color;
    for (const ColorEntry& entry : m_colors[channel]) {
        if (!(t >= entry.time))
            break;
        color = entry;
    }
    return color;
}
