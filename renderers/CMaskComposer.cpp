#include "renderers/CMaskComposer.h"

#include <algorithm>
#include <cstddef>

namespace {
struct Surface {
    int width = 0, height = 0;
    bool IsEmpty() const { return width <= 0 || height <= 0; }
};

Surface SurfaceOf(GFX* engine, HTEXTURE texture) {
    if (!texture) return Surface();
    return Surface{engine->Texture_GetWidth(texture, false), engine->Texture_GetHeight(texture, false)};
}

size_t Index(int row, int column, int pitch) {
    return static_cast<size_t>(row) * static_cast<size_t>(pitch) + static_cast<size_t>(column);
}

// A texture locked over its whole surface for as long as this lives; not held
// for texture 0, an empty surface or a failed lock. Locks declared later are
// unlocked first.
class Lock {
public:
    Lock(GFX* engine, HTEXTURE texture, bool readOnly)
        : m_Engine(engine), m_Texture(texture), m_Surface(SurfaceOf(engine, texture)) {
        if (!m_Surface.IsEmpty())
            m_Texels = engine->Texture_Lock(texture, readOnly, 0, 0, m_Surface.width, m_Surface.height);
    }
    ~Lock() {
        if (m_Texels) m_Engine->Texture_Unlock(m_Texture);
    }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    bool IsHeld() const { return m_Texels != nullptr; }
    const Surface& Size() const { return m_Surface; }
    uint32_t* Texels() const { return m_Texels; }
    // The texel at (row, column); 0 beyond the surface.
    uint32_t At(int row, int column) const {
        return row < m_Surface.height && column < m_Surface.width ? m_Texels[Index(row, column, m_Surface.width)] : 0;
    }

private:
    GFX* m_Engine;
    HTEXTURE m_Texture;
    Surface m_Surface;
    uint32_t* m_Texels = nullptr;
};
}  // namespace

CMaskComposer::Channel CMaskComposer::ChannelFromName(const std::string& name) {
    if (name == "R") return Channel::R;
    if (name == "G") return Channel::G;
    if (name == "B") return Channel::B;
    return Channel::None;
}

uint32_t CMaskComposer::AlphaOf(uint32_t maskTexel, Channel channel) {
    if (maskTexel == 0) return 0;
    if (channel == Channel::None) return 255;
    return 255 - ((maskTexel >> static_cast<int>(channel)) & 0xFF);
}

HTEXTURE CMaskComposer::Compose(GFX* engine, HTEXTURE picture, HTEXTURE mask, Channel channel) {
    const Surface size = SurfaceOf(engine, picture);
    if (size.IsEmpty()) return 0;
    const HTEXTURE composed = engine->Texture_Create(size.width, size.height);
    if (!composed) return 0;
    bool done = false;
    {
        const Lock from(engine, picture, true);
        const Lock alpha(engine, from.IsHeld() ? mask : 0, true);
        const Lock to(engine, alpha.IsHeld() ? composed : 0, false);
        if (to.IsHeld()) {
            const Surface& r = to.Size();
            for (int i = 0; i < r.height; ++i)
                for (int j = 0; j < r.width; ++j)
                    to.Texels()[Index(i, j, r.width)] =
                        (AlphaOf(alpha.At(i, j), channel) << 24) | (from.At(i, j) & 0x00FFFFFFu);
            done = true;
        }
    }
    if (done) return composed;
    engine->Texture_Free(composed);
    return 0;
}

bool CMaskComposer::CopyPicture(GFX* engine, HTEXTURE from, HTEXTURE to) {
    const Lock source(engine, from, true);
    const Lock copy(engine, source.IsHeld() ? to : 0, false);
    if (!copy.IsHeld()) return false;
    const Surface& s = source.Size();
    const Surface& d = copy.Size();
    const int rows = std::min(s.height, d.height);
    const int columns = std::min(s.width, d.width);
    for (int i = 0; i < rows; ++i)
        std::copy_n(source.Texels() + Index(i, 0, s.width), columns, copy.Texels() + Index(i, 0, d.width));
    return true;
}
