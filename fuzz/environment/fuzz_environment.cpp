// Feeds arbitrary bytes to the environment parser, with and without the
// diagnostics sink, then drives the dispatch with clock readings taken from
// the input, so every parse and delivery path runs under the sanitizers.
#include "velt/environment.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>

namespace
{
struct CountingSink : VELT::ScriptDiagnostics
{
    std::size_t count = 0;
    void report(int line, Problem, const std::string& message) override { count += std::size_t(line) + message.size(); }
};

// Touches every cell as its widest member, so a cell read out of bounds shows.
struct CellReader : VELT::EventListener
{
    int64_t sum = 0;
    void onEvent(Event* event) override
    {
        for (const VELT::EventArg& arg : event->args)
            sum += arg.intValue;
        sum += int64_t(event->name.size());
    }
};
}

// Only the fuzzer calls this: the parser's console line would flood its log.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (!std::freopen("/dev/null", "w", stdout))
        return 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string script(reinterpret_cast<const char*>(data), size);

    std::istringstream plain(script);
    VELT::Environment silent(plain);

    CountingSink sink;
    std::istringstream checked(script);
    VELT::Environment environment(checked, &sink);

    CellReader reader;
    for (VELT::Asset* asset : environment.getAssets()) {
        environment.addListener(&reader, asset->name);
        silent.addListener(&reader, asset->path);
    }
    for (const char* name : {"A", "E", "V", "ColorLightning", "Sprite"}) {
        environment.addListener(&reader, name);
        silent.addListener(&reader, name);
    }

    const double clocks[] = {0.0, 0.5, std::nan(""), 12.0, 3.0, 1.0e6, -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::infinity()};
    for (double now : clocks) {
        environment.update(now);
        silent.update(now);
    }
    // A clock reading from the input's last bytes as well.
    if (size >= sizeof(double)) {
        double now = 0.0;
        std::memcpy(&now, data + size - sizeof(double), sizeof(double));
        environment.update(now);
    }
    return 0;
}
