// One method of a bound object: what its closures call.
#pragma once

template <class T>
class CLuaBinder;

template <class T>
struct LuaMethodEntry {
    CLuaBinder<T>* binder;
    const char* name;  // not copied: a constant text that outlives the binder
    int id;
};
