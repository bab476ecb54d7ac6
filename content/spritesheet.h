// A flip-book sprite table under construction: renders each frame into a cell
// of one image and writes that image plus its sprite metadata file, the two
// files the demo's sprite loader reads from the pack.
#pragma once

#include "canvas.h"

#include <functional>
#include <string>
#include <vector>

class SpriteSheet
{
public:
    // Paints frame `frame` of `frames` into a cell-sized canvas.
    using FramePainter = std::function<void(Canvas& cell, int frame, int frames)>;

    // durations: one entry per frame, in seconds. The table is laid out
    // `columns` cells wide with as many rows as the frames need.
    SpriteSheet(std::string name, int cellWidth, int cellHeight, int columns, std::vector<float> durations);

    int frames() const { return static_cast<int>(m_durations.size()); }
    int rows() const { return (frames() + m_columns - 1) / m_columns; }
    std::string imagePath() const { return "sprites/" + m_name + ".png"; }
    std::string metadataPath() const { return "sprites/" + m_name + ".spr"; }

    // Renders every frame and writes both files under outputDir; returns the
    // archive names written, image first, or an empty list on failure.
    std::vector<std::string> write(const std::string& outputDir, const FramePainter& painter) const;

private:
    std::string m_name;
    int m_cellWidth;
    int m_cellHeight;
    int m_columns;
    std::vector<float> m_durations;
};

// Durations helper: `count` frames of equal length.
inline std::vector<float> evenFrames(int count, float seconds) { return std::vector<float>(count, seconds); }
