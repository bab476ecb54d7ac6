// kvtsync SYNCFILE [--pack PACK] [--from T] [--to T] [--step DT]
// Loads a sync data file as the demo would and prints, at each time from
// --from (0) to --to (one step past the file's last time) in steps of --step (0.5 s), the
// value, the keys handed out and the colour of each used channel. A file that
// lists sprites needs the pack (default data/data.kvt) and a display, since
// sprites are GL textures. Exit status: 0, 1 for a malformed file, 2 for usage.
#include "dd/archive.h"
#include "gl/context.h"
#include "syncdataparser.h"
#include "syncschedule.h"
#include "synchronizer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace
{
int usage(const char* program)
{
    std::fprintf(stderr, "usage: %s SYNCFILE [--pack PACK] [--from T] [--to T] [--step DT]\n", program);
    return 2;
}
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage(argv[0]);
    const char* path = argv[1];
    std::string pack = "data/data.kvt";
    float from = 0.0f;
    float to = -1.0f;
    float step = 0.5f;
    for (int i = 2; i < argc; ++i) {
        if (i + 1 >= argc)
            return usage(argv[0]);
        const std::string option = argv[i];
        const char* value = argv[++i];
        if (option == "--pack")
            pack = value;
        else if (option == "--from")
            from = std::strtof(value, nullptr);
        else if (option == "--to")
            to = std::strtof(value, nullptr);
        else if (option == "--step")
            step = std::strtof(value, nullptr);
        else
            return usage(argv[0]);
    }
    if (!(step > 0.0f))
        return usage(argv[0]);

    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        std::fprintf(stderr, "%s: cannot open the sync data file\n", path);
        return 2;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SyncData data;
    const std::string problem = SyncDataParser::parse(text, data);
    if (!problem.empty()) {
        std::printf("%s: %s\n", path, problem.c_str());
        return 1;
    }
    if (!(to >= from))
        to = std::max(from, SyncSchedule::lastTime(data) + step);  // a key is due only after its time

    std::unique_ptr<Context> context;
    std::unique_ptr<DD::Archive> archive;
    if (!data.spriteNames.empty()) {
        context.reset(new Context("kvtsync", 64, 64, false));
        archive.reset(new DD::Archive(pack.c_str()));
    }
    std::printf("%s: %zu sprites, %zu tracks, %zu events, %zu values\n", path, data.spriteNames.size(),
                data.tracks.size(), data.events.size(), data.values.size());
    for (std::size_t i = 0; i < data.spriteNames.size(); ++i)
        std::printf("  sprite %zu: %s\n", i, data.spriteNames[i].c_str());
    {
        Synchronizer sync(path);
        SyncSchedule(sync, data).print(stdout, from, to, step);
    }
    return 0;
}
