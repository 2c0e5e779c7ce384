// Tells a binder's closures whether the binder still exists: until the binder
// clears it when it goes, the record holds the binder's owner. The binder holds
// one share; each bound table holds one more through a userdata upvalue whose
// "__gc" gives it back. The record is freed with the last share, so neither
// the state nor the binder needs the other to be alive when it ends.
//
// Lua runs that "__gc" also when another finalizer brings the table back, so
// the state keeps a weak-valued list of the tables by token: a table still
// listed when its token is collected may be back, and its closures get a
// fresh token that takes the share over. Tables are never finalized, and
// the list is cleared only after what finalizers reach is marked.
#pragma once

#include <lua.hpp>

class CLuaLiveness {
public:
    // A new record with the creator's share.
    static CLuaLiveness* Create(void* target);

    // The live target, or null once cleared.
    void* Target() const { return m_Target; }
    void Clear() { m_Target = nullptr; }
    // Whether a token still holds a share: some bound table may still call.
    bool IsHeldByLua() const { return m_Shares > 1; }
    void Release();

    // Pushes a userdata that holds one share until Lua collects it, for the
    // bound table at the absolute index table. In a closing state it holds
    // none: Lua finalizes nothing made while it closes.
    void PushToken(lua_State* L, int table);
    // The record behind the token at idx; null for anything else there.
    static CLuaLiveness* FromToken(lua_State* L, int idx) {
        auto* slot = static_cast<CLuaLiveness**>(lua_touserdata(L, idx));
        return slot ? *slot : nullptr;
    }

    // Set just before lua_close of a state with bound tables: the finalizers
    // that run then may still call the host, which must make nothing that
    // outlives the state, and no token may take a share over then.
    static void MarkClosing(lua_State* L);
    static bool IsClosing(lua_State* L);

private:
    explicit CLuaLiveness(void* target) : m_Target(target) {}
    ~CLuaLiveness() = default;
    static int CollectToken(lua_State* L);
    // Whether the token's table is listed still (and the state not closing).
    static bool MayBeBack(lua_State* L, const void* slot);
    static int MoveShare(lua_State* L);

    void* m_Target;
    int m_Shares = 1;
};
