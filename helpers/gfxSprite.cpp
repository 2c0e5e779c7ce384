#include "helpers/gfxSprite.h"

#include <cmath>
#include <utility>

GFX* gfxSprite::gfx = nullptr;

gfxSprite::gfxSprite(HTEXTURE tex, float x, float y, float w, float h)
    : quad(), tx(x), ty(y), width(w), height(h), hotX(0.0f), hotY(0.0f), bXFlip(false), bYFlip(false), bHSFlip(false) {
    gfx = gfxCreate(GFX_VERSION);
    SurfaceSize(tex, tex_width, tex_height);
    quad.tex = tex;
    quad.blend = BLEND_DEFAULT;
    SetTexCoords(x, y, w, h);
    for (gfxVertex& v : quad.v) {
        v.z = 0.5f;
        v.col = 0xFFFFFFFF;
    }
}

gfxSprite::gfxSprite(const gfxSprite& spr)
    : quad(spr.quad),
      tx(spr.tx),
      ty(spr.ty),
      width(spr.width),
      height(spr.height),
      tex_width(spr.tex_width),
      tex_height(spr.tex_height),
      hotX(spr.hotX),
      hotY(spr.hotY),
      bXFlip(spr.bXFlip),
      bYFlip(spr.bYFlip),
      bHSFlip(spr.bHSFlip) {
    gfx = gfxCreate(GFX_VERSION);
}

gfxSprite::~gfxSprite() {
    if (gfx) gfx->Release();
}

void gfxSprite::SurfaceSize(HTEXTURE tex, float& w, float& h) const {
    w = h = 1.0f;
    if (!tex || !gfx) return;
    const int tw = gfx->Texture_GetWidth(tex, false);
    const int th = gfx->Texture_GetHeight(tex, false);
    // A freed or empty texture reports 0: take it as 1 like texture 0 so no
    // texture coordinate becomes infinite or NaN.
    if (tw > 0) w = static_cast<float>(tw);
    if (th > 0) h = static_cast<float>(th);
}

void gfxSprite::SetTexCoords(float x, float y, float w, float h) {
    const float tu1 = x / tex_width;
    const float tv1 = y / tex_height;
    const float tu2 = (x + w) / tex_width;
    const float tv2 = (y + h) / tex_height;
    quad.v[0].tx = tu1;
    quad.v[0].ty = tv1;
    quad.v[1].tx = tu2;
    quad.v[1].ty = tv1;
    quad.v[2].tx = tu2;
    quad.v[2].ty = tv2;
    quad.v[3].tx = tu1;
    quad.v[3].ty = tv2;
}

void gfxSprite::ReapplyFlip() {
    const bool bX = bXFlip;
    const bool bY = bYFlip;
    bXFlip = bYFlip = false;
    SetFlip(bX, bY, bHSFlip);
}

void gfxSprite::DrawQuad() {
    if (gfx) gfx->Gfx_RenderQuad(&quad);
}

void gfxSprite::Render(float x, float y) {
    const float left = x - hotX;
    const float top = y - hotY;
    const float right = x + width - hotX;
    const float bottom = y + height - hotY;
    quad.v[0].x = left;
    quad.v[0].y = top;
    quad.v[1].x = right;
    quad.v[1].y = top;
    quad.v[2].x = right;
    quad.v[2].y = bottom;
    quad.v[3].x = left;
    quad.v[3].y = bottom;
    DrawQuad();
}

void gfxSprite::PlaceCorners(gfxVertex* v, float x, float y, float rot, float hscale, float vscale) const {
    const float ox1 = -hotX * hscale;
    const float oy1 = -hotY * vscale;
    const float ox2 = (width - hotX) * hscale;
    const float oy2 = (height - hotY) * vscale;
    const float ox[4] = {ox1, ox2, ox2, ox1};
    const float oy[4] = {oy1, oy1, oy2, oy2};
    if (rot != 0.0f) {
        const float c = static_cast<float>(std::cos(static_cast<double>(rot)));
        const float s = static_cast<float>(std::sin(static_cast<double>(rot)));
        for (int i = 0; i < 4; ++i) {
            v[i].x = ox[i] * c - oy[i] * s + x;
            v[i].y = ox[i] * s + oy[i] * c + y;
        }
        return;
    }
    for (int i = 0; i < 4; ++i) {
        v[i].x = ox[i] + x;
        v[i].y = oy[i] + y;
    }
}

