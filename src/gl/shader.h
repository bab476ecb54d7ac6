// A GLSL program linked from one vertex and one fragment source held in
// memory; it prints the three info logs on construction. The loading screen,
// the screen manager's CRT pass and the lightning effect draw with it.
#pragma once

class Shader
{
public:
    Shader(const char* vertexSource, const char* fragmentSource);
    ~Shader();
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    void bind();
    // Leaves no program current, whichever one was.
    void unbind();

    // Act on the current program: bind first. Unknown names are ignored.
    void setUniform1i(const char* name, int value);
    void setUniform1f(const char* name, float value);
    void setUniform2f(const char* name, float x, float y);
    void setUniform3f(const char* name, float x, float y, float z);
    void setUniform4f(const char* name, float x, float y, float z, float w);

private:
    unsigned int m_vertexShader;
    unsigned int m_fragmentShader;
    unsigned int m_program;
};
