#include "media/CCursor.h"

#include "helpers/gfxSprite.h"

CCursor::~CCursor() {
    delete m_CurrentSprite;
    delete m_DefaultSprite;
}

void CCursor::SetHotSpot(double x, double y) {
    if (m_CurrentSprite) m_CurrentSprite->SetHotSpot(static_cast<float>(x), static_cast<float>(y));
}

void CCursor::SetSprite(const gfxSprite* sprite) {
    if (!sprite || !m_CurrentSprite) return;
    if (sprite->GetTexture() == m_CurrentSprite->GetTexture()) return;
    delete m_CurrentSprite;
    m_CurrentSprite = new gfxSprite(*sprite);
}
