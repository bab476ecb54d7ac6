// The packed pictures of the content build: every sprite the timeline names is
// a well-formed sprite description whose table image is packed and decodable,
// the overlays' openings lie exactly on the layout rectangles, and the
// loading screen's three pictures fit together.
#include "packfile.h"
#include "pngimage.h"
#include "timelinescript.h"

#include "content/screenlayouts.h"
#include "dd/packlayout.h"
#include "dd/spritemetadata.h"
#include "screenlayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace
{
const std::string DATA = std::string(SOLENNE_BINARY_DIR) + "/data/";

class PackedContent : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ms_pack = new PackFile;
        std::string why;
        ms_loaded = ms_pack->load(DATA + "data.kvt", why);
        ms_why = why;
    }
    static void TearDownTestSuite()
    {
        delete ms_pack;
        ms_pack = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(ms_loaded) << "data/data.kvt: " << ms_why; }

    PngImage image(const std::string& name)
    {
        PngImage png;
        std::string why;
        EXPECT_TRUE(ms_pack->has(name)) << name << " is not in the pack";
        if (ms_pack->has(name))
        {
            EXPECT_TRUE(png.decode(ms_pack->bytes(name), why)) << name << ": " << why;
        }
        return png;
    }

    static PackFile* ms_pack;
    static bool ms_loaded;
    static std::string ms_why;
};
PackFile* PackedContent::ms_pack = nullptr;
bool PackedContent::ms_loaded = false;
std::string PackedContent::ms_why;

// The lines of a sprite description, each ended by a line feed.
std::vector<std::string> linesOf(const std::string& text, bool& everyLineEnded)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
        {
            everyLineEnded = false;
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool isWholeNumber(const std::string& s)
{
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    return !s.empty() && *end == '\0' && v > 0;
}
}

TEST_F(PackedContent, EveryTimelineAssetIsASpriteDescriptionWithAPackedTable)
{
    TimelineScript script;
    std::string why;
    ASSERT_TRUE(script.load(DATA + "solenne.kvt", why)) << why;
    ASSERT_GE(script.assets.size(), 10u);
    for (const ScriptAsset& asset : script.assets)
    {
        SCOPED_TRACE(asset.name + " " + asset.path);
        ASSERT_TRUE(ms_pack->has(asset.path)) << "no sprite description in the pack";
        bool ended = true;
        std::vector<std::string> lines = linesOf(ms_pack->text(asset.path), ended);
        EXPECT_TRUE(ended) << "the last line lacks its line feed";
        ASSERT_GE(lines.size(), 7u);
        for (int i = 1; i <= 5; ++i)
            EXPECT_TRUE(isWholeNumber(lines[i])) << "line " << i + 1 << " is \"" << lines[i] << "\"";
        int columns = std::atoi(lines[1].c_str()), rows = std::atoi(lines[2].c_str());
        int frames = std::atoi(lines[5].c_str());
        EXPECT_LE(frames, 255);
        EXPECT_LE(frames, columns * rows) << "more frames than cells";
        EXPECT_GT(frames, (rows - 1) * columns) << "a whole row of the table is unused";
        ASSERT_EQ(lines.size(), static_cast<size_t>(6 + frames)) << "one duration line per frame, nothing after";
        for (int f = 0; f < frames; ++f)
        {
            // A frame shorter than a 60 Hz display frame would be skipped.
            double d = std::strtod(lines[6 + f].c_str(), nullptr);
            EXPECT_GE(d, 1.0 / 60.0) << "frame " << f;
            EXPECT_LE(d, 10.0) << "frame " << f;
        }
        // The demo's own metadata reader accepts it and reads the same grid.
        DD::SpriteMetadata metadata;
        const std::vector<unsigned char>& bytes = ms_pack->bytes(asset.path);
        EXPECT_TRUE(metadata.parse(bytes.data(), static_cast<unsigned>(bytes.size()))) << metadata.getError();
        EXPECT_EQ(metadata.getImageName(), lines[0]);
        EXPECT_EQ(metadata.getFrameCount(), static_cast<unsigned>(frames));
        EXPECT_EQ(metadata.getColumns(), static_cast<unsigned>(columns));
        PngImage table = image(lines[0]);
        ASSERT_GT(table.width, 0);
        EXPECT_EQ(table.width % columns, 0) << "cells of unequal width";
        // Older cards take no larger textures.
        EXPECT_LE(table.width, 2048);
        EXPECT_LE(table.height, 2048);
        EXPECT_EQ(table.height % rows, 0) << "cells of unequal height";
    }
}

