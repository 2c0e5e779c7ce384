#include "renderers/CDebugDrawHelper.h"

#include "helpers/gfxFont.h"
#include "host/CGFXStarter.h"
#include "script/CLuaFunctionCall.h"
#include "script/CLuaStarter.h"
#include "script/LuaStack.h"

#include <string>

namespace {
const char* const kFontFile = "images/font2.fnt";
const char* const kScriptFile = "scripts\\debug.lua";

using D = CDebugDrawHelper;
}  // namespace

const ScriptMethod<CDebugDrawHelper> CDebugDrawHelper::kMethods[] = {
    {"GetFPS", Handler<&D::GetFPS>},
    {"DrawString", Handler<&D::DrawString>},
    {"TimerDelta", Handler<&D::TimerDelta>},
    {"MousePos", Handler<&D::MousePos>},
    {"SetTextColor", Handler<&D::ReadTextColor>},
};

CDebugDrawHelper::CDebugDrawHelper(CGFXStarter* starter)
    : CLuaBoundObject(kMethods),
      m_Starter(starter),
      m_Font(new gfxFont(kFontFile, false)),
      m_Lua(new CLuaStarter(true)) {
    m_Lua->RunFile(kScriptFile);
    BindAndInit();
}

// The state goes first: a "__gc" of the script may still draw with the font.
CDebugDrawHelper::~CDebugDrawHelper() {
    m_Lua->Close();
    delete m_Lua;
    delete m_Font;
}

void CDebugDrawHelper::BindAndInit() {
    CLuaBinder<CDebugDrawHelper>* binder = NewBinder(m_Lua->GetState());
    CLuaFunctionCall call(m_Lua->GetState(), "Init");
    call.PushTable(binder);
    call.Call();
}

void CDebugDrawHelper::CallScriptRender() {
    CLuaFunctionCall call(m_Lua->GetState(), "Render");
    call.Call();
}

void CDebugDrawHelper::SetTextColor(uint32_t color) { m_Font->SetColor(color); }

int CDebugDrawHelper::GetFPS(lua_State* L) {
    LuaPush(L, m_Starter->GetEngine()->Timer_GetFPS());
    return 1;
}

int CDebugDrawHelper::DrawString(lua_State* L) {
    std::string text;
    LuaPop(L, -1, text);
    m_Font->printf(5.0f, 5.0f, 0, "%s", text.c_str());
    return 0;
}

int CDebugDrawHelper::TimerDelta(lua_State* L) {
    LuaPush(L, static_cast<double>(m_Starter->GetEngine()->Timer_GetDelta()));
    return 1;
}

int CDebugDrawHelper::MousePos(lua_State* L) {
    float x = 0, y = 0;
    m_Starter->GetEngine()->Input_GetMousePos(&x, &y);
    LuaPush(L, static_cast<double>(x));
    LuaPush(L, static_cast<double>(y));
    return 2;
}

int CDebugDrawHelper::ReadTextColor(lua_State* L) {
    uint32_t color = 0;
    LuaPop(L, -1, color);
    SetTextColor(color);
    return 0;
}