void gfxSprite::RenderEx(float x, float y, float rot, float hscale, float vscale) {
    if (vscale == 0.0f) vscale = hscale;
    PlaceCorners(quad.v, x, y, rot, hscale, vscale);
    DrawQuad();
}

void gfxSprite::RenderStretch(float x1, float y1, float x2, float y2) { Render4V(x1, y1, x2, y1, x2, y2, x1, y2); }

void gfxSprite::Render4V(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3) {
    quad.v[0].x = x0;
    quad.v[0].y = y0;
    quad.v[1].x = x1;
    quad.v[1].y = y1;
    quad.v[2].x = x2;
    quad.v[2].y = y2;
    quad.v[3].x = x3;
    quad.v[3].y = y3;
    DrawQuad();
}

gfxRect* gfxSprite::GetBoundingBoxEx(float x, float y, float rot, float hscale, float vscale, gfxRect* rect) const {
    if (!rect) return rect;
    gfxVertex v[4];
    PlaceCorners(v, x, y, rot, hscale, vscale);
    rect->Clear();
    for (const gfxVertex& corner : v) rect->Encapsulate(corner.x, corner.y);
    return rect;
}

void gfxSprite::SetFlip(bool bX, bool bY, bool bHotSpot) {
    // The hot spot's old mirroring is undone and the new one applied, both by
    // the flags as they stand on entry.
    if (bHSFlip) {
        if (bXFlip) hotX = width - hotX;
        if (bYFlip) hotY = height - hotY;
    }
    bHSFlip = bHotSpot;
    if (bHSFlip) {
        if (bXFlip) hotX = width - hotX;
        if (bYFlip) hotY = height - hotY;
    }
    gfxVertex* v = quad.v;
    if (bX != bXFlip) {
        std::swap(v[0].tx, v[1].tx);
        std::swap(v[0].ty, v[1].ty);
        std::swap(v[3].tx, v[2].tx);
        std::swap(v[3].ty, v[2].ty);
        bXFlip = !bXFlip;
    }
    if (bY != bYFlip) {
        std::swap(v[0].tx, v[3].tx);
        std::swap(v[0].ty, v[3].ty);
        std::swap(v[1].tx, v[2].tx);
        std::swap(v[1].ty, v[2].ty);
        bYFlip = !bYFlip;
    }
}

void gfxSprite::SetTexture(HTEXTURE tex) {
    quad.tex = tex;
    float tw, th;
    SurfaceSize(tex, tw, th);
    if (tw == tex_width && th == tex_height) return;
    // Corners 0 and 2 are taken as they stand, so mirroring survives.
    const float tu1 = quad.v[0].tx * tex_width;
    const float tv1 = quad.v[0].ty * tex_height;
    const float tu2 = quad.v[2].tx * tex_width;
    const float tv2 = quad.v[2].ty * tex_height;
    tex_width = tw;
    tex_height = th;
    quad.v[0].tx = tu1 / tw;
    quad.v[0].ty = tv1 / th;
    quad.v[1].tx = tu2 / tw;
    quad.v[1].ty = tv1 / th;
    quad.v[2].tx = tu2 / tw;
    quad.v[2].ty = tv2 / th;
    quad.v[3].tx = tu1 / tw;
    quad.v[3].ty = tv2 / th;
}

void gfxSprite::SetTextureRect(float x, float y, float w, float h, bool adjSize) {
    tx = x;
    ty = y;
    if (adjSize) {
        width = w;
        height = h;
    }
    SetTexCoords(x, y, w, h);
    ReapplyFlip();
}

void gfxSprite::SetColor(uint32_t col, int i) {
    if (i == -1) {
        for (gfxVertex& v : quad.v) v.col = col;
    } else if (i >= 0 && i < 4) {
        quad.v[i].col = col;
    }
}

void gfxSprite::SetZ(float z, int i) {
    if (i == -1) {
        for (gfxVertex& v : quad.v) v.z = z;
    } else if (i >= 0 && i < 4) {
        quad.v[i].z = z;
    }
}

void gfxSprite::SetBlendMode(int blend) { quad.blend = blend; }

void gfxSprite::SetHotSpot(float x, float y) {
    hotX = x;
    hotY = y;
}

HTEXTURE gfxSprite::GetTexture() const { return quad.tex; }
