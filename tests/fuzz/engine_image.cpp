// Any bytes as a picture file: decoding through SDL2_image into ARGB texels
// must not crash, leak or read outside the decoded surface. Without a name
// every format is tried by its signature, TGA (which has none) last.
#include "EngineFuzz.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    enginefuzz::DecodePicture(data, size, nullptr);
    return 0;
}
