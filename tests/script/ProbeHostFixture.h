// Host tests that look at textures while a script runs. The main screen's
// script gets, from its first "Update" on, the globals LastQuadTexture() (the
// texture of the last quad drawn), KeepTexels(h) (copies that texture's
// texels as they are now, for Kept(h)), LockTexture(h), UnlockTexture(h) and
// LiveTextures() (textures that are not a render target's).
#pragma once

#include "engine/recording/RecordingEngine.h"
#include "renderers/CScriptRenderer.h"
#include "tests/support/HostFixture.h"

#include <lua.hpp>

#include <map>
#include <vector>

class TextureProbe {
public:
    explicit TextureProbe(RecordingEngine* engine) : m_Engine(engine) {}

    void Install(lua_State* L) {
        Register(L, "LastQuadTexture", &TextureProbe::LastQuadTexture);
        Register(L, "KeepTexels", &TextureProbe::KeepTexels);
        Register(L, "LockTexture", &TextureProbe::LockTexture);
        Register(L, "UnlockTexture", &TextureProbe::UnlockTexture);
        Register(L, "LiveTextures", &TextureProbe::LiveTextures);
    }

    // The kept texels of h; empty when none were kept.
    const std::vector<uint32_t>& Kept(HTEXTURE h) { return m_Kept[h]; }

private:
    void Register(lua_State* L, const char* name, lua_CFunction f) {
        lua_pushlightuserdata(L, this);
        lua_pushcclosure(L, f, 1);
        lua_setglobal(L, name);
    }
    static TextureProbe* Self(lua_State* L) {
        return static_cast<TextureProbe*>(lua_touserdata(L, lua_upvalueindex(1)));
    }
    static HTEXTURE Handle(lua_State* L) { return static_cast<HTEXTURE>(luaL_checknumber(L, 1)); }

    static int LastQuadTexture(lua_State* L) {
        const auto& quads = Self(L)->m_Engine->Quads();
        lua_pushnumber(L, quads.empty() ? 0 : quads.back().tex);
        return 1;
    }
    static int KeepTexels(lua_State* L) {
        TextureProbe* self = Self(L);
        const HTEXTURE h = Handle(L);
        if (RecordingEngine::Texture* t = self->m_Engine->FindTexture(h)) self->m_Kept[h] = t->texels;
        return 0;
    }
    static int LockTexture(lua_State* L) {
        lua_pushboolean(L, Self(L)->m_Engine->Texture_Lock(Handle(L), true, 0, 0, 0, 0) != nullptr);
        return 1;
    }
    static int UnlockTexture(lua_State* L) {
        Self(L)->m_Engine->Texture_Unlock(Handle(L));
        return 0;
    }
    static int LiveTextures(lua_State* L) {
        lua_pushnumber(L, Self(L)->m_Engine->LiveTextures());
        return 1;
    }

    RecordingEngine* m_Engine;
    std::map<HTEXTURE, std::vector<uint32_t>> m_Kept;
};

// Installs the probe once the script's "Init" has run.
class ProbedRenderer : public CScriptRenderer {
public:
    ProbedRenderer(const char* script, TextureProbe* probe) : CScriptRenderer(script, nullptr), m_Probe(probe) {}
    void OnInit(CGFXStarter*) override { m_Probe->Install(GetLuaState()); }

private:
    TextureProbe* m_Probe;
};

class ProbeHostFixture : public HostFixture {
protected:
    // RunMain with the probe.
    std::string RunProbed(const std::string& script, int frames = 1) {
        engine->AddFile("scripts/main.lua", script);
        ProbedRenderer main("scripts\\main.lua", &probe);
        return RunScreen(main, frames);
    }

    void SetUp() override {
        HostFixture::SetUp();
        probe = TextureProbe(engine);
    }

    TextureProbe probe{nullptr};
};
