#include "pngimage.h"

#include <png.h>

#include <cstring>

bool PngImage::decode(const std::vector<unsigned char>& bytes, std::string& why)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (bytes.size() < 33 || !png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    {
        why = "not a PNG";
        return false;
    }
    // The header's own fields: IHDR always follows the 8-byte signature.
    bitDepth = bytes[24];
    colourType = bytes[25];
    interlaced = bytes[28] != 0;
    image.format = PNG_FORMAT_RGBA;
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    rgba.assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr))
    {
        why = image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}
