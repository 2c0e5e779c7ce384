// The particle preset: how an emitter behaves. On disk it is one 128-byte
// little-endian record; the drawing sprite is held by the particle system,
// not here, since the record's 32-bit pointer slot cannot hold a pointer.
#pragma once

#include "helpers/gfxColor.h"

#include <cstddef>

struct gfxParticleSystemInfo {
    // Bytes of a preset file that make up the record; later bytes are ignored.
    static constexpr size_t GFXPRESET_SIZE = 128;

    int nEmission = 0;
    float fLifetime = 0.0f;
    float fParticleLifeMin = 0.0f;
    float fParticleLifeMax = 0.0f;
    float fDirection = 0.0f;
    float fSpread = 0.0f;
    bool bRelative = false;
    float fSpeedMin = 0.0f;
    float fSpeedMax = 0.0f;
    float fGravityMin = 0.0f;
    float fGravityMax = 0.0f;
    float fRadialAccelMin = 0.0f;
    float fRadialAccelMax = 0.0f;
    float fTangentialAccelMin = 0.0f;
    float fTangentialAccelMax = 0.0f;
    float fSizeStart = 0.0f;
    float fSizeEnd = 0.0f;
    float fSizeVar = 0.0f;
    float fSpinStart = 0.0f;
    float fSpinEnd = 0.0f;
    float fSpinVar = 0.0f;
    gfxColor colColorStart;
    gfxColor colColorEnd;
    float fColorVar = 0.0f;
    float fAlphaVar = 0.0f;

    // Reads the record from a preset file's bytes. Fewer than 128 bytes (or no
    // data) is not a preset: the result is the all-zero preset and false.
    bool Decode(const void* data, size_t size);
};
