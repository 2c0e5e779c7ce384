#include "script/LuaStack.h"

#include <cmath>

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

lua_Number PopNumber(lua_State* luaVM, int idx) {
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

uint32_t LuaNumberBits(lua_Number value) {
    // 2^63 is exact in a double; the range is [-2^63, 2^63).
    const lua_Number limit = 9223372036854775808.0;
    if (!std::isfinite(value) || value >= limit || value < -limit) return 0;
    const int64_t whole = static_cast<int64_t>(value);
    return static_cast<uint32_t>(static_cast<uint64_t>(whole));
}

void LuaPop(lua_State* luaVM, int idx, std::string& out) {
    Require(luaVM, idx, IsString, kStringCheck);
    size_t length = 0;
    const char* text = lua_tolstring(luaVM, idx, &length);
    out.assign(text, length);
    PopOne(luaVM);
}

void LuaPop(lua_State* luaVM, int idx, int& out) {
    const uint32_t bits = LuaNumberBits(PopNumber(luaVM, idx));
    // The same 32 bits as a signed value, without relying on a narrowing cast.
    out = bits < 0x80000000u ? static_cast<int>(bits) : static_cast<int>(static_cast<int64_t>(bits) - 0x100000000LL);
}

void LuaPop(lua_State* luaVM, int idx, DWORD& out) { out = LuaNumberBits(PopNumber(luaVM, idx)); }

void LuaPop(lua_State* luaVM, int idx, double& out) { out = PopNumber(luaVM, idx); }

void LuaPop(lua_State* luaVM, int idx, bool& out) {
    Require(luaVM, idx, IsBoolean, kBooleanCheck);
    out = lua_toboolean(luaVM, idx) != 0;
    PopOne(luaVM);
}
