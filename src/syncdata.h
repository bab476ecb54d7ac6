// The contents of a sync data file, as read and checked by SyncDataParser:
// sprite names, tracks of key templates, events, the value table and the
// sixteen colour tables. The Synchronizer builds its schedule from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SyncValueEntry
{
    float time;
    int32_t value;
};

struct SyncColorEntry
{
    float red;
    float green;
    float blue;
    float time;
};

struct SyncData
{
    static const int CHANNELS = 16;

    struct KeyTemplate
    {
        std::size_t sprite;  // index into spriteNames
        int32_t param;
        float offset;        // seconds from the start of the track
    };

    struct EventEntry
    {
        std::size_t track;   // index into tracks
        int32_t value;
        float time;
    };

    std::vector<std::string> spriteNames;
    std::vector<std::vector<KeyTemplate>> tracks;
    std::vector<EventEntry> events;
    std::vector<SyncValueEntry> values;
    std::vector<SyncColorEntry> colors[CHANNELS];
};
