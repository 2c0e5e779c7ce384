#include "script/CHostMaskFunctions.h"

int CHostMaskFunctions::GetMaskedSprite(CGFXFuncHelperBase&, lua_State*) { return 0; }
