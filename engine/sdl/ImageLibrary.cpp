#include "engine/sdl/ImageLibrary.h"

#include "engine/sdl/SharedLibrary.h"

namespace gfxsdl {

namespace {

const char* const kFile = "libSDL2_image-2.0.so.0";

bool FindAll(SharedLibrary& library, ImageLibrary& image, std::string& error) {
    return library.Find("IMG_Init", image.Init, error) && library.Find("IMG_LoadPNG_RW", image.LoadPNG_RW, error) &&
           library.Find("IMG_LoadJPG_RW", image.LoadJPG_RW, error) &&
           library.Find("IMG_LoadBMP_RW", image.LoadBMP_RW, error) &&
           library.Find("IMG_LoadTGA_RW", image.LoadTGA_RW, error);
}

}  // namespace

const ImageLibrary* OpenImageLibrary(std::string& error) {
    static bool started = false;
    const ImageLibrary* image = OpenLibraryFunctions(kFile, FindAll, error);
    if (image && !started) {
        image->Init(IMG_INIT_PNG | IMG_INIT_JPG);
        started = true;
    }
    return image;
}

}  // namespace gfxsdl
