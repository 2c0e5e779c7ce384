// The state of the game's own mouse cursor: whether it is drawn, the sprite
// drawn, the sprite made from its image and that image's texture.
#pragma once

#include "engine/gfx.h"

class gfxSprite;

class CCursor {
public:
    CCursor() = default;
    virtual ~CCursor();
    CCursor(const CCursor&) = delete;
    CCursor& operator=(const CCursor&) = delete;

    void Show() { m_bVisible = true; }
    void Hide() { m_bVisible = false; }
    bool IsVisible() const { return m_bVisible; }
    void SetHotSpot(double x, double y);
    // Draws a copy of the sprite from now on, unless it has the same texture.
    void SetSprite(const gfxSprite* sprite);

protected:
    bool m_bVisible = true;
    gfxSprite* m_CurrentSprite = nullptr;
    gfxSprite* m_DefaultSprite = nullptr;
    HTEXTURE m_Texture = 0;
};
