// The CPU side of masked sprites: a drawn picture in a texture of its own with
// the alpha of a mask image, one colour channel of each mask texel inverted.
// Texels are 32-bit ARGB.
#pragma once

#include "engine/gfx.h"

#include <cstdint>
#include <string>

class CTexelCopy;

class CMaskComposer {
public:
    // The bit offset of the mask byte that gives the alpha.
    enum class Channel { None = -1, R = 0, G = 8, B = 16 };

    // "R", "G" or "B", upper case only; any other name selects no channel.
    static Channel ChannelFromName(const std::string& name);
    // 255 minus the channel's byte (0 without a channel); 0 for a mask texel of 0.
    static uint32_t AlphaOf(uint32_t maskTexel, Channel channel);

    // A new texture as large as the picture's surface, its texels the
    // picture's colour with the mask's alpha (0 beyond the mask), made in one
    // pass: the picture read back once, the result sent once. 0 when the
    // picture cannot be read or the texture cannot be made.
    static HTEXTURE Compose(GFX* engine, HTEXTURE picture, const CTexelCopy& mask, Channel channel);
};
