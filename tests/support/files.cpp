#include "support/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::filesystem::path p(path);
    if (p.has_parent_path())
        std::filesystem::create_directories(p.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string placeOf(const std::string& source, const std::string& needle)
{
    std::ifstream file(std::string(SOLENNE_SOURCE_DIR) + "/" + source);
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (line.find(needle) != std::string::npos)
            return source + ":" + std::to_string(number);
    }
    ADD_FAILURE() << needle << " not found in " << source;
    return "";
}
