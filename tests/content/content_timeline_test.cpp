// The timeline and the soundtrack of the content build: the script uses every
// event the demo knows with sensible arguments, all events sit on the song's
// beat grid, the song is as long as the timeline, and the generators give the
// same bytes every time.
#include "packfile.h"
#include "timelinescript.h"

#include "content/tempo.h"
#include "support/childprocess.h"
#include "support/files.h"
#include "velt/environment.h"

#include <gtest/gtest.h>
#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

namespace
{
const std::string DATA = std::string(SOLENNE_BINARY_DIR) + "/data/";

const std::set<std::string> EVENT_NAMES = {"StartSong",   "Sprite",        "SpriteNoAnim",  "SpriteNoAnimOffset",
                                           "DiscardSprite", "ShowLightning", "HideLightning", "SyncLightning",
                                           "ColorLightning", "ScreenColor",  "ScreenMode",    "Exit"};

class Timeline : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string why;
        ASSERT_TRUE(m_script.load(DATA + "solenne.kvt", why)) << why;
        ASSERT_FALSE(m_script.events.empty());
    }

    std::vector<const ScriptEvent*> named(const std::string& name) const
    {
        std::vector<const ScriptEvent*> found;
        for (const ScriptEvent& e : m_script.events)
            if (e.name == name)
                found.push_back(&e);
        return found;
    }
    double startSong() const { return named("StartSong").front()->time; }
    double exitTime() const { return named("Exit").front()->time; }

    TimelineScript m_script;
};

double number(const std::string& word) { return std::strtod(word.c_str(), nullptr); }

// Seconds of audio in an MP3 file, as a decoder plays it.
double mp3Seconds(const std::string& path)
{
    mpg123_init();
    int error = 0;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (!handle)
        return -1.0;
    double seconds = -1.0;
    if (mpg123_open(handle, path.c_str()) == MPG123_OK && mpg123_scan(handle) == MPG123_OK)
    {
        long rate = 0;
        int channels = 0, encoding = 0;
        off_t samples = mpg123_length(handle);
        if (mpg123_getformat(handle, &rate, &channels, &encoding) == MPG123_OK && rate > 0 && samples > 0)
            seconds = static_cast<double>(samples) / rate;
        mpg123_close(handle);
    }
    mpg123_delete(handle);
    return seconds;
}
}

TEST_F(Timeline, ReadsCleanlyAndUsesEveryEventOfTheDemo)
{
    for (const std::string& p : m_script.problems)
        ADD_FAILURE() << p;
    std::set<std::string> used;
    for (const ScriptEvent& e : m_script.events)
    {
        EXPECT_EQ(EVENT_NAMES.count(e.name), 1u) << "line " << e.line << ": the demo does not handle " << e.name;
        used.insert(e.name);
    }
    EXPECT_EQ(used, EVENT_NAMES);

    std::string text = readFile(DATA + "solenne.kvt");
    EXPECT_NE(text.find("begin pattern"), std::string::npos);
    EXPECT_NE(text.find("{0}"), std::string::npos) << "no pattern takes placeholders";
    EXPECT_NE(text.find(" pattern "), std::string::npos) << "no pattern is instantiated";
}

