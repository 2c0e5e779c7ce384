// What every object that Lua can call offers its bound tables.
#pragma once

#include <lua.hpp>

struct ILuaBindableEvents {
    // Runs the method with this id: reads the arguments with LuaPop (last
    // first), pushes the results with LuaPush and returns how many it pushed.
    virtual int OnLuaCall(lua_State* luaVM, int id, const char* name) = 0;
    // A script reads a key the table does not hold; returns the count pushed.
    virtual int OnLuaIndex(lua_State* luaVM, const char* key) = 0;
    // A script assigns to a key the table does not hold; the value is on top.
    virtual int OnLuaNewIndex(lua_State* luaVM, const char* key) = 0;

protected:
    // Bound objects are deleted through their own class, never through this one.
    ~ILuaBindableEvents() = default;
};
