#include "media/CScriptSprite.h"

#include "helpers/gfxAnimation.h"
#include "helpers/gfxRect.h"
#include "helpers/gfxSprite.h"
#include "host/CGFXStarter.h"
#include "renderers/CGFXFuncHelperBase.h"
#include "script/ClickEmulation.h"
#include "script/LuaStack.h"
#include "script/NumberConversion.h"

namespace {

// The table and five arguments: "SetRect" was given its size flag.
const int kSetRectWithFlag = 6;

using S = CScriptSprite;

}  // namespace

const ScriptMethod<CScriptSprite> CScriptSprite::kMethods[] = {
    {"Render", Handler<&S::Render>},
    {"Update", Handler<&S::Update>},
    {"Size", Handler<&S::Size>},
    {"Position", Handler<&S::Position>},
    {"SwitchToFrame", Handler<&S::SwitchToFrame>},
    {"UnderPosition", Handler<&S::UnderPosition>},
    {"Clicked", Handler<&S::IsClicked>},
    // Nothing may touch this sprite once it returns: it is gone.
    {"Delete", [](S& s, lua_State*) { return s.Delete(); }},
    {"Show", [](S& s, lua_State*) { return s.SetVisible(true); }},
    {"Hide", [](S& s, lua_State*) { return s.SetVisible(false); }},
    {"CreateOpacityMap", Handler<&S::CreateOpacityMap>},
    {"SetColor", Handler<&S::SetColor>},
    {"IsVisible", [](S& s, lua_State* L) { return s.PushFlag(L, s.m_bVisible); }},
    {"IsEnabled", [](S& s, lua_State* L) { return s.PushFlag(L, s.m_bEnabled); }},
    {"Enable", [](S& s, lua_State*) { return s.SetEnabled(true); }},
    {"Disable", [](S& s, lua_State*) { return s.SetEnabled(false); }},
    {"CurrentFrameNumber", Handler<&S::CurrentFrameNumber>},
    {"SetPosition", Handler<&S::SetPosition>},
    {"Stop", [](S& s, lua_State*) { return s.StopAnimation(); }},
    {"Play", [](S& s, lua_State*) { return s.PlayAnimation(); }},
    {"IsPlaying", Handler<&S::IsPlaying>},
    {"SetHotSpot", Handler<&S::SetHotSpot>},
    {"RenderEx", Handler<&S::RenderEx>},
    {"SetRect", Handler<&S::SetRect>},
    {"SetBlendMode", Handler<&S::SetBlendMode>},
    {"FlipHorizontal", [](S& s, lua_State*) { return s.Flip(s.m_bFlipH, true, false); }},
    {"FlipVertical", [](S& s, lua_State*) { return s.Flip(s.m_bFlipV, false, true); }},
    {"FlipHV", [](S& s, lua_State*) { return s.Flip(s.m_bFlipHV, true, true); }},
    {"SetLoop", Handler<&S::SetLoop>},
};

CScriptSprite::CScriptSprite(CGFXStarter* starter, CGFXFuncHelperBase* owner, HTEXTURE texture, bool animated,
                             float width, float height, float x, float y, int frames, float fps)
    : CLuaBoundObject(kMethods),
      m_bAnimated(animated),
      m_Frames(frames),
      m_Starter(starter),
      m_Owner(owner),
      m_Texture(texture),
      m_Width(TruncateToInt32(width)),
      m_Height(TruncateToInt32(height)) {
    if (m_Starter) m_Starter->GetResourceCache()->HoldTexture(m_Texture);
    if (animated || frames > 1) {
        m_Animation.reset(new gfxAnimation(texture, frames, fps, x, y, width, height));
        m_Animation->SetFrame(0);
        m_Animation->Play();
    } else {
        m_Sprite.emplace(texture, x, y, width, height);
    }
}

CScriptSprite::~CScriptSprite() {
    m_Sprite.reset();
    m_Animation.reset();
    if (m_Starter) m_Starter->GetResourceCache()->ReleaseTexture(m_Texture);
}

