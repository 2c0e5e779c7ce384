// The 53 host functions every screen script receives: their names and ids,
// and the dispatch from an id to its handler.
#pragma once

#include "script/CLuaBinder.h"

struct lua_State;
class CGFXFuncHelperBase;

class CHostFunctionTable {
public:
    static constexpr int kCount = 53;

    // Adds the 53 functions in id order; their closures run the rows straight.
    static void Register(CLuaBinder<CGFXFuncHelperBase>* binder);
    // Runs the handler of the id; an unknown id pushes nothing.
    static int Call(CGFXFuncHelperBase& self, lua_State* L, int id);
    static const char* Name(int id);
};
