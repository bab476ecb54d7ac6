// Reads the text of a sync data file into SyncData and says what is wrong
// with a malformed one (with its line number) instead of reading past it.
// Used by the Synchronizer, which stops on a complaint, and by kvtsync.
#pragma once

#include "syncdata.h"

#include <string>

class SyncDataParser
{
public:
    static const std::size_t MAX_LINE_LENGTH = 254;  // bytes, line end included

    // Fills data from text; returns "" when the file is well formed, else
    // "line N: what is wrong" (data is then incomplete and not to be used).
    static std::string parse(const std::string& text, SyncData& data);
};