gfxSprite* CScriptSprite::GetDrawable() {
    if (m_Animation) return m_Animation.get();
    return m_Sprite ? &*m_Sprite : nullptr;
}

// --- Drawing and animation -------------------------------------------------

void CScriptSprite::RenderAt(float x, float y) {
    if (!m_bVisible) return;
    GetDrawable()->Render(x, y);
}

void CScriptSprite::UpdateAnimation(float delta) {
    if (m_bVisible && m_Animation) m_Animation->Update(delta);
}

void CScriptSprite::ReadPosition(lua_State* L, double& x, double& y) {
    LuaPopTwo(L, x, y);
    m_X = TruncateToInt32(x);
    m_Y = TruncateToInt32(y);
}

int CScriptSprite::Render(lua_State* L) {
    double x = 0, y = 0;
    ReadPosition(L, x, y);
    // The stored position is whole pixels; the drawing keeps the fractions.
    RenderAt(static_cast<float>(x), static_cast<float>(y));
    return 0;
}

int CScriptSprite::RenderEx(lua_State* L) {
    double scale = 0, rot = 0, x = 0, y = 0;
    LuaPop(L, -1, scale);
    LuaPop(L, -1, rot);
    ReadPosition(L, x, y);
    m_Rotation = static_cast<float>(rot);
    m_Scale = static_cast<float>(scale);
    GetDrawable()->RenderEx(static_cast<float>(x), static_cast<float>(y), m_Rotation, m_Scale, 0.0f);
    return 0;
}

int CScriptSprite::SetPosition(lua_State* L) {
    double x = 0, y = 0;
    ReadPosition(L, x, y);
    return 0;
}

int CScriptSprite::Update(lua_State* L) {
    double delta = 0;
    LuaPop(L, -1, delta);
    UpdateAnimation(static_cast<float>(delta));
    return Size(L);
}

int CScriptSprite::Size(lua_State* L) {
    LuaPush(L, m_Width);
    LuaPush(L, m_Height);
    return 2;
}

int CScriptSprite::Position(lua_State* L) {
    LuaPush(L, m_X);
    LuaPush(L, m_Y);
    return 2;
}

int CScriptSprite::SwitchToFrame(lua_State* L) {
    if (!m_Animation || m_Frames <= 1) return 0;
    int frame = 0;
    LuaPop(L, -1, frame);
    if (frame < 0 || frame >= m_Frames) frame = 0;
    m_Animation->SetFrame(frame);
    return 0;
}

int CScriptSprite::CurrentFrameNumber(lua_State* L) {
    LuaPush(L, m_Animation ? m_Animation->GetFrame() : 0);
    return 1;
}

int CScriptSprite::StopAnimation() {
    if (m_Animation) m_Animation->Stop();
    return 0;
}

int CScriptSprite::PlayAnimation() {
    if (m_Animation) m_Animation->Play();
    return 0;
}

int CScriptSprite::IsPlaying(lua_State* L) {
    LuaPush(L, m_Animation ? m_Animation->IsPlaying() : false);
    return 1;
}

int CScriptSprite::SetLoop(lua_State* L) {
    bool loop = false;
    LuaPop(L, -1, loop);
    if (m_Animation) m_Animation->SetMode(loop ? GFXANIM_FWD | GFXANIM_LOOP : GFXANIM_FWD);
    return 0;
}

// --- Flags and looks -------------------------------------------------------

int CScriptSprite::Delete() {
    if (m_Owner) m_Owner->DeleteSprite(this);
    return 0;
}

int CScriptSprite::SetVisible(bool visible) {
    m_bVisible = visible;
    return 0;
}

int CScriptSprite::SetEnabled(bool enabled) {
    m_bEnabled = enabled;
    return 0;
}

int CScriptSprite::PushFlag(lua_State* L, bool value) {
    LuaPush(L, value);
    return 1;
}

