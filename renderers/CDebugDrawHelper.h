// The debug overlay: "scripts\\debug.lua" in a Lua state of its own, drawn over
// every screen with its own font.
#pragma once

#include "script/CLuaBinder.h"
#include "script/ILuaBindableEvents.h"

#include <cstdint>

struct lua_State;
class CGFXStarter;
class CLuaStarter;
class gfxFont;

class CDebugDrawHelper final : public ILuaBindableEvents {
public:
    explicit CDebugDrawHelper(CGFXStarter* starter);
    ~CDebugDrawHelper();
    CDebugDrawHelper(const CDebugDrawHelper&) = delete;
    CDebugDrawHelper& operator=(const CDebugDrawHelper&) = delete;

    void CallScriptRender();
    void SetTextColor(uint32_t color);

    int OnLuaCall(lua_State* L, int id, const char* name) override;
    int OnLuaIndex(lua_State* L, const char* key) override;
    int OnLuaNewIndex(lua_State* L, const char* key) override;

private:
    void BindAndInit();

    CGFXStarter* m_Starter;
    gfxFont* m_Font;
    CLuaStarter* m_Lua;
    CLuaBinder<CDebugDrawHelper>* m_Binder = nullptr;
};
