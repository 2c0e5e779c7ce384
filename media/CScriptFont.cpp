#include "media/CScriptFont.h"

#include "helpers/gfxFont.h"
#include "host/CGFXStarter.h"
#include "media/ScriptMethodTable.h"
#include "script/LuaStack.h"
#include "script/NumberConversion.h"

namespace {

enum FontMethod {
    kDrawString = 1,
    kSetColor,
    kLineHeight,
    kAlignLeft,
    kAlignRight,
    kAlignCenter,
    kStringWidth,
    kSetSpacing,
    kSetTracking,
    kSetScale,
};

const ScriptMethod kFontMethods[] = {
    {"DrawString", kDrawString},   {"SetColor", kSetColor},     {"LineHeight", kLineHeight},
    {"AlignLeft", kAlignLeft},     {"AlignRight", kAlignRight}, {"AlignCenter", kAlignCenter},
    {"StringWidth", kStringWidth}, {"SetSpacing", kSetSpacing}, {"SetTracking", kSetTracking},
    {"SetScale", kSetScale},
};

// The align argument of gfxFont::Render.
enum { kLeft = 0, kRight = 1, kCentre = 2 };

}  // namespace

CScriptFont::CScriptFont(CGFXStarter* starter, CGFXFuncHelperBase* owner, const std::string& file)
    : m_Starter(starter), m_Owner(owner), m_Font(starter->GetResourceCache()->GetFont(file)) {}

// The font stays: the cache frees it at the end of the run.
CScriptFont::~CScriptFont() = default;

void CScriptFont::Bind(lua_State* L) { BindMethodTable(m_Binder, L, this, kFontMethods); }

int CScriptFont::OnLuaCall(lua_State* L, int id, const char*) {
    switch (id) {
        case kDrawString:
            return DrawString(L);
        case kSetColor:
            return SetColor(L);
        case kLineHeight:
            return LineHeight(L);
        case kAlignLeft:
            return SetAlignment(kLeft);
        case kAlignRight:
            return SetAlignment(kRight);
        case kAlignCenter:
            return SetAlignment(kCentre);
        case kStringWidth:
            return StringWidth(L);
        case kSetSpacing:
            return SetShared(L, &gfxFont::SetSpacing);
        case kSetTracking:
            return SetShared(L, &gfxFont::SetTracking);
        case kSetScale:
            return SetShared(L, &gfxFont::SetScale);
        default:
            return 0;
    }
}

int CScriptFont::OnLuaIndex(lua_State*, const char*) { return 0; }

int CScriptFont::OnLuaNewIndex(lua_State*, const char*) { return 0; }

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
