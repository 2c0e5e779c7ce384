// Calls a global Lua function by name with pushed arguments and no results.
// A failed call shows Lua's error text and ends the process with Lua's error
// code; it never returns to the caller or reaches the calling script.
// Order: constructor, the arguments in order, then Call once. Nothing touches
// the state before Call, which does everything inside one protected call: a
// push may run a failing "__gc", whose error must end the same way.
#pragma once

#include "script/CLuaBinder.h"

#include <lua.hpp>

#include <functional>
#include <string>
#include <vector>

class CLuaFunctionCall {
public:
    CLuaFunctionCall(lua_State* state, const char* name);

    void PushNumber(double value);
    // The binder's new table is the next argument; a binder of another state gives nil.
    template <class T>
    void PushTable(CLuaBinder<T>* binder) {
        if (binder && binder->GetState() == m_State)
            m_Arguments.push_back([binder](lua_State* L) { binder->Register(L); });
        else
            m_Arguments.push_back([](lua_State* L) { lua_pushnil(L); });
    }

    // True once the function has run; false only when there is no state.
    bool Call();

    // Ends the process with the error at the top of L, as a failed call does.
    [[noreturn]] static void Fail(lua_State* L, int code);

private:
    static int CallGlobal(lua_State* L);

    lua_State* m_State;
    std::string m_Name;
    // Each pushes one argument.
    std::vector<std::function<void(lua_State*)>> m_Arguments;
};
