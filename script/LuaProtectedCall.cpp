#include "script/LuaProtectedCall.h"

namespace {

// Lua's own text for a failed allocation.
const char kMemoryMessage[] = "not enough memory";

bool IsLuaStatus(int status) {
    return status == 0 || status == LUA_YIELD || status == LUA_ERRRUN || status == LUA_ERRSYNTAX ||
           status == LUA_ERRMEM || status == LUA_ERRERR;
}

// pcall(f, ...) as the base library has it.
int ProtectedCall(lua_State* L) {
    luaL_checkany(L, 1);
    const int status = LuaProtectedStatus(L, lua_pcall(L, lua_gettop(L) - 1, LUA_MULTRET, 0));
    lua_pushboolean(L, status == 0);
    lua_insert(L, 1);
    return lua_gettop(L);
}

// xpcall(f, handler) as the base library has it. Lua runs no handler for a
// memory error, so none runs for an exception either.
int ProtectedCallWithHandler(lua_State* L) {
    luaL_checkany(L, 2);
    lua_settop(L, 2);
    lua_insert(L, 1);
    const int status = LuaProtectedStatus(L, lua_pcall(L, 0, LUA_MULTRET, 1));
    lua_pushboolean(L, status == 0);
    lua_replace(L, 1);
    return lua_gettop(L);
}

// coroutine.resume(co, ...): the library's (upvalue 1); an exception it met
// leaves the coroutine with a status Lua has no name for, and its error value
// is then replaced.
int Resume(lua_State* L) {
    lua_State* co = lua_tothread(L, 1);
    luaL_argcheck(L, co, 1, "coroutine expected");
    const int before = lua_status(co);
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    if (lua_status(co) != before && !IsLuaStatus(lua_status(co)) && lua_gettop(L) >= 2 && !lua_toboolean(L, 1)) {
        lua_pushstring(L, kMemoryMessage);
        lua_replace(L, 2);
    }
    return lua_gettop(L);
}

// A function of coroutine.wrap: upvalue 1 the coroutine, 2 Resume. Like the
// library's, it gives the results without the flag, or raises the error with
// the caller's position in front of a text.
int ResumeWrapped(lua_State* L) {
    lua_pushvalue(L, lua_upvalueindex(2));
    lua_insert(L, 1);
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 2);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    if (lua_toboolean(L, 1)) {
        lua_remove(L, 1);
        return lua_gettop(L);
    }
    lua_settop(L, 2);
    if (lua_isstring(L, 2)) {
        luaL_where(L, 1);
        lua_insert(L, -2);
        lua_concat(L, 2);
    }
    return lua_error(L);
}

// coroutine.wrap(f): upvalue 1 the library's coroutine.create, 2 Resume.
int Wrap(lua_State* L) {
    luaL_argcheck(L, lua_isfunction(L, 1) && !lua_iscfunction(L, 1), 1, "Lua function expected");
    lua_settop(L, 1);
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, 1, 1);
    lua_pushvalue(L, lua_upvalueindex(2));
    lua_pushcclosure(L, ResumeWrapped, 2);
    return 1;
}

}  // namespace

int LuaProtectedStatus(lua_State* L, int status) {
    if (IsLuaStatus(status)) return status;
    lua_pop(L, 1);
    lua_pushstring(L, kMemoryMessage);
    return LUA_ERRMEM;
}

void LuaTakeExceptionsAsMemoryErrors(lua_State* L) {
    lua_pushcfunction(L, ProtectedCall);
    lua_setfield(L, LUA_GLOBALSINDEX, "pcall");
    lua_pushcfunction(L, ProtectedCallWithHandler);
    lua_setfield(L, LUA_GLOBALSINDEX, "xpcall");
    lua_getfield(L, LUA_GLOBALSINDEX, "coroutine");
    if (lua_istable(L, -1)) {
        const int coroutine = lua_gettop(L);
        lua_getfield(L, coroutine, "resume");
        lua_pushcclosure(L, Resume, 1);
        lua_pushvalue(L, -1);
        lua_setfield(L, coroutine, "resume");
        lua_getfield(L, coroutine, "create");
        lua_insert(L, -2);
        lua_pushcclosure(L, Wrap, 2);
        lua_setfield(L, coroutine, "wrap");
    }
    lua_pop(L, 1);
}
