#include "script/CHostRendererFunctions.h"

#include "host/CGFXStarter.h"
#include "host/CHelperToKeyBinder.h"
#include "renderers/CScriptRenderer.h"
#include "script/CHostFunctionTable.h"
#include "script/CLuaFunctionCall.h"
#include "script/CLuaLiveness.h"
#include "script/CLuaStarter.h"

#include <string>

namespace {
// Screens made from inside a script's "Init" nest natively, each in a state of
// its own, so Lua's own depth limit never stops a script that opens or
// registers itself there; this one ends it with a clear error instead.
const int kMaxNestedScreens = 32;
int g_NestedScreens = 0;

class NestedScreen {
public:
    explicit NestedScreen(lua_State* L) {
        CHostFunctionTable::Check(L, g_NestedScreens < kMaxNestedScreens, "too many nested screens");
        ++g_NestedScreens;
    }
    ~NestedScreen() { --g_NestedScreens; }
    NestedScreen(const NestedScreen&) = delete;
    NestedScreen& operator=(const NestedScreen&) = delete;
};
}  // namespace

int CHostRendererFunctions::SwitchToRenderer(CGFXFuncHelperBase& self, lua_State* L) {
    std::string name;
    LuaPop(L, -1, name);
    CGFXStarter* starter = self.m_Starter;
    starter->SwitchToRenderer(starter->GetKeyBinder()->FindByName(name.c_str()));
    return 0;
}

int CHostRendererFunctions::Exit(CGFXFuncHelperBase& self, lua_State*) {
    self.m_bExitRequested = true;
    return 0;
}

int CHostRendererFunctions::RunScript(CGFXFuncHelperBase& self, lua_State* L) {
    std::string script;
    LuaPop(L, -1, script);
    self.m_Starter->RequestRunScript(script.c_str());
    return 0;
}

int CHostRendererFunctions::EndModal(CGFXFuncHelperBase& self, lua_State* L) {
    auto* script = dynamic_cast<CScriptRenderer*>(&self);
    CGFXFuncHelperBase* parent = script ? script->GetParent() : nullptr;
    CHostFunctionTable::Check(L, parent != nullptr, "parent != NULL");
    self.SetActive(self.m_Starter, false);
    parent->m_bModalActive = false;
    parent->m_bEndModalRequested = true;
    return 0;
}

// A child still open or still ending is never replaced: it would be lost
// while attached.
int CHostRendererFunctions::ShowModal(CGFXFuncHelperBase& self, lua_State* L) {
    if (self.m_bModalActive || self.m_bModalFrame) return 0;
    std::string script;
    LuaPop(L, -1, script);
    NestedScreen nested(L);
    CScriptRenderer* child = new CScriptRenderer(script.c_str(), &self);
    self.m_bModalFrame = child;
    child->Attach(self.m_Starter);
    // The child's "Init" may already have ended it.
    if (self.m_bEndModalRequested) return 0;
    child->SetActive(self.m_Starter, true);
    self.m_bModalActive = true;
    return 0;
}

int CHostRendererFunctions::RegisterRenderer(CGFXFuncHelperBase& self, lua_State* L) {
    std::string name, path;
    LuaPop(L, -1, path);
    LuaPop(L, -1, name);
    // Called from a finalizer while the state closes, the renderer would
    // outlive every detach.
    if (CLuaLiveness::IsClosing(L)) return 0;
    NestedScreen nested(L);
    self.m_Starter->RegisterRenderer(name.c_str(), path.c_str());
    return 0;
}

int CHostRendererFunctions::Update(CGFXFuncHelperBase& self, lua_State* L) {
    double dt;
    LuaPop(L, -1, dt);
    self.CallScriptUpdate(static_cast<float>(dt));
    return 0;
}

int CHostRendererFunctions::Render(CGFXFuncHelperBase& self, lua_State* L) {
    double x, y;
    LuaPop(L, -1, y);
    LuaPop(L, -1, x);
    self.CallScriptRender(static_cast<float>(x), static_cast<float>(y), true);
    return 0;
}

int CHostRendererFunctions::GetRegisteredRenderer(CGFXFuncHelperBase& self, lua_State* L) {
    std::string name;
    LuaPop(L, -1, name);
    auto* renderer = dynamic_cast<CScriptRenderer*>(self.m_Starter->GetKeyBinder()->FindByName(name.c_str()));
    if (!renderer) return 0;
    renderer->BindForScript(L);
    return 1;
}

int CHostRendererFunctions::CallFunction(CGFXFuncHelperBase& self, lua_State* L) {
    std::string name;
    LuaPop(L, -1, name);
    if (!self.m_Lua) return 0;
    CLuaFunctionCall call(self.m_Lua->GetState(), name.c_str());
    call.Call();
    return 0;
}
