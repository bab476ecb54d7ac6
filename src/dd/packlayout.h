// Finds the entry records of a pack file held in memory and says what is
// wrong with it, trusting no count or size it holds. DD::Archive loads
// through it, kvtarchive lists through DD::Archive, the fuzz target drives it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace DD
{
class PackLayout
{
public:
    // Where one entry lies inside the pack's bytes.
    struct Record
    {
        size_t nameOffset;  // start of the 256-byte name field
        uint32_t size;      // content length
        size_t dataOffset;  // start of the content
    };

    static const size_t COUNT_SIZE = 4;
    static const size_t NAME_FIELD_SIZE = 256;
    static const size_t RECORD_HEADER_SIZE = NAME_FIELD_SIZE + 4;

    // Fills records in file order and returns an empty text when the bytes
    // hold every record their header announces. Otherwise returns one
    // sentence naming the first fault and leaves records empty. Nothing is
    // allocated for a count that the bytes cannot hold.
    static std::string parse(const unsigned char* bytes, size_t size, std::vector<Record>& records);

    static uint32_t readUint32(const unsigned char* bytes);
    static void writeUint32(unsigned char* bytes, uint32_t value);
};
}
