// Why a script file ran nothing or stopped early: not found, did not compile,
// or raised in its top-level code. Each cause is told at once on standard
// error and in the engine's log; the first one of a Lua state is kept, so
// that a fatal report of a later call in that state can name it.
#pragma once

#include <lua.hpp>

#include <string>

class CScriptFailure {
public:
    static void Record(lua_State* L, const std::string& cause);
    // The first cause recorded for the state; "" when there is none.
    static std::string Kept(lua_State* L);

    // Where a missing file was looked for: the pack (or why there is none)
    // and the program folder.
    static std::string NotFound(const char* name);
    // The error value on top of the stack as text; it stays there.
    static std::string ErrorText(lua_State* L, const char* name);
};
