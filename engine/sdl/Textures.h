// Textures and render targets: OpenGL textures (RGBA8, bilinear, repeat) and
// framebuffers, by never-reused handles; locks as ARGB rows, top-down.
//
// Every picture the engine draws into (targets and the screen) keeps its top
// row as row 0 of its texture, like a loaded image, so locks and quads need no
// flipping; only the final copy to the window turns it over.
#pragma once

#include "engine/gfx.h"

#include <cstdint>
#include <memory>
#include <unordered_map>

namespace gfxsdl {

class Log;

struct RenderTarget {
    unsigned fbo = 0;
    unsigned depth = 0;  // depth renderbuffer, 0 = none
    HTEXTURE texture = 0;
    unsigned glTexture = 0;
    int width = 0, height = 0;
};

class TextureStore {
public:
    explicit TextureStore(Log& log) : m_Log(log) {}
    TextureStore(const TextureStore&) = delete;
    TextureStore& operator=(const TextureStore&) = delete;

    // Needs a current context; makes the white texel of untextured quads.
    bool Init();
    // Frees every texture and target (the context still current).
    void Clear();

    HTEXTURE Create(int width, int height);
    HTEXTURE CreateFromPixels(const uint32_t* argb, int width, int height);
    // The texture of a target is freed with its target only.
    void Free(HTEXTURE tex);
    int Width(HTEXTURE tex) const;
    int Height(HTEXTURE tex) const;
    // OpenGL name of a texture, 0 for an unknown handle; fast for a run of
    // the same handle.
    unsigned Name(HTEXTURE tex);
    unsigned WhiteTexture() const { return m_White; }

    uint32_t* Lock(HTEXTURE tex, bool readOnly, int left, int top, int width, int height);
    void Unlock(HTEXTURE tex);

    HTARGET CreateTarget(int width, int height, bool zbuffer);
    void FreeTarget(HTARGET target);
    HTEXTURE TargetTexture(HTARGET target) const;
    const RenderTarget* FindTarget(HTARGET target) const;

private:
    struct Texture {
        unsigned gl = 0;
        int width = 0, height = 0;
        HTARGET target = 0;
        // Made without texels and not written since: all zero, so a lock
        // needs no read-back from OpenGL.
        bool blank = false;
        std::unique_ptr<uint32_t[]> lock;  // whole texture while locked
        bool lockReadOnly = true;
        int lockLeft = 0, lockTop = 0, lockWidth = 0, lockHeight = 0;
    };

    unsigned NewGlTexture(int width, int height, const uint32_t* argb);
    HTEXTURE AddTexture(unsigned gl, int width, int height, HTARGET target);
    void DeleteTexture(Texture& texture);
    void DeleteTarget(RenderTarget& target);
    bool SizeOk(int width, int height) const;

    Log& m_Log;
    std::unordered_map<HTEXTURE, Texture> m_Textures;
    std::unordered_map<HTARGET, RenderTarget> m_Targets;
    HTEXTURE m_NextTexture = 1;
    HTARGET m_NextTarget = 1;
    HTEXTURE m_LastHandle = 0;
    unsigned m_LastName = 0;
    unsigned m_White = 0;
    int m_MaxSize = 0;
};

}  // namespace gfxsdl
