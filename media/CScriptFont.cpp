#include "media/CScriptFont.h"

#include "helpers/gfxFont.h"
#include "host/CGFXStarter.h"
#include "script/LuaStack.h"
#include "script/NumberConversion.h"

namespace {

// The align argument of gfxFont::Render.
enum { kLeft = 0, kRight = 1, kCentre = 2 };

using F = CScriptFont;

}  // namespace

const ScriptMethod<CScriptFont> CScriptFont::kMethods[] = {
    {"DrawString", Handler<&F::DrawString>},
    {"SetColor", Handler<&F::SetColor>},
    {"LineHeight", Handler<&F::LineHeight>},
    {"AlignLeft", [](F& f, lua_State*) { return f.SetAlignment(kLeft); }},
    {"AlignRight", [](F& f, lua_State*) { return f.SetAlignment(kRight); }},
    {"AlignCenter", [](F& f, lua_State*) { return f.SetAlignment(kCentre); }},
    {"StringWidth", Handler<&F::StringWidth>},
    {"SetSpacing", [](F& f, lua_State* L) { return f.SetShared(L, &gfxFont::SetSpacing); }},
    {"SetTracking", [](F& f, lua_State* L) { return f.SetShared(L, &gfxFont::SetTracking); }},
    {"SetScale", [](F& f, lua_State* L) { return f.SetShared(L, &gfxFont::SetScale); }},
};

CScriptFont::CScriptFont(CGFXStarter* starter, CGFXFuncHelperBase*, const std::string& file)
    : CLuaBoundObject(kMethods), m_Font(starter->GetResourceCache()->GetFont(file)) {}

// The font stays: the cache frees it at the end of the run.
CScriptFont::~CScriptFont() = default;

int CScriptFont::DrawString(lua_State* L) {
    std::string text;
    int x = 0, y = 0;
    LuaPop(L, -1, text);
    LuaPop(L, -1, y);
    LuaPop(L, -1, x);
    m_Font->Render(static_cast<float>(x), static_cast<float>(y), m_Alignment, text.c_str());
    return 0;
}

int CScriptFont::SetColor(lua_State* L) {
    DWORD color = 0;
    LuaPop(L, -1, color);
    m_Font->SetColor(color);
    return 0;
}

int CScriptFont::LineHeight(lua_State* L) {
    LuaPush(L, static_cast<int>(TruncateToInt32(m_Font->GetHeight())));
    return 1;
}

int CScriptFont::SetAlignment(int alignment) {
    m_Alignment = alignment;
    return 0;
}

int CScriptFont::StringWidth(lua_State* L) {
    std::string text;
    LuaPop(L, -1, text);
    LuaPush(L, static_cast<double>(m_Font->GetStringWidth(text.c_str(), true)));
    return 1;
}

int CScriptFont::SetShared(lua_State* L, void (gfxFont::*setter)(float)) {
    double value = 0;
    LuaPop(L, -1, value);
    (m_Font->*setter)(static_cast<float>(value));
    return 0;
}
