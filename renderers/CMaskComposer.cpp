#include "renderers/CMaskComposer.h"

#include <algorithm>
#include <cstddef>

namespace {
struct Surface {
    int width = 0, height = 0;
    bool IsEmpty() const { return width <= 0 || height <= 0; }
};

Surface SurfaceOf(GFX* engine, HTEXTURE texture) {
    return Surface{engine->Texture_GetWidth(texture, false), engine->Texture_GetHeight(texture, false)};
}

size_t Index(int row, int column, int pitch) {
    return static_cast<size_t>(row) * static_cast<size_t>(pitch) + static_cast<size_t>(column);
}

// One texture locked read-only and another writable, each over its whole
// surface; both or neither are held, and the writable one is unlocked first.
class LockPair {
public:
    LockPair(GFX* engine, HTEXTURE from, HTEXTURE to)
        : m_Engine(engine),
          m_FromTexture(from),
          m_ToTexture(to),
          m_From(SurfaceOf(engine, from)),
          m_To(SurfaceOf(engine, to)) {
        if (m_From.IsEmpty() || m_To.IsEmpty()) return;
        m_Read = engine->Texture_Lock(from, true, 0, 0, m_From.width, m_From.height);
        if (!m_Read) return;
        m_Write = engine->Texture_Lock(to, false, 0, 0, m_To.width, m_To.height);
        if (!m_Write) {
            engine->Texture_Unlock(from);
            m_Read = nullptr;
        }
    }
    ~LockPair() {
        if (!m_Write) return;
        m_Engine->Texture_Unlock(m_ToTexture);
        m_Engine->Texture_Unlock(m_FromTexture);
    }
    LockPair(const LockPair&) = delete;
    LockPair& operator=(const LockPair&) = delete;

    bool IsHeld() const { return m_Write != nullptr; }
    const Surface& From() const { return m_From; }
    const Surface& To() const { return m_To; }
    const uint32_t* Read() const { return m_Read; }
    uint32_t* Write() const { return m_Write; }

private:
    GFX* m_Engine;
    HTEXTURE m_FromTexture, m_ToTexture;
    Surface m_From, m_To;
    const uint32_t* m_Read = nullptr;
    uint32_t* m_Write = nullptr;
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

bool CMaskComposer::ApplyMask(GFX* engine, HTEXTURE picture, HTEXTURE mask, Channel channel) {
    LockPair locks(engine, mask, picture);
    if (!locks.IsHeld()) return false;
    const Surface& m = locks.From();
    const Surface& t = locks.To();
    for (int i = 0; i < t.height; ++i) {
        for (int j = 0; j < t.width; ++j) {
            const uint32_t maskTexel = i < m.height && j < m.width ? locks.Read()[Index(i, j, m.width)] : 0;
            uint32_t& texel = locks.Write()[Index(i, j, t.width)];
            texel = (AlphaOf(maskTexel, channel) << 24) | (texel & 0x00FFFFFFu);
        }
    }
    return true;
}

bool CMaskComposer::CopyPicture(GFX* engine, HTEXTURE from, HTEXTURE to) {
    LockPair locks(engine, from, to);
    if (!locks.IsHeld()) return false;
    const Surface& s = locks.From();
    const Surface& d = locks.To();
    const int rows = std::min(s.height, d.height);
    const int columns = std::min(s.width, d.width);
    for (int i = 0; i < rows; ++i)
        std::copy_n(locks.Read() + Index(i, 0, s.width), columns, locks.Write() + Index(i, 0, d.width));
    return true;
}
