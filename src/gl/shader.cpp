#include "gl/shader.h"

#include "base/assert.h"
#include "gl/context.h"
#include "gl/glheaders.h"

#include <cstdio>
#include <vector>

namespace
{
const GLsizei LOG_BUFFER_SIZE = 65536;

// Compile and link errors stop nothing; the printed logs are their report.
void printLog(const char* format, GLuint object, bool program)
{
    std::vector<GLchar> log(LOG_BUFFER_SIZE, 0);
    if (program)
        glGetProgramInfoLog(object, LOG_BUFFER_SIZE - 1, 0, log.data());
    else
        glGetShaderInfoLog(object, LOG_BUFFER_SIZE - 1, 0, log.data());
    std::printf(format, log.data());
    std::fflush(stdout);
}

GLuint compile(GLenum stage, const char* source, const char* logFormat)
{
    const GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, 0);
    glCompileShader(shader);
    printLog(logFormat, shader, false);
    return shader;
}
}

Shader::Shader(const char* vertexSource, const char* fragmentSource)
    : m_vertexShader(0)
    , m_fragmentShader(0)
    , m_program(0)
{
    FATAL_ASSERT(Context::ms_context != 0, "Cannot create a shader without any GL context.");
    m_vertexShader = compile(GL_VERTEX_SHADER, vertexSource, "Vtx Shader info log: %s\n");
    m_fragmentShader = compile(GL_FRAGMENT_SHADER, fragmentSource, "Frag Shader info log: %s\n");
    m_program = glCreateProgram();
    glAttachShader(m_program, m_vertexShader);
    glAttachShader(m_program, m_fragmentShader);
    glLinkProgram(m_program);
    printLog("Program info log: %s\n", m_program, true);
}

Shader::~Shader()
{
    glDeleteProgram(m_program);
    glDeleteShader(m_fragmentShader);
    glDeleteShader(m_vertexShader);
}

void Shader::bind()
{
    glUseProgram(m_program);
}

void Shader::unbind()
{
    glUseProgram(0);
}

void Shader::setUniform1i(const char* name, int value)
{
    glUniform1i(glGetUniformLocation(m_program, name), value);
}

void Shader::setUniform1f(const char* name, float value)
{
    glUniform1f(glGetUniformLocation(m_program, name), value);
}

void Shader::setUniform2f(const char* name, float x, float y)
{
    glUniform2f(glGetUniformLocation(m_program, name), x, y);
}

void Shader::setUniform3f(const char* name, float x, float y, float z)
{
    glUniform3f(glGetUniformLocation(m_program, name), x, y, z);
}

void Shader::setUniform4f(const char* name, float x, float y, float z, float w)
{
    glUniform4f(glGetUniformLocation(m_program, name), x, y, z, w);
}
