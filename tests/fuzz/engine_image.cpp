// Any bytes as a picture file: reading the header and decoding through
// SDL2_image into ARGB texels must not crash, leak, read outside the decoded
// surface or allocate more than the size limit lets through.
#include "EngineFuzz.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    enginefuzz::DecodePicture(data, size);
    return 0;
}
