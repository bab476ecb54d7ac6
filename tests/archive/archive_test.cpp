#include "packtestsupport.h"

#include "dd/archive.h"
#include "support/childprocess.h"

#include <csignal>
#include <filesystem>
#include <cstring>
#include <string>

using DD::Archive;

namespace
{
const char* const SOURCE = "src/dd/archive.cpp";

std::string content(const Archive::File* file)
{
    return std::string(reinterpret_cast<const char*>(file->m_data), file->m_size);
}

// Runs body in a child and expects it to stop with exactly this assertion.
void expectAssertion(const std::function<void()>& body, const std::string& expression, const std::string& needle,
                     const std::string& message)
{
    const ChildResult result = runInChild(body);
    EXPECT_EQ(result.signal, SIGABRT);
    EXPECT_EQ(result.output, assertionText(expression, placeOf(SOURCE, needle), message));
}
}

class ArchiveReader : public ScratchFolder
{
};

TEST_F(ArchiveReader, readsTheOneEntryPackByteByByte)
{
    const std::string pack = packBytes({{"screen/01.png", "abc"}});
    ASSERT_EQ(pack.size(), 267u);
    EXPECT_EQ(pack.substr(0, 4), std::string("\x01\0\0\0", 4));
    EXPECT_EQ(pack.substr(260, 4), std::string("\x03\0\0\0", 4));
    writeFile("data.kvt", pack);

    Archive archive("data.kvt");
    EXPECT_EQ(Archive::ms_archive, &archive);
    ASSERT_EQ(archive.getNumFiles(), 1u);
    const Archive::File* file = archive.getFile(0u);
    EXPECT_EQ(0, std::memcmp(file->m_name, pack.data() + 4, 256));
    EXPECT_EQ(file->m_size, 3u);
    EXPECT_EQ(content(file), "abc");
    EXPECT_EQ(file->m_stream, nullptr);
    EXPECT_EQ(archive.getFile("screen/01.png"), file);
}

TEST_F(ArchiveReader, findsTheFirstEntryOfExactlyTheGivenName)
{
    writeFile("data.kvt", packBytes({{"screen/01.png", "first"}, {"empty", ""}, {"screen/01.png", "second"}}));
    Archive archive("data.kvt");
    EXPECT_EQ(content(archive.getFile("screen/01.png")), "first");
    EXPECT_EQ(archive.getFile("empty")->m_size, 0u);
    EXPECT_EQ(content(archive.getFile(2u)), "second");

    for (const char* near : {"Screen/01.png", "screen\\01.png", "screen/01.pn", "screen/01.png "})
        expectAssertion([&] { archive.getFile(near); }, "0", "Cannot find specified file ",
                        std::string("Cannot find specified file ") + near);
    expectAssertion([&] { archive.getFile(3u); }, "index < m_nFiles", "FATAL_ASSERT(index < m_nFiles",
                    "Index out of bounds in archive.");
}

TEST_F(ArchiveReader, opensAnEmptyPackAndIgnoresBytesAfterTheLastRecord)
{
    writeFile("empty.kvt", packBytes({}));
    {
        Archive archive("empty.kvt");
        EXPECT_EQ(archive.getNumFiles(), 0u);
        expectAssertion([&] { archive.getFile("screen/01.png"); }, "0", "Cannot find specified file ",
                        "Cannot find specified file screen/01.png");
        expectAssertion([&] { archive.getFile(0u); }, "index < m_nFiles", "FATAL_ASSERT(index < m_nFiles",
                        "Index out of bounds in archive.");
    }
    EXPECT_EQ(Archive::ms_archive, nullptr);

    writeFile("tail.kvt", packBytes({{"a", "1"}}) + "trailing garbage that is never read");
    Archive archive("tail.kvt");
    EXPECT_EQ(content(archive.getFile(0u)), "1");
}

