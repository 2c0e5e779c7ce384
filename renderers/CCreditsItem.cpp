#include "renderers/CCreditsItem.h"

#include "helpers/gfxSprite.h"

CCreditsItem::CCreditsItem(int kind, uint32_t color, const char* text, const char* texture)
    : m_Text(text ? text : ""), m_Color(color), m_Kind(kind), m_Engine(gfxCreate(GFX_VERSION)) {
    if (texture && *texture && m_Engine) LoadPicture(texture);
}

CCreditsItem::~CCreditsItem() {
    if (m_Texture && m_Engine) m_Engine->Texture_Free(m_Texture);
    delete m_Sprite;
    if (m_Engine) m_Engine->Release();
}

void CCreditsItem::LoadPicture(const char* texture) {
    m_Texture = m_Engine->Texture_Load(texture, 0, false);
    if (!m_Texture) return;
    // The sprite spans the whole texture, as the cursor's does.
    m_Width = m_Engine->Texture_GetWidth(m_Texture, false);
    m_Height = m_Engine->Texture_GetHeight(m_Texture, false);
    m_Sprite = new gfxSprite(m_Texture, 0, 0, static_cast<float>(m_Width), static_cast<float>(m_Height));
}
