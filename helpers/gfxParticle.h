// One particle of a gfxParticleSystem: a plain record, copied freely.
#pragma once

#include "helpers/gfxColor.h"
#include "helpers/gfxVector.h"

struct gfxParticle {
    gfxVector vecLocation;
    gfxVector vecVelocity;
    float fGravity = 0.0f;
    float fRadialAccel = 0.0f;
    float fTangentialAccel = 0.0f;
    float fSpin = 0.0f;
    float fSpinDelta = 0.0f;
    float fSize = 0.0f;
    float fSizeDelta = 0.0f;
    gfxColor colColor;
    gfxColor colColorDelta;
    float fAge = 0.0f;
    float fTerminalAge = 0.0f;
};
