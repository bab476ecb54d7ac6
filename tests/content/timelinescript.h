// A reader of the timeline script for the content tests: assets, declared
// event types, and every timed event with pattern instances expanded and
// placeholders filled in. It notes lines the demo's reader would skip or
// misread (undeclared names, missing or extra argument words), so the tests
// can insist that the real script has none.
#pragma once

#include <map>
#include <string>
#include <vector>

struct ScriptAsset
{
    std::string kind, name, path;
};

struct ScriptEvent
{
    double time;
    std::string name;
    std::vector<std::string> args; // argument words, placeholders filled in
    int line;                      // the timeline line it came from
    double lineTime;               // that line's own time (a pattern instance's start)
};

class TimelineScript
{
public:
    bool load(const std::string& path, std::string& why);

    std::vector<ScriptAsset> assets;
    std::map<std::string, std::vector<std::string>> eventTypes; // name -> parameter type words
    std::vector<ScriptEvent> events;                            // timeline order
    std::vector<std::string> problems;

    int assetIndex(const std::string& name) const;
    const std::string& typeOf(const std::string& event, size_t position) const;

private:
    struct PatternEvent
    {
        double time;
        std::string name;
        std::vector<std::string> words;
    };
    std::map<std::string, std::vector<PatternEvent>> m_patterns;
};
