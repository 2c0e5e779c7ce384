// Picture types and sizes read from headers, and the size limit, before any
// decoder allocates for what a header claims.
#include "engine/sdl/PictureHeader.h"

#include <gtest/gtest.h>

#include <string>

using gfxsdl::PictureHeader;
using gfxsdl::PictureType;

namespace {

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s += static_cast<char>(b);
    return s;
}

std::string Png(uint32_t width, uint32_t height) {
    std::string s = Bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}) + "IHDR";
    for (uint32_t v : {width, height})
        s += Bytes({int(v >> 24), int(v >> 16 & 0xFF), int(v >> 8 & 0xFF), int(v & 0xFF)});
    return s + std::string(5, '\0');
}

// SOI, an APP0 segment of 16 bytes, padding, then a baseline or progressive frame.
std::string Jpeg(int marker, int width, int height) {
    return Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 16}) + std::string(14, 'j') + Bytes({0xFF, 0xFF, marker, 0, 11, 8}) +
           Bytes({height >> 8, height & 0xFF, width >> 8, width & 0xFF, 1});
}

std::string Bmp(int dibSize, int width, int height) {
    std::string s = "BM" + std::string(12, '\0') + Bytes({dibSize, 0, 0, 0});
    auto put32 = [&](int v) {
        for (int shift = 0; shift < 32; shift += 8) s += static_cast<char>((static_cast<uint32_t>(v) >> shift) & 0xFF);
    };
    if (dibSize == 12) {
        s += Bytes({width & 0xFF, width >> 8, height & 0xFF, height >> 8});
    } else {
        put32(width);
        put32(height);
    }
    return s + std::string(8, '\0');
}

std::string Tga(int type, int width, int height) {
    return Bytes({0, 0, type}) + std::string(9, '\0') + Bytes({width & 0xFF, width >> 8, height & 0xFF, height >> 8}) +
           Bytes({32, 0x28});
}

struct HeaderCase {
    const char* what;
    std::string data;
    PictureType type;
    int64_t width, height;
};

}  // namespace

TEST(PictureHeaderTest, TypeAndSizeFromTheFirstBytes) {
    const HeaderCase cases[] = {
        {"png", Png(640, 480), PictureType::Png, 640, 480},
        {"png claiming 4G x 4G", Png(0xFFFFFFFF, 0xFFFFFFFF), PictureType::Png, 0xFFFFFFFF, 0xFFFFFFFF},
        {"png cut before IHDR", Png(1, 1).substr(0, 10), PictureType::Png, 0, 0},
        {"jpeg baseline after APP0", Jpeg(0xC0, 320, 200), PictureType::Jpeg, 320, 200},
        {"jpeg progressive", Jpeg(0xC2, 65535, 7), PictureType::Jpeg, 65535, 7},
        {"jpeg DHT is no frame", Jpeg(0xC4, 9, 9), PictureType::Jpeg, 0, 0},
        {"jpeg cut in its segments", Jpeg(0xC0, 1, 1).substr(0, 12), PictureType::Jpeg, 0, 0},
        {"bmp", Bmp(40, 3, 2), PictureType::Bmp, 3, 2},
        {"bmp rows top-down", Bmp(40, 3, -2), PictureType::Bmp, 3, 2},
        {"bmp lowest height", Bmp(40, 3, INT32_MIN), PictureType::Bmp, 3, int64_t(1) << 31},
        {"bmp of OS/2", Bmp(12, 300, 2), PictureType::Bmp, 300, 2},
        {"tga true-colour", Tga(2, 59136, 65024), PictureType::Tga, 59136, 65024},
        {"tga run-length grey", Tga(11, 4, 5), PictureType::Tga, 4, 5},
        {"tga of no known type", Tga(7, 4, 5), PictureType::Unknown, 0, 0},
        {"gif", "GIF89a" + std::string(20, '\0'), PictureType::Unknown, 0, 0},
        {"svg", "<svg width='99999' height='99999'/>", PictureType::Unknown, 0, 0},
        {"empty", "", PictureType::Unknown, 0, 0},
    };
    for (const HeaderCase& c : cases) {
        PictureHeader header =
            gfxsdl::ReadPictureHeader(reinterpret_cast<const uint8_t*>(c.data.data()), c.data.size());
        EXPECT_EQ(header.type, c.type) << c.what;
        EXPECT_EQ(header.width, c.width) << c.what;
        EXPECT_EQ(header.height, c.height) << c.what;
    }
}

TEST(PictureHeaderTest, SizeLimit) {
    auto allowed = [](int64_t width, int64_t height) {
        PictureHeader header;
        header.type = PictureType::Png;
        header.width = width;
        header.height = height;
        return gfxsdl::PictureSizeAllowed(header);
    };
    EXPECT_TRUE(allowed(1, 1));
    EXPECT_TRUE(allowed(16384, 4096));
    EXPECT_TRUE(allowed(8192, 8192));
    EXPECT_FALSE(allowed(16385, 1));
    EXPECT_FALSE(allowed(1, 16385));
    EXPECT_FALSE(allowed(8192, 8193));
    EXPECT_FALSE(allowed(0, 5));
    EXPECT_FALSE(allowed(5, 0));
}
