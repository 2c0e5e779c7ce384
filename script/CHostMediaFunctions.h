// Host functions: The functions that make media objects and fill the caches.
// Each reads its arguments last first and returns the number of results pushed.
#pragma once

struct lua_State;
class CGFXFuncHelperBase;

class CHostMediaFunctions {
public:
    static int GetSprite(CGFXFuncHelperBase& self, lua_State* L);
    static int GetLastSurface(CGFXFuncHelperBase& self, lua_State* L);
    static int GetFont(CGFXFuncHelperBase& self, lua_State* L);
    static int GetSound(CGFXFuncHelperBase& self, lua_State* L);
    static int GetParticle(CGFXFuncHelperBase& self, lua_State* L);
    static int CacheTexture(CGFXFuncHelperBase& self, lua_State* L);
    static int CacheSound(CGFXFuncHelperBase& self, lua_State* L);
    static int GetFontEx(CGFXFuncHelperBase& self, lua_State* L);
};
