// Host functions: The configuration store and text files from the pack.
// Each reads its arguments last first and returns the number of results pushed.
#pragma once

struct lua_State;
class CGFXFuncHelperBase;

class CHostConfigFunctions {
public:
    static int ConfigGetString(CGFXFuncHelperBase& self, lua_State* L);
    static int ConfigSetString(CGFXFuncHelperBase& self, lua_State* L);
    static int ConfigGetNumber(CGFXFuncHelperBase& self, lua_State* L);
    static int ConfigSetNumber(CGFXFuncHelperBase& self, lua_State* L);
    static int ConfigDeleteSection(CGFXFuncHelperBase& self, lua_State* L);
    static int GetTextFileData(CGFXFuncHelperBase& self, lua_State* L);
};
