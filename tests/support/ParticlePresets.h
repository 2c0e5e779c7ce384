// A particle preset for tests of script particle systems.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

// Emits 10 white particles of size 1 a second, each living 5 seconds, until
// it is stopped.
inline std::string SteadyPreset() {
    std::string bytes(128, '\0');
    const uint32_t rate = 10;
    std::memcpy(&bytes[4], &rate, 4);
    auto put = [&bytes](size_t offset, float value) { std::memcpy(&bytes[offset], &value, 4); };
    put(8, -1.0f);
    put(12, 5.0f);
    put(16, 5.0f);
    put(64, 1.0f);
    put(68, 1.0f);
    for (size_t c = 88; c < 120; c += 4) put(c, 1.0f);
    return bytes;
}
