#include "script/CHostSystemFunctions.h"

#include "helpers/gfxRect.h"
#include "host/CGFXStarter.h"
#include "os/DebugOutput.h"
#include "renderers/CGFXFuncHelperBase.h"
#include "script/CLuaStarter.h"

#include <algorithm>
#include <string>

namespace {
GFX* Engine(CGFXFuncHelperBase& self) { return self.GetStarter()->GetEngine(); }

// Edges are summed in double precision, then stored as floats.
gfxRect RectOf(double x, double y, double w, double h) {
    return gfxRect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + w), static_cast<float>(y + h));
}
}  // namespace

int CHostSystemFunctions::EnableSound(CGFXFuncHelperBase& self, lua_State* L) {
    bool on;
    LuaPop(L, -1, on);
    self.GetStarter()->EnableSound(on);
    return 0;
}

int CHostSystemFunctions::SetSoundVolume(CGFXFuncHelperBase& self, lua_State* L) {
    int volume;
    LuaPop(L, -1, volume);
    volume = std::min(100, std::max(0, volume));
    for (gfxIntState state : {GFX_FXVOLUME, GFX_MUSVOLUME, GFX_STREAMVOLUME})
        Engine(self)->System_SetState(state, volume);
    return 0;
}

int CHostSystemFunctions::TestIntersection(CGFXFuncHelperBase&, lua_State* L) {
    double v[8];
    for (int i = 7; i >= 0; --i) LuaPop(L, -1, v[i]);
    const gfxRect first = RectOf(v[0], v[1], v[2], v[3]);
    const gfxRect second = RectOf(v[4], v[5], v[6], v[7]);
    LuaPush(L, first.Intersect(&second));
    return 1;
}

int CHostSystemFunctions::OutputDebugString(CGFXFuncHelperBase&, lua_State* L) {
    std::string text;
    LuaPop(L, -1, text);
    os::DebugOutput(text.c_str());
    os::DebugOutput("\n");
    return 0;
}

int CHostSystemFunctions::GetFPS(CGFXFuncHelperBase& self, lua_State* L) {
    LuaPush(L, Engine(self)->Timer_GetFPS());
    return 1;
}
