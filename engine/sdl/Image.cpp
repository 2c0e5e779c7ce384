#include "engine/sdl/Image.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <strings.h>

namespace gfxsdl {

namespace {

SDL_Surface* Decode(const void* data, size_t size, const char* type) {
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (!rw)
        return nullptr;
    SDL_Surface* surface = IMG_LoadTyped_RW(rw, 1, type);
    return surface;
}

}  // namespace

bool DecodeImage(const void* data, size_t size, const char* nameHint, DecodedImage& image, std::string& error) {
    if (!data || size == 0 || size > 0x7FFFFFFF) {
        error = "no data";
        return false;
    }
    static bool started = false;
    if (!started) {
        IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG);
        started = true;
    }
    const char* extension = nameHint ? std::strrchr(nameHint, '.') : nullptr;
    bool tga = extension && strcasecmp(extension, ".tga") == 0;
    // TGA has no signature: it is tried last, or first when the name says so.
    SDL_Surface* surface = Decode(data, size, tga ? "TGA" : nullptr);
    if (!surface && !tga)
        surface = Decode(data, size, "TGA");
    if (!surface) {
        error = IMG_GetError();
        return false;
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(surface);
    if (!argb) {
        error = SDL_GetError();
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
    return image.width > 0 && image.height > 0;
}

}  // namespace gfxsdl
