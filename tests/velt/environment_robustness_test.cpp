// Scripts the grammar does not foresee: each is read in one defined way that
// never reads past a line's words, never loops, and loses nothing else. The
// diagnostics sink names every such line by its number.
#include "timelinerecorder.h"

#include <gtest/gtest.h>

namespace
{
struct Diagnostic
{
    int line;
    VELT::ScriptDiagnostics::Problem problem;
};

struct Collector : VELT::ScriptDiagnostics
{
    std::vector<Diagnostic> found;
    void report(int line, Problem problem, const std::string&) override { found.push_back({line, problem}); }
};

using P = VELT::ScriptDiagnostics;

bool reported(const Collector& collector, int line, VELT::ScriptDiagnostics::Problem problem)
{
    for (const Diagnostic& d : collector.found) {
        if (d.line == line && d.problem == problem)
            return true;
    }
    return false;
}
}

TEST(EnvironmentRobustness, EndOfInputInsideASectionEndsSectionAndScript)
{
    // Every section kind, each left open: what it read so far is kept.
    Collector collector;
    auto environment = parseScript("begin event E\nint\nend\nbegin assets\ntexture a a.png\n", &collector);
    EXPECT_EQ(environment->getAssets().size(), 1u);
    EXPECT_TRUE(reported(collector, 4, P::UNCLOSED_SECTION));
    EXPECT_FALSE(reported(collector, 6, P::EARLY_END));

    // The word EOF ends a section and the script like the real end, and says so.
    Collector early;
    environment = parseScript("begin assets\ntexture a a\nEOF\ntexture b b\nend\nEOF more\n", &early);
    EXPECT_EQ(environment->getAssets().size(), 1u);
    EXPECT_TRUE(reported(early, 1, P::UNCLOSED_SECTION));
    EXPECT_TRUE(reported(early, 3, P::EARLY_END));
    Collector top;
    parseScript("begin assets\nend\nEOF\n", &top);
    EXPECT_TRUE(reported(top, 3, P::EARLY_END));

    EXPECT_EQ(timelineOf("begin event E\nint\nend\nbegin global\n1 event E 3\n", {"E"}).size(), 1u);
    EXPECT_EQ(timelineOf("begin event E\nint\n", {"E"}).size(), 0u);
    EXPECT_EQ(timelineOf("begin event E\nend\nbegin pattern p\n0 E\n", {"E"}).size(), 0u);
    EXPECT_EQ(timelineOf("begin pattern\n0 E\n", {"E"}).size(), 0u);
    // A last "end" without its line feed is lost: the section is open at the end.
    EXPECT_EQ(timelineOf("begin event E\nend\nbegin global\n1 event E\nend", {"E"}).size(), 1u);
}

TEST(EnvironmentRobustness, OverlongLineIsSkippedAndReadingGoesOn)
{
    for (const std::size_t length : {255u, 256u, 257u, 300u, 5000u}) {
        const std::string longLine = "texture " + std::string(length - 8, 'x');
        Collector collector;
        auto environment =
            parseScript("begin assets\ntexture a a\n" + longLine + "\ntexture b b\nend\n", &collector);
        const std::vector<VELT::Asset*> assets = environment->getAssets();
        ASSERT_EQ(assets.size(), 2u) << length;
        EXPECT_EQ(assets[1]->name, "b");
        EXPECT_TRUE(reported(collector, 3, P::LINE_TOO_LONG)) << length;
    }
    // An over-long last line without a line feed is the end of input.
    EXPECT_EQ(parseScript("begin assets\ntexture a a\nend\n" + std::string(400, 'y'))->getAssets().size(), 1u);
}

TEST(EnvironmentRobustness, CarriageReturnsBeforeLineFeedsAreRemoved)
{
    const std::string lf = "begin assets\ntexture a a.png\nend\nbegin event E\nint\nend\n"
                           "begin global\n1 event E 4\nend\n";
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    auto environment = parseScript(crlf);
    ASSERT_EQ(environment->getAssets().size(), 1u);
    EXPECT_EQ(environment->getAssets()[0]->path, "a.png");
    const std::vector<VELT::Event> events = timelineOf(*environment, {"E"});
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].args.at(0).intValue, 4);

    // 254 bytes and a carriage return still fit.
    const std::string line = "texture n " + std::string(244, 'p');
    EXPECT_EQ(parseScript("begin assets\r\n" + line + "\r\nend\r\n")->getAssets().size(), 1u);
}

