#include "script/CLuaLiveness.h"

namespace {
const char* const kTokenMetatable = "brindlewick.liveness";
}

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
    // Taken only now, so a memory error above leaves no share behind.
    *slot = this;
    ++m_Shares;
}

int CLuaLiveness::CollectToken(lua_State* L) {
    auto* slot = static_cast<CLuaLiveness**>(lua_touserdata(L, 1));
    if (slot && *slot) {
        (*slot)->Release();
        *slot = nullptr;
    }
    return 0;
}