int CScriptSprite::SetColor(lua_State* L) {
    DWORD color = 0;
    LuaPop(L, -1, color);
    GetDrawable()->SetColor(color, -1);
    return 0;
}

int CScriptSprite::SetHotSpot(lua_State* L) {
    double x = 0, y = 0;
    LuaPop(L, -1, y);
    LuaPop(L, -1, x);
    GetDrawable()->SetHotSpot(static_cast<float>(x), static_cast<float>(y));
    return 0;
}

int CScriptSprite::SetBlendMode(lua_State* L) {
    int blend = 0;
    LuaPop(L, -1, blend);
    GetDrawable()->SetBlendMode(blend);
    return 0;
}

// Each method keeps its own toggle and passes it alone, so the last flip
// called decides the mirroring.
int CScriptSprite::Flip(bool& toggle, bool horizontal, bool vertical) {
    toggle = !toggle;
    GetDrawable()->SetFlip(horizontal && toggle, vertical && toggle, false);
    return 0;
}

int CScriptSprite::SetRect(lua_State* L) {
    bool adjustSize = true;
    if (lua_gettop(L) == kSetRectWithFlag) LuaPop(L, -1, adjustSize);
    int left = 0, top = 0, width = 0, height = 0;
    LuaPop(L, -1, height);
    LuaPop(L, -1, width);
    LuaPop(L, -1, top);
    LuaPop(L, -1, left);
    const float l = static_cast<float>(left), t = static_cast<float>(top);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    if (m_Animation)
        m_Animation->SetTextureRect(l, t, w, h);
    else
        m_Sprite->SetTextureRect(l, t, w, h, adjustSize);
    return 0;
}

// --- Opacity map and hit tests ---------------------------------------------

int CScriptSprite::CreateOpacityMap(lua_State* L) {
    int tolerance = 0;
    LuaPop(L, -1, tolerance);
    if (tolerance < 1) tolerance = 1;
    m_OpacityMap.Build(m_Starter->GetEngine(), GetDrawable()->GetTexture(), m_Height,
                       static_cast<uint8_t>(tolerance % 256));
    return 0;
}

bool CScriptSprite::MapMarksTransparent(int64_t dx, int64_t dy) const {
    if (dx < 0 || dy < 0) return false;
    if (m_Animation) {
        const int64_t frames = static_cast<int64_t>(m_Frames) * m_Width;
        dx += static_cast<int64_t>(m_Animation->GetFrame()) * m_Width;
        if (dx >= frames) dx = frames - 1;
    }
    // The clamp can leave the map on the left (no frame width), which is no mark.
    return m_OpacityMap.IsTransparent(dx, dy);
}

bool CScriptSprite::HitTest(int x, int y) {
    gfxRect box;
    GetDrawable()->GetBoundingBoxEx(static_cast<float>(m_X), static_cast<float>(m_Y), m_Rotation, m_Scale, m_Scale,
                                    &box);
    bool hit = box.TestPoint(static_cast<float>(x), static_cast<float>(y));
    if (hit && HasOpacityMap()) {
        const int64_t dx = static_cast<int64_t>(x) - m_X;
        const int64_t dy = static_cast<int64_t>(y) - m_Y;
        if (MapMarksTransparent(dx, dy)) hit = false;
    }
    return hit;
}

int CScriptSprite::UnderPosition(lua_State* L) {
    int x = 0, y = 0;
    LuaPop(L, -1, y);
    LuaPop(L, -1, x);
    LuaPush(L, HitTest(x, y));
    return 1;
}

int CScriptSprite::IsClicked(lua_State* L) {
    GFX* engine = m_Starter->GetEngine();
    float mouseX = 0.0f, mouseY = 0.0f;
    engine->Input_GetMousePos(&mouseX, &mouseY);
    const bool released = LeftClickReleased(engine);
    const bool clicked =
        m_bVisible && m_bEnabled && HitTest(TruncateToInt32(mouseX), TruncateToInt32(mouseY)) && released;
    LuaPush(L, clicked);
    return 1;
}
