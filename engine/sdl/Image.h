// Image decoding through SDL2_image (PNG, JPEG, BMP and TGA; the library is
// opened with the first picture, ImageLibrary) into ARGB texels, rows top-down.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gfxsdl {

struct DecodedImage {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;  // width * height
};

// The type comes from the data's signature; data without one is read as TGA.
// A picture larger than PictureSizeAllowed takes is refused before it is
// decoded. False, with the reason in `error`, on failure.
bool DecodeImage(const void* data, size_t size, DecodedImage& image, std::string& error);

}  // namespace gfxsdl
