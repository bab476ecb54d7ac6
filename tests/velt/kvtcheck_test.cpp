// The script checker as authors run it: findings by line, in line order, and
// an exit status that tells a clean script from one with findings.
#include "support/childprocess.h"

#include <fstream>
#include <gtest/gtest.h>

namespace
{
std::string writeScript(const std::string& name, const std::string& content)
{
    const std::string path = std::string(SOLENNE_BINARY_DIR) + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

const char* const CONSOLE_LINE = "P[VELT::Environment] Parsing environment from input stream\n";
}

TEST(Kvtcheck, CleanScriptPassesQuietly)
{
    const std::string path = writeScript("kvtcheck_clean.kvt",
                                         "begin assets\ntexture logo logo.txt\nend\n"
                                         "begin event Sprite\nchar\nasset\nfloat\nend\n"
                                         "begin global\n1 event Sprite 3 logo 1.0\nend\n");
    ChildResult r = runProgram({KVTCHECK_PATH, path});
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output, std::string(CONSOLE_LINE) + path + ": 0 findings\n");
}

TEST(Kvtcheck, FindingsComeInLineOrderAndFailTheCheck)
{
    const std::string path = writeScript("kvtcheck_faulty.kvt",
                                         "begin global\n"            // 1
                                         "1 event Sprite 3 logo\n"   // 2: not declared yet
                                         "begin event Sprite\n"      // 3: read as a timeline line
                                         "end\n"                     // 4: closes the timeline
                                         "begin event Sprite\n"      // 5: declared after its use
                                         "char\n"
                                         "end\n"
                                         "begin assets\n"            // 8: never closed
                                         "texture a a\n");
    ChildResult r = runProgram({KVTCHECK_PATH, path});
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.output, std::string(CONSOLE_LINE) +
                            path + ":2: event type \"Sprite\" is not declared at this point; line skipped\n" +
                            path + ":3: time \"begin\" reads as 0.000000\n" +
                            path + ":3: event type \"Sprite\" is not declared at this point; line skipped\n" +
                            path + ":5: event type \"Sprite\" is declared after line 2 used it\n" +
                            path + ":8: section \"assets\" is not closed by \"end\" before the end of input\n" +
                            path + ": 5 findings\n");
}

TEST(Kvtcheck, UnreadableScriptIsAnError)
{
    ChildResult r = runProgram({KVTCHECK_PATH, std::string(SOLENNE_BINARY_DIR) + "/no/such.kvt"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.errors.find("cannot open"), std::string::npos);
    r = runProgram({KVTCHECK_PATH});
    EXPECT_EQ(r.exitCode, 2);
}
