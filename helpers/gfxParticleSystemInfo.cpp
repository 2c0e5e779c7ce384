#include "helpers/gfxParticleSystemInfo.h"

#include <cstdint>
#include <cstring>

namespace {

uint32_t ReadU32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

int ReadInt(const unsigned char* p) {
    uint32_t u = ReadU32(p);
    int32_t i;
    std::memcpy(&i, &u, sizeof i);
    return i;
}

float ReadFloat(const unsigned char* p) {
    uint32_t u = ReadU32(p);
    float f;
    std::memcpy(&f, &u, sizeof f);
    return f;
}

void ReadColor(const unsigned char* p, gfxColor& col) {
    col.r = ReadFloat(p);
    col.g = ReadFloat(p + 4);
    col.b = ReadFloat(p + 8);
    col.a = ReadFloat(p + 12);
}

}  // namespace

bool gfxParticleSystemInfo::Decode(const void* data, size_t size) {
    *this = gfxParticleSystemInfo();
    if (!data || size < GFXPRESET_SIZE) return false;
    const unsigned char* p = static_cast<const unsigned char*>(data);
    // Bytes 0-3 are the pointer slot and 29-31 padding: neither carries data.
    nEmission = ReadInt(p + 4);
    fLifetime = ReadFloat(p + 8);
    fParticleLifeMin = ReadFloat(p + 12);
    fParticleLifeMax = ReadFloat(p + 16);
    fDirection = ReadFloat(p + 20);
    fSpread = ReadFloat(p + 24);
    bRelative = p[28] != 0;
    fSpeedMin = ReadFloat(p + 32);
    fSpeedMax = ReadFloat(p + 36);
    fGravityMin = ReadFloat(p + 40);
    fGravityMax = ReadFloat(p + 44);
    fRadialAccelMin = ReadFloat(p + 48);
    fRadialAccelMax = ReadFloat(p + 52);
    fTangentialAccelMin = ReadFloat(p + 56);
    fTangentialAccelMax = ReadFloat(p + 60);
    fSizeStart = ReadFloat(p + 64);
    fSizeEnd = ReadFloat(p + 68);
    fSizeVar = ReadFloat(p + 72);
    fSpinStart = ReadFloat(p + 76);
    fSpinEnd = ReadFloat(p + 80);
    fSpinVar = ReadFloat(p + 84);
    ReadColor(p + 88, colColorStart);
    ReadColor(p + 104, colColorEnd);
    fColorVar = ReadFloat(p + 120);
    fAlphaVar = ReadFloat(p + 124);
    return true;
}
