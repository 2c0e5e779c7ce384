// Lua, built as C++, catches every C++ exception that a protected call lets
// through (std::bad_alloc from a huge request, for one) and gives the status
// -1 with whatever stood on the stack as the error value: no Lua status and
// an empty message. Every protected call here takes such a failure as Lua's
// own memory error, with its message and its status.
#pragma once

#include <lua.hpp>

// The status of a protected call that gave status: for a C++ exception
// LUA_ERRMEM, with Lua's memory message in place of the error value on top.
int LuaProtectedStatus(lua_State* L, int status);

// Puts in place of the libraries' pcall, xpcall, coroutine.resume and
// coroutine.wrap ones that do the same, so a script's own protected call sees
// a C++ exception as Lua's memory error too. Call after the libraries are open.
void LuaTakeExceptionsAsMemoryErrors(lua_State* L);
