// What the demo's objects implement to react to the timeline: the environment
// calls onEvent with its own Event record for every registered name as the
// demo clock passes the event's time.
#pragma once

#include "velt/event.h"

namespace VELT
{
class EventListener
{
public:
    // Lets listeners outside the namespace name the record as the environment does.
    typedef VELT::Event Event;

    virtual void onEvent(Event* event) = 0;

protected:
    // Listeners are never destroyed through this class.
    ~EventListener() = default;
};
}
