// A texture's texels copied into memory through a read-only lock: ARGB rows,
// top-down, as wide as the texture's surface.
#pragma once

#include "engine/gfx.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CTexelCopy {
public:
    // Copies the whole surface. False, and the copy empty, for texture 0, an
    // empty surface or a lock that fails.
    bool ReadBack(GFX* engine, HTEXTURE texture);
    // A new texture of the copy's size holding its texels; 0 when none can
    // be made or the copy is empty.
    HTEXTURE ToTexture(GFX* engine) const;

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    uint32_t* Texels() { return m_Texels.data(); }
    // The texel at (row, column); 0 beyond the surface.
    uint32_t At(int row, int column) const {
        return row < m_Height && column < m_Width ? m_Texels[Index(row, column)] : 0;
    }
    size_t Index(int row, int column) const {
        return static_cast<size_t>(row) * static_cast<size_t>(m_Width) + static_cast<size_t>(column);
    }

private:
    int m_Width = 0, m_Height = 0;
    std::vector<uint32_t> m_Texels;
};
