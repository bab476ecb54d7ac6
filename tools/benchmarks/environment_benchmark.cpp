// Measures the timeline environment: parse throughput on a generated script
// of some tens of MB mixing every section kind, and the cost of one update
// while a 60 Hz clock runs through timelines of 1,000 to 100,000 events.
#include "velt/environment.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>
#include <vector>
#include <sstream>
#include <string>

namespace
{
// Wall time and this process's CPU time: on a busy machine the second is the
// better measure of the code itself.
struct Stopwatch
{
    std::chrono::steady_clock::time_point wallStart = std::chrono::steady_clock::now();
    std::clock_t cpuStart = std::clock();

    double wallSeconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    }
    double cpuSeconds() const { return double(std::clock() - cpuStart) / CLOCKS_PER_SEC; }
};

const char* const DECLARATIONS =
    "# event types of every parameter kind\n"
    "begin event Sprite\nchar layer\nasset table\nfloat scale\nend\n"
    "begin event ScreenColor\nint screen\nfloat red\nfloat green\nfloat blue\nend\n"
    "begin event Flags\nbool on\nshort count\nint value\nend\n"
    "begin pattern flash\n0 ScreenColor {0} {1} {2} {3}\n0.5 ScreenColor {0} 0 0 0\n0.75 Flags true 12 {4}\nend\n";

// Assets, patterns and timeline sections repeated until the script reaches the wanted size.
std::string generateScript(std::size_t targetBytes)
{
    std::string script = DECLARATIONS;
    int block = 0;
    char line[160];
    while (script.size() < targetBytes) {
        script += "begin assets\n";
        for (int i = 0; i < 4; ++i) {
            std::snprintf(line, sizeof line, "texture sprite%d_%d sprites/sprite%d_%d.txt\n", block, i, block, i);
            script += line;
        }
        script += "end\n";
        std::snprintf(line, sizeof line, "begin pattern p%d\n0 Sprite {0} {1} 1.0\n0.25 Flags false {2} -7\nend\n",
                      block % 50);
        script += line;
        script += "begin global\n";
        for (int i = 0; i < 200; ++i) {
            const double t = block * 10.0 + i * 0.05;
            switch (i % 4) {
            case 0:
                std::snprintf(line, sizeof line, "%.3f event Sprite %d sprite%d_%d 0.5 # a sprite\n", t, i % 16,
                              block % 8, i % 4);
                break;
            case 1:
                std::snprintf(line, sizeof line, "%.3f event ScreenColor %d 0.25 0.5 0.75\n", t, i % 16);
                break;
            case 2:
                std::snprintf(line, sizeof line, "%.3f pattern flash %d 1 0.5 0.25 %d\n", t, i % 16, i);
                break;
            default:
                std::snprintf(line, sizeof line, "%.3f\tpattern\tp%d\t'A\tsprite0_1\t%d\n", t, block % 50, i);
                break;
            }
            script += line;
        }
        script += "end\n\n";
        ++block;
    }
    return script;
}

// Only event lines with three arguments: one event per line, no patterns.
std::string generateEventLines(std::size_t targetBytes)
{
    std::string script = DECLARATIONS;
    script += "begin assets\ntexture logo sprites/logo.txt\nend\nbegin global\n";
    char line[96];
    for (int i = 0; script.size() < targetBytes; ++i) {
        std::snprintf(line, sizeof line, "%.3f event Sprite %d logo 0.5 # a sprite\n", i * 0.01, i % 16);
        script += line;
    }
    return script + "end\n";
}

void measureParse(const char* label, const std::string& script)
{
    double bestWall = 1e30, bestCpu = 1e30;
    for (int run = 0; run < 3; ++run) {
        std::istringstream in(script);
        const Stopwatch stopwatch;
        VELT::Environment environment(in);
        bestWall = std::min(bestWall, stopwatch.wallSeconds());
        bestCpu = std::min(bestCpu, stopwatch.cpuSeconds());
    }
    const double megabytes = double(script.size()) / (1024.0 * 1024.0);
    std::printf("parse %s: %.1f MB script, best of 3: %.1f MB/s wall (%.3f s), %.1f MB/s cpu (%.3f s)\n", label, megabytes,
                megabytes / bestWall, bestWall, megabytes / bestCpu, bestCpu);
}

struct CountingListener : VELT::EventListener
{
    long delivered = 0;
    void onEvent(Event*) override { ++delivered; }
};

// shuffled: the lines in a random order, so the timeline is not in time order
// and every update has to look at most of it.
void measureUpdate(int eventCount, bool shuffled)
{
    // Events spread evenly over five minutes, named in turn for two listeners' names and one nobody hears.
    const double duration = 300.0;
    std::string script = "begin event A\nint\nend\nbegin event B\nfloat\nend\nbegin event C\nend\nbegin global\n";
    std::vector<int> order(eventCount);
    for (int i = 0; i < eventCount; ++i)
        order[i] = i;
    if (shuffled)
        std::shuffle(order.begin(), order.end(), std::mt19937(12345));
    char line[96];
    for (int i : order) {
        const char* names[] = {"A 1", "B 0.5", "C"};
        std::snprintf(line, sizeof line, "%.4f event %s\n", duration * i / eventCount, names[i % 3]);
        script += line;
    }
    script += "end\n";
    std::istringstream in(script);
    VELT::Environment environment(in);
    CountingListener listener;
    environment.addListener(&listener, "A");
    environment.addListener(&listener, "B");

    const double frame = 1.0 / 60.0;
    const int frames = int(duration / frame) + 2;
    const Stopwatch running;
    for (int f = 0; f < frames; ++f)
        environment.update(float(f * frame));
    const double perUpdateWall = running.wallSeconds() / frames * 1e6;
    const double perUpdateCpu = running.cpuSeconds() / frames * 1e6;

    // Once everything has fired, an update is the bare scan.
    const int idleFrames = 2000;
    const Stopwatch idle;
    for (int f = 0; f < idleFrames; ++f)
        environment.update(duration + 1.0 + f * frame);
    const double perIdleWall = idle.wallSeconds() / idleFrames * 1e6;
    const double perIdleCpu = idle.cpuSeconds() / idleFrames * 1e6;

    std::printf("update: %6d events%s, %d updates at 60 Hz (%ld deliveries): %.2f us wall, %.2f us cpu per update; "
                "after the end: %.2f us wall, %.2f us cpu\n",
                eventCount, shuffled ? " shuffled" : " in time order", frames, listener.delivered, perUpdateWall, perUpdateCpu, perIdleWall, perIdleCpu);
}
}

// "parse" as the only argument measures parsing alone (for a profiler).
int main(int argc, char** argv)
{
    measureParse("(every section kind, patterns)", generateScript(40u << 20));
    measureParse("(event lines only)", generateEventLines(40u << 20));
    if (argc > 1 && std::string(argv[1]) == "parse")
        return 0;
    for (bool shuffled : {false, true}) {
        for (int count : {1000, 10000, 100000})
            measureUpdate(count, shuffled);
    }
    return 0;
}
