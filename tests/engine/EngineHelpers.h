// What the engine tests of both engines make and read: colours, quads,
// textures through locks, and small sample files (a WAVE sound, a TGA picture).
#pragma once

#include "engine/gfx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace enginetest {

inline int ChannelOf(uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

inline uint32_t Argb(int a, int r, int g, int b) {
    return (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
           static_cast<uint32_t>(b);
}

// Channels of an ARGB value within `tolerance` of each other.
inline ::testing::AssertionResult ColorNear(uint32_t actual, uint32_t expected, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        if (std::abs(ChannelOf(actual, shift) - ChannelOf(expected, shift)) > tolerance) {
            char text[96];
            std::snprintf(text, sizeof text, "0x%08X is not within %d of 0x%08X", actual, tolerance, expected);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}

// The reference of one blend combination in [0, 1] arithmetic: source colour
// from texel and vertex colour, then the blend with the target's texel (the
// alpha channel by the same factors as the colours).
inline uint32_t ExpectedBlend(uint32_t texel, uint32_t vertex, uint32_t target, int blend) {
    double sa = ChannelOf(texel, 24) / 255.0 * ChannelOf(vertex, 24) / 255.0;
    double out[4];
    for (int i = 0; i < 3; ++i) {
        int shift = 16 - 8 * i;
        double t = ChannelOf(texel, shift) / 255.0, v = ChannelOf(vertex, shift) / 255.0;
        double s = (blend & BLEND_COLORADD) ? std::min(t + v, 1.0) : t * v;
        double d = ChannelOf(target, shift) / 255.0;
        out[i] = (blend & BLEND_ALPHABLEND) ? s * sa + d * (1 - sa) : std::min(s * sa + d, 1.0);
    }
    double da = ChannelOf(target, 24) / 255.0;
    out[3] = (blend & BLEND_ALPHABLEND) ? sa * sa + da * (1 - sa) : std::min(sa * sa + da, 1.0);
    auto q = [](double x) { return static_cast<int>(x * 255 + 0.5); };
    return Argb(q(out[3]), q(out[0]), q(out[1]), q(out[2]));
}

// A quad of the rectangle (x, y, w, h) over texture coordinates (u0, v0)-(u1, v1).
inline gfxQuad MakeQuad(float x, float y, float w, float h, HTEXTURE tex, int blend = BLEND_DEFAULT,
                        uint32_t color = 0xFFFFFFFF, float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1) {
    gfxQuad q;
    const float xs[4] = {x, x + w, x + w, x};
    const float ys[4] = {y, y, y + h, y + h};
    const float us[4] = {u0, u1, u1, u0};
    const float vs[4] = {v0, v0, v1, v1};
    for (int i = 0; i < 4; ++i) q.v[i] = gfxVertex{xs[i], ys[i], 0.5f, color, us[i], vs[i]};
    q.tex = tex;
    q.blend = blend;
    return q;
}

// A texture with these texels (rows top-down), through a writable lock.
inline HTEXTURE MakeTexture(GFX* gfx, const std::vector<uint32_t>& argb, int width, int height) {
    HTEXTURE tex = gfx->Texture_Create(width, height);
    if (!tex) return 0;
    uint32_t* texels = gfx->Texture_Lock(tex, false);
    if (!texels) return 0;
    int pitch = gfx->Texture_GetWidth(tex);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) texels[y * pitch + x] = argb[static_cast<size_t>(y * width + x)];
    gfx->Texture_Unlock(tex);
    return tex;
}

// Every texel of a texture through a read-only lock; empty on failure.
inline std::vector<uint32_t> ReadTexture(GFX* gfx, HTEXTURE tex) {
    const uint32_t* texels = gfx->Texture_Lock(tex, true);
    if (!texels) return {};
    int w = gfx->Texture_GetWidth(tex), h = gfx->Texture_GetHeight(tex);
    std::vector<uint32_t> copy(texels, texels + static_cast<size_t>(w) * h);
    gfx->Texture_Unlock(tex);
    return copy;
}

// A mono 16-bit WAVE file of a square wave.
inline std::string Wave(double seconds) {
    const uint32_t rate = 22050;
    uint32_t samples = static_cast<uint32_t>(seconds * rate);
    std::string data;
    for (uint32_t i = 0; i < samples; ++i) {
        int16_t v = (i / 50) % 2 ? 8000 : -8000;
        data.append(reinterpret_cast<const char*>(&v), 2);
    }
    auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [](uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
    return "RIFF" + u32(36 + static_cast<uint32_t>(data.size())) + "WAVE" + "fmt " + u32(16) + u16(1) + u16(1) +
           u32(rate) + u32(rate * 2) + u16(2) + u16(16) + "data" + u32(static_cast<uint32_t>(data.size())) + data;
}

// A 32-bit uncompressed TGA file of these texels, rows top-down.
inline std::string Tga(int width, int height, const std::vector<uint32_t>& argb) {
    std::string t(18, '\0');
    t[2] = 2;
    t[12] = static_cast<char>(width & 0xFF);
    t[13] = static_cast<char>(width >> 8);
    t[14] = static_cast<char>(height & 0xFF);
    t[15] = static_cast<char>(height >> 8);
    t[16] = 32;
    t[17] = 0x28;  // top-left origin, 8 alpha bits
    for (uint32_t c : argb)
        for (int shift = 0; shift < 32; shift += 8) t += static_cast<char>((c >> shift) & 0xFF);
    return t;
}

}  // namespace enginetest
