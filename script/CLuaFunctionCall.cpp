#include "script/CLuaFunctionCall.h"

#include "os/FatalError.h"
#include "script/CScriptFailure.h"
#include "script/LuaProtectedCall.h"
#include "script/LuaStack.h"

#include <cstdio>

CLuaFunctionCall::CLuaFunctionCall(lua_State* state, const char* name) : m_State(state), m_Name(name ? name : "") {}

void CLuaFunctionCall::PushNumber(double value) {
    m_Arguments.push_back([value](lua_State* L) { LuaPush(L, value); });
}

// Stack: this call as a light userdata. The global is looked up in here too:
// a strict metatable on the globals may raise.
int CLuaFunctionCall::CallGlobal(lua_State* L) {
    const auto* self = static_cast<const CLuaFunctionCall*>(lua_touserdata(L, 1));
    lua_settop(L, 0);
    lua_pushlstring(L, self->m_Name.data(), self->m_Name.size());
    lua_gettable(L, LUA_GLOBALSINDEX);
    for (const auto& push : self->m_Arguments) push(L);
    lua_call(L, static_cast<int>(self->m_Arguments.size()), 0);
    return 0;
}

bool CLuaFunctionCall::Call() {
    if (!m_State) return false;
    const int code = LuaProtectedStatus(m_State, lua_cpcall(m_State, CallGlobal, this));
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
