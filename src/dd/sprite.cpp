#include "dd/sprite.h"

#include "base/assert.h"
#include "base/console.h"
#include "dd/archive.h"
#include "dd/spritemetadata.h"
#include "gl/glheaders.h"
#include "gl/texture.h"

#include <string>

namespace DD
{
int Sprite::ms_spriteAreaWidth = 0;
int Sprite::ms_spriteAreaHeight = 0;

void Sprite::setSpriteArea(int width, int height)
{
    ms_spriteAreaWidth = width;
    ms_spriteAreaHeight = height;
}

Sprite* Sprite::load(const char* metaDataFile)
{
    FATAL_ASSERT(metaDataFile, "You must specify a sprite metadata file to load.");
    const std::string noArchive = std::string("No archive in memory, cannot load sprite ") + metaDataFile;
    FATAL_ASSERT(Archive::ms_archive != 0, noArchive.c_str());
    Archive::File* mdf = Archive::ms_archive->getFile(metaDataFile);
    const std::string notFound = std::string("Error loading file \"") + metaDataFile + "\"";
    FATAL_ASSERT(mdf != 0, notFound.c_str());

    SpriteMetadata metadata;
    const bool wellFormed = metadata.parse(reinterpret_cast<const unsigned char*>(mdf->m_data), mdf->m_size);
    const std::string malformed =
        std::string("Sprite metadata file \"") + metaDataFile + "\" is malformed: " + metadata.getError() + ".";
    FATAL_ASSERT(wellFormed, malformed.c_str());

    Sprite* sprite = new Sprite(metadata.getImageName().c_str(), metadata.getColumns(), metadata.getRows(),
                                metadata.getWidth(), metadata.getHeight(), metadata.getFrameCount(), 0.0f);
    sprite->m_animation.setFrameDurations(metadata.getFrameDurations());
    return sprite;
}

Sprite::Sprite(const char* textureFile, unsigned columns, unsigned rows, unsigned width, unsigned height,
               unsigned frameCount, float frameDuration)
    : m_texture(0)
    , m_ownsTexture(true)
    , m_animation(frameCount, frameDuration)
{
    FATAL_ASSERT(textureFile, "You must specify a sprite table texture to load.");
    requireCells(columns, rows);
    m_texture = new Texture(textureFile);
    initialise(columns, rows, width, height);
}

Sprite::Sprite(Texture* texture, unsigned columns, unsigned rows, unsigned width, unsigned height,
               unsigned frameCount, float frameDuration)
    : m_texture(0)
    , m_ownsTexture(false)
    , m_animation(frameCount, frameDuration)
{
    FATAL_ASSERT(texture, "You must specify a sprite table texture to load.");
    requireCells(columns, rows);
    m_texture = texture;
    initialise(columns, rows, width, height);
}

Sprite::~Sprite()
{
    if (m_ownsTexture)
        delete m_texture;
}

void Sprite::requireCells(unsigned columns, unsigned rows)
{
    // A table without cells has no frame to cut out (and draw() divides by the column count).
    FATAL_ASSERT((columns > 0) && (rows > 0), "A sprite table needs at least one column and one row.");
}

void Sprite::initialise(unsigned columns, unsigned rows, unsigned width, unsigned height)
{
    m_columns = columns;
    m_rows = rows;
    m_width = width;
    m_height = height;
    m_x = 0;
    m_y = 0;
    m_cellWidth = static_cast<float>(1.0 / columns);
    m_cellHeight = static_cast<float>(1.0 / rows);
    m_scale = 1.0f;
}

void Sprite::setPosition(int x, int y)
{
    m_x = x;
    m_y = y;
}

void Sprite::getPosition(int& x, int& y) const
{
    x = m_x;
    y = m_y;
}

void Sprite::move(int dx, int dy)
{
    m_x += dx;
    m_y += dy;
}

void Sprite::setFrame(unsigned frame)
{
    if (!m_animation.setFrame(frame))
        Base::consoleLine("DEMO", "Sprite frame " + std::to_string(frame) + " ignored: the sprite has " +
                                      std::to_string(m_animation.getFrameCount()) + " frames.");
}

void Sprite::draw()
{
    FATAL_ASSERT((ms_spriteAreaWidth > 0) && (ms_spriteAreaHeight > 0), "Sprite area size has not been set.");
    m_animation.markDrawn();
    // A sprite without frames has no cell to show.
    if (m_animation.getFrameCount() == 0)
        return;

    const int halfAreaWidth = ms_spriteAreaWidth / 2;
    const int halfAreaHeight = ms_spriteAreaHeight / 2;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-halfAreaWidth, halfAreaWidth, -halfAreaHeight, halfAreaHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    const unsigned frame = m_animation.getFrame();
    const unsigned column = frame % m_columns;
    const unsigned row = frame / m_columns;
    const float s0 = column * m_cellWidth;
    const float v0 = row * m_cellHeight;

    const float halfWidth = m_width * m_scale * 0.5f;
    const float halfHeight = m_height * m_scale * 0.5f;
    const int left = static_cast<int>(m_x - halfWidth);
    const int right = static_cast<int>(m_x + halfWidth);
    const int top = static_cast<int>(m_y + halfHeight);
    const int bottom = static_cast<int>(m_y - halfHeight);

    m_texture->bind(0);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, 1.0f - v0);
    glVertex2i(left, top);
    glTexCoord2f(s0, 1.0f - (v0 + m_cellHeight));
    glVertex2i(left, bottom);
    glTexCoord2f(s0 + m_cellWidth, 1.0f - (v0 + m_cellHeight));
    glVertex2i(right, bottom);
    glTexCoord2f(s0 + m_cellWidth, 1.0f - v0);
    glVertex2i(right, top);
    glEnd();
    m_texture->unbind();

    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}
}
