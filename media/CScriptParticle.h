// The script's particle effect ("GetParticle"): one particle system drawn
// with one sprite over a whole texture. Nothing drives it by itself: the
// script calls "Update" and "Render". The screen whose script made it owns it.
#pragma once

#include "script/CLuaBoundObject.h"

#include <string>

class CGFXFuncHelperBase;
class CGFXStarter;
class gfxParticleSystem;
class gfxSprite;

class CScriptParticle final : public CLuaBoundObject<CScriptParticle> {
public:
    // A texture that cannot be loaded gives texture 0; a preset that cannot
    // be read gives a system that never emits.
    CScriptParticle(CGFXStarter* starter, CGFXFuncHelperBase* owner, const std::string& presetFile,
                    const std::string& textureFile);
    ~CScriptParticle();
    CScriptParticle(const CScriptParticle&) = delete;
    CScriptParticle& operator=(const CScriptParticle&) = delete;

    CGFXStarter* GetStarter() const { return m_Starter; }
    CGFXFuncHelperBase* GetOwner() const { return m_Owner; }
    gfxParticleSystem* GetParticleSystem() const { return m_System; }
    bool IsAlive() const;

private:
    static const ScriptMethod<CScriptParticle> kMethods[];

    int Update(lua_State* L);
    int MoveTo(lua_State* L, bool moveParticles);
    int FireAt(lua_State* L);
    int Stop();
    int Render();
    int PushAlive(lua_State* L);

    CGFXStarter* m_Starter;
    CGFXFuncHelperBase* m_Owner;
    gfxSprite* m_Sprite = nullptr;
    gfxParticleSystem* m_System = nullptr;
};
