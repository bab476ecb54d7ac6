// Test helpers: parse a script held in a string and record what the
// environment delivers, so the timeline is observed the way the demo sees it.
#pragma once

#include "velt/environment.h"

#include <memory>
#include <sstream>
#include <string>
#include <vector>

struct Recorder : VELT::EventListener
{
    std::vector<VELT::Event> seen;      // copies, as delivered
    std::vector<Event*> records;        // the environment's own records

    void onEvent(Event* event) override
    {
        seen.push_back(*event);
        records.push_back(event);
    }
};

inline std::unique_ptr<VELT::Environment> parseScript(const std::string& script,
                                                      VELT::ScriptDiagnostics* diagnostics = nullptr)
{
    std::istringstream in(script);
    return std::make_unique<VELT::Environment>(in, diagnostics);
}

// Every event from -1.0 on, in timeline order, for the given names.
inline std::vector<VELT::Event> timelineOf(VELT::Environment& environment, const std::vector<std::string>& names)
{
    Recorder recorder;
    for (const std::string& name : names)
        environment.addListener(&recorder, name);
    environment.update(1.0e30);
    return recorder.seen;
}

inline std::vector<VELT::Event> timelineOf(const std::string& script, const std::vector<std::string>& names)
{
    return timelineOf(*parseScript(script), names);
}
