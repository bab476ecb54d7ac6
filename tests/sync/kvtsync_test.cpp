// The sync inspector as authors run it on a sprite-free file: the schedule's
// values and colours at each step, and a malformed file named with its line.
#include "support/childprocess.h"

#include <fstream>
#include <gtest/gtest.h>

namespace
{
std::string writeSyncFile(const std::string& name, const std::string& content)
{
    const std::string path = std::string(SOLENNE_BINARY_DIR) + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}
}

TEST(Kvtsync, PrintsValuesAndUsedChannelsAtEachStep)
{
    const std::string path = writeSyncFile("kvtsync_tables.txt", "0\n0\n0\n2\n5:0.5\n6:1.0\n1\n3:1:255:0:51\n");
    ChildResult r = runProgram({KVTSYNC_PATH, path, "--step", "0.5"});
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output, path + ": 0 sprites, 0 tracks, 0 events, 2 values\n"
                               "t=0.000 value=0\n"
                               "  colour 3 = 0.000 0.000 0.000 (from 0.000)\n"
                               "t=0.500 value=5\n"
                               "  colour 3 = 0.000 0.000 0.000 (from 0.000)\n"
                               "t=1.000 value=6\n"
                               "  colour 3 = 1.000 0.000 0.200 (from 1.000)\n"
                               "t=1.500 value=6\n"
                               "  colour 3 = 1.000 0.000 0.200 (from 1.000)\n");
}

TEST(Kvtsync, MalformedFileIsNamedWithItsLine)
{
    const std::string path = writeSyncFile("kvtsync_bad.txt", "0\n0\n0\n0\n1\n99:0:0:0:0\n");
    ChildResult r = runProgram({KVTSYNC_PATH, path});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.output, path + ": line 6: channel 99 is outside 0-15\n");
    EXPECT_EQ(runProgram({KVTSYNC_PATH}).exitCode, 2);
    EXPECT_EQ(runProgram({KVTSYNC_PATH, path, "--step", "0"}).exitCode, 2);
}
