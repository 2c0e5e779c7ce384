// One Lua state with the standard libraries and the host globals "preload"
// and "bitor"; runs script files read through the engine's resource loader.
#pragma once

#include "script/LuaStack.h"

#include <lua.hpp>

class CLuaStarter {
public:
    explicit CLuaStarter(bool openLibraries);
    ~CLuaStarter();
    CLuaStarter(const CLuaStarter&) = delete;
    CLuaStarter& operator=(const CLuaStarter&) = delete;

    // Null once Close has run.
    lua_State* GetState() const { return m_State; }
    // Runs the file as the main chunk; a missing file runs nothing. A missing
    // file, a compile error or a runtime error goes no further than a record
    // of its cause (CScriptFailure).
    void RunFile(const char* name);
    void Close();

private:
    void RegisterGlobals();

    lua_State* m_State;
};
