#include "spritesheet.h"

#include <cstdio>
#include <fstream>
#include <sstream>

SpriteSheet::SpriteSheet(std::string name, int cellWidth, int cellHeight, int columns, std::vector<float> durations)
    : m_name(std::move(name)), m_cellWidth(cellWidth), m_cellHeight(cellHeight), m_columns(columns),
      m_durations(std::move(durations))
{
}

std::vector<std::string> SpriteSheet::write(const std::string& outputDir, const FramePainter& painter) const
{
    int count = frames();
    int columns = std::min(m_columns, count);
    Canvas sheet(columns * m_cellWidth, rows() * m_cellHeight, rgb(0, 0, 0));
    for (int frame = 0; frame < count; ++frame)
    {
        Canvas cell(m_cellWidth, m_cellHeight, rgb(0, 0, 0));
        painter(cell, frame, count);
        sheet.paste(cell, (frame % columns) * m_cellWidth, (frame / columns) * m_cellHeight);
    }
    if (!sheet.savePng(outputDir + "/" + imagePath(), false))
        return {};

    // Drawn at the full 640 × 480 sprite area: each sprite fills its subscreen.
    std::ostringstream meta;
    meta << imagePath() << "\n" << columns << "\n" << rows() << "\n640\n480\n" << count << "\n";
    for (float d : m_durations)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%g", d);
        meta << text << "\n";
    }
    std::ofstream out(outputDir + "/" + metadataPath(), std::ios::binary);
    out << meta.str();
    if (!out)
        return {};
    return {imagePath(), metadataPath()};
}
