#include "script/CHostRendererFunctions.h"

#include "host/CGFXStarter.h"
#include "host/CHelperToKeyBinder.h"
#include "renderers/CScriptRenderer.h"
#include "script/CLuaLiveness.h"
#include "script/LuaStack.h"

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
        LuaCheck(L, g_NestedScreens < kMaxNestedScreens, "too many nested screens");
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
    CGFXStarter* starter = self.GetStarter();
    starter->SwitchToRenderer(starter->GetKeyBinder()->FindByName(name.c_str()));
    return 0;
}

int CHostRendererFunctions::Exit(CGFXFuncHelperBase& self, lua_State*) {
    self.RequestExit();
    return 0;
}

int CHostRendererFunctions::RunScript(CGFXFuncHelperBase& self, lua_State* L) {
    std::string script;
    LuaPop(L, -1, script);
    self.GetStarter()->RequestRunScript(script.c_str());
    return 0;
}

int CHostRendererFunctions::EndModal(CGFXFuncHelperBase& self, lua_State* L) {
    auto* script = dynamic_cast<CScriptRenderer*>(&self);
    CGFXFuncHelperBase* parent = script ? script->GetParent() : nullptr;
    LuaCheck(L, parent != nullptr, "parent != NULL");
    self.SetActive(self.GetStarter(), false);
    parent->RequestEndModal();
    return 0;
}

// A child still open or still ending is never replaced: it would be lost
// while attached.
int CHostRendererFunctions::ShowModal(CGFXFuncHelperBase& self, lua_State* L) {
    if (self.IsModalActive() || self.HasModalChild()) return 0;
    std::string script;
    LuaPop(L, -1, script);
    NestedScreen nested(L);
    self.OpenModal(new CScriptRenderer(script.c_str(), &self));
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
    self.GetStarter()->RegisterRenderer(name.c_str(), path.c_str());
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
    auto* renderer = dynamic_cast<CScriptRenderer*>(self.GetStarter()->GetKeyBinder()->FindByName(name.c_str()));
    if (!renderer) return 0;
    renderer->BindForScript(L);
    return 1;
}

int CHostRendererFunctions::CallFunction(CGFXFuncHelperBase& self, lua_State* L) {
    std::string name;
    LuaPop(L, -1, name);
    self.CallScriptFunction(name.c_str());
    return 0;
}
