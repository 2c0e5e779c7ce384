// The methods a bound class offers scripts, as data: one row per method in
// the order its tables get them, and a row's position + 1 is the method's id.
// The host functions and every script object's table are made from one.
#pragma once

#include "script/CLuaBinder.h"

#include <cstddef>

struct lua_State;

template <class T>
class ScriptMethodTable {
public:
    template <size_t N>
    constexpr ScriptMethodTable(const ScriptMethod<T> (&rows)[N]) : m_Rows(rows), m_Count(static_cast<int>(N)) {}

    // Adds every row to the binder in order, each under its id; its closures
    // run the rows' handlers straight, as Call would.
    void AddRowsTo(CLuaBinder<T>& binder) const {
        for (int i = 0; i < m_Count; ++i) binder.AddMethod(m_Rows[i], i + 1);
    }
    // Runs the handler of the id; an unknown id pushes nothing.
    int Call(T& self, lua_State* L, int id) const {
        if (id < 1 || id > m_Count) return 0;
        return m_Rows[id - 1].handler(self, L);
    }
    // Null for an unknown id.
    const char* Name(int id) const { return id < 1 || id > m_Count ? nullptr : m_Rows[id - 1].name; }
    int Count() const { return m_Count; }

private:
    const ScriptMethod<T>* m_Rows;
    int m_Count;
};
