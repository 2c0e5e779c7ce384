#include "script/CLuaLiveness.h"

namespace {
const char* const kTokenMetatable = "brindlewick.liveness";
const char* const kClosingKey = "brindlewick.closing";
}  // namespace

CLuaLiveness* CLuaLiveness::Create(void* target) { return new CLuaLiveness(target); }

void CLuaLiveness::Release() {
    if (--m_Shares == 0) delete this;
}

void CLuaLiveness::PushToken(lua_State* L) {
    auto* slot = static_cast<CLuaLiveness**>(lua_newuserdata(L, sizeof(CLuaLiveness*)));
    *slot = nullptr;
    if (luaL_newmetatable(L, kTokenMetatable)) {
        lua_pushcfunction(L, CollectToken);
        lua_setfield(L, -2, "__gc");
    }
    lua_setmetatable(L, -2);
    if (IsClosing(L)) return;
    // Taken only now, so a memory error above leaves no share behind.
    *slot = this;
    ++m_Shares;
}

void CLuaLiveness::MarkClosing(lua_State* L) {
    lua_pushboolean(L, 1);
    lua_setfield(L, LUA_REGISTRYINDEX, kClosingKey);
}

bool CLuaLiveness::IsClosing(lua_State* L) {
    lua_getfield(L, LUA_REGISTRYINDEX, kClosingKey);
    const bool closing = lua_toboolean(L, -1) != 0;
    lua_pop(L, 1);
    return closing;
}

int CLuaLiveness::CollectToken(lua_State* L) {
    auto* slot = static_cast<CLuaLiveness**>(lua_touserdata(L, 1));
    if (slot && *slot) {
        (*slot)->Release();
        *slot = nullptr;
    }
    return 0;
}
