// The text drawer a script makes with "GetFont" from an "[GFXFONT]"
// description. It draws with the cache's font for that file, so colour,
// scale, tracking and spacing are shared by every script font on the file;
// only the alignment is its own. The screen that made it owns it.
#pragma once

#include "script/CLuaBoundObject.h"

#include <string>

class CGFXFuncHelperBase;
class CGFXStarter;
class gfxFont;

class CScriptFont final : public CLuaBoundObject<CScriptFont> {
public:
    // Made like every script object, with the screen that made it; the
    // screen's list owns the font and no method reaches back to it.
    CScriptFont(CGFXStarter* starter, CGFXFuncHelperBase* owner, const std::string& file);
    ~CScriptFont();
    CScriptFont(const CScriptFont&) = delete;
    CScriptFont& operator=(const CScriptFont&) = delete;

    gfxFont* GetFont() const { return m_Font; }
    int GetAlignment() const { return m_Alignment; }

private:
    static const ScriptMethod<CScriptFont> kMethods[];

    int DrawString(lua_State* L);
    int SetColor(lua_State* L);
    int LineHeight(lua_State* L);
    int SetAlignment(int alignment);
    int StringWidth(lua_State* L);
    // Reads one number for a setter of the shared font.
    int SetShared(lua_State* L, void (gfxFont::*setter)(float));

    gfxFont* m_Font;  // the cache's; never null
    int m_Alignment = 0;
};
