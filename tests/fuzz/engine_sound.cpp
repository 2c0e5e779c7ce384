// Any bytes as a sound file: SDL2_mixer's decoders (WAV, AIFF, Ogg, FLAC,
// MP3; VOC is refused) through the engine's effect store, on the dummy audio
// device.
#include "EngineFuzz.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    enginefuzz::DecodeSound(data, size);
    return 0;
}
