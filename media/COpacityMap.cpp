#include "media/COpacityMap.h"

#include <cstddef>

void COpacityMap::Build(GFX* engine, HTEXTURE texture, int rows, uint8_t tolerance) {
    Clear();
    const int width = engine->Texture_GetWidth(texture, true);
    // A zero size would lock the whole surface; a failed lock has no texels.
    if (width <= 0 || rows <= 0) return;
    const uint32_t* texels = engine->Texture_Lock(texture, true, 0, 0, width, rows);
    if (!texels) return;
    const int pitch = engine->Texture_GetWidth(texture, false);
    if (pitch >= width) {
        m_Marks.resize(static_cast<size_t>(width) * static_cast<size_t>(rows));
        for (size_t r = 0; r < static_cast<size_t>(rows); ++r)
            for (size_t c = 0; c < static_cast<size_t>(width); ++c)
                m_Marks[r * width + c] = (texels[r * pitch + c] >> 24) < tolerance ? 1 : 0;
        m_Rows = rows;
        m_Width = width;
    }
    engine->Texture_Unlock(texture);
}

void COpacityMap::Clear() {
    m_Marks.clear();
    m_Marks.shrink_to_fit();
    m_Rows = 0;
    m_Width = 0;
}

bool COpacityMap::IsTransparent(int64_t column, int64_t row) const {
    if (column < 0 || row < 0 || column >= m_Width || row >= m_Rows) return false;
    return m_Marks[static_cast<size_t>(row) * m_Width + static_cast<size_t>(column)] == 1;
}
