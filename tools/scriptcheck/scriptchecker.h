// Collects what the environment parser reports about one script and prints
// it as "path:line: message", in line order. Used by the kvtcheck tool, so
// authors see exactly the lines the demo skips or reads unexpectedly.
#pragma once

#include "velt/scriptdiagnostics.h"

#include <cstdio>
#include <string>
#include <vector>

class ScriptChecker : public VELT::ScriptDiagnostics
{
public:
    explicit ScriptChecker(const std::string& path);

    void report(int line, Problem problem, const std::string& message) override;

    // Prints the findings; returns how many there were.
    std::size_t print(std::FILE* out) const;

private:
    struct Finding
    {
        int line;
        std::string message;
    };

    std::string m_path;
    std::vector<Finding> m_findings;
};
