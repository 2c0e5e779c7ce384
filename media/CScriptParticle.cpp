#include "media/CScriptParticle.h"

#include "helpers/gfxParticleSystem.h"
#include "helpers/gfxSprite.h"
#include "host/CGFXStarter.h"
#include "script/LuaStack.h"

namespace {

// Numbers come as double and go on as float.
float PopFloat(lua_State* L) {
    double value = 0.0;
    LuaPop(L, -1, value);
    return static_cast<float>(value);
}

using P = CScriptParticle;

}  // namespace

const ScriptMethod<CScriptParticle> CScriptParticle::kMethods[] = {
    {"Update", Handler<&P::Update>},
    {"MoveTo", [](P& p, lua_State* L) { return p.MoveTo(L, false); }},
    {"FireAt", Handler<&P::FireAt>},
    {"Stop", [](P& p, lua_State*) { return p.Stop(); }},
    {"Render", [](P& p, lua_State*) { return p.Render(); }},
    {"IsAlive", Handler<&P::PushAlive>},
    {"MoveToEx", [](P& p, lua_State* L) { return p.MoveTo(L, true); }},
};

// The sprite covers the whole texture surface with its hot spot at the top-left
// corner, so each particle is drawn from, and turns about, that corner.
CScriptParticle::CScriptParticle(CGFXStarter* starter, CGFXFuncHelperBase* owner, const std::string& presetFile,
                                 const std::string& textureFile)
    : CLuaBoundObject(kMethods), m_Starter(starter), m_Owner(owner) {
    HTEXTURE texture = 0;
    int w = 0, h = 0;
    if (GFX* engine = starter ? starter->GetEngine() : nullptr) {
        texture = starter->GetResourceCache()->GetTexture(textureFile, false);
        w = engine->Texture_GetWidth(texture, false);
        h = engine->Texture_GetHeight(texture, false);
    }
    m_Sprite = new gfxSprite(texture, 0.0f, 0.0f, static_cast<float>(w), static_cast<float>(h));
    m_System = new gfxParticleSystem(presetFile.c_str(), m_Sprite);
}

// The texture stays in the resource cache.
CScriptParticle::~CScriptParticle() {
    m_System->Stop(false);
    delete m_Sprite;
    delete m_System;
}

bool CScriptParticle::IsAlive() const { return m_System->GetAge() != -2.0f || m_System->GetParticlesAlive() != 0; }

int CScriptParticle::Update(lua_State* L) {
    m_System->Update(PopFloat(L));
    return 0;
}

int CScriptParticle::MoveTo(lua_State* L, bool moveParticles) {
    const float y = PopFloat(L);
    const float x = PopFloat(L);
    m_System->MoveTo(x, y, moveParticles);
    return 0;
}

int CScriptParticle::Stop() {
    m_System->Stop(false);
    return 0;
}

int CScriptParticle::Render() {
    m_System->Render();
    return 0;
}

int CScriptParticle::FireAt(lua_State* L) {
    const float y = PopFloat(L);
    const float x = PopFloat(L);
    m_System->FireAt(x, y);
    return 0;
}

int CScriptParticle::PushAlive(lua_State* L) {
    LuaPush(L, IsAlive());
    return 1;
}
