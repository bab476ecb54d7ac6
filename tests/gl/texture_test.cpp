#include "gltestsupport.h"

#include "dd/archive.h"
#include "gl/texture.h"

#include <SOIL/SOIL.h>
#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace
{
const Rgba RED = {255, 0, 0, 255}, GREEN = {0, 255, 0, 255}, BLUE = {0, 0, 255, 255}, WHITE = {255, 255, 255, 255};

// Draws the bound texture across a viewport of width x height pixels.
std::vector<Rgba> drawAndRead(GlTestWindow& window, int width, int height, float s1 = 1.0f)
{
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT);
    drawQuad(-1, -1, 1, 1, 0, 0, s1, 1);
    return window.readPixels(0, 0, width, height);
}
}

class TextureTest : public GlTest
{
};

TEST_F(TextureTest, drawsTheImageUprightWithItsTopRowAtTOne)
{
    const std::vector<unsigned char> png =
        encodePng(2, 2, 4, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255});
    Texture texture(png.data(), static_cast<int>(png.size()));
    ASSERT_NE(texture.getId(), 0u);
    texture.bind(0);
    const std::vector<Rgba> pixels = drawAndRead(m_window, 2, 2);
    texture.unbind();
    EXPECT_EQ(pixels, (std::vector<Rgba>{BLUE, WHITE, RED, GREEN}));
}

TEST_F(TextureTest, drawsAnRgbImageWhoseRowsAreNotWholeWords)
{
    std::vector<unsigned char> rgb;
    for (int i = 0; i < 5 * 3; ++i)
        rgb.insert(rgb.end(), {static_cast<unsigned char>(i * 17), static_cast<unsigned char>(255 - i * 13),
                               static_cast<unsigned char>(i * 7 + 40)});
    const std::vector<unsigned char> png = encodePng(5, 3, 3, rgb);
    Texture texture(png.data(), static_cast<int>(png.size()));
    texture.bind(0);
    const std::vector<Rgba> pixels = drawAndRead(m_window, 5, 3);
    texture.unbind();
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const unsigned char* expected = &rgb[((2 - y) * 5 + x) * 3];
            EXPECT_EQ(pixels[y * 5 + x], (Rgba{expected[0], expected[1], expected[2], 255})) << x << "," << y;
        }
    }
}

// A black and a white texel, drawn twice across 100 pixels: pixel 24 lies
// just left of the texel border, pixel 51 just past the first repetition.
TEST_F(TextureTest, samplesNearestAndRepeatsUntilToldOtherwise)
{
    char folder[] = "/tmp/solenne-texture-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::vector<unsigned char> png = encodePng(2, 1, 3, {0, 0, 0, 255, 255, 255});
    const std::string path = std::string(folder) + "/stripes.png";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size());
    const std::string pack = std::string(folder) + "/empty.kvt";
    std::ofstream(pack, std::ios::binary).write("\0\0\0\0", 4);
    DD::Archive archive(pack.c_str());

    Texture texture(path.c_str());
    auto grey = [&](int x) {
        texture.bind(0);
        const Rgba pixel = drawAndRead(m_window, 100, 1, 2.0f)[x];
        texture.unbind();
        return pixel.r;
    };
    EXPECT_EQ(grey(24), 0);
    EXPECT_EQ(grey(25), 255);
    EXPECT_EQ(grey(51), 0);

    texture.setFilter(1, 1);
    EXPECT_NEAR(grey(24), 122, 4);
    texture.setFilter(0, 5);
    EXPECT_EQ(grey(24), 0);

    texture.setWrap(0, 1);
    EXPECT_EQ(grey(51), 255);
    std::remove(path.c_str());
    std::remove(pack.c_str());
    rmdir(folder);
}

TEST_F(TextureTest, remembersTheUnitOfItsFirstBinding)
{
    const std::vector<unsigned char> png = encodePng(1, 1, 3, {1, 2, 3});
    Texture texture(png.data(), static_cast<int>(png.size()));
    const GLint id = static_cast<GLint>(texture.getId());

    texture.bind(0);
    texture.bind(1);
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(textureOnUnit(0), id);
    EXPECT_EQ(textureOnUnit(1), 0);
    glActiveTexture(GL_TEXTURE3);
    texture.unbind();
    EXPECT_EQ(textureOnUnit(0), 0);
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE0);

    texture.bind(2);
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE2);
    EXPECT_EQ(textureOnUnit(2), id);
    texture.unbind();
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE2);
    EXPECT_EQ(textureOnUnit(2), 0);

    // Unbinding an unbound texture touches nothing.
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, id);
    glActiveTexture(GL_TEXTURE3);
    texture.unbind();
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE3);
    EXPECT_EQ(textureOnUnit(1), id);
}

TEST_F(TextureTest, reportsAnImageItCannotDecodeAndStaysUsable)
{
    const unsigned char junk[] = "not a png";
    testing::internal::CaptureStdout();
    Texture texture(junk, 9);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(texture.getId(), 0u);
    EXPECT_EQ(output, std::string("Texture: cannot decode image of 9 bytes: ") + SOIL_last_result() + "\n");
    EXPECT_NE(std::string(SOIL_last_result()), "");

    texture.bind(1);
    EXPECT_EQ(textureOnUnit(1), 0);
    texture.unbind();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