TEST_F(PackedContent, TheDemosPackReaderFindsEveryEntry)
{
    std::ifstream in(DATA + "data.kvt", std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<DD::PackLayout::Record> records;
    EXPECT_EQ(DD::PackLayout::parse(bytes.data(), bytes.size(), records), "");
    EXPECT_EQ(records.size(), ms_pack->names().size()) << "an entry name is packed twice";
}

// The overlay painter cuts its openings from its own copy of the layout table;
// it must be the table the screen manager draws the screens from.
TEST(LayoutTable, MatchesTheScreenManagersTable)
{
    for (int mode = 0; mode < ScreenLayouts::MODE_COUNT; ++mode)
    {
        SCOPED_TRACE("mode " + std::to_string(mode));
        const ScreenLayouts::Layout& ours = ScreenLayouts::LAYOUTS[mode];
        unsigned count = 0;
        const SubscreenRectangle* theirs = ScreenLayout::getRectangles(mode, count);
        ASSERT_EQ(count, static_cast<unsigned>(ours.count));
        EXPECT_STREQ(ours.overlay, ScreenLayout::getOverlayName(ScreenLayout::getOverlayIndex(mode)));
        for (unsigned i = 0; i < count; ++i)
        {
            EXPECT_EQ(theirs[i].id, i);
            EXPECT_EQ(theirs[i].left, ours.rects[i].left) << "id " << i;
            EXPECT_EQ(theirs[i].top, ours.rects[i].top) << "id " << i;
            EXPECT_EQ(theirs[i].right, ours.rects[i].right) << "id " << i;
            EXPECT_EQ(theirs[i].bottom, ours.rects[i].bottom) << "id " << i;
        }
    }
}

TEST_F(PackedContent, EveryPictureIsAnEightBitNonInterlacedPng)
{
    int pictures = 0;
    for (const std::string& name : ms_pack->names())
    {
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".png") != 0)
            continue;
        ++pictures;
        PngImage png = image(name);
        EXPECT_EQ(png.bitDepth, 8) << name;
        EXPECT_FALSE(png.interlaced) << name;
        EXPECT_TRUE(png.colourType == 2 || png.colourType == 6) << name << " is neither RGB nor RGBA";
    }
    // Eight overlays, three loading pictures and at least ten sprite tables.
    EXPECT_GE(pictures, 21);
}

TEST_F(PackedContent, OverlaysAreOpenExactlyOnTheirLayoutsRectangles)
{
    // Pixels whose centre lies in a rectangle must be fully transparent; pixels
    // more than this far from every rectangle must be fully opaque.
    const double NEIGHBOURHOOD = 2.0;
    for (int mode = 0; mode < ScreenLayouts::MODE_COUNT; ++mode)
    {
        const ScreenLayouts::Layout& layout = ScreenLayouts::LAYOUTS[mode];
        SCOPED_TRACE(std::string("mode ") + std::to_string(mode) + " " + layout.overlay);
        PngImage png = image(layout.overlay);
        ASSERT_EQ(png.width, 1920);
        ASSERT_EQ(png.height, 1080);
        int holes = 0, wrongInside = 0, wrongOutside = 0;
        for (int y = 0; y < png.height; ++y)
            for (int x = 0; x < png.width; ++x)
            {
                double nx = (x + 0.5) / png.width * 2.0 - 1.0, ny = 1.0 - (y + 0.5) / png.height * 2.0;
                double nearest = 1e9;
                bool inside = false;
                for (int i = 0; i < layout.count; ++i)
                {
                    const ScreenLayouts::Rect& r = layout.rects[i];
                    if (nx >= r.left && nx <= r.right && ny <= r.top && ny >= r.bottom)
                        inside = true;
                    double dx = std::max({r.left - nx, 0.0, nx - r.right}) * png.width / 2.0;
                    double dy = std::max({r.bottom - ny, 0.0, ny - r.top}) * png.height / 2.0;
                    nearest = std::min(nearest, std::hypot(dx, dy));
                }
                unsigned char alpha = png.pixel(x, y)[3];
                if (inside)
                {
                    ++holes;
                    wrongInside += alpha != 0;
                }
                else if (nearest > NEIGHBOURHOOD)
                    wrongOutside += alpha != 255;
            }
        EXPECT_GT(holes, 0);
        EXPECT_EQ(wrongInside, 0) << "pixels of housing over a screen";
        EXPECT_EQ(wrongOutside, 0) << "see-through pixels away from the screens";
    }
}

TEST_F(PackedContent, LoadingScreenPicturesMatchAndTheMaskRevealsGradually)
{
    PngImage off = image("loadingscreen/img_off.png");
    PngImage on = image("loadingscreen/img_on.png");
    PngImage mask = image("loadingscreen/mask.png");
    ASSERT_GT(off.width, 0);
    EXPECT_EQ(on.width, off.width);
    EXPECT_EQ(on.height, off.height);
    EXPECT_EQ(mask.width, off.width);
    EXPECT_EQ(mask.height, off.height);

    // Off is the dark picture; both are pictures, not flat fills.
    auto stats = [](const PngImage& p, double& mean, double& spread) {
        double sum = 0, sum2 = 0;
        size_t n = 0;
        for (size_t i = 0; i < p.rgba.size(); i += 4 * 7)
        {
            double v = (p.rgba[i] + p.rgba[i + 1] + p.rgba[i + 2]) / 3.0;
            sum += v;
            sum2 += v * v;
            ++n;
        }
        mean = sum / n;
        spread = std::sqrt(sum2 / n - mean * mean);
    };
    double offMean, offSpread, onMean, onSpread;
    stats(off, offMean, offSpread);
    stats(on, onMean, onSpread);
    EXPECT_LT(offMean, onMean);
    EXPECT_GT(offSpread, 5.0);
    EXPECT_GT(onSpread, 15.0);

    // The mask is grey and spreads its values over the whole loading range:
    // something is lit at once, and something waits for the very end.
    int histogram[10] = {};
    for (size_t i = 0; i < mask.rgba.size(); i += 4)
    {
        EXPECT_EQ(mask.rgba[i], mask.rgba[i + 1]);
        EXPECT_EQ(mask.rgba[i], mask.rgba[i + 2]);
        if (mask.rgba[i] != mask.rgba[i + 1] || mask.rgba[i] != mask.rgba[i + 2])
            break;
        ++histogram[std::min(9, mask.rgba[i] * 10 / 255)];
    }
    int filled = 0;
    for (int h : histogram)
        filled += h > 0;
    EXPECT_GE(filled, 8) << "the reveal jumps instead of spreading";
    EXPECT_GT(histogram[0], 0) << "nothing is lit at progress 0";
    EXPECT_GT(histogram[7] + histogram[8] + histogram[9], 0) << "everything is lit before loading ends";
}
