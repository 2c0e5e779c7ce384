// Host functions: Sound switches and volumes, timing, intersections and debug output.
// Each reads its arguments last first and returns the number of results pushed.
#pragma once

struct lua_State;
class CGFXFuncHelperBase;

class CHostSystemFunctions {
public:
    static int EnableSound(CGFXFuncHelperBase& self, lua_State* L);
    static int SetSoundVolume(CGFXFuncHelperBase& self, lua_State* L);
    static int TestIntersection(CGFXFuncHelperBase& self, lua_State* L);
    static int OutputDebugString(CGFXFuncHelperBase& self, lua_State* L);
    static int GetFPS(CGFXFuncHelperBase& self, lua_State* L);
};
