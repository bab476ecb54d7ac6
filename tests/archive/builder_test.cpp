#include "packtestsupport.h"

#include "dd/archive.h"
#include "support/childprocess.h"

#include <csignal>
#include <filesystem>

using DD::Archive;

namespace
{
const char* const SOURCE = "src/dd/archive.cpp";
const std::string OLD_PACK = packBytes({{"old", "the pack that was there before"}});
}

class ArchiveBuilder : public ScratchFolder
{
protected:
    // Runs the build in a child, expects it to stop with this assertion, and
    // checks that the old pack is still there, whole, with nothing beside it.
    void expectFailedBuild(const std::string& expression, const std::string& needle, const std::string& message)
    {
        writeFile("data.kvt", OLD_PACK);
        const std::vector<std::string> before = folderNames();
        const ChildResult result = runInChild([] { Archive::build("list.txt", "data.kvt"); });
        EXPECT_EQ(result.signal, SIGABRT);
        EXPECT_EQ(result.output, assertionText(expression, placeOf(SOURCE, needle), message));
        EXPECT_EQ(readFile("data.kvt"), OLD_PACK);
        EXPECT_EQ(folderNames(), before);
    }
};

TEST_F(ArchiveBuilder, writesTheFormatByteForByteAndReadsItBack)
{
    writeFile("screen/01.png", "abc");
    writeFile("sprite.txt", "frames 4\n");
    writeFile("empty.bin", "");
    writeFile("list.txt", "  4\nscreen/01.png\nsprite.txt\nempty.bin\nscreen/01.png");
    writeFile("data.kvt", OLD_PACK);
    Archive::build("list.txt", "data.kvt");

    const std::string expected = packBytes(
        {{"screen/01.png", "abc"}, {"sprite.txt", "frames 4\n"}, {"empty.bin", ""}, {"screen/01.png", "abc"}});
    EXPECT_EQ(readFile("data.kvt"), expected);

    std::filesystem::remove_all("screen");
    std::filesystem::remove("sprite.txt");
    Archive archive("data.kvt");
    ASSERT_EQ(archive.getNumFiles(), 4u);
    EXPECT_EQ(archive.getFile("screen/01.png"), archive.getFile(0u));
    EXPECT_EQ(archive.getFile("sprite.txt")->m_size, 9u);
    EXPECT_EQ(archive.getFile("empty.bin")->m_size, 0u);
}

TEST_F(ArchiveBuilder, takesTheOneEntryPackFromAListWithAFinalLineFeed)
{
    writeFile("a.bin", "xyz");
    writeFile("list.txt", "1\na.bin\n");
    Archive::build("list.txt", "data.kvt");
    EXPECT_EQ(readFile("data.kvt"), packBytes({{"a.bin", "xyz"}}));
}

TEST_F(ArchiveBuilder, keepsTheOldPackWhenAListedFileIsMissing)
{
    writeFile("a.bin", "xyz");
    writeFile("list.txt", "2\na.bin\nmissing.png\n");
    expectFailedBuild("f != NULL", "FATAL_ASSERT(f != NULL", "Cannot find file \"missing.png\" to add to archive.");

    writeFile("list.txt", "3\na.bin\n\na.bin\n");
    expectFailedBuild("f != NULL", "FATAL_ASSERT(f != NULL", "Cannot find file \"\" to add to archive.");

    std::filesystem::create_directory("folder");
    writeFile("list.txt", "1\nfolder\n");
    expectFailedBuild("f != NULL", "FATAL_ASSERT(f != NULL", "Cannot find file \"folder\" to add to archive.");
}

TEST_F(ArchiveBuilder, reportsAListThatCannotBeOpened)
{
    expectFailedBuild("listRead", "FATAL_ASSERT(listRead",
                      "Cannot open archive list \"list.txt\"; \"data.kvt\" is left as it was.");
}

TEST_F(ArchiveBuilder, reportsACountThatDiffersFromThePaths)
{
    writeFile("a.bin", "1");
    writeFile("b.bin", "2");
    const std::string needle = "FATAL_ASSERT(declaredCount == pathCount";
    writeFile("list.txt", "3\na.bin\nb.bin\n");
    expectFailedBuild("declaredCount == pathCount", needle,
                      "Archive list \"list.txt\" announces 3 entries on its first line but lists 2 paths; "
                      "\"data.kvt\" is left as it was.");
    writeFile("list.txt", "-1\n");
    expectFailedBuild("declaredCount == pathCount", needle,
                      "Archive list \"list.txt\" announces -1 entries on its first line but lists 0 paths; "
                      "\"data.kvt\" is left as it was.");

    // No pack appears where there was none.
    std::filesystem::remove("data.kvt");
    writeFile("list.txt", "two\na.bin\nb.bin\n");
    EXPECT_EQ(runInChild([] { Archive::build("list.txt", "data.kvt"); }).signal, SIGABRT);
    EXPECT_FALSE(fileExists("data.kvt"));
}

TEST_F(ArchiveBuilder, refusesPathsTooLongForTheNameField)
{
    const std::string longest(255, 'n');
    writeFile(longest, "ok");
    writeFile("list.txt", "1\n" + longest + "\n");
    Archive::build("list.txt", "data.kvt");
    EXPECT_EQ(readFile("data.kvt"), packBytes({{longest, "ok"}}));

    const std::string tooLong(256, 'n');
    writeFile("list.txt", "1\n" + tooLong + "\n");
    expectFailedBuild("path.size() <= LONGEST_NAME", "FATAL_ASSERT(path.size() <= LONGEST_NAME",
                      "Path \"" + tooLong + "\" in archive list \"list.txt\" is longer than the 255 bytes an entry "
                                            "name holds.");
}
