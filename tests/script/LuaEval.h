// Runs Lua snippets in tests and gives their results as one text.
#pragma once

#include <lua.hpp>

#include <string>

// The results of the chunk, each through tostring, joined by ","; a failure
// gives "error: " and its message.
inline std::string LuaEval(lua_State* L, const std::string& code) {
    const int top = lua_gettop(L);
    if (luaL_loadstring(L, code.c_str()) != 0 || lua_pcall(L, 0, LUA_MULTRET, 0) != 0) {
        std::string message = std::string("error: ") + (lua_tostring(L, -1) ? lua_tostring(L, -1) : "?");
        lua_settop(L, top);
        return message;
    }
    std::string out;
    for (int i = top + 1; i <= lua_gettop(L); ++i) {
        lua_getglobal(L, "tostring");
        lua_pushvalue(L, i);
        lua_call(L, 1, 1);
        if (i > top + 1) out += ",";
        out += lua_tostring(L, -1);
        lua_pop(L, 1);
    }
    lua_settop(L, top);
    return out;
}
