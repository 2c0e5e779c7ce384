#include "helpers/gfxParticleSystem.h"

#include "helpers/RoundToInt.h"
#include "helpers/gfxSprite.h"

#include <cmath>

GFX* gfxParticleSystem::gfx = nullptr;

namespace {

// The float nearest to pi/2, which the emission angle is built with.
constexpr float GFXPS_HALFPI = 1.5707964f;

// A colour channel scaled to a byte, wrapping: out-of-range channels carry
// into their neighbours when packed.
uint32_t ChannelBits(float c) { return static_cast<uint32_t>(RoundToInt(c * 255.0f)); }

// The colour channels in the order their random values are drawn.
constexpr float gfxColor::*GFXPS_CHANNELS[] = {&gfxColor::r, &gfxColor::g, &gfxColor::b, &gfxColor::a};

}  // namespace

gfxParticleSystem::gfxParticleSystem(const char* filename, gfxSprite* spr) {
    gfx = gfxCreate(GFX_VERSION);
    uint32_t size = 0;
    void* data = gfx && filename ? gfx->Resource_Load(filename, &size) : nullptr;
    if (data) {
        info.Decode(data, size);
        gfx->Resource_Free(data);
    }
    sprite = spr;
    Reset();
}

gfxParticleSystem::gfxParticleSystem(const gfxParticleSystemInfo* psi, gfxSprite* spr) {
    gfx = gfxCreate(GFX_VERSION);
    if (psi) info = *psi;
    sprite = spr;
    Reset();
}

gfxParticleSystem::gfxParticleSystem(const gfxParticleSystem& other) {
    *this = other;
    gfx = gfxCreate(GFX_VERSION);
}

gfxParticleSystem::~gfxParticleSystem() {
    if (gfx) gfx->Release();
}

void gfxParticleSystem::Reset() {
    vecPrevLocation = gfxVector();
    vecLocation = gfxVector();
    fTx = fTy = 0.0f;
    fScale = 1.0f;
    fEmissionResidue = 0.0f;
    nParticlesAlive = 0;
    fAge = -2.0f;
    rectBoundingBox.Clear();
    bUpdateBoundingBox = false;
}

void gfxParticleSystem::Update(float dt) {
    if (fAge >= 0.0f) {
        fAge += dt;
        if (fAge >= info.fLifetime) fAge = -2.0f;
    }
    if (bUpdateBoundingBox) rectBoundingBox.Clear();
    UpdateParticles(dt);
    if (fAge != -2.0f) Emit(dt);
    vecPrevLocation = vecLocation;
}

void gfxParticleSystem::UpdateParticles(float dt) {
    int i = 0;
    while (i < nParticlesAlive) {
        gfxParticle& p = particles[i];
        p.fAge += dt;
        if (p.fAge >= p.fTerminalAge) {
            // The last live particle takes the slot and is handled in this pass.
            --nParticlesAlive;
            if (i != nParticlesAlive) p = particles[nParticlesAlive];
            continue;
        }
        MoveParticle(p, dt);
        if (bUpdateBoundingBox) rectBoundingBox.Encapsulate(p.vecLocation.x, p.vecLocation.y);
        ++i;
    }
}

void gfxParticleSystem::MoveParticle(gfxParticle& p, float dt) {
    float dx = p.vecLocation.x - vecLocation.x;
    float dy = p.vecLocation.y - vecLocation.y;
    float k = InvSqrt(dx * dx + dy * dy);
    float ax = dx * k, ay = dy * k;
    float radialX = ax * p.fRadialAccel, radialY = ay * p.fRadialAccel;
    float tangentialX = -ay * p.fTangentialAccel, tangentialY = ax * p.fTangentialAccel;
    p.vecVelocity.x += (radialX + tangentialX) * dt;
    p.vecVelocity.y += (radialY + tangentialY) * dt;
    p.vecVelocity.y += p.fGravity * dt;
    p.vecLocation.x += p.vecVelocity.x * dt;
    p.vecLocation.y += p.vecVelocity.y * dt;
    p.fSpin += p.fSpinDelta * dt;
    p.fSize += p.fSizeDelta * dt;
    for (float gfxColor::*c : GFXPS_CHANNELS) p.colColor.*c += p.colColorDelta.*c * dt;
}

void gfxParticleSystem::Emit(float dt) {
    // The residue is kept whatever the cap lets through.
    float needed = static_cast<float>(info.nEmission) * dt + fEmissionResidue;
    float rounded = std::nearbyint(needed);
    fEmissionResidue = needed - rounded;
    int count = RoundToInt(rounded);
    for (int n = 0; n < count && nParticlesAlive < GFXPS_MAXPARTICLES; ++n) {
        EmitParticle(particles[nParticlesAlive]);
        ++nParticlesAlive;
    }
}

