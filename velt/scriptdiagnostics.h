// Where the environment parser tells about lines it skips or reads in a way a
// script author would not expect. The demo parses without one (silently);
// the script checker kvtcheck passes one, so it reports what the demo reads.
#pragma once

#include <string>

namespace VELT
{
class ScriptDiagnostics
{
public:
    enum Problem
    {
        UNKNOWN_SECTION,        // "begin" with a keyword that opens no section
        MISSING_WORDS,          // a line without the words its position needs; skipped
        STRAY_LINE,             // a line outside every section; ignored
        UNKNOWN_KIND,           // asset kind, parameter type or timeline kind not known
        UNDECLARED_EVENT_TYPE,  // an event name with no declaration at that point
        DECLARED_AFTER_USE,     // an event type or pattern that a skipped line used earlier
        UNDEFINED_PATTERN,      // a timeline line naming no defined pattern; skipped
        UNKNOWN_ASSET,          // an asset argument that resolves to -1
        TOO_FEW_ARGUMENTS,
        TOO_MANY_ARGUMENTS,
        PLACEHOLDER_OUT_OF_REACH,
        LINE_TOO_LONG,          // more than 254 bytes; skipped whole
        UNCLOSED_SECTION,       // the input ends inside a section
        EARLY_END,              // a line starting with the word "EOF": nothing after it is read
        VALUE_NOT_AS_WRITTEN    // a number or flag word that does not read as it looks
    };

    // line counts from 1, physical lines of the script.
    virtual void report(int line, Problem problem, const std::string& message) = 0;

protected:
    ~ScriptDiagnostics() = default;
};
}
