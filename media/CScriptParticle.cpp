#include "media/CScriptParticle.h"

#include "helpers/gfxParticleSystem.h"
#include "helpers/gfxSprite.h"
#include "host/CGFXStarter.h"
#include "script/LuaStack.h"

namespace {

enum { kUpdate = 1, kMoveTo, kFireAt, kStop, kRender, kIsAlive, kMoveToEx };

struct Method {
    const char* name;
    int id;
};

const Method kMethods[] = {
    {"Update", kUpdate}, {"MoveTo", kMoveTo},   {"FireAt", kFireAt},     {"Stop", kStop},
    {"Render", kRender}, {"IsAlive", kIsAlive}, {"MoveToEx", kMoveToEx},
};

// Numbers come as double and go on as float.
float PopFloat(lua_State* L) {
    double value = 0.0;
    LuaPop(L, -1, value);
    return static_cast<float>(value);
}

}  // namespace

// The sprite covers the whole texture surface with its hot spot at the top-left
// corner, so each particle is drawn from, and turns about, that corner.
CScriptParticle::CScriptParticle(CGFXStarter* starter, CGFXFuncHelperBase* owner, const std::string& presetFile,
                                 const std::string& textureFile)
    : m_Starter(starter), m_Owner(owner) {
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
    delete m_Binder;
}

void CScriptParticle::Bind(lua_State* L) {
    delete m_Binder;
    m_Binder = new CLuaBinder<CScriptParticle>(L, this, 0);
    for (const Method& m : kMethods) m_Binder->AddMethod(m.name, m.id);
    m_Binder->Register();
}

bool CScriptParticle::IsAlive() const { return m_System->GetAge() != -2.0f || m_System->GetParticlesAlive() != 0; }

int CScriptParticle::OnLuaCall(lua_State* L, int id, const char*) {
    switch (id) {
        case kUpdate:
            return Update(L);
        case kMoveTo:
            return MoveTo(L, false);
        case kFireAt:
            return FireAt(L);
        case kStop:
            m_System->Stop(false);
            return 0;
        case kRender:
            m_System->Render();
            return 0;
        case kIsAlive:
            return PushAlive(L);
        case kMoveToEx:
            return MoveTo(L, true);
        default:
            return 0;
    }
}

int CScriptParticle::OnLuaIndex(lua_State*, const char*) { return 0; }
int CScriptParticle::OnLuaNewIndex(lua_State*, const char*) { return 0; }

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