// Fifteen Random_Float calls per particle, always in this order: life, path
// position, x and y jitter, spread, speed, gravity, radial, tangential, size,
// spin, r, g, b, a.
void gfxParticleSystem::EmitParticle(gfxParticle& p) {
    auto random = [](float lo, float hi) { return gfx->Random_Float(lo, hi); };
    auto varied = [&random](float start, float end, float var) { return random(start, start + (end - start) * var); };

    p.fAge = 0.0f;
    p.fTerminalAge = random(info.fParticleLifeMin, info.fParticleLifeMax);

    float t = random(0.0f, 1.0f);
    p.vecLocation.x = vecPrevLocation.x + (vecLocation.x - vecPrevLocation.x) * t;
    p.vecLocation.y = vecPrevLocation.y + (vecLocation.y - vecPrevLocation.y) * t;
    p.vecLocation.x += random(-2.0f, 2.0f);
    p.vecLocation.y += random(-2.0f, 2.0f);

    float spread = random(0.0f, info.fSpread);
    float ang = info.fDirection - GFXPS_HALFPI + spread - info.fSpread / 2.0f;
    if (info.bRelative) {
        gfxVector moved(vecPrevLocation.x - vecLocation.x, vecPrevLocation.y - vecLocation.y);
        ang = moved.Angle() + ang + GFXPS_HALFPI;
    }
    p.vecVelocity.x = static_cast<float>(std::cos(static_cast<double>(ang)));
    p.vecVelocity.y = static_cast<float>(std::sin(static_cast<double>(ang)));
    float speed = random(info.fSpeedMin, info.fSpeedMax);
    p.vecVelocity.x *= speed;
    p.vecVelocity.y *= speed;

    p.fGravity = random(info.fGravityMin, info.fGravityMax);
    p.fRadialAccel = random(info.fRadialAccelMin, info.fRadialAccelMax);
    p.fTangentialAccel = random(info.fTangentialAccelMin, info.fTangentialAccelMax);

    p.fSize = varied(info.fSizeStart, info.fSizeEnd, info.fSizeVar);
    p.fSizeDelta = (info.fSizeEnd - p.fSize) / p.fTerminalAge;
    p.fSpin = varied(info.fSpinStart, info.fSpinEnd, info.fSpinVar);
    p.fSpinDelta = (info.fSpinEnd - p.fSpin) / p.fTerminalAge;

    for (float gfxColor::*c : GFXPS_CHANNELS) {
        float var = c == &gfxColor::a ? info.fAlphaVar : info.fColorVar;
        p.colColor.*c = varied(info.colColorStart.*c, info.colColorEnd.*c, var);
    }
    for (float gfxColor::*c : GFXPS_CHANNELS)
        p.colColorDelta.*c = (info.colColorEnd.*c - p.colColor.*c) / p.fTerminalAge;

    if (bUpdateBoundingBox) rectBoundingBox.Encapsulate(p.vecLocation.x, p.vecLocation.y);
}

void gfxParticleSystem::MoveTo(float x, float y, bool bMoveParticles) {
    if (bMoveParticles) {
        float dx = x - vecLocation.x;
        float dy = y - vecLocation.y;
        for (int i = 0; i < nParticlesAlive; ++i) {
            particles[i].vecLocation.x += dx;
            particles[i].vecLocation.y += dy;
        }
        vecPrevLocation.x += dx;
        vecPrevLocation.y += dy;
    } else if (fAge == -2.0f) {
        vecPrevLocation.x = x;
        vecPrevLocation.y = y;
    } else {
        vecPrevLocation = vecLocation;
    }
    vecLocation.x = x;
    vecLocation.y = y;
}

void gfxParticleSystem::Fire() { fAge = info.fLifetime == -1.0f ? -1.0f : 0.0f; }

void gfxParticleSystem::FireAt(float x, float y) {
    Stop(false);
    MoveTo(x, y, false);
    Fire();
}

void gfxParticleSystem::Stop(bool bKillParticles) {
    fAge = -2.0f;
    if (bKillParticles) {
        nParticlesAlive = 0;
        rectBoundingBox.Clear();
    }
}

uint32_t gfxParticleSystem::ParticleColor(const gfxParticle& p, uint32_t spriteColor) const {
    const gfxColor& c = p.colColor;
    if (info.colColorStart.r < 0.0f) return (spriteColor & 0x00FFFFFFu) | (ChannelBits(c.a) & 0xFFu) << 24;
    return (ChannelBits(c.a) << 24) + (ChannelBits(c.r) << 16) + (ChannelBits(c.g) << 8) + ChannelBits(c.b);
}

void gfxParticleSystem::Render() {
    if (!sprite) return;
    uint32_t spriteColor = sprite->quad.v[0].col;
    for (int i = 0; i < nParticlesAlive; ++i) {
        const gfxParticle& p = particles[i];
        sprite->SetColor(ParticleColor(p, spriteColor), -1);
        sprite->RenderEx(p.vecLocation.x * fScale + fTx, p.vecLocation.y * fScale + fTy, p.fSpin * p.fAge,
                         p.fSize * fScale, 0.0f);
    }
    sprite->SetColor(spriteColor, -1);
}

gfxRect* gfxParticleSystem::GetBoundingBox(gfxRect* rect) const {
    if (!rect) return rect;
    *rect = rectBoundingBox;
    rect->x1 *= fScale;
    rect->y1 *= fScale;
    rect->x2 *= fScale;
    rect->y2 *= fScale;
    return rect;
}
