#include "gltestsupport.h"

#include "gl/shader.h"
#include "gl/texture.h"

namespace
{
const char* const VERTEX = "void main() { gl_Position = gl_Vertex; gl_TexCoord[0] = gl_MultiTexCoord0; }\n";
const char* const FRAGMENT = "void main() { gl_FragColor = vec4(1.0, 0.0, 0.0, 1.0); }\n";
const char* const UNIFORM_FRAGMENT =
    "uniform float a;\n"
    "uniform vec2 b;\n"
    "uniform vec3 c;\n"
    "uniform vec4 d;\n"
    "uniform sampler2D picture;\n"
    "void main() { gl_FragColor = vec4(a, b.y, c.z, d.w) * texture2D(picture, vec2(0.5)); }\n";
}

class ShaderTest : public GlTest
{
};

TEST_F(ShaderTest, printsThreeLogLinesOnEveryConstruction)
{
    testing::internal::CaptureStdout();
    Shader clean(VERTEX, FRAGMENT);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Vtx Shader info log: \nFrag Shader info log: \nProgram info log: \n");

    testing::internal::CaptureStdout();
    Shader broken(VERTEX, "void main() { gl_FragColor = vec4(1.0) }\n");
    const std::string output = testing::internal::GetCapturedStdout();
    const std::string fragmentLine = "\nFrag Shader info log: ";
    ASSERT_EQ(output.rfind("Vtx Shader info log: \nFrag Shader info log: ", 0), 0u) << output;
    const size_t errorAt = output.find("error", fragmentLine.size());
    const size_t programAt = output.find("Program info log: ");
    EXPECT_NE(errorAt, std::string::npos) << output;
    EXPECT_LT(errorAt, programAt) << output;
    EXPECT_EQ(output.back(), '\n');
}

TEST_F(ShaderTest, setsUniformsOfTheBoundProgram)
{
    const std::vector<unsigned char> white = encodePng(1, 1, 3, {255, 255, 255});
    const std::vector<unsigned char> black = encodePng(1, 1, 3, {0, 0, 0});
    Texture onUnitThree(white.data(), static_cast<int>(white.size()));
    Texture onUnitZero(black.data(), static_cast<int>(black.size()));

    testing::internal::CaptureStdout();
    Shader shader(VERTEX, UNIFORM_FRAGMENT);
    testing::internal::GetCapturedStdout();
    shader.bind();
    shader.setUniform1f("a", 0.2f);
    shader.setUniform2f("b", 0.9f, 0.4f);
    shader.setUniform3f("c", 0.9f, 0.9f, 0.6f);
    shader.setUniform4f("d", 0.0f, 0.0f, 0.0f, 1.0f);
    shader.setUniform1i("picture", 3);
    shader.setUniform4f("notInTheProgram", 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    onUnitThree.bind(3);
    onUnitZero.bind(0);
    glViewport(0, 0, 4, 4);
    drawQuad(-1, -1, 1, 1, 0, 0, 1, 1);
    onUnitZero.unbind();
    onUnitThree.unbind();
    EXPECT_TRUE(nearColour(m_window.readPixel(1, 1), Rgba{51, 102, 153, 255})) << int(m_window.readPixel(1, 1).g);

    Shader other(VERTEX, FRAGMENT);
    EXPECT_NE(integerState(GL_CURRENT_PROGRAM), 0);
    other.unbind();
    EXPECT_EQ(integerState(GL_CURRENT_PROGRAM), 0);
}
