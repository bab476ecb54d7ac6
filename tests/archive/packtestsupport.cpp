#include "packtestsupport.h"

#include "dd/archive.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

std::string packBytes(const std::vector<PackEntry>& entries, int64_t count)
{
    const uint32_t header = static_cast<uint32_t>(count < 0 ? static_cast<int64_t>(entries.size()) : count);
    auto littleEndian = [](uint32_t v) {
        return std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
    };
    std::string bytes = littleEndian(header);
    for (const PackEntry& entry : entries) {
        std::string name = entry.first;
        name.resize(256, '\0');
        bytes += name + littleEndian(static_cast<uint32_t>(entry.second.size())) + entry.second;
    }
    return bytes;
}

bool fileExists(const std::string& path)
{
    return std::filesystem::exists(path);
}

void ScratchFolder::SetUp()
{
    char pattern[] = "/tmp/solenne-pack-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_folder = pattern;
    m_previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(m_folder);
}

void ScratchFolder::TearDown()
{
    delete DD::Archive::ms_archive;
    std::filesystem::current_path(m_previousFolder);
    std::filesystem::remove_all(m_folder);
}

std::vector<std::string> ScratchFolder::folderNames() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}
