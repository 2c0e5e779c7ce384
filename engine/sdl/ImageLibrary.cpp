#include "engine/sdl/ImageLibrary.h"

#include "engine/sdl/SharedLibrary.h"

namespace gfxsdl {

namespace {

const char* const kFile = "libSDL2_image-2.0.so.0";

bool FindAll(SharedLibrary& library, ImageLibrary& image, decltype(&IMG_Init)& init, std::string& error) {
    return library.Find("IMG_Init", init, error) && library.Find("IMG_LoadPNG_RW", image.LoadPNG_RW, error) &&
           library.Find("IMG_LoadJPG_RW", image.LoadJPG_RW, error) &&
           library.Find("IMG_LoadBMP_RW", image.LoadBMP_RW, error) &&
           library.Find("IMG_LoadTGA_RW", image.LoadTGA_RW, error);
}

}  // namespace

const ImageLibrary* OpenImageLibrary(std::string& error) {
    static SharedLibrary library;
    static ImageLibrary image;
    static bool found = false;
    if (!found) {
        decltype(&IMG_Init) init = nullptr;
        found = library.Open(kFile, error) && FindAll(library, image, init, error);
        if (found) init(IMG_INIT_PNG | IMG_INIT_JPG);
    }
    return found ? &image : nullptr;
}

}  // namespace gfxsdl
