// The sprite a script makes ("GetSprite", "GetLastSurface", "GetMaskedSprite")
// and drives through its own method table: drawing, animation, position,
// visibility, colour, flips, texture rectangle and a hit test that can skip
// transparent texels through an opacity map. It wraps one engine helper: an
// animation when animated, else a plain sprite. The screen that made it owns it.
#pragma once

#include "engine/gfx.h"
#include "helpers/gfxSprite.h"
#include "media/COpacityMap.h"
#include "script/CLuaBoundObject.h"

#include <cstdint>
#include <memory>
#include <optional>

class CGFXFuncHelperBase;
class CGFXStarter;
class gfxAnimation;

class CScriptSprite final : public CLuaBoundObject<CScriptSprite> {
public:
    // x and y are the texel rectangle's origin in the texture, not a screen position.
    CScriptSprite(CGFXStarter* starter, CGFXFuncHelperBase* owner, HTEXTURE texture, bool animated, float width,
                  float height, float x, float y, int frames, float fps);
    ~CScriptSprite();
    CScriptSprite(const CScriptSprite&) = delete;
    CScriptSprite& operator=(const CScriptSprite&) = delete;

    void RenderAt(float x, float y);
    void UpdateAnimation(float delta);
    bool HasOpacityMap() const { return !m_OpacityMap.IsEmpty(); }
    bool HitTest(int x, int y);
    int IsClicked(lua_State* L);

    bool IsAnimated() const { return m_bAnimated; }
    bool IsVisible() const { return m_bVisible; }
    int GetX() const { return m_X; }
    int GetY() const { return m_Y; }
    // The animation when there is one, else the plain sprite.
    gfxSprite* GetDrawable();

private:
    static const ScriptMethod<CScriptSprite> kMethods[];

    int Render(lua_State* L);
    int Update(lua_State* L);
    int Size(lua_State* L);
    int Position(lua_State* L);
    int SwitchToFrame(lua_State* L);
    int UnderPosition(lua_State* L);
    int Delete();
    int SetVisible(bool visible);
    int CreateOpacityMap(lua_State* L);
    int SetColor(lua_State* L);
    int PushFlag(lua_State* L, bool value);
    int SetEnabled(bool enabled);
    int CurrentFrameNumber(lua_State* L);
    int SetPosition(lua_State* L);
    int StopAnimation();
    int PlayAnimation();
    int IsPlaying(lua_State* L);
    int SetHotSpot(lua_State* L);
    int RenderEx(lua_State* L);
    int SetRect(lua_State* L);
    int SetBlendMode(lua_State* L);
    int Flip(bool& toggle, bool horizontal, bool vertical);
    int SetLoop(lua_State* L);

    void ReadPosition(lua_State* L, double& x, double& y);
    // Whether the map marks the texel at this offset from the stored position.
    bool MapMarksTransparent(int64_t dx, int64_t dy) const;

    std::unique_ptr<gfxAnimation> m_Animation;
    // In the object itself: every draw reads it, and one allocation less
    // keeps thousands of sprites closer together in memory.
    std::optional<gfxSprite> m_Sprite;
    bool m_bAnimated;
    int m_Frames;
    bool m_bVisible = true;
    bool m_bEnabled = true;
    bool m_bFlipH = false;
    bool m_bFlipV = false;
    bool m_bFlipHV = false;
    float m_Rotation = 0.0f;
    float m_Scale = 1.0f;
    CGFXStarter* m_Starter;
    CGFXFuncHelperBase* m_Owner;
    // Held in the resource cache while the sprite lives (a capture's texture goes with its last sprite).
    HTEXTURE m_Texture;
    int m_X = 0;
    int m_Y = 0;
    int m_Width;
    int m_Height;
    // Of the texture's image from its left edge: every frame side by side.
    COpacityMap m_OpacityMap;
};
