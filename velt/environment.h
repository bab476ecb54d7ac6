// The timeline environment: reads the environment script into assets, event
// types, patterns and the timeline, then delivers the timed events to the
// registered listeners as the demo clock passes them. Used by the demo's runner.
#pragma once

#include "velt/asset.h"
#include "velt/event.h"
#include "velt/eventlistener.h"
#include "velt/pattern.h"
#include "velt/scriptdiagnostics.h"

#include <istream>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace VELT
{
class Environment
{
public:
    // A file that cannot be opened gives an empty environment, silently.
    explicit Environment(const std::string& path);
    // diagnostics, when given, hears of every line the parser skips or reads unexpectedly.
    explicit Environment(std::istream& in, ScriptDiagnostics* diagnostics = nullptr);
    ~Environment();

    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    // A copy of the list; the records are the environment's own.
    std::vector<Asset*> getAssets() const;

    void addListener(EventListener* listener, const std::string& eventName);

    // Delivers, in timeline order, every event not yet fired whose time lies
    // in [previous now, now).
    void update(double now);

    static const int LINE_BUFFER_SIZE = 256;
    static const int MAX_LINE_LENGTH = 254;

private:
    // Where the line reader stands in the input: physical line number, the
    // lines it had to skip for their length, and the text of the line read last.
    struct LineCursor
    {
        int line = 0;
        std::vector<int> overlongLines;
        bool endOfInput = false;
        // Room for the longest line, a carriage return before its line feed,
        // and one byte more to tell an over-long line from one that fits.
        char text[LINE_BUFFER_SIZE + 1];
    };

    // Views into the cursor's text: valid until the next line is read.
    typedef std::vector<std::string_view> Words;
    typedef std::vector<int32_t> ParameterList;

    // One logical line as words; the single word "EOF" at the end of input.
    static void readTokens(std::istream& in, Words& words, LineCursor& cursor);

    void parse(std::istream& in);
    // Each section reader returns false when the input ended inside the section.
    bool parseAssets(std::istream& in);
    bool parseEventType(std::istream& in, const std::string& name);
    bool parsePattern(std::istream& in, const std::string& name);
    bool parseGlobal(std::istream& in);
    bool skipSection(std::istream& in);

    void nextLine(std::istream& in, Words& words);
    // The next line inside a section, or where the section (or the input) ended.
    enum SectionLine
    {
        SECTION_LINE,
        SECTION_END,
        INPUT_END
    };
    SectionLine nextSectionLine(std::istream& in, Words& words);
    bool endsSection(const Words& words, int openedAt);
    void addEvent(const Words& words, float lineTime);
    void addPatternInstance(const Words& words, float lineTime);
    void indexTimes();
    Event* newEvent();
    void addAsset(Asset* asset);
    EventArg convert(int32_t type, std::string_view word);
    int32_t findAsset(std::string_view name);
    std::map<std::string, ParameterList>::iterator findEventType(std::string_view name);
    std::map<std::string, Pattern*>::iterator findPattern(std::string_view name);
    void report(ScriptDiagnostics::Problem problem, const std::string& message);
    void report(int line, ScriptDiagnostics::Problem problem, const std::string& message);

    std::vector<Asset*> m_assets;
    std::vector<Event*> m_events;
    std::map<std::string, ParameterList> m_eventTypes;
    std::map<std::string, Pattern*> m_patterns;
    std::map<std::string, std::vector<EventListener*>> m_listeners;
    double m_lastTime;

    // Filled once after parsing, for the scan of every update: each event's
    // time in timeline order, the earliest time from each position to the
    // end, and the position before which every event has fired.
    std::vector<double> m_eventTimes;
    std::vector<double> m_earliestFrom;
    std::size_t m_firstUnfired;

    // The storage of the events m_events points to, allocated a block of
    // events at a time rather than one allocation per event.
    std::vector<std::unique_ptr<Event[]>> m_eventBlocks;
    std::size_t m_eventsLeftInBlock;

    // Parsing state; only meaningful inside the constructor.
    ScriptDiagnostics* m_diagnostics;
    LineCursor m_cursor;
    // Names that skipped lines used before their declaration, by first line of use.
    std::map<std::string, int> m_missingEventTypes;
    std::map<std::string, int> m_missingPatterns;
    // Reused for map look-ups by a word, so a look-up does not allocate.
    std::string m_lookupName;
    // Each asset name's first position in m_assets, which is what an asset
    // argument refers to.
    std::unordered_map<std::string, int32_t> m_assetIndex;
};
}
