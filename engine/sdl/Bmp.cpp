#include "engine/sdl/Bmp.h"

#include <sys/stat.h>

#include <cstdio>
#include <vector>

namespace gfxsdl {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

bool WriteBmp24(const std::string& path, const uint32_t* argb, int width, int height) {
    if (!argb || width <= 0 || height <= 0) return false;
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
    std::vector<uint8_t> out;
    out.reserve(54 + imageBytes);
    // BITMAPFILEHEADER, then BITMAPINFOHEADER.
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + imageBytes);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));  // positive: rows bottom-up
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);  // BI_RGB
    Put32(out, imageBytes);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        const uint32_t* row = argb + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            out.push_back(static_cast<uint8_t>(row[x]));
            out.push_back(static_cast<uint8_t>(row[x] >> 8));
            out.push_back(static_cast<uint8_t>(row[x] >> 16));
        }
        for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) std::remove(path.c_str());
    return ok;
}

std::string NextSnapshotName(const std::string& folder) {
    for (int i = 1; i < 100000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "shot%03d.bmp", i);
        std::string path = folder + name;
        struct stat st;
        if (stat(path.c_str(), &st) != 0) return path;
    }
    return {};
}

}  // namespace gfxsdl
