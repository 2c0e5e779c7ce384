// Texture_Load of PNG, JPEG, BMP and TGA, from memory, from disk and from a pack.
#include "EngineFixture.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdlib>

using namespace enginetest;

namespace {

const uint32_t kTexels[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x80FFFFFF, 0xFF000000, 0x00000000};

SDL_Surface* Picture() {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 3, 2, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) static_cast<uint32_t*>(s->pixels)[y * (s->pitch / 4) + x] = kTexels[y * 3 + x];
    return s;
}

// The picture as a 32-bit uncompressed TGA, rows top-down.
std::string Tga() { return enginetest::Tga(3, 2, std::vector<uint32_t>(kTexels, kTexels + 6)); }

class ImageTest : public EngineTest {
protected:
    void ExpectPicture(HTEXTURE tex, bool alpha, int tolerance) {
        ASSERT_NE(tex, 0u);
        EXPECT_EQ(gfx->Texture_GetWidth(tex, true), 3);
        EXPECT_EQ(gfx->Texture_GetHeight(tex, true), 2);
        EXPECT_EQ(gfx->Texture_GetWidth(tex, false), 3);
        std::vector<uint32_t> texels = ReadTexture(tex);
        ASSERT_EQ(texels.size(), 6u);
        for (int i = 0; i < 6; ++i) {
            uint32_t expected = alpha ? kTexels[i] : (kTexels[i] | 0xFF000000u);
            if (alpha || (kTexels[i] >> 24) == 0xFF) {
                EXPECT_TRUE(ColorNear(texels[static_cast<size_t>(i)], expected, tolerance)) << i;
            }
        }
        gfx->Texture_Free(tex);
    }
};

TEST_F(ImageTest, PngFromDiskAndFromMemory) {
    std::string path = TempFolder() + "picture.png";
    SDL_Surface* s = Picture();
    ASSERT_EQ(IMG_SavePNG(s, path.c_str()), 0);
    SDL_FreeSurface(s);
    ExpectPicture(gfx->Texture_Load(path.c_str()), true, 0);
    std::string bytes = ReadFile(path);
    ExpectPicture(gfx->Texture_Load(bytes.data(), static_cast<uint32_t>(bytes.size())), true, 0);
}

TEST_F(ImageTest, BmpAndTga) {
    std::string bmp = TempFolder() + "picture.bmp";
    SDL_Surface* s = Picture();
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGB24, 0);
    ASSERT_EQ(SDL_SaveBMP(rgb, bmp.c_str()), 0);
    SDL_FreeSurface(rgb);
    SDL_FreeSurface(s);
    ExpectPicture(gfx->Texture_Load(bmp.c_str()), false, 0);

    std::string tga = Tga();
    std::string tgaPath = TempFolder() + "picture.TGA";
    WriteFile(tgaPath, tga);
    ExpectPicture(gfx->Texture_Load(tgaPath.c_str()), true, 0);
    ExpectPicture(gfx->Texture_Load(tga.data(), static_cast<uint32_t>(tga.size())), true, 0);
}

TEST_F(ImageTest, JpegFromAPack) {
    std::string folder = TempFolder() + "jpeg_pack/";
    std::system(("mkdir -p '" + folder + "images'").c_str());
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 3, 2, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_FillRect(s, nullptr, 0xFF3080C0);
    ASSERT_EQ(IMG_SaveJPG(s, (folder + "images/Photo.jpg").c_str(), 95), 0);
    SDL_FreeSurface(s);
    std::string zip = TempFolder() + "jpeg_pack.zip";
    ASSERT_EQ(std::system(("cd '" + folder + "' && zip -q -r -P pw '" + zip + "' . >/dev/null").c_str()), 0);
    ASSERT_TRUE(gfx->Resource_AttachPack(zip.c_str(), "pw"));
    HTEXTURE tex = gfx->Texture_Load("images\\photo.JPG");
    ASSERT_NE(tex, 0u);
    for (uint32_t texel : ReadTexture(tex)) EXPECT_TRUE(ColorNear(texel, 0xFF3080C0, 6));
    gfx->Texture_Free(tex);
}

TEST_F(ImageTest, FailuresGiveZero) {
    EXPECT_EQ(gfx->Texture_Load("no/such/image.png"), 0u);
    EXPECT_EQ(gfx->Texture_Load(nullptr), 0u);
    std::string junk(100, 'j');
    EXPECT_EQ(gfx->Texture_Load(junk.data(), static_cast<uint32_t>(junk.size())), 0u);
    // A TGA header of no width: the decoder hands back an empty surface.
    std::string empty = Tga().substr(0, 18);
    empty[12] = 0;
    EXPECT_EQ(gfx->Texture_Load(empty.data(), static_cast<uint32_t>(empty.size())), 0u);
    // Twenty bytes that claim 15 GB of texels are refused before decoding.
    std::string huge = Tga().substr(0, 18) + "xy";
    huge[12] = huge[13] = huge[15] = static_cast<char>(0xE7);
    EXPECT_EQ(gfx->Texture_Load(huge.data(), static_cast<uint32_t>(huge.size())), 0u);
    EXPECT_NE(ReadFile(LogPath()).find("texels is not taken"), std::string::npos);
    // A GIF is none of the four types.
    std::string gif = "GIF89a" + std::string(30, '\0');
    EXPECT_EQ(gfx->Texture_Load(gif.data(), static_cast<uint32_t>(gif.size())), 0u);
}

}  // namespace
