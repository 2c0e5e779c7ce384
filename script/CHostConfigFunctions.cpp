#include "script/CHostConfigFunctions.h"

int CHostConfigFunctions::ConfigGetString(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostConfigFunctions::ConfigSetString(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostConfigFunctions::ConfigGetNumber(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostConfigFunctions::ConfigSetNumber(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostConfigFunctions::ConfigDeleteSection(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostConfigFunctions::GetTextFileData(CGFXFuncHelperBase&, lua_State*) { return 0; }