TEST_F(ArchiveReader, prefersALooseFileAndHandsOutAFreshEntryEachTime)
{
    writeFile("data.kvt", packBytes({{"screen/01.png", "packed"}}));
    Archive archive("data.kvt");
    Archive::File* packed = archive.getFile(0u);

    writeFile("screen/01.png", "loose bytes");
    Archive::File* first = archive.getFile("screen/01.png");
    Archive::File* second = archive.getFile("screen/01.png");
    EXPECT_NE(first, packed);
    EXPECT_NE(first, second);
    EXPECT_EQ(content(first), "loose bytes");
    EXPECT_STREQ(first->m_name, "screen/01.png");
    EXPECT_EQ(archive.getNumFiles(), 1u);
    EXPECT_EQ(content(archive.getFile(0u)), "packed");
    delete first;
    delete second;

    // A folder of that name is not a file; the packed entry is used.
    std::remove("screen/01.png");
    std::filesystem::create_directory("screen/01.png");
    EXPECT_EQ(archive.getFile("screen/01.png"), packed);
}

TEST_F(ArchiveReader, streamsTheContentUpToItsFirstNul)
{
    writeFile("data.kvt", packBytes({{"sprite.txt", std::string("12 frames\0junk", 14)}}));
    Archive archive("data.kvt");
    Archive::File* file = archive.getFile("sprite.txt");
    std::istringstream* stream = file->getStream();
    int frames = 0;
    *stream >> frames;
    EXPECT_EQ(frames, 12);
    EXPECT_EQ(file->getStream(), stream);
    std::string rest;
    std::getline(*file->getStream(), rest);
    EXPECT_EQ(rest, " frames");
}

TEST_F(ArchiveReader, guardsItsSingleInstance)
{
    writeFile("data.kvt", packBytes({}));
    Archive archive("data.kvt");
    expectAssertion([] { Archive second("does-not-exist.kvt"); }, "ms_archive == 0", "FATAL_ASSERT(ms_archive == 0",
                    "An archive has already been created.");
    expectAssertion(
        [&] {
            Archive::ms_archive = 0;
            archive.~Archive();
        },
        "ms_archive == this", "FATAL_ASSERT(ms_archive == this", "The ms_archive variable has been tampered with...");
}

TEST_F(ArchiveReader, stopsWhenThePackCannotBeOpened)
{
    std::filesystem::create_directory("folder.kvt");
    for (const char* path : {"missing.kvt", "folder.kvt"})
        expectAssertion([&] { Archive archive(path); }, "0", "Cannot open archive ",
                        std::string("Cannot open archive \"") + path + "\"");
}

// Each malformed pack stops the program with a message naming the pack and
// the fault, before anything is allocated for the forged sizes.
TEST_F(ArchiveReader, rejectsMalformedPacks)
{
    std::string noNul = packBytes({{"a", "xyz"}});
    noNul.replace(4, 256, std::string(256, 'n'));
    const std::string sizeTooLarge = packBytes({{"big", "xyz"}}).replace(260, 4, std::string("\x04\0\0\0", 4));
    const struct
    {
        std::string bytes;
        std::string fault;
    } cases[] = {
        {"", "it is 0 bytes long, too short to hold its entry count."},
        {std::string("\x01\0", 2), "it is 2 bytes long, too short to hold its entry count."},
        {packBytes({{"a", "1"}, {"b", "2"}}, 3),
         "its header announces 3 entries, but the 522 bytes after it hold at most 2."},
        {packBytes({}, 0xFFFFFFFF) + "tail",
         "its header announces 4294967295 entries, but the 4 bytes after it hold at most 0."},
        {packBytes({{"a", "1"}, {"b", "2"}}, 3) + std::string(259, 'z'),
         "entry 3 of 3 is cut short: the file ends 259 bytes into its record."},
        {noNul, "the name field of entry 1 of 1 has no terminating NUL."},
        {sizeTooLarge, "entry 1 of 1 (\"big\") claims 4 bytes, but only 3 are left in the file."},
        {packBytes({{"a", "1"}}).replace(260, 4, "\xff\xff\xff\xff"),
         "entry 1 of 1 (\"a\") claims 4294967295 bytes, but only 1 are left in the file."},
    };
    for (const auto& c : cases) {
        writeFile("bad.kvt", c.bytes);
        expectAssertion([] { Archive archive("bad.kvt"); }, "fault.empty()", "FATAL_ASSERT(fault.empty()",
                        "Archive \"bad.kvt\" is malformed: " + c.fault);
    }
}
