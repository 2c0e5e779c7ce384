// Up to 500 particles emitted from a movable point and drawn with one shared
// sprite. Every random value comes from the engine's Random_Float in a fixed
// order, so the same random sequence gives the same particles.
#pragma once

#include "engine/gfx.h"
#include "helpers/gfxParticle.h"
#include "helpers/gfxParticleSystemInfo.h"
#include "helpers/gfxRect.h"
#include "helpers/gfxVector.h"

#include <cstdint>

class gfxSprite;

class gfxParticleSystem {
public:
    static constexpr int GFXPS_MAXPARTICLES = 500;

    // Reads the preset from a file through the engine; an unreadable or short
    // file gives the all-zero preset. The sprite is not owned.
    gfxParticleSystem(const char* filename, gfxSprite* sprite);
    // A copy of the given preset (none: the all-zero preset).
    explicit gfxParticleSystem(const gfxParticleSystemInfo* psi, gfxSprite* sprite = nullptr);
    gfxParticleSystem(const gfxParticleSystem& other);
    gfxParticleSystem& operator=(const gfxParticleSystem& other) = default;
    ~gfxParticleSystem();

    void Update(float dt);
    void MoveTo(float x, float y, bool bMoveParticles);
    void Fire();
    void FireAt(float x, float y);
    void Stop(bool bKillParticles);
    void Render();

    gfxRect* GetBoundingBox(gfxRect* rect) const;
    int GetParticlesAlive() const { return nParticlesAlive; }
    float GetAge() const { return fAge; }

    gfxParticleSystemInfo info;
    gfxSprite* sprite = nullptr;

private:
    void Reset();
    void UpdateParticles(float dt);
    void MoveParticle(gfxParticle& p, float dt);
    void Emit(float dt);
    void EmitParticle(gfxParticle& p);
    uint32_t ParticleColor(const gfxParticle& p, uint32_t spriteColor) const;

    float fAge = -2.0f;
    float fEmissionResidue = 0.0f;
    gfxVector vecPrevLocation;
    gfxVector vecLocation;
    float fTx = 0.0f, fTy = 0.0f;
    float fScale = 1.0f;
    int nParticlesAlive = 0;
    gfxRect rectBoundingBox;
    bool bUpdateBoundingBox = false;
    gfxParticle particles[GFXPS_MAXPARTICLES];

    static GFX* gfx;
};
