// Feeds arbitrary bytes to the sync data reader. A well-formed file without
// sprites is then loaded by the Synchronizer itself and driven through
// update and the step lookups; a malformed one must come back as a message
// naming its line, never as a read out of bounds or an endless loop.
#include "syncdataparser.h"
#include "synchronizer.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    SyncData parsed;
    const std::string problem = SyncDataParser::parse(text, parsed);
    if (!problem.empty()) {
        if (problem.compare(0, 5, "line ") != 0)
            std::abort();
        return 0;
    }
    // Sprites need the pack and a GL context: those files stop at the reader.
    if (!parsed.spriteNames.empty())
        return 0;

    static const std::string path = "/tmp/fuzz_synchronizer_" + std::to_string(getpid()) + ".txt";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);

    Synchronizer sync(path.c_str());
    std::size_t seen = 0;
    for (float t : {-1.0f, 0.0f, 0.5f, 10.0f, 5.0f, 1.0e9f}) {
        seen += sync.update(t).size();
        seen += std::size_t(sync.valueAt(t));
        for (int channel = -1; channel <= Synchronizer::CHANNELS; ++channel)
            seen += std::size_t(sync.colorAt(channel, t).red > 0.5f);
    }
    if (seen == 0xFFFFFFFFu)
        std::puts("");
    return 0;
}
