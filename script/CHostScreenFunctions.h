// Host functions: The screen and the scene.
// Each reads its arguments last first and returns the number of results pushed.
#pragma once

struct lua_State;
class CGFXFuncHelperBase;

class CHostScreenFunctions {
public:
    static int GetScreenResolution(CGFXFuncHelperBase& self, lua_State* L);
    static int SetClipping(CGFXFuncHelperBase& self, lua_State* L);
    static int SetDebugFontColor(CGFXFuncHelperBase& self, lua_State* L);
    static int ClearScreen(CGFXFuncHelperBase& self, lua_State* L);
    static int SetFullScreen(CGFXFuncHelperBase& self, lua_State* L);
    static int SetAutoRenderingMode(CGFXFuncHelperBase& self, lua_State* L);
    static int BeginScene(CGFXFuncHelperBase& self, lua_State* L);
    static int EndScene(CGFXFuncHelperBase& self, lua_State* L);
    static int ShowSystemCursor(CGFXFuncHelperBase& self, lua_State* L);
};
