// Host functions: Masked sprites composed on the CPU from a render target.
// Each reads its arguments last first and returns the number of results pushed.
#pragma once

struct lua_State;
class CGFXFuncHelperBase;

class CHostMaskFunctions {
public:
    static int GetMaskedSprite(CGFXFuncHelperBase& self, lua_State* L);
};
