// The base of a class whose objects scripts call through method tables of
// their own (T is that class). It keeps the class's method table and the
// object's binder, and runs a call by the table's row for the method's id.
#pragma once

#include "script/CLuaBinder.h"
#include "script/ILuaBindableEvents.h"
#include "script/ScriptMethodTable.h"

#include <lua.hpp>

#include <memory>

template <class T>
class CLuaBoundObject : public ILuaBindableEvents {
public:
    CLuaBoundObject(const CLuaBoundObject&) = delete;
    CLuaBoundObject& operator=(const CLuaBoundObject&) = delete;

    // Pushes a fresh method table on L; tables of an earlier Bind go dead.
    void Bind(lua_State* L) { NewBinder(L)->Register(); }
    // Whether a script may still call the object: a table of its last Bind is
    // still there (not yet collected, nor gone with its state).
    bool HasLiveTables() const { return m_Binder && m_Binder->HasLiveTables(); }

    // Nothing may touch the object after the handler: it may have deleted it.
    // Final: the tables' closures run the rows straight, as this does.
    int OnLuaCall(lua_State* L, int id, const char*) final { return m_Methods.Call(*static_cast<T*>(this), L, id); }
    int OnLuaIndex(lua_State*, const char*) override { return 0; }
    int OnLuaNewIndex(lua_State*, const char*) override { return 0; }

protected:
    explicit CLuaBoundObject(const ScriptMethodTable<T>& methods) : m_Methods(methods) {}
    ~CLuaBoundObject() = default;

    // A new binder on L with every method, in place of the old one, whose
    // tables go dead; its own tables come from its Register.
    CLuaBinder<T>* NewBinder(lua_State* L) {
        m_Binder.reset();
        m_Binder.reset(new CLuaBinder<T>(L, static_cast<T*>(this), 0));
        m_Methods.AddRowsTo(*m_Binder);
        return m_Binder.get();
    }

    // The row handler of a member function that needs nothing but the state.
    template <int (T::*Method)(lua_State*)>
    static int Handler(T& self, lua_State* L) {
        return (self.*Method)(L);
    }

private:
    ScriptMethodTable<T> m_Methods;
    std::unique_ptr<CLuaBinder<T>> m_Binder;
};
