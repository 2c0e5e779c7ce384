// One method of a bound object: what its closures call.
#pragma once

struct lua_State;

template <class T>
struct ScriptMethod {
    const char* name;  // a constant text: the binder keeps the pointer
    // Reads the arguments last first, pushes the results and returns their count.
    int (*handler)(T& self, lua_State* L);
};

template <class T>
struct LuaMethodEntry {
    const char* name;  // not copied: a constant text that outlives the binder
    int id;
    // A row of a constant method table, or null for a call through OnLuaCall.
    const ScriptMethod<T>* row;
};
