#include "engine/sdl/PictureHeader.h"

#include "engine/Limits.h"

#include <cstring>

namespace gfxsdl {

namespace {

uint32_t Big16(const uint8_t* p) { return uint32_t(p[0]) << 8 | p[1]; }
uint32_t Big32(const uint8_t* p) { return Big16(p) << 16 | Big16(p + 2); }
uint32_t Little16(const uint8_t* p) { return uint32_t(p[1]) << 8 | p[0]; }
uint32_t Little32(const uint8_t* p) { return Little16(p + 2) << 16 | Little16(p); }

PictureHeader Header(PictureType type, int64_t width, int64_t height) {
    PictureHeader header;
    header.type = type;
    header.width = width;
    header.height = height;
    return header;
}

bool ReadPng(const uint8_t* d, size_t size, PictureHeader& header) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 8 || std::memcmp(d, kSignature, 8) != 0) return false;
    // IHDR comes first: its length, its name, then width and height.
    header = size >= 24 && std::memcmp(d + 12, "IHDR", 4) == 0 ? Header(PictureType::Png, Big32(d + 16), Big32(d + 20))
                                                               : Header(PictureType::Png, 0, 0);
    return true;
}

// Start-of-frame markers: C0-CF but for DHT (C4), JPG (C8) and DAC (CC).
bool IsStartOfFrame(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The size of the first frame, found by walking the segments before it.
bool ReadJpeg(const uint8_t* d, size_t size, PictureHeader& header) {
    if (size < 3 || d[0] != 0xFF || d[1] != 0xD8 || d[2] != 0xFF) return false;
    header = Header(PictureType::Jpeg, 0, 0);
    size_t p = 2;
    while (p + 4 <= size && d[p] == 0xFF) {
        const uint8_t marker = d[p + 1];
        if (marker == 0xFF || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            p += marker == 0xFF ? 1 : 2;  // fill bytes and markers without a segment
            continue;
        }
        const size_t length = Big16(d + p + 2);
        if (IsStartOfFrame(marker)) {
            if (p + 9 <= size) header = Header(PictureType::Jpeg, Big16(d + p + 7), Big16(d + p + 5));
            break;
        }
        if (length < 2) break;
        p += 2 + length;
    }
    return true;
}

bool ReadBmp(const uint8_t* d, size_t size, PictureHeader& header) {
    if (size < 2 || d[0] != 'B' || d[1] != 'M') return false;
    header = Header(PictureType::Bmp, 0, 0);
    if (size < 26) return true;
    // OS/2 headers hold 16-bit sides; the others signed 32-bit ones, a negative height meaning rows top-down.
    if (Little32(d + 14) == 12) {
        header = Header(PictureType::Bmp, Little16(d + 18), Little16(d + 20));
    } else {
        int64_t height = static_cast<int32_t>(Little32(d + 22));
        header = Header(PictureType::Bmp, static_cast<int32_t>(Little32(d + 18)), height < 0 ? -height : height);
    }
    return true;
}

bool ReadTga(const uint8_t* d, size_t size, PictureHeader& header) {
    // Colour-mapped, true-colour and grey pictures, plain or run-length coded.
    if (size < 18 || d[1] > 1 || !(d[2] == 1 || d[2] == 2 || d[2] == 3 || d[2] == 9 || d[2] == 10 || d[2] == 11))
        return false;
    header = Header(PictureType::Tga, Little16(d + 12), Little16(d + 14));
    return true;
}

}  // namespace

PictureHeader ReadPictureHeader(const uint8_t* data, size_t size) {
    PictureHeader header;
    if (data && (ReadPng(data, size, header) || ReadJpeg(data, size, header) || ReadBmp(data, size, header) ||
                 ReadTga(data, size, header)))
        return header;
    return PictureHeader();
}

bool PictureSizeAllowed(const PictureHeader& header) { return gfxlimits::PictureAllowed(header.width, header.height); }

}  // namespace gfxsdl
