// The script's text drawer over an XML bitmap font ("GetFontEx"): the same
// ten methods as the script font, laid out from the description's glyph
// metrics. The screen whose script made it owns it.
#pragma once

#include "media/CXmlFont.h"
#include "script/CLuaBoundObject.h"

#include <string>

class CGFXFuncHelperBase;
class CGFXStarter;

class CScriptFontEx final : public CLuaBoundObject<CScriptFontEx> {
public:
    // Reads the description through the engine's resource loader; a file
    // that cannot be read or parsed leaves the font empty.
    CScriptFontEx(CGFXStarter* starter, CGFXFuncHelperBase* owner, const std::string& file);
    ~CScriptFontEx();
    CScriptFontEx(const CScriptFontEx&) = delete;
    CScriptFontEx& operator=(const CScriptFontEx&) = delete;

    CGFXStarter* GetStarter() const { return m_Starter; }
    CGFXFuncHelperBase* GetOwner() const { return m_Owner; }
    CXmlFont& GetFont() { return m_Font; }

private:
    static const ScriptMethod<CScriptFontEx> kMethods[];

    void Load(const std::string& file);
    int DrawString(lua_State* L);
    int SetColor(lua_State* L);
    int LineHeight(lua_State* L);
    int Align(void (CXmlFont::*align)());
    int StringWidth(lua_State* L);
    int DropNumber(lua_State* L);

    CGFXStarter* m_Starter;
    CGFXFuncHelperBase* m_Owner;
    CXmlFont m_Font;
};
