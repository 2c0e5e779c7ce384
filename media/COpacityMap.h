// Which texels of a texture are too transparent to count as a hit: one byte
// per texel, read once from the texture so hit tests need no lock.
#pragma once

#include "engine/gfx.h"

#include <cstdint>
#include <vector>

class COpacityMap {
public:
    // Marks the texels of the image's top `rows` rows whose alpha is below
    // tolerance. A size of 0 or less, or a failed lock, leaves the map empty.
    void Build(GFX* engine, HTEXTURE texture, int rows, uint8_t tolerance);
    // Empties the map and gives its memory back.
    void Clear();
    bool IsEmpty() const { return m_Marks.empty(); }
    // False for a texel outside the map.
    bool IsTransparent(int64_t column, int64_t row) const;

private:
    // m_Rows rows of m_Width bytes, row after row; 1 marks a transparent texel.
    std::vector<uint8_t> m_Marks;
    int m_Rows = 0;
    int m_Width = 0;
};
