#include "packtestsupport.h"

#include "support/childprocess.h"

#include <csignal>
#include <filesystem>

namespace
{
ChildResult kvtarchive(const std::vector<std::string>& arguments, const std::string& folder)
{
    std::vector<std::string> argv = {KVTARCHIVE_PATH};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return runProgram(argv, folder);
}
}

class ArchiveTool : public ScratchFolder
{
};

TEST_F(ArchiveTool, printsItsUsageOnWrongArguments)
{
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {}, {"pack"}, {"build", "list.txt"}, {"list"}, {"extract", "data.kvt"}, {"list", "a", "b"}}) {
        const ChildResult result = kvtarchive(arguments, m_folder);
        EXPECT_TRUE(result.exited);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.errors.rfind("usage: kvtarchive build LIST PACK", 0), 0u) << result.errors;
    }
}

TEST_F(ArchiveTool, buildsListsAndExtractsAPack)
{
    writeFile("loadingscreen/mask.png", std::string("\x89PNG\0\x01", 6));
    writeFile("screen/01.png", "overlay");
    writeFile("list.txt", "2\nloadingscreen/mask.png\nscreen/01.png\n");

    ChildResult result = kvtarchive({"build", "list.txt", "data/data.kvt"}, m_folder);
    EXPECT_FALSE(result.exited) << "data/ does not exist yet";
    std::filesystem::create_directory("data");
    result = kvtarchive({"build", "list.txt", "data/data.kvt"}, m_folder);
    ASSERT_TRUE(result.exited && result.exitCode == 0) << result.output;
    EXPECT_EQ(readFile("data/data.kvt"),
              packBytes({{"loadingscreen/mask.png", readFile("loadingscreen/mask.png")}, {"screen/01.png", "overlay"}}));

    result = kvtarchive({"list", "data/data.kvt"}, m_folder);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "         6  loadingscreen/mask.png\n"
                             "         7  screen/01.png\n"
                             "2 entries, 13 bytes\n");

    result = kvtarchive({"extract", "data/data.kvt", "out/deeper"}, m_folder);
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(readFile("out/deeper/loadingscreen/mask.png"), readFile("loadingscreen/mask.png"));
    EXPECT_EQ(readFile("out/deeper/screen/01.png"), "overlay");
}

TEST_F(ArchiveTool, failsWithoutWritingOutsideItsTarget)
{
    writeFile("list.txt", "1\nmissing.png\n");
    ChildResult result = kvtarchive({"build", "list.txt", "data.kvt"}, m_folder);
    EXPECT_EQ(result.signal, SIGABRT);
    EXPECT_NE(result.output.find("Cannot find file \"missing.png\" to add to archive."), std::string::npos);
    EXPECT_FALSE(fileExists("data.kvt"));

    writeFile("bad.kvt", packBytes({{"a", "1"}}, 2));
    result = kvtarchive({"list", "bad.kvt"}, m_folder);
    EXPECT_EQ(result.signal, SIGABRT);
    EXPECT_NE(result.output.find("Archive \"bad.kvt\" is malformed"), std::string::npos);

    for (const char* name : {"../escaped", "/tmp/escaped", "a/../../escaped", ""}) {
        writeFile("evil.kvt", packBytes({{"fine.txt", "1"}, {name, "2"}}));
        result = kvtarchive({"extract", "evil.kvt", "out"}, m_folder);
        EXPECT_EQ(result.exitCode, 1) << name;
        EXPECT_NE(result.errors.find("would write outside out"), std::string::npos);
        EXPECT_FALSE(fileExists("out"));
        EXPECT_FALSE(fileExists("../escaped"));
    }
}
