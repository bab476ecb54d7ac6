// The environment script as the demo reads it: the worked example, the
// character level, sections, redeclarations, patterns, asset references and
// the parser's one console line.
#include "timelinerecorder.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>

namespace
{
const char* const EXAMPLE =
    "begin assets\n"
    "texture logo sprites/logo\n"
    "end\n"
    "begin event ColorLightning\n"
    "float red\n"
    "float green\n"
    "float blue\n"
    "end\n"
    "begin pattern flash\n"
    "0 ColorLightning {0} {1} {2}\n"
    "0.5 ColorLightning 0 0 0\n"
    "end\n"
    "begin global\n"
    "10 pattern flash 1 0.5 0.25\n"
    "12.25 event ColorLightning 0.2 0.4 1\n"
    "end\n";

const char* const CONSOLE_LINE = "P[VELT::Environment] Parsing environment from input stream\n";

void expectColor(const VELT::Event& event, double time, float red, float green, float blue)
{
    EXPECT_EQ(event.name, "ColorLightning");
    EXPECT_EQ(event.time, time);
    ASSERT_EQ(event.args.size(), 3u);
    EXPECT_EQ(event.args[0].floatValue, red);
    EXPECT_EQ(event.args[1].floatValue, green);
    EXPECT_EQ(event.args[2].floatValue, blue);
}

std::string writeFile(const std::string& name, const std::string& content)
{
    const std::string path = std::string(SOLENNE_BINARY_DIR) + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}
}

TEST(EnvironmentScript, WorkedExampleGivesThreeEventsInLineOrder)
{
    auto environment = parseScript(EXAMPLE);
    std::vector<VELT::Event> events = timelineOf(*environment, {"ColorLightning"});
    ASSERT_EQ(events.size(), 3u);
    expectColor(events[0], 10.0, 1.0f, 0.5f, 0.25f);
    expectColor(events[1], 10.5, 0.0f, 0.0f, 0.0f);
    expectColor(events[2], 12.25, 0.2f, 0.4f, 1.0f);

    std::vector<VELT::Asset*> assets = environment->getAssets();
    ASSERT_EQ(assets.size(), 1u);
    EXPECT_EQ(assets[0]->name, "logo");
    EXPECT_EQ(assets[0]->path, "sprites/logo");
    EXPECT_EQ(assets[0]->type, VELT::ASSET_TEXTURE);
}

TEST(EnvironmentScript, WordsCommentsAndBlankLines)
{
    const std::vector<VELT::Event> events = timelineOf(
        "   \t # only a comment\n"
        "\n"
        "begin\tevent E# the name ends before the sign\n"
        "int#x more words\n"
        "end of the declaration\n"
        "begin global\n"
        "\t 1 \t event   E  7  # trailing comment\n"
        "End\n"
        "3 event E 9\n"
        "end\n",
        {"E"});
    // "End" does not close the section; "end of the declaration" does.
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].args.at(0).intValue, 7);
    EXPECT_EQ(events[1].args.at(0).intValue, 9);
}

TEST(EnvironmentScript, ZeroByteEndsTheUsableLine)
{
    using namespace std::string_literals;
    const std::string script = "begin event E\nint\nend\nbegin global\n1 event E 5\0" "6\n2 event E\0 7\nend\n"s;
    const std::vector<VELT::Event> events = timelineOf(script, {"E"});
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].args.at(0).intValue, 5);
}

TEST(EnvironmentScript, EndOfInputRules)
{
    // A last line without its line feed is not read.
    auto environment = parseScript("begin assets\ntexture a a.png\nend");
    EXPECT_EQ(environment->getAssets().size(), 1u);

    // The word EOF ends the script like the real end of input.
    environment = parseScript("begin assets\ntexture a a.png\nend\nEOF\nbegin assets\ntexture b b.png\nend\n");
    EXPECT_EQ(environment->getAssets().size(), 1u);
}

TEST(EnvironmentScript, LineOf254BytesIsReadWhole)
{
    std::string name = "n";
    const std::string prefix = "texture ";
    const std::string path = " p";
    name.append(254 - prefix.size() - path.size() - 1, 'x');
    const std::string line = prefix + name + path;
    ASSERT_EQ(line.size(), 254u);
    auto environment = parseScript("begin assets\n" + line + "\nend\n");
    ASSERT_EQ(environment->getAssets().size(), 1u);
    EXPECT_EQ(environment->getAssets()[0]->name, name);
    EXPECT_EQ(environment->getAssets()[0]->path, "p");
}

TEST(EnvironmentScript, AssetsAcrossSectionsAndKinds)
{
    auto environment = parseScript(
        "begin assets\nmesh m m.obj\nshader s s.glsl extra words\nend\n"
        "begin assets\nsound o o.mp3\ntexture t t.png\nvideo v v.avi\nend\n");
    std::vector<VELT::Asset*> assets = environment->getAssets();
    ASSERT_EQ(assets.size(), 5u);
    const int32_t expected[] = {VELT::ASSET_MESH, VELT::ASSET_SHADER, VELT::ASSET_SOUND, VELT::ASSET_TEXTURE,
                                VELT::ASSET_UNKNOWN};
    for (std::size_t i = 0; i < assets.size(); ++i)
        EXPECT_EQ(assets[i]->type, expected[i]) << i;
    EXPECT_EQ(assets[4]->type, 255);
    EXPECT_EQ(assets[1]->path, "s.glsl");

    // A copy of the list, holding the environment's own records.
    assets.clear();
    EXPECT_EQ(environment->getAssets().size(), 5u);
    EXPECT_EQ(environment->getAssets()[0], environment->getAssets()[0]);
}

