// The method table of a script object as data: (name, id) rows that Bind
// hands to a fresh binder in order.
#pragma once

#include "script/CLuaBinder.h"

#include <lua.hpp>

#include <cstddef>
#include <memory>

struct ScriptMethod {
    const char* name;  // a constant text: the binder keeps the pointer
    int id;
};

// Replaces the object's binder with a new one on L holding the rows in order
// and pushes its new table; the old binder's tables go dead with it.
template <class T, size_t N>
void BindMethodTable(std::unique_ptr<CLuaBinder<T>>& binder, lua_State* L, T* owner, const ScriptMethod (&table)[N]) {
    binder.reset();
    binder.reset(new CLuaBinder<T>(L, owner, 0));
    for (const ScriptMethod& method : table) binder->AddMethod(method.name, method.id);
    binder->Register();
}