TEST(EnvironmentRobustness, LinesShortOfWordsAreSkipped)
{
    Collector collector;
    auto environment = parseScript(
        "begin\n"                                      // 1
        "begin event\nint\nend\n"                      // 2: no name, section skipped
        "begin event E\nint\nint\nend\n"               // 5
        "begin assets\ntexture\ntexture only\ntexture ok ok.png\nend\n"  // 9: lines 10, 11 skipped
        "begin pattern p\n0\n0 E 1 2 3\n0 E 7\n1 Q 1\nend\n"           // 14: lines 15, 16, 18 skipped
        "begin global\n"                               // 20
        "5\n"                                          // 21
        "5 event\n"                                    // 22
        "5 pattern\n"                                  // 23
        "5 event E 1\n"                                // 24: too few arguments
        "6 event E 1 2\n"                              // 25
        "7 pattern p\n"                                // 26
        "end\n",
        &collector);
    EXPECT_EQ(environment->getAssets().size(), 1u);
    const std::vector<VELT::Event> events = timelineOf(*environment, {"E", "Q", "int"});
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].time, 6.0);
    ASSERT_EQ(events[0].args.size(), 2u);
    // A pattern line with fewer words than parameters is read with fewer cells.
    EXPECT_EQ(events[1].time, 7.0);
    ASSERT_EQ(events[1].args.size(), 1u);
    EXPECT_EQ(events[1].args[0].intValue, 7);

    for (int line : {1, 2, 10, 11, 15, 21, 22, 23})
        EXPECT_TRUE(reported(collector, line, P::MISSING_WORDS)) << line;
    EXPECT_TRUE(reported(collector, 16, P::TOO_MANY_ARGUMENTS));
    EXPECT_TRUE(reported(collector, 17, P::TOO_FEW_ARGUMENTS));
    EXPECT_TRUE(reported(collector, 18, P::TOO_MANY_ARGUMENTS));
    EXPECT_TRUE(reported(collector, 24, P::TOO_FEW_ARGUMENTS));
}

TEST(EnvironmentRobustness, PlaceholderBeyondTheLineSkipsTheWholeInstance)
{
    Collector collector;
    auto environment = parseScript(
        "begin event E\nint\nend\n"
        "begin pattern p\n0 E 1\n1 E {2}\nend\n"
        "begin global\n1 pattern p 5 6\n2 pattern p 5 6 7\nend\n",
        &collector);
    const std::vector<VELT::Event> events = timelineOf(*environment, {"E"});
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].time, 2.0);
    EXPECT_EQ(events[1].args.at(0).intValue, 7);
    EXPECT_TRUE(reported(collector, 9, P::PLACEHOLDER_OUT_OF_REACH));
}

TEST(EnvironmentRobustness, DiagnosticsNameWhatAuthorsWouldNotExpect)
{
    Collector collector;
    parseScript(
        "begin global\n1 event Late\n2 pattern later\n3 dance\nend\n"   // 1-5
        "begin event Late\nasset\nbool\nfloat\nwidget\nend\n"            // 6-11
        "begin pattern later\n0 Late a b c\nend\n"                      // 12-14
        "begin sounds\nend\n"                                           // 15-16
        "begin global\n4 event Late nowhere yes 1.5x\nend\n",           // 17-19
        &collector);
    EXPECT_TRUE(reported(collector, 2, P::UNDECLARED_EVENT_TYPE));
    EXPECT_TRUE(reported(collector, 3, P::UNDEFINED_PATTERN));
    EXPECT_TRUE(reported(collector, 4, P::UNKNOWN_KIND));
    EXPECT_TRUE(reported(collector, 6, P::DECLARED_AFTER_USE));
    EXPECT_TRUE(reported(collector, 10, P::UNKNOWN_KIND));
    EXPECT_TRUE(reported(collector, 12, P::DECLARED_AFTER_USE));
    EXPECT_TRUE(reported(collector, 15, P::UNKNOWN_SECTION));
    EXPECT_TRUE(reported(collector, 16, P::STRAY_LINE));
    EXPECT_TRUE(reported(collector, 18, P::UNKNOWN_ASSET));
    EXPECT_TRUE(reported(collector, 18, P::VALUE_NOT_AS_WRITTEN));
}

TEST(EnvironmentRobustness, SinkChangesNothingThatIsRead)
{
    const std::string script =
        "begin assets\ntexture a a\nend\nbegin event E\nasset\nint\nend\n"
        "begin pattern p\n0 E {0} 3\nend\nbegin global\n1 event E a 2\n2 pattern p zz\n3 event E\nend\n";
    Collector collector;
    const std::vector<VELT::Event> withSink = timelineOf(*parseScript(script, &collector), {"E"});
    const std::vector<VELT::Event> without = timelineOf(script, {"E"});
    ASSERT_EQ(withSink.size(), without.size());
    for (std::size_t i = 0; i < without.size(); ++i) {
        EXPECT_EQ(withSink[i].time, without[i].time);
        ASSERT_EQ(withSink[i].args.size(), without[i].args.size());
        for (std::size_t k = 0; k < without[i].args.size(); ++k)
            EXPECT_EQ(withSink[i].args[k].intValue, without[i].args[k].intValue);
    }
    EXPECT_FALSE(collector.found.empty());
}