TEST_F(Timeline, ArgumentsAreInRangeForTheDemo)
{
    PackFile pack;
    std::string why;
    ASSERT_TRUE(pack.load(DATA + "data.kvt", why)) << why;
    for (const ScriptEvent& e : m_script.events)
    {
        SCOPED_TRACE("line " + std::to_string(e.line) + " " + e.name);
        for (size_t i = 0; i < e.args.size(); ++i)
        {
            const std::string& type = m_script.typeOf(e.name, i);
            if (type == "asset")
            {
                EXPECT_GE(m_script.assetIndex(e.args[i]), 0) << "unknown asset " << e.args[i];
            }
            if (type == "float")
            {
                EXPECT_TRUE(std::isfinite(number(e.args[i])));
            }
        }
        if (e.name == "Sprite" || e.name == "SpriteNoAnim" || e.name == "SpriteNoAnimOffset" ||
            e.name == "DiscardSprite" || e.name == "ShowLightning" || e.name == "ScreenColor")
        {
            // Subscreen 15 is never shown, so a picture there is lost.
            int layer = std::atoi(e.args[0].c_str());
            EXPECT_GE(layer, 0);
            EXPECT_LE(layer, 14);
        }
        if (e.name.rfind("Sprite", 0) == 0)
        {
            EXPECT_GT(number(e.args[2]), 0.0) << "scale";
        }
        if (e.name == "SpriteNoAnimOffset")
        {
            int asset = m_script.assetIndex(e.args[1]);
            ASSERT_GE(asset, 0);
            std::string meta = pack.text(m_script.assets[asset].path);
            int frames = 0;
            std::istringstream lines(meta);
            std::string line;
            for (int i = 0; i < 6 && std::getline(lines, line); ++i)
                frames = std::atoi(line.c_str());
            int frame = std::atoi(e.args[3].c_str());
            EXPECT_GE(frame, 0);
            EXPECT_LT(frame, frames) << "frame beyond the sprite's frames";
        }
        if (e.name == "ScreenMode")
        {
            int mode = std::atoi(e.args[0].c_str());
            EXPECT_GE(mode, 0);
            EXPECT_LE(mode, 7);
        }
        if (e.name == "ScreenColor" || e.name == "ColorLightning")
            for (size_t i = e.name == "ScreenColor" ? 1 : 0; i < e.args.size(); ++i)
            {
                EXPECT_GE(number(e.args[i]), 0.0);
                EXPECT_LE(number(e.args[i]), 1.0);
            }
        if (e.name == "SyncLightning")
        {
            EXPECT_GT(number(e.args[0]), 0.0) << "a zero sync flattens the arc's projection";
        }
    }
}

TEST_F(Timeline, ShowsEveryLayoutMoodAndLightningChange)
{
    std::set<int> modes;
    for (const ScriptEvent* e : named("ScreenMode"))
        modes.insert(std::atoi(e->args[0].c_str()));
    EXPECT_EQ(modes, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7}));

    std::set<std::string> moods, lightningColours, syncs;
    std::set<int> lightningLayers;
    for (const ScriptEvent* e : named("ScreenColor"))
        moods.insert(e->args[1] + " " + e->args[2] + " " + e->args[3]);
    for (const ScriptEvent* e : named("ColorLightning"))
        lightningColours.insert(e->args[0] + " " + e->args[1] + " " + e->args[2]);
    for (const ScriptEvent* e : named("SyncLightning"))
        syncs.insert(e->args[0]);
    for (const ScriptEvent* e : named("ShowLightning"))
        lightningLayers.insert(std::atoi(e->args[0].c_str()));
    EXPECT_GE(moods.size(), 4u);
    EXPECT_GE(lightningColours.size(), 3u) << "the lightning is hardly recoloured";
    EXPECT_GE(syncs.size(), 3u) << "the lightning is hardly resynced";
    EXPECT_GE(lightningLayers.size(), 3u) << "the lightning hardly moves";

    // The lightning colour is set before the arc is first shown.
    ASSERT_FALSE(named("ShowLightning").empty());
    ASSERT_FALSE(named("ColorLightning").empty());
    EXPECT_LE(named("ColorLightning").front()->time, named("ShowLightning").front()->time);
}

// A picture or the arc placed on a subscreen that the layout in force does not
// show is wasted: every placement goes to a screen on the wall at that time.
TEST_F(Timeline, PlacesPicturesOnlyOnScreensTheLayoutShows)
{
    const int SHOWN[8] = {1, 2, 3, 4, 8, 7, 10, 15}; // subscreens 0..n-1 per mode
    std::vector<const ScriptEvent*> byTime;
    for (const ScriptEvent& e : m_script.events)
        byTime.push_back(&e);
    std::stable_sort(byTime.begin(), byTime.end(),
                     [](const ScriptEvent* a, const ScriptEvent* b) { return a->time < b->time; });
    int mode = 0;
    for (const ScriptEvent* e : byTime)
    {
        if (e->name == "ScreenMode")
            mode = std::atoi(e->args[0].c_str());
        bool places = e->name == "Sprite" || e->name == "SpriteNoAnim" || e->name == "SpriteNoAnimOffset" ||
                      e->name == "ShowLightning";
        if (places && mode >= 0 && mode < 8)
        {
            EXPECT_LT(std::atoi(e->args[0].c_str()), SHOWN[mode])
                << "line " << e->line << ": " << e->name << " at " << e->time << " on a screen mode " << mode
                << " hides";
        }
    }
}