TEST(EnvironmentScript, AssetReferencesResolveToTheFirstEarlierName)
{
    const std::vector<VELT::Event> events = timelineOf(
        "begin event Show\nasset\nend\n"
        "begin assets\ntexture a a1\ntexture dup d1\ntexture dup d2\nend\n"
        "begin global\n1 event Show dup\n2 event Show later\n3 event Show nothing\nend\n"
        "begin assets\ntexture later l\nend\n"
        "begin global\n4 event Show later\nend\n",
        {"Show"});
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].args.at(0).assetIndex, 1);
    EXPECT_EQ(events[1].args.at(0).assetIndex, -1);  // listed only after the line
    EXPECT_EQ(events[2].args.at(0).assetIndex, -1);
    EXPECT_EQ(events[3].args.at(0).assetIndex, 3);
}

TEST(EnvironmentScript, EventTypeRedeclarationAppliesToLaterLinesOnly)
{
    const std::vector<VELT::Event> events = timelineOf(
        "begin global\n0 event E 1\nend\n"  // not declared yet: skipped
        "begin event E\nint\nend\n"
        "begin pattern p\n0 E {0}\nend\n"
        "begin global\n1 event E 2.5\nend\n"
        "begin event E\nfloat\nfloat\nend\n"
        "begin global\n2 event E 2.5 3\n3 pattern p 2.5\nend\n"
        "begin event E\nend\n"
        "begin global\n4 event E 1 2 3\nend\n",
        {"E"});
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].time, 1.0);
    EXPECT_EQ(events[0].args.at(0).intValue, 2);
    EXPECT_EQ(events[1].args.at(0).floatValue, 2.5f);
    EXPECT_EQ(events[1].args.at(1).floatValue, 3.0f);
    // The pattern keeps the types it was read with.
    ASSERT_EQ(events[2].args.size(), 1u);
    EXPECT_EQ(events[2].args[0].intValue, 2);
    // No parameters: no cells, whatever words follow.
    EXPECT_TRUE(events[3].args.empty());
}

TEST(EnvironmentScript, PatternRedefinitionAppliesToLaterInstancesOnly)
{
    const std::vector<VELT::Event> events = timelineOf(
        "begin event A\nend\nbegin event B\nend\n"
        "begin pattern p\n0 A\n1.5 A\nend\n"
        "begin global\n5 pattern p\n9 event B\nend\n"
        "begin pattern p\n0 B\nend\n"
        "begin global\n20 pattern p\nend\n",
        {"A", "B"});
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].name, "A");
    EXPECT_EQ(events[0].time, 5.0);
    EXPECT_EQ(events[1].name, "A");
    EXPECT_EQ(events[1].time, 6.5);
    EXPECT_EQ(events[2].name, "B");
    EXPECT_EQ(events[2].time, 9.0);
    EXPECT_EQ(events[3].name, "B");
    EXPECT_EQ(events[3].time, 20.0);
}

TEST(EnvironmentScript, NameFirstUsedInAPatternCountsAsDeclaredWithoutParameters)
{
    const std::vector<VELT::Event> events = timelineOf(
        "begin pattern p\n0 Fresh\nend\n"
        "begin global\n1 event Fresh 1 2 3\n2 event Unknown\nend\n",
        {"Fresh", "Unknown"});
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].name, "Fresh");
    EXPECT_TRUE(events[0].args.empty());
}

TEST(EnvironmentScript, PlaceholdersReachArgumentsByTheirFirstDigit)
{
    const std::vector<VELT::Event> events = timelineOf(
        "begin event V\nint\nint\nint\nint\nend\n"
        "begin pattern p\n0 V {0} {12} {x} 42\nend\n"
        "begin global\n1 pattern p 10 11 12 13\nend\n",
        {"V"});
    ASSERT_EQ(events.size(), 1u);
    ASSERT_EQ(events[0].args.size(), 4u);
    EXPECT_EQ(events[0].args[0].intValue, 10);
    EXPECT_EQ(events[0].args[1].intValue, 11);
    EXPECT_EQ(events[0].args[2].intValue, 10);
    EXPECT_EQ(events[0].args[3].intValue, 42);
}

TEST(EnvironmentScript, SectionKeywordsAndStrayLines)
{
    const std::vector<VELT::Event> events = timelineOf(
        "1 event E\n"
        "begin nothing\n"
        "begin event E\nend\n"
        "begin Global\n2 event E\nend\n"
        "begin global extra words\n3 event E\n4 other E\nend\n",
        {"E"});
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].time, 3.0);
}

TEST(EnvironmentScript, ConsoleLineOncePerParsedInputNoneForAMissingFile)
{
    testing::internal::CaptureStdout();
    { VELT::Environment environment(writeFile("velt_empty.kvt", "")); }
    { VELT::Environment environment(writeFile("velt_comments.kvt", "# nothing\n\n   \n")); }
    { VELT::Environment environment(std::string(SOLENNE_BINARY_DIR) + "/no/such/script.kvt"); }
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output, std::string(CONSOLE_LINE) + CONSOLE_LINE);

    VELT::Environment missing(std::string(SOLENNE_BINARY_DIR) + "/no/such/script.kvt");
    EXPECT_TRUE(missing.getAssets().empty());
    EXPECT_TRUE(timelineOf(missing, {"E"}).empty());
}

TEST(EnvironmentScript, PathConstructorReadsTheFile)
{
    VELT::Environment environment(writeFile("velt_example.kvt", EXAMPLE));
    EXPECT_EQ(environment.getAssets().size(), 1u);
    EXPECT_EQ(timelineOf(environment, {"ColorLightning"}).size(), 3u);
}
