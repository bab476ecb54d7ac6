// Test pictures and packs for the sprite, loading-screen and screen-manager
// tests: PNGs written pixel by pixel, packed with the archive builder and
// opened from an empty working folder, so every lookup reads the pack.
#pragma once

#include "support/glharness.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A pixel by column x and row y counted from the image's top row.
using PixelFunction = std::function<Rgba(int x, int y)>;

// Encodes an image as PNG bytes.
std::string pngBytes(int width, int height, const PixelFunction& pixel);
std::string solidPng(int width, int height, Rgba colour);

class TestPack
{
public:
    // A fresh folder under the build folder's testdata/<name>.
    explicit TestPack(const std::string& name);
    ~TestPack();

    void add(const std::string& entryName, const std::string& bytes);
    // Builds the pack, makes the empty run folder the working folder and
    // opens the pack as DD::Archive::ms_archive (closed by the destructor).
    void open();
    // A loose file in the run folder: it shadows a packed entry of that name.
    void addLoose(const std::string& name, const std::string& bytes);

private:
    std::string m_folder;
    std::string m_previousFolder;
    std::vector<std::string> m_entries;
};

// "<source>:<line>" of the first line of a project source that contains needle.
std::string sourcePlace(const std::string& source, const std::string& needle);

// The three fatal-assertion lines of the check "FATAL_ASSERT(<expression>," in a source file.
std::string expectedAssertion(const std::string& source, const std::string& expression, const std::string& message);
