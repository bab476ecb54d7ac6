// kvtcheck SCRIPT...: checks environment scripts with the demo's own parser.
// Exit status: 0 when no script has a finding, 1 when one has, 2 when a
// script cannot be opened or no script is named.
#include "scriptchecker.h"
#include "velt/environment.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SCRIPT...\n", argv[0]);
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in.is_open()) {
            std::fprintf(stderr, "%s: cannot open the script (the demo would run with an empty timeline)\n", argv[i]);
            status = 2;
            continue;
        }
        ScriptChecker checker(argv[i]);
        VELT::Environment environment(in, &checker);
        const std::size_t findings = checker.print(stdout);
        std::printf("%s: %zu finding%s\n", argv[i], findings, findings == 1 ? "" : "s");
        if (findings > 0 && status == 0)
            status = 1;
    }
    return status;
}
