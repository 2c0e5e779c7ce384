#include "renderers/CMaskComposer.h"

#include "host/CTexelCopy.h"

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

HTEXTURE CMaskComposer::Compose(GFX* engine, HTEXTURE picture, const CTexelCopy& mask, Channel channel) {
    CTexelCopy composed;
    if (!composed.ReadBack(engine, picture)) return 0;
    for (int i = 0; i < composed.Height(); ++i)
        for (int j = 0; j < composed.Width(); ++j) {
            uint32_t& texel = composed.Texels()[composed.Index(i, j)];
            texel = (AlphaOf(mask.At(i, j), channel) << 24) | (texel & 0x00FFFFFFu);
        }
    return composed.ToTexture(engine);
}
