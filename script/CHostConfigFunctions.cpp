#include "script/CHostConfigFunctions.h"

#include "host/CGFXStarter.h"
#include "renderers/CGFXFuncHelperBase.h"
#include "script/LuaStack.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {
CConfigStore* Config(CGFXFuncHelperBase& self) { return self.GetStarter()->GetConfig(); }

struct ValueName {
    std::string section, value;
};

// The section and value names, which come first among the arguments.
ValueName ReadValueName(lua_State* L) {
    ValueName name;
    LuaPop(L, -1, name.value);
    LuaPop(L, -1, name.section);
    return name;
}
}  // namespace

int CHostConfigFunctions::ConfigGetString(CGFXFuncHelperBase& self, lua_State* L) {
    const ValueName name = ReadValueName(L);
    LuaPush(L, Config(self)->GetString(name.section.c_str(), name.value.c_str()));
    return 1;
}

int CHostConfigFunctions::ConfigSetString(CGFXFuncHelperBase& self, lua_State* L) {
    std::string text;
    LuaPop(L, -1, text);
    const ValueName name = ReadValueName(L);
    Config(self)->SetString(name.section.c_str(), name.value.c_str(), text.c_str());
    return 0;
}

int CHostConfigFunctions::ConfigGetNumber(CGFXFuncHelperBase& self, lua_State* L) {
    const ValueName name = ReadValueName(L);
    LuaPush(L, Config(self)->GetNumber(name.section.c_str(), name.value.c_str()));
    return 1;
}

int CHostConfigFunctions::ConfigSetNumber(CGFXFuncHelperBase& self, lua_State* L) {
    double number;
    LuaPop(L, -1, number);
    const ValueName name = ReadValueName(L);
    Config(self)->SetNumber(name.section.c_str(), name.value.c_str(), number);
    return 0;
}

int CHostConfigFunctions::ConfigDeleteSection(CGFXFuncHelperBase& self, lua_State* L) {
    std::string section;
    LuaPop(L, -1, section);
    Config(self)->DeleteSection(section.c_str());
    return 0;
}

// The script gets the text up to the first zero byte, as a copy of its own:
// nothing is kept, however often a file is read.
int CHostConfigFunctions::GetTextFileData(CGFXFuncHelperBase& self, lua_State* L) {
    std::string file;
    LuaPop(L, -1, file);
    GFX* engine = self.GetStarter()->GetEngine();
    uint32_t size = 0;
    void* data = engine->Resource_Load(file.c_str(), &size);
    if (!data) {
        lua_pushnil(L);
        return 1;
    }
    const char* bytes = static_cast<const char*>(data);
    const std::string text(bytes, strnlen(bytes, size));
    engine->Resource_Free(data);
    LuaPush(L, text);
    return 1;
}
