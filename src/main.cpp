// quillon: the demo program's entry point. Reads the size and mode switches,
// then hands over to SolenneDemo.
#include "base/assert.h"
#include "solennedemo.h"

#include <cstdlib>
#include <cstring>

#ifdef QUILLON_COMMAND_LINE_PROBE
#include <cstdio>
#endif

int main(int argc, char** argv)
{
    int width = 1280;
    int height = 720;
    bool fullscreen = false;
    int sizeSet = 0;

    // The three tests are independent: a width switch's value is itself
    // tested as a height switch in the same pass.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-f") == 0 || std::strcmp(argv[i], "--fullscreen") == 0)
            fullscreen = true;
        if (std::strcmp(argv[i], "-w") == 0 || std::strcmp(argv[i], "--width") == 0) {
            ++i;
            FATAL_ASSERT(i < argc, "Invalid command-line arguments");
            width = std::atoi(argv[i]);
            ++sizeSet;
        }
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--height") == 0) {
            ++i;
            FATAL_ASSERT(i < argc, "Invalid command-line arguments");
            height = std::atoi(argv[i]);
            ++sizeSet;
        }
    }
    const char* sizeMessage = "Invalid command-line arguments: either none or both size switches must be present.";
    FATAL_ASSERT((sizeSet % 2) == 0, sizeMessage);

#ifdef QUILLON_COMMAND_LINE_PROBE
    // Test build only: report what the demo would be started with.
    std::printf("run %d %d %d\n", width, height, fullscreen ? 1 : 0);
    return 0;
#else
    SolenneDemo demo;
    demo.run(width, height, fullscreen);
    return 0;
#endif
}
