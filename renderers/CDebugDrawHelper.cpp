#include "renderers/CDebugDrawHelper.h"

#include "helpers/gfxFont.h"
#include "host/CGFXStarter.h"
#include "script/CLuaFunctionCall.h"
#include "script/CLuaStarter.h"

#include <string>

namespace {
const char* const kFontFile = "images/font2.fnt";
const char* const kScriptFile = "scripts\\debug.lua";

enum { kGetFPS = 1, kDrawString, kTimerDelta, kMousePos, kSetTextColor };
}  // namespace

CDebugDrawHelper::CDebugDrawHelper(CGFXStarter* starter)
    : m_Starter(starter), m_Font(new gfxFont(kFontFile, false)), m_Lua(new CLuaStarter(true)) {
    m_Lua->RunFile(kScriptFile);
    BindAndInit();
}

CDebugDrawHelper::~CDebugDrawHelper() {
    delete m_Font;
    m_Lua->Close();
    delete m_Lua;
    delete m_Binder;
}

void CDebugDrawHelper::BindAndInit() {
    m_Binder = new CLuaBinder<CDebugDrawHelper>(m_Lua->GetState(), this, 0);
    m_Binder->AddMethod("GetFPS", kGetFPS);
    m_Binder->AddMethod("DrawString", kDrawString);
    m_Binder->AddMethod("TimerDelta", kTimerDelta);
    m_Binder->AddMethod("MousePos", kMousePos);
    m_Binder->AddMethod("SetTextColor", kSetTextColor);
    CLuaFunctionCall call(m_Lua->GetState(), "Init");
    call.PushTable(m_Binder);
    call.Call();
}

void CDebugDrawHelper::CallScriptRender() {
    CLuaFunctionCall call(m_Lua->GetState(), "Render");
    call.Call();
}

void CDebugDrawHelper::SetTextColor(uint32_t color) { m_Font->SetColor(color); }

int CDebugDrawHelper::OnLuaCall(lua_State* L, int id, const char*) {
    GFX* engine = m_Starter->GetEngine();
    switch (id) {
        case kGetFPS:
            LuaPush(L, engine->Timer_GetFPS());
            return 1;
        case kDrawString: {
            std::string text;
            LuaPop(L, -1, text);
            m_Font->printf(5.0f, 5.0f, 0, "%s", text.c_str());
            return 0;
        }
        case kTimerDelta:
            LuaPush(L, static_cast<double>(engine->Timer_GetDelta()));
            return 1;
        case kMousePos: {
            float x = 0, y = 0;
            engine->Input_GetMousePos(&x, &y);
            LuaPush(L, static_cast<double>(x));
            LuaPush(L, static_cast<double>(y));
            return 2;
        }
        case kSetTextColor: {
            uint32_t color;
            LuaPop(L, -1, color);
            SetTextColor(color);
            return 0;
        }
        default:
            return 0;
    }
}

int CDebugDrawHelper::OnLuaIndex(lua_State*, const char*) { return 0; }

int CDebugDrawHelper::OnLuaNewIndex(lua_State*, const char*) { return 0; }
