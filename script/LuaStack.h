// The stack helpers every Lua-callable handler uses. LuaPop reads the value
// at the top of the stack and pops it, so a handler reads its arguments from
// the last to the first; a value of the wrong type, or a read with nothing
// left, raises a Lua error whose message is the check's text.
#pragma once

#include <lua.hpp>

#include <cstdint>
#include <string>

using DWORD = uint32_t;

void LuaPush(lua_State* luaVM, const char* value);
void LuaPush(lua_State* luaVM, const std::string& value);
void LuaPush(lua_State* luaVM, bool value);
void LuaPush(lua_State* luaVM, double value);
void LuaPush(lua_State* luaVM, int value);

// The text is a copy, so it outlives the popped Lua string.
void LuaPop(lua_State* luaVM, int idx, std::string& out);
void LuaPop(lua_State* luaVM, int idx, int& out);
void LuaPop(lua_State* luaVM, int idx, DWORD& out);
void LuaPop(lua_State* luaVM, int idx, double& out);
void LuaPop(lua_State* luaVM, int idx, bool& out);
// The top two values as numbers, as LuaPop(-1, second) then LuaPop(-1, first)
// would read them (the same checks in the same order), popped together.
void LuaPopTwo(lua_State* luaVM, double& first, double& second);

// Unless the condition holds, raises a Lua error with the text alone.
void LuaCheck(lua_State* luaVM, bool condition, const char* text);
