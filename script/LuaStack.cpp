#include "script/LuaStack.h"

#include "script/NumberConversion.h"

namespace {

const char* const kStringCheck = "lua_isstring(luaVM,idx)";
const char* const kNumberCheck = "lua_isnumber(luaVM,idx)";
const char* const kBooleanCheck = "lua_isboolean(luaVM,idx)";

// A negative index past the bottom would reach the frame's own function slot,
// so "nothing left to read" is checked before the type.
bool HasValue(lua_State* luaVM, int idx) {
    if (idx > 0) return idx <= lua_gettop(luaVM);
    if (idx < 0 && idx > LUA_REGISTRYINDEX) return -idx <= lua_gettop(luaVM);
    return false;
}

// Raises the check's text alone: lua_error adds no position to a string.
void RaiseCheck(lua_State* luaVM, const char* check) {
    lua_pushstring(luaVM, check);
    lua_error(luaVM);
}

void Require(lua_State* luaVM, int idx, bool (*accepts)(lua_State*, int), const char* check) {
    if (!HasValue(luaVM, idx) || !accepts(luaVM, idx)) RaiseCheck(luaVM, check);
}

bool IsString(lua_State* luaVM, int idx) { return lua_isstring(luaVM, idx) != 0; }
bool IsNumber(lua_State* luaVM, int idx) { return lua_isnumber(luaVM, idx) != 0; }
bool IsBoolean(lua_State* luaVM, int idx) { return lua_type(luaVM, idx) == LUA_TBOOLEAN; }

void PopOne(lua_State* luaVM) { lua_settop(luaVM, -2); }

// The number at a valid positive index, or the check's error.
lua_Number NumberAt(lua_State* luaVM, int idx) {
    const lua_Number value = lua_tonumber(luaVM, idx);
    // lua_tonumber gives 0 for what is no number: only then is the type in doubt.
    if (value == 0 && !lua_isnumber(luaVM, idx)) RaiseCheck(luaVM, kNumberCheck);
    return value;
}

lua_Number PopNumber(lua_State* luaVM, int idx) {
    if (idx == -1) {
        // The usual read, of the top: one size, one conversion, one pop.
        const int top = lua_gettop(luaVM);
        if (top < 1) RaiseCheck(luaVM, kNumberCheck);
        const lua_Number value = NumberAt(luaVM, top);
        lua_settop(luaVM, top - 1);
        return value;
    }
    Require(luaVM, idx, IsNumber, kNumberCheck);
    lua_Number value = lua_tonumber(luaVM, idx);
    PopOne(luaVM);
    return value;
}

}  // namespace

void LuaPush(lua_State* luaVM, const char* value) { lua_pushstring(luaVM, value); }

void LuaPush(lua_State* luaVM, const std::string& value) { lua_pushlstring(luaVM, value.data(), value.size()); }

void LuaPush(lua_State* luaVM, bool value) { lua_pushboolean(luaVM, value ? 1 : 0); }

void LuaPush(lua_State* luaVM, double value) { lua_pushnumber(luaVM, value); }

void LuaPush(lua_State* luaVM, int value) { lua_pushnumber(luaVM, static_cast<lua_Number>(value)); }

void LuaCheck(lua_State* luaVM, bool condition, const char* text) {
    if (!condition) RaiseCheck(luaVM, text);
}

void LuaPop(lua_State* luaVM, int idx, std::string& out) {
    Require(luaVM, idx, IsString, kStringCheck);
    size_t length = 0;
    const char* text = lua_tolstring(luaVM, idx, &length);
    out.assign(text, length);
    PopOne(luaVM);
}

void LuaPop(lua_State* luaVM, int idx, int& out) { out = TruncateToInt32(PopNumber(luaVM, idx)); }

void LuaPop(lua_State* luaVM, int idx, DWORD& out) { out = TruncateToUint32(PopNumber(luaVM, idx)); }

void LuaPop(lua_State* luaVM, int idx, double& out) { out = PopNumber(luaVM, idx); }

void LuaPopTwo(lua_State* luaVM, double& first, double& second) {
    const int top = lua_gettop(luaVM);
    if (top < 1) RaiseCheck(luaVM, kNumberCheck);
    second = NumberAt(luaVM, top);
    if (top < 2) RaiseCheck(luaVM, kNumberCheck);
    first = NumberAt(luaVM, top - 1);
    lua_settop(luaVM, top - 2);
}

void LuaPop(lua_State* luaVM, int idx, bool& out) {
    Require(luaVM, idx, IsBoolean, kBooleanCheck);
    out = lua_toboolean(luaVM, idx) != 0;
    PopOne(luaVM);
}
