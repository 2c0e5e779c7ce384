#include "script/CHostMediaFunctions.h"

#include "host/CGFXStarter.h"
#include "renderers/CGFXFuncHelperBase.h"
#include "script/LuaStack.h"

#include <string>

namespace {
CResourceCache* Cache(CGFXFuncHelperBase& self) { return self.GetStarter()->GetResourceCache(); }
}  // namespace

int CHostMediaFunctions::GetSprite(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostMediaFunctions::GetLastSurface(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostMediaFunctions::GetFont(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostMediaFunctions::GetSound(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostMediaFunctions::GetParticle(CGFXFuncHelperBase&, lua_State*) { return 0; }

int CHostMediaFunctions::CacheTexture(CGFXFuncHelperBase& self, lua_State* L) {
    std::string file;
    LuaPop(L, -1, file);
    Cache(self)->GetTexture(file, false);
    return 0;
}

int CHostMediaFunctions::CacheSound(CGFXFuncHelperBase& self, lua_State* L) {
    std::string file;
    LuaPop(L, -1, file);
    Cache(self)->GetSound(file);
    return 0;
}

int CHostMediaFunctions::GetFontEx(CGFXFuncHelperBase&, lua_State*) { return 0; }
