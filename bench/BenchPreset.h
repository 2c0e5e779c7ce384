// The particle preset both particle benchmarks run: nothing dies, so every
// system stays at its 500 live particles.
#pragma once

#include "helpers/gfxParticleSystemInfo.h"

inline gfxParticleSystemInfo BenchPreset() {
    gfxParticleSystemInfo info;
    info.nEmission = 1000;
    info.fLifetime = -1;
    info.fParticleLifeMin = info.fParticleLifeMax = 1e6f;
    info.fDirection = 0;
    info.fSpread = 6.28f;
    info.fSpeedMin = 10, info.fSpeedMax = 50;
    info.fGravityMin = 5, info.fGravityMax = 10;
    info.fRadialAccelMin = -2, info.fRadialAccelMax = 2;
    info.fTangentialAccelMin = -3, info.fTangentialAccelMax = 3;
    info.fSizeStart = 1, info.fSizeEnd = 2;
    info.fSpinStart = 1, info.fSpinEnd = 3;
    info.colColorStart = {1, 0.5f, 0.25f, 1};
    info.colColorEnd = {0.5f, 0.25f, 0, 0};
    return info;
}