// Patterns keep placing their sprite for bars after their line: none of them
// may still be doing so on a screen that a later line has given a new picture.
TEST_F(Timeline, NoPatternOverridesALaterLinesPicture)
{
    std::map<int, std::vector<const ScriptEvent*>> byLayer;
    for (const ScriptEvent& e : m_script.events)
        if (e.name == "Sprite" || e.name == "SpriteNoAnim" || e.name == "SpriteNoAnimOffset" ||
            e.name == "DiscardSprite")
            byLayer[std::atoi(e.args[0].c_str())].push_back(&e);
    for (auto& [layer, events] : byLayer)
    {
        std::stable_sort(events.begin(), events.end(),
                         [](const ScriptEvent* a, const ScriptEvent* b) { return a->time < b->time; });
        for (size_t i = 0; i < events.size(); ++i)
            for (size_t j = 0; j < i; ++j)
            {
                const ScriptEvent& later = *events[i];
                const ScriptEvent& earlier = *events[j];
                EXPECT_FALSE(earlier.line != later.line && earlier.lineTime > later.lineTime &&
                             later.time > earlier.lineTime)
                    << "screen " << layer << ": line " << later.line << " still places " << later.args[1] << " at "
                    << later.time << " after line " << earlier.line << " changed the screen at "
                    << earlier.lineTime;
            }
    }
}

TEST_F(Timeline, StartsTheSongNearTheStartAndEndsAtExit)
{
    ASSERT_EQ(named("StartSong").size(), 1u);
    ASSERT_EQ(named("Exit").size(), 1u);
    EXPECT_GE(startSong(), 0.0);
    EXPECT_LE(startSong(), 4.0);
    for (const ScriptEvent& e : m_script.events)
        EXPECT_LE(e.time, exitTime()) << "line " << e.line << ": " << e.name << " after the end";
    EXPECT_GE(exitTime(), 120.0);
    EXPECT_LE(exitTime(), 180.0);
}

TEST_F(Timeline, EveryEventLiesOnTheSongsBeatGrid)
{
    for (const ScriptEvent& e : m_script.events)
    {
        double steps = (e.time - startSong()) / Tempo::GRID_SECONDS;
        EXPECT_NEAR(steps, std::round(steps), 1e-3)
            << "line " << e.line << ": " << e.name << " at " << e.time << " is off the sixteenth-note grid";
        EXPECT_GE(e.time, 0.0);
    }
    // The song ends on the bar line where the demo exits.
    double bars = (exitTime() - startSong()) / Tempo::SECONDS_PER_BAR;
    EXPECT_NEAR(bars, Tempo::SONG_BARS, 1e-3);
}

TEST_F(Timeline, MusicIsAsLongAsTheTimeline)
{
    double seconds = mp3Seconds(DATA + "music.mp3");
    ASSERT_GT(seconds, 0.0) << "data/music.mp3 does not decode";
    EXPECT_NEAR(seconds, exitTime() - startSong(), 1.0);
    EXPECT_NEAR(seconds, Tempo::SONG_SECONDS, 1.0);
}

