#include "script/CLuaLiveness.h"

namespace {
const char* const kTokenMetatable = "brindlewick.liveness";
// Their addresses are registry keys: looking them up allocates nothing. Not
// const, so that no toolchain may fold the two into one address.
char kClosingKey;
char kTablesKey;

using Slot = CLuaLiveness*;

// Pushes a token that holds no share yet.
Slot* NewToken(lua_State* L, lua_CFunction collect) {
    auto* slot = static_cast<Slot*>(lua_newuserdata(L, sizeof(Slot)));
    *slot = nullptr;
    if (luaL_newmetatable(L, kTokenMetatable)) {
        lua_pushcfunction(L, collect);
        lua_setfield(L, -2, "__gc");
    }
    lua_setmetatable(L, -2);
    return slot;
}

void PushRegistryValue(lua_State* L, char* key) {
    lua_pushlightuserdata(L, key);
    lua_rawget(L, LUA_REGISTRYINDEX);
}

// Pushes the weak-valued list of bound tables by token, made on first use.
void PushTables(lua_State* L) {
    PushRegistryValue(L, &kTablesKey);
    if (lua_istable(L, -1)) return;
    lua_pop(L, 1);
    lua_createtable(L, 0, 0);
    lua_createtable(L, 0, 1);
    lua_pushliteral(L, "v");
    lua_setfield(L, -2, "__mode");
    lua_setmetatable(L, -2);
    lua_pushlightuserdata(L, &kTablesKey);
    lua_pushvalue(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
}

// Pushes the table listed under the token of slot, or nil; allocates nothing.
void PushListed(lua_State* L, const Slot* slot) {
    PushRegistryValue(L, &kTablesKey);
    if (lua_istable(L, -1)) {
        lua_pushlightuserdata(L, const_cast<Slot*>(slot));
        lua_rawget(L, -2);
        lua_remove(L, -2);
    }
}

void SetListed(lua_State* L, int tables, Slot* slot, int value) {
    lua_pushlightuserdata(L, slot);
    lua_pushvalue(L, value);
    lua_rawset(L, tables);
}

// Counts the native closures among the raw values of the table at t whose
// first upvalue is the token of slot, and gives each the value at to instead
// when to is not 0. Allocates nothing.
int RepointValues(lua_State* L, int t, const Slot* slot, int to) {
    int count = 0;
    lua_pushnil(L);
    while (lua_next(L, t)) {
        if (lua_iscfunction(L, -1) && lua_getupvalue(L, -1, 1)) {
            const bool ours = lua_type(L, -1) == LUA_TUSERDATA && lua_touserdata(L, -1) == slot;
            lua_pop(L, 1);
            if (ours) {
                ++count;
                if (to) {
                    lua_pushvalue(L, to);
                    lua_setupvalue(L, -2, 1);
                }
            }
        }
        lua_pop(L, 1);
    }
    return count;
}

// The same over the bound table at t and its metatable, which scripts may
// have changed or replaced.
int Repoint(lua_State* L, int t, const Slot* slot, int to) {
    int count = RepointValues(L, t, slot, to);
    if (lua_getmetatable(L, t)) {
        count += RepointValues(L, lua_gettop(L), slot, to);
        lua_pop(L, 1);
    }
    return count;
}
}  // namespace

CLuaLiveness* CLuaLiveness::Create(void* target) { return new CLuaLiveness(target); }

void CLuaLiveness::Release() {
    if (--m_Shares == 0) delete this;
}

void CLuaLiveness::PushToken(lua_State* L, int table) {
    Slot* slot = NewToken(L, CollectToken);
    if (IsClosing(L)) return;
    const int token = lua_gettop(L);
    PushTables(L);
    SetListed(L, token + 1, slot, table);
    lua_settop(L, token);
    // Taken only now, so a memory error above leaves no share behind.
    *slot = this;
    ++m_Shares;
}

void CLuaLiveness::MarkClosing(lua_State* L) {
    lua_pushlightuserdata(L, &kClosingKey);
    lua_pushboolean(L, 1);
    lua_rawset(L, LUA_REGISTRYINDEX);
}

bool CLuaLiveness::IsClosing(lua_State* L) {
    PushRegistryValue(L, &kClosingKey);
    const bool closing = lua_toboolean(L, -1) != 0;
    lua_pop(L, 1);
    return closing;
}

int CLuaLiveness::CollectToken(lua_State* L) {
    auto* slot = static_cast<Slot*>(lua_touserdata(L, 1));
    if (!slot || !*slot) return 0;
    CLuaLiveness* life = *slot;
    // Protected: when moving fails (for lack of memory), the share is given
    // back and the table is dead, as it would be had it not come back.
    if (life->Target() && MayBeBack(L, slot) && lua_cpcall(L, MoveShare, slot) != 0) lua_pop(L, 1);
    if (!*slot) return 0;
    *slot = nullptr;
    life->Release();
    return 0;
}

bool CLuaLiveness::MayBeBack(lua_State* L, const void* slot) {
    if (IsClosing(L)) return false;
    PushListed(L, static_cast<const Slot*>(slot));
    const bool listed = lua_istable(L, -1);
    lua_pop(L, 1);
    return listed;
}

// Run on the slot of a token whose table may be back: hands the share to a
// fresh token when closures of that table are left that can call.
int CLuaLiveness::MoveShare(lua_State* L) {
    auto* slot = static_cast<Slot*>(lua_touserdata(L, 1));
    PushTables(L);
    const int tables = lua_gettop(L);
    PushListed(L, slot);
    const int table = lua_gettop(L);
    if (!lua_istable(L, table) || Repoint(L, table, slot, 0) == 0) return 0;
    Slot* fresh = NewToken(L, CollectToken);
    const int token = lua_gettop(L);
    SetListed(L, tables, fresh, table);
    // Nothing below allocates, so the share moves whole: the old token's
    // entry exists, and clearing it adds no key.
    Repoint(L, table, slot, token);
    lua_pushnil(L);
    SetListed(L, tables, slot, lua_gettop(L));
    *fresh = *slot;
    *slot = nullptr;
    return 0;
}
