// Image decoding through SDL2_image (PNG, JPEG, BMP, TGA and the rest it
// knows) into ARGB texels, rows top-down.
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

// `nameHint` (may be null) gives the type of formats without a signature
// (TGA) by its extension. False, with the reason in `error`, on failure.
bool DecodeImage(const void* data, size_t size, const char* nameHint, DecodedImage& image, std::string& error);

}  // namespace gfxsdl
