// The demo's command line, run as real processes: rejected lines print their
// assertion and abort before anything opens; accepted lines reach the run
// with the right size and mode.
#include "support/childprocess.h"

#include <gtest/gtest.h>
#include <signal.h>

namespace
{
std::string probe(std::vector<std::string> args)
{
    args.insert(args.begin(), PROBE_PATH);
    ChildResult r = runProgram(args);
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.exitCode, 0);
    return r.output;
}

ChildResult runQuillon(std::vector<std::string> args)
{
    args.insert(args.begin(), QUILLON_PATH);
    // No display is needed: a rejected line never reaches the window.
    return runProgram(args, "", {"DISPLAY=:none"});
}

const char* kSizeMessage = "Invalid command-line arguments: either none or both size switches must be present.";
}

TEST(CommandLine, AcceptedLinesReachTheRunWithTheirValues)
{
    EXPECT_EQ(probe({}), "run 1280 720 0\n");
    EXPECT_EQ(probe({"-f"}), "run 1280 720 1\n");
    EXPECT_EQ(probe({"--fullscreen"}), "run 1280 720 1\n");
    EXPECT_EQ(probe({"--width", "1024", "--height", "768", "-f"}), "run 1024 768 1\n");
    EXPECT_EQ(probe({"-f", "-h", "768", "-w", "1024"}), "run 1024 768 1\n");
    EXPECT_EQ(probe({"unknown", "-w", "640", "-h", "480"}), "run 640 480 0\n");
}

TEST(CommandLine, ValuesAreReadLikeAtoi)
{
    EXPECT_EQ(probe({"-w", "abc", "-h", "600"}), "run 0 600 0\n");
    EXPECT_EQ(probe({"-w", "  -12xyz", "-h", "+7"}), "run -12 7 0\n");
    EXPECT_EQ(probe({"-w", "0", "-h", "-5"}), "run 0 -5 0\n");
}

TEST(CommandLine, SwitchesMatchWholeAndCaseSensitive)
{
    EXPECT_EQ(probe({"-F", "--Fullscreen", "-fullscreen"}), "run 1280 720 0\n");
    // Joined values make the argument unknown.
    EXPECT_EQ(probe({"-w=640", "--height=480"}), "run 1280 720 0\n");
}

TEST(CommandLine, LaterOccurrencesOverwrite)
{
    EXPECT_EQ(probe({"-w", "1", "-h", "2", "--width", "3", "--height", "4"}), "run 3 4 0\n");
}

TEST(CommandLine, WidthValueIsTestedAsHeightSwitchInTheSamePass)
{
    // "-h" is taken as the width's value (0) and then read as the height switch.
    EXPECT_EQ(probe({"-w", "-h", "600"}), "run 0 600 0\n");
}

TEST(CommandLine, HeightValueIsNotTestedAgain)
{
    // The height's value "-f" is skipped, so the mode stays windowed.
    EXPECT_EQ(probe({"-w", "640", "-h", "-f"}), "run 640 0 0\n");
}

TEST(CommandLine, WidthSwitchWithoutValueAborts)
{
    ChildResult r = runQuillon({"-w"});
    EXPECT_EQ(r.signal, SIGABRT);
    EXPECT_EQ(r.output, assertionText("i < argc", "src/main.cpp:27", "Invalid command-line arguments"));
}

TEST(CommandLine, HeightSwitchWithoutValueAborts)
{
    ChildResult r = runQuillon({"-w", "640", "-h"});
    EXPECT_EQ(r.signal, SIGABRT);
    EXPECT_EQ(r.output, assertionText("i < argc", "src/main.cpp:33", "Invalid command-line arguments"));

    r = runQuillon({"--height"});
    EXPECT_EQ(r.signal, SIGABRT);
    EXPECT_EQ(r.output, assertionText("i < argc", "src/main.cpp:33", "Invalid command-line arguments"));
}

TEST(CommandLine, OddNumberOfSizeSwitchesAbortsAfterTheWholeLine)
{
    ChildResult r = runQuillon({"-w", "640"});
    EXPECT_EQ(r.signal, SIGABRT);
    EXPECT_EQ(r.output, assertionText("(sizeSet % 2) == 0", "src/main.cpp:39", kSizeMessage));

    r = runQuillon({"-h", "1", "-h", "2", "-w", "3"});
    EXPECT_EQ(r.signal, SIGABRT);
    EXPECT_EQ(r.output, assertionText("(sizeSet % 2) == 0", "src/main.cpp:39", kSizeMessage));
}
