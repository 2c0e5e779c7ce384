// SDL2_image, opened when the first picture is decoded: it brings in the
// decoders of every format it knows (TIFF and WebP with their compressors
// among them), which a run that decodes no picture never needs.
#pragma once

#include <SDL_image.h>

#include <string>

namespace gfxsdl {

struct ImageLibrary {
    decltype(&IMG_Init) Init = nullptr;
    decltype(&IMG_LoadPNG_RW) LoadPNG_RW = nullptr;
    decltype(&IMG_LoadJPG_RW) LoadJPG_RW = nullptr;
    decltype(&IMG_LoadBMP_RW) LoadBMP_RW = nullptr;
    decltype(&IMG_LoadTGA_RW) LoadTGA_RW = nullptr;
};

// The library with all its functions, opened (and its PNG and JPEG decoders
// started) on the first call that succeeds; null, with the reason in
// `error`, when it cannot be opened.
const ImageLibrary* OpenImageLibrary(std::string& error);

}  // namespace gfxsdl
