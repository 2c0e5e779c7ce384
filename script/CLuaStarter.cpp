#include "script/CLuaStarter.h"

#include "engine/gfx.h"
#include "host/CGFXStarter.h"
#include "script/CLuaFunctionCall.h"
#include "script/CLuaLiveness.h"
#include "script/CScriptFailure.h"
#include "script/LuaProtectedCall.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// One reference of the host singleton, given back however the scope ends.
struct HostReference {
    HostReference() : starter(CGFXStarter::GetInstance()) {}
    ~HostReference() { starter->Release(); }
    HostReference(const HostReference&) = delete;
    HostReference& operator=(const HostReference&) = delete;

    CGFXStarter* starter;
};

// A buffer from Resource_Load, freed however the scope ends.
struct LoadedResource {
    LoadedResource(GFX* gfx, const char* name) : engine(gfx) { data = engine->Resource_Load(name, &size); }
    ~LoadedResource() { engine->Resource_Free(data); }
    LoadedResource(const LoadedResource&) = delete;
    LoadedResource& operator=(const LoadedResource&) = delete;

    GFX* engine;
    void* data = nullptr;
    uint32_t size = 0;
};

enum class ScriptSource { NoEngine, Missing, Unreadable, Found };

// The file's bytes with a zero after them; empty for a missing or empty file
// (a null buffer counts as empty whatever size came with it). For a file that
// is there but cannot be read, readError says why.
std::vector<char> ReadScript(const char* name, ScriptSource* source = nullptr, std::string* readError = nullptr) {
    HostReference host;
    GFX* engine = host.starter->GetEngine();
    std::vector<char> buffer;
    if (source) *source = engine ? ScriptSource::Missing : ScriptSource::NoEngine;
    if (!engine) return buffer;
    LoadedResource file(engine, name);
    if (!file.data && source && *engine->Resource_GetError() != '\0') {
        *source = ScriptSource::Unreadable;
        if (readError) *readError = engine->Resource_GetError();
    }
    if (file.data && source) *source = ScriptSource::Found;
    if (file.data && file.size > 0) {
        buffer.assign(static_cast<size_t>(file.size) + 1, '\0');
        std::memcpy(buffer.data(), file.data, file.size);
    }
    return buffer;
}

size_t ScriptSize(const std::vector<char>& buffer) { return buffer.empty() ? 0 : buffer.size() - 1; }

// Marks the module loaded the way Lua's own loader would see it.
void MarkLoaded(lua_State* L, int loaded, const std::string& name) {
    if (!lua_istable(L, loaded)) return;
    lua_pushlstring(L, name.data(), name.size());
    lua_pushboolean(L, 1);
    lua_rawset(L, loaded);
}

// Runs the module with its name as its one argument, unprotected: its error
// goes on to the caller with the module's frames still on the stack. A failed
// load leaves its message in the chunk's place, so the call then fails as
// Lua's own "attempt to call" error.
void RunModule(lua_State* L, const std::vector<char>& buffer, const std::string& name, const std::string& fullPath) {
    lua_getfield(L, LUA_REGISTRYINDEX, "_LOADED");
    const int loaded = lua_gettop(L);
    if (luaL_loadbuffer(L, buffer.data(), ScriptSize(buffer), fullPath.c_str()) != 0)
        CScriptFailure::Record(L, CScriptFailure::ErrorText(L, fullPath.c_str()));
    lua_pushlstring(L, name.data(), name.size());
    lua_call(L, 1, 1);
    lua_pop(L, 1);
    MarkLoaded(L, loaded, name);
}

// "preload"(name): reads and runs name .. ".lua" on every call.
int Preload(lua_State* L) {
    if (lua_gettop(L) < 1) return 0;
    lua_settop(L, 1);
    if (!lua_isstring(L, 1)) return 0;
    size_t length = 0;
    const char* text = lua_tolstring(L, 1, &length);
    const std::string name(text, length);
    const std::string fullPath = name + ".lua";
    // Lua is built as C++: a module's error unwinds through here as an
    // exception, which gives back the buffer and the host reference.
    HostReference host;
    const std::vector<char> buffer = ReadScript(fullPath.c_str());
    if (buffer.empty()) return 0;
    RunModule(L, buffer, name, fullPath);
    return 0;
}

// An error raised where no protected call is active (a "__gc" run by a
// collection step that the host's own push made) ends as a failed call does,
// not as Lua's bare panic.
int EndUnprotectedError(lua_State* L) { CLuaFunctionCall::Fail(L, lua_status(L) != 0 ? lua_status(L) : LUA_ERRRUN); }

// "bitor"(...): the OR of every argument as a 32-bit integer.
int BitOr(lua_State* L) {
    int acc = 0;
    for (int n = lua_gettop(L); n > 0; --n) {
        int value = 0;
        LuaPop(L, -1, value);
        acc |= value;
    }
    LuaPush(L, acc);
    return 1;
}

}  // namespace

CLuaStarter::CLuaStarter(bool openLibraries) : m_State(luaL_newstate()) {
    if (!m_State) return;
    lua_atpanic(m_State, EndUnprotectedError);
    if (openLibraries) {
        luaL_openlibs(m_State);
        LuaTakeExceptionsAsMemoryErrors(m_State);
    }
    RegisterGlobals();
}

CLuaStarter::~CLuaStarter() { Close(); }

void CLuaStarter::RegisterGlobals() {
    lua_pushcfunction(m_State, Preload);
    lua_setfield(m_State, LUA_GLOBALSINDEX, "preload");
    lua_pushcfunction(m_State, BitOr);
    lua_setfield(m_State, LUA_GLOBALSINDEX, "bitor");
}

void CLuaStarter::RunFile(const char* name) {
    if (!m_State || !name) return;
    ScriptSource source;
    std::string readError;
    const std::vector<char> buffer = ReadScript(name, &source, &readError);
    if (source == ScriptSource::Missing) CScriptFailure::Record(m_State, CScriptFailure::NotFound(name));
    if (source == ScriptSource::Unreadable) CScriptFailure::Record(m_State, std::string(name) + ": " + readError);
    if (source != ScriptSource::Found) return;
    // Nobody looks at the chunk's results, so the stack is left as found.
    const int top = lua_gettop(m_State);
    if (luaL_loadbuffer(m_State, buffer.empty() ? "" : buffer.data(), ScriptSize(buffer), name) != 0 ||
        LuaProtectedStatus(m_State, lua_pcall(m_State, 0, LUA_MULTRET, 0)) != 0)
        CScriptFailure::Record(m_State, CScriptFailure::ErrorText(m_State, name));
    lua_settop(m_State, top);
}

void CLuaStarter::Close() {
    if (!m_State) return;
    CLuaLiveness::MarkClosing(m_State);
    lua_close(m_State);
    m_State = nullptr;
}
