// Host functions: Renderer control: switching, exiting, modal screens, other screens' tables.
// Each reads its arguments last first and returns the number of results pushed.
#pragma once

struct lua_State;
class CGFXFuncHelperBase;

class CHostRendererFunctions {
public:
    static int SwitchToRenderer(CGFXFuncHelperBase& self, lua_State* L);
    static int Exit(CGFXFuncHelperBase& self, lua_State* L);
    static int RunScript(CGFXFuncHelperBase& self, lua_State* L);
    static int EndModal(CGFXFuncHelperBase& self, lua_State* L);
    static int ShowModal(CGFXFuncHelperBase& self, lua_State* L);
    static int RegisterRenderer(CGFXFuncHelperBase& self, lua_State* L);
    static int Update(CGFXFuncHelperBase& self, lua_State* L);
    static int Render(CGFXFuncHelperBase& self, lua_State* L);
    static int GetRegisteredRenderer(CGFXFuncHelperBase& self, lua_State* L);
    static int CallFunction(CGFXFuncHelperBase& self, lua_State* L);
};