// The demo's own parser, run to the end of time, delivers exactly the events
// that this test's reader found, in the same order, with the same arguments.
TEST_F(Timeline, TheDemosParserSeesTheSameTimeline)
{
    class Recorder : public VELT::EventListener
    {
    public:
        void onEvent(VELT::Event* event) override { events.push_back(*event); }
        std::vector<VELT::Event> events;
    } recorder;
    VELT::Environment environment(DATA + "solenne.kvt");
    for (const std::string& name : EVENT_NAMES)
        environment.addListener(&recorder, name);
    environment.update(1.0e9);

    std::vector<VELT::Asset*> assets = environment.getAssets();
    ASSERT_EQ(assets.size(), m_script.assets.size());
    for (size_t i = 0; i < assets.size(); ++i)
    {
        EXPECT_EQ(assets[i]->path, m_script.assets[i].path);
    }
    ASSERT_EQ(recorder.events.size(), m_script.events.size());
    for (size_t i = 0; i < recorder.events.size(); ++i)
    {
        const VELT::Event& seen = recorder.events[i];
        const ScriptEvent& read = m_script.events[i];
        SCOPED_TRACE("line " + std::to_string(read.line) + " " + read.name);
        EXPECT_EQ(seen.name, read.name);
        EXPECT_DOUBLE_EQ(seen.time, read.time);
        ASSERT_EQ(seen.args.size(), read.args.size());
        for (size_t a = 0; a < read.args.size(); ++a)
        {
            const std::string& type = m_script.typeOf(read.name, a);
            if (type == "asset")
            {
                EXPECT_EQ(seen.args[a].assetIndex, m_script.assetIndex(read.args[a]));
            }
            else if (type == "int")
            {
                EXPECT_EQ(seen.args[a].intValue, std::atoi(read.args[a].c_str()));
            }
            else if (type == "float")
            {
                EXPECT_FLOAT_EQ(seen.args[a].floatValue, static_cast<float>(number(read.args[a])));
            }
        }
    }
}

// The authors' script checker has nothing to say about the real script.
TEST_F(Timeline, PassesTheScriptCheckerWithoutFindings)
{
    const std::string path = DATA + "solenne.kvt";
    ChildResult r = runProgram({KVTCHECK_PATH, path});
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    // Apart from the parser's own console line, only the summary.
    std::istringstream lines(r.output);
    std::string line, report;
    while (std::getline(lines, line))
        if (line.rfind("P[VELT::Environment]", 0) != 0)
            report += line + "\n";
    EXPECT_EQ(report, path + ": 0 findings\n");
    EXPECT_EQ(r.errors, "");
}

// The song keeps the tempo the timeline is written to: through the groove
// (bars 8-31) every beat starts with a kick, so the sound right after each
// beat line is far louder than just before it.
TEST(Soundtrack, KicksLandOnTheTimelinesBeats)
{
    std::string wav = readFile(std::string(SOLENNE_BINARY_DIR) + "/content-files/music.wav");
    ASSERT_GT(wav.size(), 44u);
    const int RATE = 44100;
    auto sample = [&](size_t frame) {
        size_t at = 44 + frame * 4; // 16-bit stereo: left channel
        return static_cast<int16_t>(static_cast<uint8_t>(wav[at]) | (static_cast<uint8_t>(wav[at + 1]) << 8));
    };
    auto loudness = [&](double from, double seconds) {
        double sum = 0;
        size_t first = static_cast<size_t>(from * RATE), count = static_cast<size_t>(seconds * RATE);
        for (size_t i = first; i < first + count; ++i)
            sum += std::abs(sample(i));
        return sum / count;
    };
    int onBeat = 0, beats = 0;
    for (int beat = 8 * Tempo::BEATS_PER_BAR; beat < 32 * Tempo::BEATS_PER_BAR; ++beat)
    {
        double t = beat * Tempo::SECONDS_PER_BEAT;
        ++beats;
        if (loudness(t, 0.03) > 2.0 * loudness(t - 0.03, 0.03))
            ++onBeat;
    }
    EXPECT_GE(onBeat, beats * 9 / 10) << onBeat << " of " << beats << " beats start with a hit";
}

TEST(ContentGenerators, GiveTheSameBytesEveryTime)
{
    char folder[] = "/tmp/solenne-content-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string files = std::string(SOLENNE_BINARY_DIR) + "/content-files/";

    ChildResult pictures = runProgram({MAKEPICTURES_PATH, folder, "screens"}, "", {}, 120);
    ASSERT_TRUE(pictures.exited && pictures.exitCode == 0) << pictures.errors;
    for (const char* name : {"screen/01.png", "screen/07.png", "screen/10.png"})
        EXPECT_TRUE(readFile(std::string(folder) + "/" + name) == readFile(files + name)) << name << " differs";

    ChildResult music = runProgram({MAKEMUSIC_PATH, std::string(folder) + "/music.wav"}, "", {}, 120);
    ASSERT_TRUE(music.exited && music.exitCode == 0) << music.errors;
    EXPECT_TRUE(readFile(std::string(folder) + "/music.wav") == readFile(files + "music.wav")) << "the song differs";

    runProgram({"rm", "-rf", folder});
}
