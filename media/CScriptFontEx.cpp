#include "media/CScriptFontEx.h"

#include "host/CGFXStarter.h"
#include "script/LuaStack.h"

namespace {
using F = CScriptFontEx;
}  // namespace

// Spacing, tracking and scale are fixed by the description: the number is read and dropped.
const ScriptMethod<CScriptFontEx> CScriptFontEx::kMethods[] = {
    {"DrawString", Handler<&F::DrawString>},
    {"SetColor", Handler<&F::SetColor>},
    {"LineHeight", Handler<&F::LineHeight>},
    {"AlignLeft", [](F& f, lua_State*) { return f.Align(&CXmlFont::AlignLeft); }},
    {"AlignRight", [](F& f, lua_State*) { return f.Align(&CXmlFont::AlignRight); }},
    {"AlignCenter", [](F& f, lua_State*) { return f.Align(&CXmlFont::AlignCenter); }},
    {"StringWidth", Handler<&F::StringWidth>},
    {"SetSpacing", Handler<&F::DropNumber>},
    {"SetTracking", Handler<&F::DropNumber>},
    {"SetScale", Handler<&F::DropNumber>},
};

CScriptFontEx::CScriptFontEx(CGFXStarter* starter, CGFXFuncHelperBase* owner, const std::string& file)
    : CLuaBoundObject(kMethods), m_Starter(starter), m_Owner(owner) {
    m_Font.SetStarter(starter);
    Load(file);
}

CScriptFontEx::~CScriptFontEx() = default;

// The copy ends the text even when the file does not.
void CScriptFontEx::Load(const std::string& file) {
    GFX* engine = m_Starter ? m_Starter->GetEngine() : nullptr;
    if (!engine) return;
    uint32_t size = 0;
    void* data = engine->Resource_Load(file.c_str(), &size);
    if (!data) return;
    const std::string text(static_cast<const char*>(data), size);
    engine->Resource_Free(data);
    m_Font.LoadFromMemory(text.c_str());
}

int CScriptFontEx::Align(void (CXmlFont::*align)()) {
    (m_Font.*align)();
    return 0;
}

int CScriptFontEx::DrawString(lua_State* L) {
    std::string text;
    int x = 0, y = 0;
    LuaPop(L, -1, text);
    LuaPop(L, -1, y);
    LuaPop(L, -1, x);
    m_Font.Render(x, y, text.c_str());
    return 0;
}

int CScriptFontEx::SetColor(lua_State* L) {
    DWORD colour = 0;
    LuaPop(L, -1, colour);
    m_Font.SetColor(colour);
    return 0;
}

int CScriptFontEx::LineHeight(lua_State* L) {
    LuaPush(L, m_Font.GetLineHeight());
    return 1;
}

int CScriptFontEx::StringWidth(lua_State* L) {
    std::string text;
    LuaPop(L, -1, text);
    LuaPush(L, static_cast<double>(static_cast<float>(m_Font.GetStringWidth(text.c_str()))));
    return 1;
}

int CScriptFontEx::DropNumber(lua_State* L) {
    double ignored = 0.0;
    LuaPop(L, -1, ignored);
    return 0;
}
