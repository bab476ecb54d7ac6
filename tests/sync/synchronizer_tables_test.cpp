// The synchronizer on sprite-free files: value and colour step lookups,
// events on empty tracks, and the fatal stops for a file that cannot be
// opened or is malformed, each naming the file.
#include "synchronizer.h"

#include "support/childprocess.h"
#include "support/files.h"

#include <fstream>
#include <gtest/gtest.h>
#include <signal.h>
#include <sstream>

namespace
{
std::string writeSyncFile(const std::string& name, const std::string& content)
{
    const std::string path = std::string(SOLENNE_BINARY_DIR) + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

const char* const TABLES = "0\n"
                           "0\n"
                           "0\n"
                           "3\n5:1.0\n6:2.0\n7:2.0\n"
                           "3\n2:12.5:255:128:0\n2:20:0:0:51\n0:0:255:255:255\n";
}

TEST(SynchronizerTables, ValueStepsIncludeTheEntryAtExactlyItsTime)
{
    Synchronizer sync(writeSyncFile("sync_tables.txt", TABLES).c_str());
    EXPECT_EQ(sync.valueAt(0.5f), 0);
    EXPECT_EQ(sync.valueAt(1.0f), 5);
    EXPECT_EQ(sync.valueAt(1.99f), 5);
    EXPECT_EQ(sync.valueAt(2.0f), 7);  // two entries at 2.0: the walk reaches the later one
    EXPECT_EQ(sync.valueAt(100.0f), 7);
}

TEST(SynchronizerTables, ColourStepsPerChannel)
{
    Synchronizer sync(writeSyncFile("sync_tables.txt", TABLES).c_str());
    Synchronizer::ColorEntry c = sync.colorAt(2, 12.4f);
    EXPECT_EQ(c.red + c.green + c.blue + c.time, 0.0f);
    c = sync.colorAt(2, 12.5f);
    EXPECT_EQ(c.red, 1.0f);
    EXPECT_EQ(c.green, 128 / 255.0f);
    EXPECT_EQ(c.blue, 0.0f);
    EXPECT_EQ(c.time, 12.5f);
    EXPECT_EQ(sync.colorAt(2, 25.0f).blue, 0.2f);
    EXPECT_EQ(sync.colorAt(0, 0.0f).green, 1.0f);
    // A channel without entries, or outside the sixteen, is all zeros.
    for (int channel : {1, 15, 16, -1}) {
        c = sync.colorAt(channel, 50.0f);
        EXPECT_EQ(c.red + c.green + c.blue + c.time, 0.0f) << channel;
    }
}

TEST(SynchronizerTables, EventsOnEmptyTracksHandOutNothing)
{
    Synchronizer sync(writeSyncFile("sync_empty_tracks.txt", "0\n1\n0\n2\n0:4:1\n0:5:0\n0\n0\n").c_str());
    EXPECT_TRUE(sync.update(2.0f).empty());
    EXPECT_TRUE(sync.update(3.0f).empty());
}

TEST(SynchronizerTables, UnopenableFileStopsWithItsName)
{
    const std::string path = std::string(SOLENNE_BINARY_DIR) + "/no/such/sync.txt";
    ChildResult r = runInChild([&] { Synchronizer sync(path.c_str()); });
    EXPECT_EQ(r.signal, SIGABRT);
    EXPECT_EQ(r.output, assertionText("f", placeOf("src/synchronizer.cpp", "FATAL_ASSERT(f,"),
                                      "Could not open file \"" + path + "\" to read sync data."));
}

TEST(SynchronizerTables, MalformedFilesStopNamingFileAndLine)
{
    struct Case
    {
        const char* content;
        const char* problem;
    };
    const Case cases[] = {
        {"0\n0\n1\n# comment\n0:3:1\n0\n0\n", "line 5: track 0 is outside 0-(none)"},
        {"0\n0\n0\n1\n5\n0\n", "line 5: value line needs 2 fields value:time, found 1"},
        {"0\n0\n0\n0\n1\n16:0:1:1:1\n", "line 6: channel 16 is outside 0-15"},
        {"0\n0\n2\n", "line 4: the file ends where event 1 of 2 should follow"},
        {"-3\n", "line 1: negative count of sprites (-3)"},
    };
    for (const Case& c : cases) {
        const std::string path = writeSyncFile("sync_malformed.txt", c.content);
        ChildResult r = runInChild([&] { Synchronizer sync(path.c_str()); });
        EXPECT_EQ(r.signal, SIGABRT) << c.problem;
        EXPECT_EQ(r.output, assertionText("problem.empty()", placeOf("src/synchronizer.cpp", "FATAL_ASSERT(problem.empty(),"),
                                          "Malformed sync data file \"" + path + "\", " + c.problem + "."));
    }
}
