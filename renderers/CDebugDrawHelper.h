// The debug overlay: "scripts\\debug.lua" in a Lua state of its own, drawn over
// every screen with its own font.
#pragma once

#include "script/CLuaBoundObject.h"

#include <cstdint>

struct lua_State;
class CGFXStarter;
class CLuaStarter;
class gfxFont;

class CDebugDrawHelper final : public CLuaBoundObject<CDebugDrawHelper> {
public:
    explicit CDebugDrawHelper(CGFXStarter* starter);
    ~CDebugDrawHelper();
    CDebugDrawHelper(const CDebugDrawHelper&) = delete;
    CDebugDrawHelper& operator=(const CDebugDrawHelper&) = delete;

    void CallScriptRender();
    void SetTextColor(uint32_t color);

private:
    static const ScriptMethod<CDebugDrawHelper> kMethods[];

    void BindAndInit();
    int GetFPS(lua_State* L);
    int DrawString(lua_State* L);
    int TimerDelta(lua_State* L);
    int MousePos(lua_State* L);
    int ReadTextColor(lua_State* L);

    CGFXStarter* m_Starter;
    gfxFont* m_Font;
    CLuaStarter* m_Lua;
};
