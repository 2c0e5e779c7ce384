#include "host/CTexelCopy.h"

bool CTexelCopy::ReadBack(GFX* engine, HTEXTURE texture) {
    m_Width = m_Height = 0;
    m_Texels.clear();
    if (!texture) return false;
    const int width = engine->Texture_GetWidth(texture, false);
    const int height = engine->Texture_GetHeight(texture, false);
    if (width <= 0 || height <= 0) return false;
    const uint32_t* texels = engine->Texture_Lock(texture, true, 0, 0, width, height);
    if (!texels) return false;
    m_Texels.assign(texels, texels + static_cast<size_t>(width) * static_cast<size_t>(height));
    engine->Texture_Unlock(texture);
    m_Width = width;
    m_Height = height;
    return true;
}

HTEXTURE CTexelCopy::ToTexture(GFX* engine) const {
    return m_Texels.empty() ? 0 : engine->Texture_CreateFrom(m_Width, m_Height, m_Texels.data());
}
