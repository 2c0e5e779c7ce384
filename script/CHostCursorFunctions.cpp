#include "script/CHostCursorFunctions.h"

int CHostCursorFunctions::HideCursor(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostCursorFunctions::ShowCursor(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostCursorFunctions::SetCursorHotSpot(CGFXFuncHelperBase&, lua_State*) { return 0; }
int CHostCursorFunctions::SetCursor(CGFXFuncHelperBase&, lua_State*) { return 0; }
