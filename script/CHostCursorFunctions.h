// Host functions: The host's mouse cursor.
// Each reads its arguments last first and returns the number of results pushed.
#pragma once

struct lua_State;
class CGFXFuncHelperBase;

class CHostCursorFunctions {
public:
    static int HideCursor(CGFXFuncHelperBase& self, lua_State* L);
    static int ShowCursor(CGFXFuncHelperBase& self, lua_State* L);
    static int SetCursorHotSpot(CGFXFuncHelperBase& self, lua_State* L);
    static int SetCursor(CGFXFuncHelperBase& self, lua_State* L);
};
