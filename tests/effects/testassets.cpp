#include "testassets.h"

#include "dd/archive.h"

#include "support/childprocess.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

namespace
{
}

std::string pngBytes(int width, int height, const PixelFunction& pixel)
{
    std::vector<Rgba> bottomUp(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bottomUp[static_cast<size_t>(height - 1 - y) * width + x] = pixel(x, y);
    char path[] = "/tmp/solenne-png-XXXXXX";
    const int fd = mkstemp(path);
    close(fd);
    writePng(path, width, height, bottomUp);
    std::string bytes = readFile(path);
    std::remove(path);
    return bytes;
}

std::string solidPng(int width, int height, Rgba colour)
{
    return pngBytes(width, height, [colour](int, int) { return colour; });
}

TestPack::TestPack(const std::string& name)
    : m_folder(std::string(SOLENNE_BINARY_DIR) + "/testdata/" + name)
    , m_previousFolder(std::filesystem::current_path())
{
    std::filesystem::remove_all(m_folder);
    std::filesystem::create_directories(m_folder + "/files");
    std::filesystem::create_directories(m_folder + "/run");
}

TestPack::~TestPack()
{
    delete DD::Archive::ms_archive;
    std::filesystem::current_path(m_previousFolder);
}

void TestPack::add(const std::string& entryName, const std::string& bytes)
{
    writeFile(m_folder + "/files/" + entryName, bytes);
    m_entries.push_back(entryName);
}

void TestPack::open()
{
    std::string list = std::to_string(m_entries.size());
    for (const std::string& entry : m_entries)
        list += "\n" + entry;
    writeFile(m_folder + "/files.list", list);

    // The builder takes the listed paths relative to the working folder.
    std::filesystem::current_path(m_folder + "/files");
    DD::Archive::build("../files.list", "../pack.kvt");
    std::filesystem::current_path(m_folder + "/run");
    new DD::Archive("../pack.kvt");
}

void TestPack::addLoose(const std::string& name, const std::string& bytes)
{
    writeFile(m_folder + "/run/" + name, bytes);
}

std::string sourcePlace(const std::string& source, const std::string& needle)
{
    std::istringstream lines(readFile(std::string(SOLENNE_SOURCE_DIR) + "/" + source));
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.find(needle) != std::string::npos)
            return source + ":" + std::to_string(number);
    }
    ADD_FAILURE() << needle << " not found in " << source;
    return "";
}

std::string expectedAssertion(const std::string& source, const std::string& expression, const std::string& message)
{
    return assertionText(expression, sourcePlace(source, "FATAL_ASSERT(" + expression + ","), message);
}
