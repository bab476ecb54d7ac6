// The whole demo as a viewer runs it: the real program under Xvfb, on the
// real pack and music, with a short timeline that uses every event kind and
// ends with "Exit". Checks the console, the exit status and one frame.
#include "screenlayout.h"
#include "support/childprocess.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
const int WIDTH = 1280;
const int HEIGHT = 720;

// A working folder holding data/ as the demo expects it.
std::string prepareRunFolder()
{
    const std::string folder = std::string(SOLENNE_BINARY_DIR) + "/tests/demo/run";
    const std::string data = folder + "/data";
    std::system(("rm -rf '" + folder + "' && mkdir -p '" + data + "'").c_str());
    for (const char* name : {"data.kvt", "music.mp3"})
        EXPECT_EQ(symlink((std::string(SOLENNE_BINARY_DIR) + "/data/" + name).c_str(), (data + "/" + name).c_str()), 0);
    std::ofstream(data + "/solenne.kvt") << readFile(std::string(SOLENNE_SOURCE_DIR) + "/tests/demo/data/shortrun.kvt");
    return folder;
}

std::string shaderLogs()
{
    return "Vtx Shader info log: \nFrag Shader info log: \nProgram info log: \n";
}

// The top-left WIDTH x HEIGHT of the screen, row 0 at the top, RGB.
std::vector<unsigned char> grabWindow(const std::string& pngPath)
{
    const std::string raw = pngPath + ".rgb";
    const std::string crop = std::to_string(WIDTH) + "x" + std::to_string(HEIGHT) + "+0+0";
    const std::string command = "xwd -root -silent | convert xwd:- -crop " + crop + " +repage -write '" + pngPath +
                                "' -depth 8 rgb:'" + raw + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    const std::string bytes = readFile(raw);
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

struct Average
{
    double r = 0, g = 0, b = 0;
};

// The mean colour of a 9 x 9 block around a point given in device coordinates.
Average sampleAt(const std::vector<unsigned char>& rgb, float x, float y)
{
    const int px = static_cast<int>((x + 1.0f) * 0.5f * WIDTH);
    const int py = static_cast<int>((1.0f - y) * 0.5f * HEIGHT);
    Average mean;
    int n = 0;
    for (int dy = -4; dy <= 4; ++dy) {
        for (int dx = -4; dx <= 4; ++dx) {
            const size_t at = (static_cast<size_t>(py + dy) * WIDTH + static_cast<size_t>(px + dx)) * 3;
            mean.r += rgb[at];
            mean.g += rgb[at + 1];
            mean.b += rgb[at + 2];
            ++n;
        }
    }
    mean.r /= n;
    mean.g /= n;
    mean.b /= n;
    return mean;
}
}

TEST(DemoRun, ShortTimelineRunsToItsExit)
{
    const std::string folder = prepareRunFolder();
    const std::string log = folder + "/console.log";

    auto demo = std::async(std::launch::async, [&] {
        return runProgram({"/bin/sh", "-c", std::string("exec '") + QUILLON_PATH + "' -w 1280 -h 720 > console.log"},
                          folder, {}, 240);
    });

    // Once the timeline runs, the four-screen layout holds until "Exit" at 4 s.
    bool started = false;
    for (int i = 0; i < 1800 && !started; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        started = readFile(log).find(">>> DEMO STARTS NOW <<<") != std::string::npos;
    }
    ASSERT_TRUE(started) << readFile(log);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const std::vector<unsigned char> frame = grabWindow(folder + "/frame.png");

    ChildResult result = demo.get();
    EXPECT_TRUE(result.exited) << "signal " << result.signal;
    EXPECT_EQ(result.exitCode, 0) << result.errors;

    const std::string expected = "P[VELT::Environment] Parsing environment from input stream\n"
                                 "P[DEMO] ======== Loading assets ========\n" +
                                 shaderLogs() +  // the loading screen
                                 shaderLogs() +  // the screen manager's CRT pass
                                 "P[DEMO] ======== Done loading assets ========\n"
                                 "P[DEMO] >>> DEMO STARTS NOW <<<\n" +
                                 shaderLogs() + shaderLogs() +  // the lightning's arc and blur, on first use
                                 "P[DEMO] Demo has reached its end, exiting...\n"
                                 "P[DEMO] >>> DEMO ENDS NOW <<<\n";
    EXPECT_EQ(readFile(log), expected);

    ASSERT_EQ(frame.size(), static_cast<size_t>(WIDTH) * HEIGHT * 3);
    unsigned count = 0;
    const SubscreenRectangle* rectangles = ScreenLayout::getRectangles(3, count);
    ASSERT_EQ(count, 4u);
    // Subscreens 0-3 were cleared red, green, blue and yellow.
    const double expectedColour[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}};
    for (unsigned k = 0; k < count; ++k) {
        const SubscreenRectangle& r = rectangles[k];
        const Average seen = sampleAt(frame, (r.left + r.right) * 0.5f, (r.top + r.bottom) * 0.5f);
        const double channels[3] = {seen.r, seen.g, seen.b};
        for (int c = 0; c < 3; ++c) {
            if (expectedColour[r.id][c] > 0)
                EXPECT_GT(channels[c], 100.0) << "subscreen " << r.id << " channel " << c;
            else
                EXPECT_LT(channels[c], 40.0) << "subscreen " << r.id << " channel " << c;
        }
    }
}
