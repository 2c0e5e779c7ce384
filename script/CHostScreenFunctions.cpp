#include "script/CHostScreenFunctions.h"

#include "host/CGFXStarter.h"
#include "renderers/CDebugDrawHelper.h"
#include "renderers/CGFXFuncHelperBase.h"
#include "script/CLuaStarter.h"
#include "script/NumberConversion.h"

#include <cstdint>
#include <lua.hpp>

namespace {
GFX* Engine(CGFXFuncHelperBase& self) { return self.GetStarter()->GetEngine(); }
}  // namespace

int CHostScreenFunctions::GetScreenResolution(CGFXFuncHelperBase& self, lua_State* L) {
    LuaPush(L, self.GetStarter()->GetScreenWidth());
    LuaPush(L, self.GetStarter()->GetScreenHeight());
    return 2;
}

int CHostScreenFunctions::SetClipping(CGFXFuncHelperBase& self, lua_State* L) {
    if (lua_gettop(L) == 1) {
        Engine(self)->Gfx_SetClipping(0, 0, 0, 0);
        return 0;
    }
    double left, top, width, height;
    LuaPop(L, -1, height);
    LuaPop(L, -1, width);
    LuaPop(L, -1, top);
    LuaPop(L, -1, left);
    Engine(self)->Gfx_SetClipping(TruncateToInt32(left), TruncateToInt32(top), TruncateToInt32(width),
                                  TruncateToInt32(height));
    return 0;
}

int CHostScreenFunctions::SetDebugFontColor(CGFXFuncHelperBase& self, lua_State* L) {
    uint32_t color;
    LuaPop(L, -1, color);
    if (CDebugDrawHelper* overlay = self.GetStarter()->GetDebugDrawHelper()) overlay->SetTextColor(color);
    return 0;
}

int CHostScreenFunctions::ClearScreen(CGFXFuncHelperBase& self, lua_State* L) {
    uint32_t color;
    LuaPop(L, -1, color);
    Engine(self)->Gfx_Clear(color);
    return 0;
}

int CHostScreenFunctions::SetFullScreen(CGFXFuncHelperBase& self, lua_State* L) {
    bool fullScreen;
    LuaPop(L, -1, fullScreen);
    Engine(self)->System_SetState(GFX_WINDOWED, !fullScreen);
    return 0;
}

int CHostScreenFunctions::SetAutoRenderingMode(CGFXFuncHelperBase& self, lua_State* L) {
    bool on;
    LuaPop(L, -1, on);
    self.GetStarter()->SetAutoRendering(on);
    return 0;
}

int CHostScreenFunctions::BeginScene(CGFXFuncHelperBase& self, lua_State*) {
    CGFXStarter* starter = self.GetStarter();
    if (!starter->IsAutoRendering()) starter->BeginScene();
    return 0;
}

// Without automatic rendering the script ends the frame: overlay, then cursor.
int CHostScreenFunctions::EndScene(CGFXFuncHelperBase& self, lua_State*) {
    CGFXStarter* starter = self.GetStarter();
    if (starter->IsAutoRendering()) return 0;
    if (CDebugDrawHelper* overlay = starter->GetDebugDrawHelper()) overlay->CallScriptRender();
    starter->RenderCursor();
    starter->EndScene();
    return 0;
}

int CHostScreenFunctions::ShowSystemCursor(CGFXFuncHelperBase& self, lua_State* L) {
    bool show;
    LuaPop(L, -1, show);
    Engine(self)->System_SetState(GFX_HIDEMOUSE, !show);
    return 0;
}
