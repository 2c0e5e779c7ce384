// One line of the credits: a blank line, a coloured text line or a picture
// with its own texture and a sprite over the whole picture.
#pragma once

#include "engine/gfx.h"

#include <cstdint>
#include <string>

class gfxSprite;

class CCreditsItem {
public:
    static constexpr int kBlank = 0;
    static constexpr int kText = 1;
    static constexpr int kSprite = 2;

    // texture: image file of a picture, or null; its load failing leaves the
    // item without texture or sprite and 0 x 0 in size.
    CCreditsItem(int kind, uint32_t color, const char* text, const char* texture);
    ~CCreditsItem();
    // The item owns its texture and sprite.
    CCreditsItem(const CCreditsItem&) = delete;
    CCreditsItem& operator=(const CCreditsItem&) = delete;

    int GetKind() const { return m_Kind; }
    int GetWidth() const { return m_Width; }
    int GetHeight() const { return m_Height; }
    uint32_t GetColor() const { return m_Color; }
    const std::string& GetText() const { return m_Text; }
    gfxSprite* GetSprite() const { return m_Sprite; }
    HTEXTURE GetTexture() const { return m_Texture; }

private:
    void LoadPicture(const char* texture);

    std::string m_Text;
    uint32_t m_Color;
    gfxSprite* m_Sprite = nullptr;
    int m_Kind;
    int m_Width = 0;
    int m_Height = 0;
    HTEXTURE m_Texture = 0;
    GFX* m_Engine;
};
