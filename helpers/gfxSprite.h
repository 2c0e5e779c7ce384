// A textured rectangle drawn as one quad: placed by a hot spot, optionally
// rotated, scaled and mirrored, with a colour and depth per corner. It owns
// no texture; whoever loaded the texture frees it after the last sprite.
#pragma once

#include "engine/gfx.h"
#include "helpers/gfxRect.h"

#include <cstdint>

class gfxSprite {
public:
    gfxSprite(HTEXTURE tex, float x, float y, float w, float h);
    gfxSprite(const gfxSprite& spr);
    gfxSprite& operator=(const gfxSprite& spr) = default;
    ~gfxSprite();

    void Render(float x, float y);
    // vscale 0 means vscale = hscale.
    void RenderEx(float x, float y, float rot, float hscale = 1.0f, float vscale = 0.0f);
    void RenderStretch(float x1, float y1, float x2, float y2);
    void Render4V(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3);
    // The corners RenderEx would draw, with vscale used unchanged (0 stays 0).
    gfxRect* GetBoundingBoxEx(float x, float y, float rot, float hscale, float vscale, gfxRect* rect) const;

    void SetFlip(bool bX, bool bY, bool bHotSpot = false);
    void SetTexture(HTEXTURE tex);
    void SetTextureRect(float x, float y, float w, float h, bool adjSize = true);
    // i = -1 sets all four corners; an index outside 0-3 is ignored.
    void SetColor(uint32_t col, int i = -1);
    void SetZ(float z, int i = -1);
    void SetBlendMode(int blend);
    void SetHotSpot(float x, float y);
    HTEXTURE GetTexture() const;

    gfxQuad quad;
    float tx, ty;                 // texel rectangle's top-left corner
    float width, height;          // its size; the drawn size at scale 1
    float tex_width, tex_height;  // surface size, 1 for texture 0
    float hotX, hotY;
    bool bXFlip, bYFlip, bHSFlip;

protected:
    // Shared with gfxAnimation: one reference per live sprite.
    static GFX* gfx;

    // Texture coordinates of the unmirrored rectangle (x, y, w, h) in texels.
    void SetTexCoords(float x, float y, float w, float h);
    // Mirrors freshly laid-out coordinates again by the flags in force.
    void ReapplyFlip();

private:
    // Corner positions RenderEx computes, written into the four vertices.
    void PlaceCorners(gfxVertex* v, float x, float y, float rot, float hscale, float vscale) const;
    void SurfaceSize(HTEXTURE tex, float& w, float& h) const;
    void DrawQuad();
};
