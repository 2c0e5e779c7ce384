#include "script/CScriptFailure.h"

#include "host/CGFXStarter.h"

#include <cstdio>

namespace {
// The registry's key for the cause: a light userdata, so that reading it
// back, in a report of lack of memory too, allocates nothing.
char kKeptKey;
}  // namespace

// The first cause is the root one: a module that did not compile makes its
// caller's top-level code fail next.
void CScriptFailure::Record(lua_State* L, const std::string& cause) {
    if (Kept(L).empty()) {
        lua_pushlightuserdata(L, &kKeptKey);
        lua_pushlstring(L, cause.data(), cause.size());
        lua_rawset(L, LUA_REGISTRYINDEX);
    }
    std::fprintf(stderr, "script: %s\n", cause.c_str());
    CGFXStarter* starter = CGFXStarter::GetInstance();
    if (GFX* engine = starter->GetEngine()) engine->System_Log("script: %s", cause.c_str());
    starter->Release();
}

std::string CScriptFailure::Kept(lua_State* L) {
    lua_pushlightuserdata(L, &kKeptKey);
    lua_rawget(L, LUA_REGISTRYINDEX);
    size_t length = 0;
    const char* text = lua_type(L, -1) == LUA_TSTRING ? lua_tolstring(L, -1, &length) : nullptr;
    std::string kept = text ? std::string(text, length) : std::string();
    lua_pop(L, 1);
    return kept;
}

std::string CScriptFailure::NotFound(const char* name) {
    CGFXStarter* starter = CGFXStarter::GetInstance();
    const std::string folder = starter->GetExeFolder();
    const std::string pack = starter->GetPackProblem();
    starter->Release();
    if (pack.empty()) return std::string(name) + ": not found in " + CGFXStarter::kPackFile + " nor in " + folder;
    return std::string(name) + ": not found in " + folder + " (" + CGFXStarter::kPackFile + " " + pack + ")";
}

std::string CScriptFailure::ErrorText(lua_State* L, const char* name) {
    if (lua_isstring(L, -1)) {
        size_t length = 0;
        const char* text = lua_tolstring(L, -1, &length);
        return std::string(text, length);
    }
    return std::string(name) + ": (error object is a " + luaL_typename(L, -1) + " value)";
}
