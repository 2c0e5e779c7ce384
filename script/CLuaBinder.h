// Turns one object into Lua tables of native closures, one per method, whose
// metatable hands reads and writes of absent keys to the object. Lua owns
// neither the object nor the binder: once the binder is gone (or invalidated)
// every call through its tables does nothing and returns no values.
#pragma once

#include "script/CLuaLiveness.h"
#include "script/LuaMethodEntry.h"

#include <lua.hpp>

#include <string>
#include <vector>

template <class T>
class CLuaBinder {
public:
    CLuaBinder(lua_State* state, T* owner, int capacity = 0)
        : m_Owner(owner), m_State(state), m_Life(CLuaLiveness::Create(owner)) {
        if (capacity > 0) m_Entries.reserve(static_cast<size_t>(capacity));
    }
    // Never touches the state: it may have been closed already.
    ~CLuaBinder() {
        m_Life->Clear();
        m_Life->Release();
    }
    CLuaBinder(const CLuaBinder&) = delete;
    CLuaBinder& operator=(const CLuaBinder&) = delete;

    // A method whose closures call the owner's OnLuaCall with its id and name.
    void AddMethod(const char* name, int id) { m_Entries.push_back({name, id, nullptr}); }
    // A method whose closures run the row's handler on the owner straight: for
    // an owner whose OnLuaCall would run that row for this id anyway. The row
    // must outlive every table (a static method table does).
    void AddMethod(const ScriptMethod<T>& row, int id) { m_Entries.push_back({row.name, id, &row}); }

    // Pushes one new bound table on the binder's state.
    void Register() { Register(m_State); }
    // The same on a thread of that state (a coroutine's, for one).
    void Register(lua_State* thread);
    // Whether a table made by this binder may still be called.
    bool HasLiveTables() const { return m_Life->IsHeldByLua(); }

    // Kills every table made so far and later, for an owner going away early.
    void Invalidate() { m_Life->Clear(); }

    lua_State* GetState() const { return m_State; }
    T* GetOwner() const { return m_Owner; }

private:
    // Upvalue 1 of every closure: the liveness token, whose record holds the
    // owner while the binder lives. A method's closure also carries its row,
    // or its entry's id and name, so a call reads neither binder nor entry list.
    static T* LiveOwner(lua_State* L) {
        CLuaLiveness* life = CLuaLiveness::FromToken(L, lua_upvalueindex(1));
        return life ? static_cast<T*>(life->Target()) : nullptr;
    }
    static int MethodThunk(lua_State* L);
    static int RowThunk(lua_State* L);
    static int IndexThunk(lua_State* L);
    static int NewIndexThunk(lua_State* L);
    // Hands an absent key to the owner; keys neither string nor number never reach it.
    static int AskOwner(lua_State* L, int keyIndex, int (T::*handler)(lua_State*, const char*));
    static void PushMetaField(lua_State* L, const char* name, lua_CFunction thunk, int token);

    T* m_Owner;
    lua_State* m_State;
    std::vector<LuaMethodEntry<T>> m_Entries;
    CLuaLiveness* m_Life;
};

template <class T>
void CLuaBinder<T>::PushMetaField(lua_State* L, const char* name, lua_CFunction thunk, int token) {
    lua_pushstring(L, name);
    lua_pushvalue(L, token);
    lua_pushcclosure(L, thunk, 1);
    lua_settable(L, -3);
}

template <class T>
void CLuaBinder<T>::Register(lua_State* L) {
    if (!L) return;
    lua_createtable(L, 0, static_cast<int>(m_Entries.size()));
    const int table = lua_gettop(L);
    m_Life->PushToken(L, table);
    const int token = lua_gettop(L);
    lua_createtable(L, 0, 2);
    PushMetaField(L, "__index", IndexThunk, token);
    PushMetaField(L, "__newindex", NewIndexThunk, token);
    lua_setmetatable(L, table);
    // Raw stores: the attached metatable would send every new key to NewIndexThunk.
    for (size_t i = 0; i < m_Entries.size(); ++i) {
        if (!m_Entries[i].name) continue;
        lua_pushstring(L, m_Entries[i].name);
        lua_pushvalue(L, token);
        if (const ScriptMethod<T>* row = m_Entries[i].row) {
            lua_pushlightuserdata(L, const_cast<ScriptMethod<T>*>(row));
            lua_pushcclosure(L, RowThunk, 2);
        } else {
            lua_pushinteger(L, static_cast<lua_Integer>(m_Entries[i].id));
            lua_pushlightuserdata(L, const_cast<char*>(m_Entries[i].name));
            lua_pushcclosure(L, MethodThunk, 3);
        }
        lua_rawset(L, table);
    }
    lua_settop(L, table);
}

template <class T>
int CLuaBinder<T>::MethodThunk(lua_State* L) {
    T* owner = LiveOwner(L);
    if (!owner) return 0;
    const int id = static_cast<int>(lua_tointeger(L, lua_upvalueindex(2)));
    const char* name = static_cast<const char*>(lua_touserdata(L, lua_upvalueindex(3)));
    // Nothing may be touched after the handler: it may delete its object and this binder.
    return owner->OnLuaCall(L, id, name);
}

template <class T>
int CLuaBinder<T>::RowThunk(lua_State* L) {
    T* owner = LiveOwner(L);
    if (!owner) return 0;
    const auto* row = static_cast<const ScriptMethod<T>*>(lua_touserdata(L, lua_upvalueindex(2)));
    // As in MethodThunk: the handler may delete its object and this binder.
    return row->handler(*owner, L);
}

template <class T>
int CLuaBinder<T>::AskOwner(lua_State* L, int keyIndex, int (T::*handler)(lua_State*, const char*)) {
    T* owner = LiveOwner(L);
    if (!owner) return 0;
    if (keyIndex > lua_gettop(L) || !lua_isstring(L, keyIndex)) return 0;
    // A copy: the handler may pop the key and let Lua collect it.
    size_t length = 0;
    const char* text = lua_tolstring(L, keyIndex, &length);
    const std::string key(text, length);
    return (owner->*handler)(L, key.c_str());
}

// Lua calls "__index" with (table, key) and "__newindex" with (table, key, value).
template <class T>
int CLuaBinder<T>::IndexThunk(lua_State* L) {
    return AskOwner(L, 2, &T::OnLuaIndex);
}

template <class T>
int CLuaBinder<T>::NewIndexThunk(lua_State* L) {
    return AskOwner(L, 2, &T::OnLuaNewIndex);
}
