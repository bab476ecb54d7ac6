// Prints what a loaded Synchronizer hands out over a series of times: the
// keys that come due, the value, and the colour of every channel that has
// entries. Used by the kvtsync tool so authors can read a schedule.
#pragma once

#include "syncdata.h"
#include "synchronizer.h"

#include <cstdio>

class SyncSchedule
{
public:
    SyncSchedule(Synchronizer& sync, const SyncData& data);

    // The last time the file mentions (event plus its track's longest offset,
    // value and colour entries), so a default run covers the whole schedule.
    static float lastTime(const SyncData& data);

    void print(std::FILE* out, float from, float to, float step);

private:
    int spriteIndex(const DD::Sprite* sprite) const;

    Synchronizer& m_sync;
    const SyncData& m_data;
};
