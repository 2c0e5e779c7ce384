#include "script/CHostMediaFunctions.h"

int CHostMediaFunctions::GetSprite(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostMediaFunctions::GetLastSurface(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostMediaFunctions::GetFont(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostMediaFunctions::GetSound(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostMediaFunctions::GetParticle(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostMediaFunctions::CacheTexture(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostMediaFunctions::CacheSound(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostMediaFunctions::GetFontEx(CGFXFuncHelperBase&, lua_State*) { return 0; }
