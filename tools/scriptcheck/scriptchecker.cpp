#include "scriptchecker.h"

#include <algorithm>

ScriptChecker::ScriptChecker(const std::string& path)
    : m_path(path)
{
}

void ScriptChecker::report(int line, Problem, const std::string& message)
{
    m_findings.push_back({line, message});
}

std::size_t ScriptChecker::print(std::FILE* out) const
{
    // Some findings are only known later in the script (an unclosed section,
    // a declaration after its use); they still belong at their own line.
    std::vector<Finding> sorted = m_findings;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    for (const Finding& finding : sorted)
        std::fprintf(out, "%s:%d: %s\n", m_path.c_str(), finding.line, finding.message.c_str());
    return sorted.size();
}
