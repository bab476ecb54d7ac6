// Feeds arbitrary bytes to the pack layout check that DD::Archive loads
// through. It must never read outside the bytes, and every record it accepts
// must lie inside them, back to back, with a NUL-terminated name.
#include "dd/packlayout.h"

#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<DD::PackLayout::Record> records;
    const std::string fault = DD::PackLayout::parse(data, size, records);
    if (!fault.empty()) {
        if (!records.empty())
            __builtin_trap();
        return 0;
    }

    if (records.size() != DD::PackLayout::readUint32(data))
        __builtin_trap();
    size_t expectedOffset = DD::PackLayout::COUNT_SIZE;
    unsigned checksum = 0;
    for (const DD::PackLayout::Record& record : records) {
        if (record.nameOffset != expectedOffset ||
            record.dataOffset != record.nameOffset + DD::PackLayout::RECORD_HEADER_SIZE ||
            record.dataOffset + record.size > size)
            __builtin_trap();
        const char* name = reinterpret_cast<const char*>(data + record.nameOffset);
        if (std::strlen(name) >= DD::PackLayout::NAME_FIELD_SIZE)
            __builtin_trap();
        // Touch every byte the archive would copy, so ASan sees any overrun.
        for (uint32_t i = 0; i < record.size; ++i)
            checksum += data[record.dataOffset + i];
        expectedOffset = record.dataOffset + record.size;
    }
    return static_cast<int>(checksum & 0);
}
