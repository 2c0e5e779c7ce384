// The type and size of a picture read from its first bytes, before any
// decoder allocates for it: a header of a few bytes can claim gigabytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gfxsdl {

enum class PictureType { Unknown, Png, Jpeg, Bmp, Tga };

struct PictureHeader {
    PictureType type = PictureType::Unknown;
    int64_t width = 0, height = 0;  // 0 when the header does not say
};

// PNG, JPEG and BMP by their signatures; anything else is taken as TGA,
// which has none, when its header is one.
PictureHeader ReadPictureHeader(const uint8_t* data, size_t size);

// Within the engine's limits for a loaded picture (GFX_MAXPICTURETEXELS).
bool PictureSizeAllowed(const PictureHeader& header);

}  // namespace gfxsdl
