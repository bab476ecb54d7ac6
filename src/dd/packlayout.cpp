#include "dd/packlayout.h"

#include <cstring>

namespace DD
{
namespace
{
std::string number(size_t value)
{
    return std::to_string(value);
}
}

std::string PackLayout::parse(const unsigned char* bytes, size_t size, std::vector<Record>& records)
{
    records.clear();
    if (size < COUNT_SIZE)
        return "it is " + number(size) + " bytes long, too short to hold its entry count.";

    const uint32_t count = readUint32(bytes);
    // Every record takes at least its name field and its size, so a count
    // beyond this cannot be true; checking it first keeps a forged header
    // from reserving gigabytes.
    const size_t mostRecords = (size - COUNT_SIZE) / RECORD_HEADER_SIZE;
    if (count > mostRecords)
        return "its header announces " + number(count) + " entries, but the " + number(size - COUNT_SIZE) +
               " bytes after it hold at most " + number(mostRecords) + ".";

    std::vector<Record> found;
    found.reserve(count);
    size_t offset = COUNT_SIZE;
    for (uint32_t i = 0; i < count; ++i) {
        const std::string entry = "entry " + number(i + 1) + " of " + number(count);
        const size_t left = size - offset;
        if (left < RECORD_HEADER_SIZE)
            return entry + " is cut short: the file ends " + number(left) + " bytes into its record.";

        const unsigned char* name = bytes + offset;
        if (std::memchr(name, 0, NAME_FIELD_SIZE) == 0)
            return "the name field of " + entry + " has no terminating NUL.";

        Record record;
        record.nameOffset = offset;
        record.size = readUint32(bytes + offset + NAME_FIELD_SIZE);
        record.dataOffset = offset + RECORD_HEADER_SIZE;
        const size_t dataLeft = left - RECORD_HEADER_SIZE;
        if (record.size > dataLeft)
            return entry + " (\"" + reinterpret_cast<const char*>(name) + "\") claims " + number(record.size) +
                   " bytes, but only " + number(dataLeft) + " are left in the file.";

        found.push_back(record);
        offset = record.dataOffset + record.size;
    }
    records.swap(found);
    return std::string();
}

uint32_t PackLayout::readUint32(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void PackLayout::writeUint32(unsigned char* bytes, uint32_t value)
{
    bytes[0] = static_cast<unsigned char>(value);
    bytes[1] = static_cast<unsigned char>(value >> 8);
    bytes[2] = static_cast<unsigned char>(value >> 16);
    bytes[3] = static_cast<unsigned char>(value >> 24);
}
}
