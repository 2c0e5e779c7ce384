#include "media/CScriptFontEx.h"

#include "host/CGFXStarter.h"
#include "script/LuaStack.h"

namespace {

enum {
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

struct Method {
    const char* name;
    int id;
};

const Method kMethods[] = {
    {"DrawString", kDrawString},   {"SetColor", kSetColor},     {"LineHeight", kLineHeight},
    {"AlignLeft", kAlignLeft},     {"AlignRight", kAlignRight}, {"AlignCenter", kAlignCenter},
    {"StringWidth", kStringWidth}, {"SetSpacing", kSetSpacing}, {"SetTracking", kSetTracking},
    {"SetScale", kSetScale},
};

}  // namespace

CScriptFontEx::CScriptFontEx(CGFXStarter* starter, CGFXFuncHelperBase* owner, const std::string& file)
    : m_Starter(starter), m_Owner(owner) {
    m_Font.SetStarter(starter);
    Load(file);
}

CScriptFontEx::~CScriptFontEx() { delete m_Binder; }

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

void CScriptFontEx::Bind(lua_State* L) {
    delete m_Binder;
    m_Binder = new CLuaBinder<CScriptFontEx>(L, this, 0);
    for (const Method& m : kMethods) m_Binder->AddMethod(m.name, m.id);
    m_Binder->Register();
}

int CScriptFontEx::OnLuaCall(lua_State* L, int id, const char*) {
    switch (id) {
        case kDrawString:
            return DrawString(L);
        case kSetColor:
            return SetColor(L);
        case kLineHeight:
            return LineHeight(L);
        case kAlignLeft:
            m_Font.AlignLeft();
            return 0;
        case kAlignRight:
            m_Font.AlignRight();
            return 0;
        case kAlignCenter:
            m_Font.AlignCenter();
            return 0;
        case kStringWidth:
            return StringWidth(L);
        case kSetSpacing:
        case kSetTracking:
        case kSetScale:
            return DropNumber(L);
        default:
            return 0;
    }
}

int CScriptFontEx::OnLuaIndex(lua_State*, const char*) { return 0; }
int CScriptFontEx::OnLuaNewIndex(lua_State*, const char*) { return 0; }

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

// Spacing, tracking and scale are fixed by the description: the number is read and dropped.
int CScriptFontEx::DropNumber(lua_State* L) {
    double ignored = 0.0;
    LuaPop(L, -1, ignored);
    return 0;
}
