#include "engine/sdl/WaveChunks.h"

#include <cstring>

namespace gfxsdl {

namespace {

uint32_t Little32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void PutLittle32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Where the chunks start: after the 12-byte RIFF header, or right after
// "WAVE" in a file without one (SDL takes both); 0 for anything else.
size_t FirstChunk(const uint8_t* data, size_t size) {
    if (size >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WAVE", 4) == 0) return 12;
    if (size >= 4 && std::memcmp(data, "WAVE", 4) == 0) return 4;
    return 0;
}

}  // namespace

std::vector<uint8_t> FitWaveChunks(const uint8_t* data, size_t size) {
    const size_t first = data ? FirstChunk(data, size) : 0;
    if (first == 0) return {};
    std::vector<uint8_t> copy;
    // Each chunk is padded to an even length.
    for (size_t at = first; at + 8 <= size;) {
        const size_t available = size - at - 8;
        const size_t claimed = Little32(data + at + 4);
        if (claimed > available) {
            copy.assign(data, data + size);
            PutLittle32(copy.data() + at + 4, static_cast<uint32_t>(available));
            break;
        }
        at += 8 + claimed + (claimed & 1);
    }
    return copy;
}

}  // namespace gfxsdl
