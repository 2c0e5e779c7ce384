#include "script/CHostInputFunctions.h"

#include "host/CGFXStarter.h"
#include "renderers/CGFXFuncHelperBase.h"
#include "script/CLuaStarter.h"
#include "script/ClickEmulation.h"
#include "script/NumberConversion.h"

namespace {
GFX* Engine(CGFXFuncHelperBase& self) { return self.GetStarter()->GetEngine(); }

int PushBool(lua_State* L, bool value) {
    LuaPush(L, value);
    return 1;
}
}  // namespace

int CHostInputFunctions::MousePos(CGFXFuncHelperBase& self, lua_State* L) {
    float x = 0, y = 0;
    Engine(self)->Input_GetMousePos(&x, &y);
    LuaPush(L, static_cast<double>(x));
    LuaPush(L, static_cast<double>(y));
    return 2;
}

int CHostInputFunctions::LeftMousePressed(CGFXFuncHelperBase& self, lua_State* L) {
    return PushBool(L, Engine(self)->Input_GetKeyState(GFXK_LBUTTON));
}

int CHostInputFunctions::EscapePressed(CGFXFuncHelperBase& self, lua_State* L) {
    return PushBool(L, Engine(self)->Input_KeyUp(GFXK_ESCAPE));
}

int CHostInputFunctions::EnterPressed(CGFXFuncHelperBase& self, lua_State* L) {
    return PushBool(L, Engine(self)->Input_KeyUp(GFXK_ENTER));
}

int CHostInputFunctions::LeftMouseClicked(CGFXFuncHelperBase& self, lua_State* L) {
    return PushBool(L, LeftClickReleased(Engine(self)));
}

int CHostInputFunctions::EmulateLeftMouseClicked(CGFXFuncHelperBase&, lua_State* L) {
    bool clicked;
    LuaPop(L, -1, clicked);
    g_bClickEmulation = true;
    g_bEmulatedClick = clicked;
    return 0;
}

int CHostInputFunctions::ResetLeftMouseClickedEmulation(CGFXFuncHelperBase&, lua_State*) {
    g_bClickEmulation = false;
    return 0;
}

int CHostInputFunctions::GetLastPressedKey(CGFXFuncHelperBase& self, lua_State* L) {
    LuaPush(L, Engine(self)->Input_GetKey());
    return 1;
}

int CHostInputFunctions::GetLastPressedChar(CGFXFuncHelperBase& self, lua_State* L) {
    LuaPush(L, Engine(self)->Input_GetChar());
    return 1;
}

// The range is checked on the number itself: the int reader's low 32 bits
// would let 2^32 + 65 pass for 'A'. NaN fails both comparisons.
int CHostInputFunctions::IsKeyPressed(CGFXFuncHelperBase& self, lua_State* L) {
    double key;
    LuaPop(L, -1, key);
    const bool known = key > -1.0 && key < 256.0;
    return PushBool(L, known && Engine(self)->Input_GetKeyState(TruncateToInt32(key)));
}
