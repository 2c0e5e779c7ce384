// Host functions: Mouse and keyboard, with the process-wide click emulation.
// Each reads its arguments last first and returns the number of results pushed.
#pragma once

struct lua_State;
class CGFXFuncHelperBase;

class CHostInputFunctions {
public:
    static int MousePos(CGFXFuncHelperBase& self, lua_State* L);
    static int LeftMousePressed(CGFXFuncHelperBase& self, lua_State* L);
    static int EscapePressed(CGFXFuncHelperBase& self, lua_State* L);
    static int EnterPressed(CGFXFuncHelperBase& self, lua_State* L);
    static int LeftMouseClicked(CGFXFuncHelperBase& self, lua_State* L);
    static int EmulateLeftMouseClicked(CGFXFuncHelperBase& self, lua_State* L);
    static int ResetLeftMouseClickedEmulation(CGFXFuncHelperBase& self, lua_State* L);
    static int GetLastPressedKey(CGFXFuncHelperBase& self, lua_State* L);
    static int GetLastPressedChar(CGFXFuncHelperBase& self, lua_State* L);
    static int IsKeyPressed(CGFXFuncHelperBase& self, lua_State* L);
};
