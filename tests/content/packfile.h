// Reads a whole pack file (entry count, then 256-byte name, 32-bit length and
// bytes per entry) into memory, so the content tests can look at what the
// content build packed without a GL context or the demo's singletons.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class PackFile
{
public:
    // False, with a reason, when the file is missing or its records do not
    // add up to the file's length.
    bool load(const std::string& path, std::string& why);

    bool has(const std::string& name) const { return m_entries.count(name) != 0; }
    const std::vector<unsigned char>& bytes(const std::string& name) const { return m_entries.at(name); }
    std::string text(const std::string& name) const;
    std::vector<std::string> names() const;

private:
    std::map<std::string, std::vector<unsigned char>> m_entries;
};
