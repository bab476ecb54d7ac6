#include "velt/environment.h"

#include "base/console.h"
#include "velt/scriptnumbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <limits>

namespace VELT
{
namespace
{
const char* const END_OF_INPUT = "EOF";
const std::size_t SCAN_BLOCK = 16;
const std::size_t EVENT_BLOCK_SIZE = 1024;

// How the word splitter sees each byte of a line.
enum ByteClass : unsigned char
{
    WORD_BYTE,
    BLANK,
    LINE_END  // a zero byte (also the line's terminator) or a comment's "#"
};

const std::array<unsigned char, 256> BYTE_CLASSES = [] {
    std::array<unsigned char, 256> classes{};
    classes[' '] = classes['\t'] = BLANK;
    classes['\0'] = classes['#'] = LINE_END;
    return classes;
}();

unsigned char classOf(const char* byte)
{
    return BYTE_CLASSES[static_cast<unsigned char>(*byte)];
}

// The words of a zero-terminated line, up to its end or its comment. A table
// look-up per byte keeps the scan to one test in each inner loop.
void splitWords(const char* line, std::vector<std::string_view>& words)
{
    const char* at = line;
    for (;;) {
        while (classOf(at) == BLANK)
            ++at;
        if (classOf(at) == LINE_END)
            return;
        const char* wordStart = at;
        while (classOf(at) == WORD_BYTE)
            ++at;
        words.emplace_back(wordStart, std::size_t(at - wordStart));
    }
}

bool isPlaceholder(std::string_view text)
{
    return !text.empty() && text[0] == '{';
}

// The one byte after "{" as a digit; any other byte (or none) counts as 0.
std::size_t placeholderPosition(std::string_view text)
{
    if (text.size() > 1 && text[1] >= '0' && text[1] <= '9')
        return std::size_t(text[1] - '0');
    return 0;
}

std::string quoted(std::string_view word)
{
    return "\"" + std::string(word) + "\"";
}
}

Environment::Environment(const std::string& path)
    : m_lastTime(-1.0)
    , m_firstUnfired(0)
    , m_eventsLeftInBlock(0)
    , m_diagnostics(nullptr)
{
    std::ifstream file(path);
    if (!file.is_open())
        return;
    parse(file);
    indexTimes();
}

Environment::Environment(std::istream& in, ScriptDiagnostics* diagnostics)
    : m_lastTime(-1.0)
    , m_firstUnfired(0)
    , m_eventsLeftInBlock(0)
    , m_diagnostics(diagnostics)
{
    parse(in);
    indexTimes();
    m_diagnostics = nullptr;
}

void Environment::indexTimes()
{
    m_eventTimes.resize(m_events.size());
    m_earliestFrom.resize(m_events.size());
    // A NaN time is never due, so it never lowers the earliest time.
    double earliest = std::numeric_limits<double>::infinity();
    for (std::size_t i = m_events.size(); i-- > 0;) {
        m_eventTimes[i] = m_events[i]->time;
        if (m_eventTimes[i] < earliest)
            earliest = m_eventTimes[i];
        m_earliestFrom[i] = earliest;
    }
}

Environment::~Environment()
{
    for (Asset* asset : m_assets)
        delete asset;
    for (auto& entry : m_patterns) {
        for (PatternEvent* patternEvent : entry.second->events)
            delete patternEvent;
        delete entry.second;
    }
}

std::vector<Asset*> Environment::getAssets() const
{
    return m_assets;
}

void Environment::addListener(EventListener* listener, const std::string& eventName)
{
    m_listeners[eventName].push_back(listener);
}

void Environment::update(double now)
{
    // One bad clock reading must not leave the window's start at NaN, which
    // would keep every later event from ever coming due.
    if (std::isnan(now))
        return;

    // Two shortcuts that deliver exactly what a scan of the whole timeline
    // would: events before the first unfired one are all spent, and the scan
    // ends where no later event's time lies before now.
    while (m_firstUnfired < m_events.size() && m_events[m_firstUnfired]->fired)
        ++m_firstUnfired;
    double windowStart = m_lastTime;
    const double* times = m_eventTimes.data();
    for (std::size_t i = m_firstUnfired; i < m_events.size();) {
        if (!(m_earliestFrom[i] < now))
            break;
        // Most of a timeline out of time order lies outside the window: rule
        // out whole blocks with a branch-free test before looking at events.
        const std::size_t blockEnd = std::min(i + SCAN_BLOCK, m_events.size());
        if (blockEnd - i == SCAN_BLOCK) {
            const double* block = times + i;
            int inWindow = 0;
            for (std::size_t j = 0; j < SCAN_BLOCK; ++j)
                inWindow |= int(windowStart <= block[j]) & int(block[j] < now);
            if (!inWindow) {
                i = blockEnd;
                continue;
            }
        }
        for (; i < blockEnd; ++i) {
            if (!(windowStart <= times[i] && times[i] < now))
                continue;
            Event* event = m_events[i];
            if (event->fired)
                continue;
            // Looked up again before every call: a listener may register more
            // listeners for this name from inside onEvent, and they get this event too.
            for (std::size_t k = 0;; ++k) {
                std::vector<EventListener*>& listeners = m_listeners[event->name];
                if (k >= listeners.size())
                    break;
                listeners[k]->onEvent(event);
            }
            event->fired = true;
            windowStart = m_lastTime;  // as the listeners left it
        }
    }
    m_lastTime = now;
}

void Environment::readTokens(std::istream& in, Words& words, LineCursor& cursor)
{
    char* const buffer = cursor.text;
    for (;;) {
        words.clear();
        in.getline(buffer, sizeof cursor.text);
        ++cursor.line;
        std::streamsize length = in.gcount();
        if (in.eof() || in.bad()) {
            // Also a last line without its line feed: it is not read.
            words.emplace_back(END_OF_INPUT);
            cursor.endOfInput = true;
            return;
        }
        if (in.fail()) {
            // No line feed within the buffer: skip the rest of the line and go on.
            in.clear();
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            cursor.overlongLines.push_back(cursor.line);
            if (in.eof()) {
                words.emplace_back(END_OF_INPUT);
                cursor.endOfInput = true;
                return;
            }
            continue;
        }
        --length;  // the line feed was consumed but not stored
        // CRLF scripts read like LF ones, as under the original platform's text mode.
        if (length > 0 && buffer[length - 1] == '\r')
            buffer[--length] = '\0';
        if (length > MAX_LINE_LENGTH) {
            cursor.overlongLines.push_back(cursor.line);
            continue;
        }

        splitWords(buffer, words);
        if (!words.empty())
            return;
    }
}

void Environment::nextLine(std::istream& in, Words& words)
{
    readTokens(in, words, m_cursor);
    for (int line : m_cursor.overlongLines)
        report(line, ScriptDiagnostics::LINE_TOO_LONG,
               "line longer than " + std::to_string(MAX_LINE_LENGTH) + " bytes; skipped");
    m_cursor.overlongLines.clear();
}

Environment::SectionLine Environment::nextSectionLine(std::istream& in, Words& words)
{
    nextLine(in, words);
    if (words[0] == "end")
        return SECTION_END;
    if (words[0] == END_OF_INPUT)
        return INPUT_END;
    return SECTION_LINE;
}

void Environment::parse(std::istream& in)
{
    Base::consoleLine("VELT::Environment", "Parsing environment from input stream");

    Words words;
    bool inStrayRun = false;
    for (;;) {
        nextLine(in, words);
        const std::string_view first = words[0];
        if (first == END_OF_INPUT) {
            if (!m_cursor.endOfInput)
                report(ScriptDiagnostics::EARLY_END, "the word \"EOF\" ends the script here; nothing after it is read");
            return;
        }
        if (first != "begin") {
            if (!inStrayRun)
                report(ScriptDiagnostics::STRAY_LINE,
                       "line outside any section; ignored, as are the lines after it up to the next \"begin\"");
            inStrayRun = true;
            continue;
        }
        inStrayRun = false;
        if (words.size() < 2) {
            report(ScriptDiagnostics::MISSING_WORDS, "\"begin\" without a section keyword; line skipped");
            continue;
        }

        // The section readers read further lines, which the words point into.
        const std::string keyword(words[1]);
        const int openedAt = m_cursor.line;
        bool complete = true;
        if (keyword == "assets") {
            complete = parseAssets(in);
        } else if (keyword == "pattern" || keyword == "event") {
            if (words.size() < 3) {
                report(ScriptDiagnostics::MISSING_WORDS,
                       "\"begin " + keyword + "\" without a name; the section is skipped");
                complete = skipSection(in);
            } else if (keyword == "pattern") {
                complete = parsePattern(in, std::string(words[2]));
            } else {
                complete = parseEventType(in, std::string(words[2]));
            }
        } else if (keyword == "global") {
            complete = parseGlobal(in);
        } else {
            report(ScriptDiagnostics::UNKNOWN_SECTION, "unknown section keyword " + quoted(keyword) + "; line ignored");
            continue;
        }
        // The end of input inside a section ends the section and the script.
        if (!complete) {
            report(openedAt, ScriptDiagnostics::UNCLOSED_SECTION,
                   "section " + quoted(keyword) + " is not closed by \"end\" before the end of input");
            if (!m_cursor.endOfInput)
                report(ScriptDiagnostics::EARLY_END, "the word \"EOF\" ends the script here; nothing after it is read");
            return;
        }
    }
}

bool Environment::skipSection(std::istream& in)
{
    Words words;
    while (nextSectionLine(in, words) == SECTION_LINE) {
    }
    return words[0] == "end";
}

bool Environment::parseAssets(std::istream& in)
{
    Words words;
    for (;;) {
        const SectionLine read = nextSectionLine(in, words);
        if (read != SECTION_LINE)
            return read == SECTION_END;
        if (words.size() < 3) {
            report(ScriptDiagnostics::MISSING_WORDS, "asset line needs kind, name and path; skipped");
            continue;
        }
        Asset* asset = new Asset;
        asset->type = ASSET_UNKNOWN;
        const std::string_view kind = words[0];
        if (kind == "texture")
            asset->type = ASSET_TEXTURE;
        else if (kind == "sound")
            asset->type = ASSET_SOUND;
        else if (kind == "shader")
            asset->type = ASSET_SHADER;
        else if (kind == "mesh")
            asset->type = ASSET_MESH;
        else
            report(ScriptDiagnostics::UNKNOWN_KIND, "unknown asset kind " + quoted(kind) + "; listed as unknown");
        asset->name = words[1];
        asset->path = words[2];
        addAsset(asset);
    }
}

bool Environment::parseEventType(std::istream& in, const std::string& name)
{
    const int declaredAt = m_cursor.line;
    ParameterList parameters;
    Words words;
    bool complete = true;
    for (;;) {
        const SectionLine read = nextSectionLine(in, words);
        if (read != SECTION_LINE) {
            complete = read == SECTION_END;
            break;
        }
        const std::string_view type = words[0];
        if (type == "bool")
            parameters.push_back(ARG_BOOL);
        else if (type == "char")
            parameters.push_back(ARG_CHAR);
        else if (type == "short")
            parameters.push_back(ARG_SHORT);
        else if (type == "int")
            parameters.push_back(ARG_INT);
        else if (type == "float")
            parameters.push_back(ARG_FLOAT);
        else if (type == "asset")
            parameters.push_back(ARG_ASSET);
        else
            report(ScriptDiagnostics::UNKNOWN_KIND, "unknown parameter type " + quoted(type) + "; no parameter added");
    }
    m_eventTypes[name] = parameters;

    auto missing = m_missingEventTypes.find(name);
    if (missing != m_missingEventTypes.end()) {
        report(declaredAt, ScriptDiagnostics::DECLARED_AFTER_USE,
               "event type " + quoted(name) + " is declared after line " + std::to_string(missing->second) +
                   " used it");
        m_missingEventTypes.erase(missing);
    }
    return complete;
}

bool Environment::parsePattern(std::istream& in, const std::string& name)
{
    const int definedAt = m_cursor.line;
    Pattern* pattern = new Pattern;
    pattern->name = name;
    Words words;
    bool complete = true;
    for (;;) {
        const SectionLine read = nextSectionLine(in, words);
        if (read != SECTION_LINE) {
            complete = read == SECTION_END;
            break;
        }
        if (words.size() < 2) {
            report(ScriptDiagnostics::MISSING_WORDS, "pattern line needs a time and an event name; skipped");
            continue;
        }
        const std::string_view eventName = words[1];
        const std::size_t argumentCount = words.size() - 2;
        auto type = findEventType(eventName);
        const std::size_t parameterCount = type == m_eventTypes.end() ? 0 : type->second.size();
        if (argumentCount > parameterCount) {
            report(ScriptDiagnostics::TOO_MANY_ARGUMENTS,
                   std::to_string(argumentCount) + " argument words for " + quoted(eventName) + ", which takes " +
                       std::to_string(parameterCount) + "; line skipped");
            continue;
        }
        if (type == m_eventTypes.end()) {
            // A name first used here counts as declared with no parameters from now on.
            report(ScriptDiagnostics::UNDECLARED_EVENT_TYPE,
                   "event type " + quoted(eventName) + " is not declared; taken as having no parameters");
            m_missingEventTypes.emplace(std::string(eventName), m_cursor.line);
            type = m_eventTypes.emplace(std::string(eventName), ParameterList()).first;
        }
        if (argumentCount < parameterCount)
            report(ScriptDiagnostics::TOO_FEW_ARGUMENTS,
                   std::to_string(argumentCount) + " argument words for " + quoted(eventName) + ", which takes " +
                       std::to_string(parameterCount) + "; its events carry only these");

        std::size_t used = 0;
        PatternEvent* patternEvent = new PatternEvent;
        patternEvent->time = ScriptNumbers::readReal(words[0], &used);
        if (used != words[0].size())
            report(ScriptDiagnostics::VALUE_NOT_AS_WRITTEN,
                   "time " + quoted(words[0]) + " reads as " + std::to_string(patternEvent->time));
        patternEvent->name = eventName;
        const ParameterList& parameters = type->second;
        patternEvent->args.reserve(argumentCount);
        for (std::size_t k = 2; k < words.size(); ++k) {
            const std::string_view text = words[k];
            if (isPlaceholder(text) && !(text.size() == 3 && text[1] >= '0' && text[1] <= '9' && text[2] == '}'))
                report(ScriptDiagnostics::VALUE_NOT_AS_WRITTEN,
                       "placeholder " + quoted(text) + " stands for argument " +
                           std::to_string(placeholderPosition(text)));
            patternEvent->args.push_back(PatternArg{parameters[k - 2], std::string(text)});
        }
        pattern->events.push_back(patternEvent);
    }

    auto earlier = m_patterns.find(name);
    if (earlier != m_patterns.end()) {
        for (PatternEvent* patternEvent : earlier->second->events)
            delete patternEvent;
        delete earlier->second;
        earlier->second = pattern;
    } else {
        m_patterns.emplace(name, pattern);
    }

    auto missing = m_missingPatterns.find(name);
    if (missing != m_missingPatterns.end()) {
        report(definedAt, ScriptDiagnostics::DECLARED_AFTER_USE,
               "pattern " + quoted(name) + " is defined after line " + std::to_string(missing->second) + " used it");
        m_missingPatterns.erase(missing);
    }
    return complete;
}

bool Environment::parseGlobal(std::istream& in)
{
    Words words;
    for (;;) {
        const SectionLine read = nextSectionLine(in, words);
        if (read != SECTION_LINE)
            return read == SECTION_END;
        if (words.size() < 2) {
            report(ScriptDiagnostics::MISSING_WORDS, "timeline line needs a time and a kind; skipped");
            continue;
        }
        const std::string_view kind = words[1];
        if (kind != "event" && kind != "pattern") {
            report(ScriptDiagnostics::UNKNOWN_KIND, "unknown timeline kind " + quoted(kind) + "; line ignored");
            continue;
        }
        if (words.size() < 3) {
            report(ScriptDiagnostics::MISSING_WORDS, "timeline " + std::string(kind) + " line without a name; skipped");
            continue;
        }
        std::size_t used = 0;
        const float lineTime = float(ScriptNumbers::readReal(words[0], &used));
        if (used != words[0].size())
            report(ScriptDiagnostics::VALUE_NOT_AS_WRITTEN,
                   "time " + quoted(words[0]) + " reads as " + std::to_string(lineTime));
        if (kind == "event")
            addEvent(words, lineTime);
        else
            addPatternInstance(words, lineTime);
    }
}

void Environment::addEvent(const Words& words, float lineTime)
{
    const std::string_view name = words[2];
    auto type = findEventType(name);
    if (type == m_eventTypes.end()) {
        report(ScriptDiagnostics::UNDECLARED_EVENT_TYPE,
               "event type " + quoted(name) + " is not declared at this point; line skipped");
        m_missingEventTypes.emplace(std::string(name), m_cursor.line);
        return;
    }
    const ParameterList& parameters = type->second;
    const std::size_t argumentCount = words.size() - 3;
    if (argumentCount < parameters.size()) {
        report(ScriptDiagnostics::TOO_FEW_ARGUMENTS,
               std::to_string(argumentCount) + " argument words for " + quoted(name) + ", which takes " +
                   std::to_string(parameters.size()) + "; line skipped");
        return;
    }
    if (argumentCount > parameters.size())
        report(ScriptDiagnostics::TOO_MANY_ARGUMENTS,
               std::to_string(argumentCount) + " argument words for " + quoted(name) + ", which takes " +
                   std::to_string(parameters.size()) + "; the rest are ignored");

    Event* event = newEvent();
    event->time = double(lineTime);
    event->name = name;
    event->fired = false;
    event->args.reserve(parameters.size());
    for (std::size_t i = 0; i < parameters.size(); ++i)
        event->args.push_back(convert(parameters[i], words[3 + i]));
    m_events.push_back(event);
}

void Environment::addPatternInstance(const Words& words, float lineTime)
{
    const std::string_view name = words[2];
    auto found = findPattern(name);
    if (found == m_patterns.end()) {
        report(ScriptDiagnostics::UNDEFINED_PATTERN, "pattern " + quoted(name) + " is not defined at this point; line skipped");
        m_missingPatterns.emplace(std::string(name), m_cursor.line);
        return;
    }
    const Pattern* pattern = found->second;

    // An instance is made whole or not at all.
    const std::size_t argumentCount = words.size() - 3;
    std::size_t reached = 0;
    for (const PatternEvent* patternEvent : pattern->events) {
        for (const PatternArg& arg : patternEvent->args) {
            if (!isPlaceholder(arg.text))
                continue;
            const std::size_t position = placeholderPosition(arg.text);
            if (position >= argumentCount) {
                report(ScriptDiagnostics::PLACEHOLDER_OUT_OF_REACH,
                       "pattern " + quoted(name) + " uses argument " + std::to_string(position) + " but the line has " +
                           std::to_string(argumentCount) + "; instance skipped");
                return;
            }
            reached = std::max(reached, position + 1);
        }
    }
    if (argumentCount > reached)
        report(ScriptDiagnostics::TOO_MANY_ARGUMENTS,
               std::to_string(argumentCount) + " argument words for pattern " + quoted(name) + ", which uses " +
                   std::to_string(reached) + "; the rest are ignored");

    for (const PatternEvent* patternEvent : pattern->events) {
        Event* event = newEvent();
        event->name = patternEvent->name;
        event->time = patternEvent->time + double(lineTime);
        event->fired = false;
        event->args.reserve(patternEvent->args.size());
        for (const PatternArg& arg : patternEvent->args) {
            const std::string_view text =
                isPlaceholder(arg.text) ? words[3 + placeholderPosition(arg.text)] : std::string_view(arg.text);
            event->args.push_back(convert(arg.type, text));
        }
        m_events.push_back(event);
    }
}

EventArg Environment::convert(int32_t type, std::string_view word)
{
    EventArg cell;
    cell.intValue = 0;
    std::size_t used = 0;
    bool outOfRange = false;
    switch (type) {
    case ARG_BOOL:
        cell.boolValue = word == "true";
        if (word != "true" && word != "false")
            report(ScriptDiagnostics::VALUE_NOT_AS_WRITTEN, "flag " + quoted(word) + " reads as false");
        return cell;
    case ARG_CHAR:
        if (!word.empty() && word[0] == '\'') {
            cell.charValue = int8_t(word.size() > 1 ? word[1] : 0);
        } else {
            const int32_t value = ScriptNumbers::readInteger(word, &used);
            cell.charValue = int8_t(uint8_t(uint32_t(value) & 0xFFu));
            if (used != word.size() || value < -128 || value > 255)
                report(ScriptDiagnostics::VALUE_NOT_AS_WRITTEN,
                       "char " + quoted(word) + " reads as " + std::to_string(cell.charValue));
        }
        return cell;
    case ARG_SHORT: {
        const int32_t value = ScriptNumbers::readInteger(word, &used);
        cell.shortValue = int16_t(uint16_t(uint32_t(value) & 0xFFFFu));
        if (used != word.size() || value < -32768 || value > 65535)
            report(ScriptDiagnostics::VALUE_NOT_AS_WRITTEN,
                   "short " + quoted(word) + " reads as " + std::to_string(cell.shortValue));
        return cell;
    }
    case ARG_INT:
        cell.intValue = ScriptNumbers::readInteger(word, &used, &outOfRange);
        if (used != word.size() || outOfRange)
            report(ScriptDiagnostics::VALUE_NOT_AS_WRITTEN,
                   "int " + quoted(word) + " reads as " + std::to_string(cell.intValue));
        return cell;
    case ARG_FLOAT:
        cell.floatValue = float(ScriptNumbers::readReal(word, &used));
        if (used != word.size())
            report(ScriptDiagnostics::VALUE_NOT_AS_WRITTEN,
                   "float " + quoted(word) + " reads as " + std::to_string(cell.floatValue));
        return cell;
    case ARG_ASSET:
        cell.assetIndex = findAsset(word);
        if (cell.assetIndex < 0)
            report(ScriptDiagnostics::UNKNOWN_ASSET,
                   "no asset named " + quoted(word) + " is listed before this line; index -1");
        return cell;
    default:
        return cell;
    }
}

Event* Environment::newEvent()
{
    if (m_eventsLeftInBlock == 0) {
        m_eventBlocks.emplace_back(new Event[EVENT_BLOCK_SIZE]);
        m_eventsLeftInBlock = EVENT_BLOCK_SIZE;
    }
    return &m_eventBlocks.back()[EVENT_BLOCK_SIZE - m_eventsLeftInBlock--];
}

void Environment::addAsset(Asset* asset)
{
    // A later asset of the same name does not replace the first in the index.
    m_assetIndex.emplace(asset->name, int32_t(m_assets.size()));
    m_assets.push_back(asset);
}

int32_t Environment::findAsset(std::string_view name)
{
    m_lookupName.assign(name);
    const auto found = m_assetIndex.find(m_lookupName);
    return found == m_assetIndex.end() ? -1 : found->second;
}

std::map<std::string, Environment::ParameterList>::iterator Environment::findEventType(std::string_view name)
{
    m_lookupName.assign(name);
    return m_eventTypes.find(m_lookupName);
}

std::map<std::string, Pattern*>::iterator Environment::findPattern(std::string_view name)
{
    m_lookupName.assign(name);
    return m_patterns.find(m_lookupName);
}

void Environment::report(ScriptDiagnostics::Problem problem, const std::string& message)
{
    report(m_cursor.line, problem, message);
}

void Environment::report(int line, ScriptDiagnostics::Problem problem, const std::string& message)
{
    if (m_diagnostics)
        m_diagnostics->report(line, problem, message);
}
}
