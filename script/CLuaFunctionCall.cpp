#include "script/CLuaFunctionCall.h"

#include "os/FatalError.h"
#include "script/CScriptFailure.h"
#include "script/LuaStack.h"

#include <cstdio>

CLuaFunctionCall::CLuaFunctionCall(lua_State* state, const char* name) : m_State(state) {
    if (!m_State) return;
    // The global is looked up inside the protected call: a strict metatable on
    // the globals may raise, and that error must end in the fatal report too.
    lua_pushcfunction(m_State, CallGlobal);
    lua_pushstring(m_State, name ? name : "");
}

void CLuaFunctionCall::PushNumber(double value) {
    if (!m_State) return;
    LuaPush(m_State, value);
    ++m_ArgCount;
}

// Stack: the function's name, then its arguments.
int CLuaFunctionCall::CallGlobal(lua_State* L) {
    lua_pushvalue(L, 1);
    lua_gettable(L, LUA_GLOBALSINDEX);
    lua_replace(L, 1);
    lua_call(L, lua_gettop(L) - 1, 0);
    return 0;
}

bool CLuaFunctionCall::Call() {
    if (!m_State) return false;
    const int code = lua_pcall(m_State, m_ArgCount + 1, 0, 0);
    if (code != 0) Fail(m_State, code);
    return true;
}

void CLuaFunctionCall::Fail(lua_State* L, int code) {
    // Copied before the pop: the popped string may be collected at once.
    size_t length = 0;
    const char* text = lua_isstring(L, -1) ? lua_tolstring(L, -1, &length) : nullptr;
    std::string report = text ? std::string(text, length) : std::string();
    lua_pop(L, 1);
    // Lua's message first and unchanged; why the state's script file did not
    // run whole (the usual reason for a missing function) on the next line.
    const std::string cause = CScriptFailure::Kept(L);
    if (!cause.empty()) report += "\n" + cause;
    // The scripts' printed lines are kept: the fatal exit skips stdio's flush.
    std::fflush(stdout);
    os::FatalScriptError(report, code);
}
