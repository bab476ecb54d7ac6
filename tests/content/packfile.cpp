#include "packfile.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace
{
uint32_t read32(const std::vector<unsigned char>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
}

bool PackFile::load(const std::string& path, std::string& why)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        why = "cannot open " + path;
        return false;
    }
    std::vector<unsigned char> all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (all.size() < 4)
    {
        why = "shorter than its header";
        return false;
    }
    uint32_t count = read32(all, 0);
    size_t at = 4;
    for (uint32_t i = 0; i < count; ++i)
    {
        if (all.size() - at < 260)
        {
            why = "record " + std::to_string(i) + " is cut short";
            return false;
        }
        const char* field = reinterpret_cast<const char*>(&all[at]);
        size_t nameLength = strnlen(field, 256);
        if (nameLength == 256)
        {
            why = "record " + std::to_string(i) + " has no end to its name";
            return false;
        }
        std::string name(field, nameLength);
        uint32_t size = read32(all, at + 256);
        at += 260;
        if (all.size() - at < size)
        {
            why = "entry " + name + " runs past the end of the file";
            return false;
        }
        m_entries.emplace(name, std::vector<unsigned char>(all.begin() + at, all.begin() + at + size));
        at += size;
    }
    if (at != all.size())
    {
        why = "bytes left over after the last record";
        return false;
    }
    return true;
}

std::string PackFile::text(const std::string& name) const
{
    const std::vector<unsigned char>& b = bytes(name);
    return std::string(b.begin(), b.end());
}

std::vector<std::string> PackFile::names() const
{
    std::vector<std::string> all;
    for (const auto& e : m_entries)
        all.push_back(e.first);
    return all;
}
