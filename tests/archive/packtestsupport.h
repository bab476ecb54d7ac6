// Helpers for the pack tests: a scratch folder that is the working folder
// while a test runs, pack bytes made by hand, and the place of a check in
// the sources.
#pragma once

#include "support/files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Name and content of one entry.
using PackEntry = std::pair<std::string, std::string>;

// A pack as the format lays it out; count defaults to the number of entries.
std::string packBytes(const std::vector<PackEntry>& entries, int64_t count = -1);

bool fileExists(const std::string& path);

// Gives each test an empty working folder and removes it afterwards.
class ScratchFolder : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    // Every file name in the folder, for checking that nothing was left behind.
    std::vector<std::string> folderNames() const;

    std::string m_folder;
    std::string m_previousFolder;
};
