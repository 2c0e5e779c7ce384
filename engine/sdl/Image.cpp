#include "engine/sdl/Image.h"

#include "engine/sdl/ImageLibrary.h"
#include "engine/sdl/PictureHeader.h"

#include <SDL.h>

#include <cstring>

namespace gfxsdl {

namespace {

// Only the decoder of the type found runs: SDL2_image would otherwise try
// every format it knows, SVG and TIFF among them.
SDL_Surface* Decode(const ImageLibrary& image, const void* data, size_t size, PictureType type) {
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (!rw) return nullptr;
    SDL_Surface* surface = nullptr;
    switch (type) {
        case PictureType::Png:
            surface = image.LoadPNG_RW(rw);
            break;
        case PictureType::Jpeg:
            surface = image.LoadJPG_RW(rw);
            break;
        case PictureType::Bmp:
            surface = image.LoadBMP_RW(rw);
            break;
        case PictureType::Tga:
            surface = image.LoadTGA_RW(rw);
            break;
        case PictureType::Unknown:
            break;
    }
    SDL_RWclose(rw);
    return surface;
}

}  // namespace

bool DecodeImage(const void* data, size_t size, DecodedImage& image, std::string& error) {
    if (!data || size == 0 || size > 0x7FFFFFFF) {
        error = "no data";
        return false;
    }
    const PictureHeader header = ReadPictureHeader(static_cast<const uint8_t*>(data), size);
    if (header.type == PictureType::Unknown) {
        error = "not a PNG, JPEG, BMP or TGA picture";
        return false;
    }
    if (!PictureSizeAllowed(header)) {
        error = "a picture of " + std::to_string(header.width) + "x" + std::to_string(header.height) +
                " texels is not taken";
        return false;
    }
    const ImageLibrary* library = OpenImageLibrary(error);
    if (!library) {
        error = "SDL2_image cannot be opened: " + error;
        return false;
    }
    SDL_Surface* surface = Decode(*library, data, size, header.type);
    if (!surface) {
        error = SDL_GetError();
        return false;
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(surface);
    if (!argb) {
        error = SDL_GetError();
        return false;
    }
    if (argb->w <= 0 || argb->h <= 0) {
        SDL_FreeSurface(argb);
        error = "the picture has no texels";
        return false;
    }
    image.width = argb->w;
    image.height = argb->h;
    image.argb.resize(static_cast<size_t>(argb->w) * static_cast<size_t>(argb->h));
    SDL_LockSurface(argb);
    for (int y = 0; y < argb->h; ++y)
        std::memcpy(&image.argb[static_cast<size_t>(y) * argb->w],
                    static_cast<const char*>(argb->pixels) + static_cast<size_t>(y) * argb->pitch,
                    static_cast<size_t>(argb->w) * 4);
    SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
    error.clear();
    return true;
}

}  // namespace gfxsdl
