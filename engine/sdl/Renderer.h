// Drawing: scenes on the screen or a render target, the quad batch and the
// copy of the screen to the window.
//
// Quads are written straight into a mapped range of a vertex buffer and go to
// OpenGL in one draw call per run of equal texture and blend mode. The batch
// is flushed when the texture, the blend mode, the target or the clipping
// changes, when it is full (kMaxQuads, or a long run reaching the end of the
// vertex ring), when its quads cover about kKickArea pixels, and when the
// scene ends (or the engine must read or change what the batch would draw
// into). The screen is an off-screen framebuffer copied to the window
// once per frame, so a scene ended and begun again mid-frame keeps its
// picture and a snapshot can read it at any time. Shader programs and vertex
// buffers are made when the first quad needs them: a run that draws nothing
// never compiles a shader.
#pragma once

#include "engine/gfx.h"
#include "engine/sdl/Shader.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace gfxsdl {

class Log;
class Window;
struct PointerMapping;
struct RenderTarget;

class Renderer {
public:
    // Quads per draw call at most: 65536 vertices, 16-bit indices.
    static constexpr int kMaxQuads = 16384;
    // Pixels of quads drawn before OpenGL is told to start on them: a
    // software rasterizer then fills the first of a frame while the rest is
    // made, and frames of small quads pay no extra hand-over.
    static constexpr float kKickArea = 1048576.0f;

    Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Needs a current context. False (reason logged) on failure.
    bool Init(int screenWidth, int screenHeight, Log& log);
    void Shutdown();

    bool InScene() const { return !m_Scenes.empty(); }
    // target null = the screen. False when that scene is open already or
    // scenes are nested too deep.
    bool BeginScene(HTARGET handle, const RenderTarget* target);
    void EndScene();
    void EndAllScenes();
    void Clear(uint32_t argb);
    // glTexture: the OpenGL texture of quad.tex (the white one for 0).
    void RenderQuad(const gfxQuad& quad, unsigned glTexture) {
        if (!m_Drawing) return;
        int blend = quad.blend & (BLEND_COLORADD | BLEND_ALPHABLEND | BLEND_ZWRITE);
        if (m_Count &&
            (glTexture != m_BatchTexture || blend != m_BatchBlend || m_Count == m_Room || m_BatchArea >= kKickArea))
            Flush();
        if (!m_Mapped && !MapBatch()) return;
        m_BatchTexture = glTexture;
        m_BatchBlend = blend;
        m_BatchWhite &= (quad.v[0].col & quad.v[1].col & quad.v[2].col & quad.v[3].col) == 0xFFFFFFFFu;
        m_BatchArea += std::fabs((quad.v[2].x - quad.v[0].x) * (quad.v[2].y - quad.v[0].y));
        static_assert(sizeof quad.v == 4 * sizeof(gfxVertex), "four corners");
        std::memcpy(m_Mapped + static_cast<size_t>(m_Count) * 4, quad.v, sizeof quad.v);
        ++m_Count;
    }
    void SetClipping(int x, int y, int width, int height);
    void Flush();

    // A freed target is no longer drawn into, even by a scene still open on it.
    void ForgetTarget(HTARGET handle);
    // A deleted OpenGL texture name may come back from OpenGL as a new one.
    void ForgetTexture(unsigned glTexture);

    int ScreenWidth() const { return m_ScreenWidth; }
    int ScreenHeight() const { return m_ScreenHeight; }
    // The screen's picture as ARGB rows, top-down.
    bool ReadScreen(std::vector<uint32_t>& argb);
    // Copies the screen to the window and shows it; `mapping` receives how
    // window coordinates fall on the screen's pixels.
    void Present(Window& window, PointerMapping& mapping);

    uint64_t DrawCalls() const { return m_DrawCalls; }

private:
    struct Scene {
        HTARGET handle = 0;
        unsigned fbo = 0;
        int width = 0, height = 0;
        bool depth = false;
        bool alive = true;
        int clipX = 0, clipY = 0, clipWidth = 0, clipHeight = 0;
    };

    void BindScene(const Scene& scene);
    void ApplyClip(const Scene& scene);
    // False when the batch's program cannot be built (logged once).
    bool ApplyBatchState();
    void ResetStateCache();
    void MakeVertexBuffers();
    // Maps the rest of the vertex ring behind the last batch; false (quads
    // are dropped) when OpenGL gives no mapping.
    bool MapBatch();

    Log* m_Log = nullptr;
    QuadProgram m_Programs[kShadingCount];
    bool m_ProgramFailed[kShadingCount] = {};
    float m_ScaleX = 0.0f, m_ScaleY = 0.0f;  // pixels to clip space in the bound scene
    unsigned m_Vao = 0, m_Vbo = 0, m_Ibo = 0;
    unsigned m_ScreenFbo = 0, m_ScreenTexture = 0;
    int m_ScreenWidth = 0, m_ScreenHeight = 0;

    gfxVertex* m_Mapped = nullptr;  // the open batch's room in the vertex buffer
    int m_Room = 0;                 // quads the mapped room holds
    int m_Count = 0;
    unsigned m_BatchTexture = 0;
    int m_BatchBlend = BLEND_DEFAULT;
    bool m_BatchWhite = true;  // every corner of the batch is opaque white
    int m_RingOffset = 0;      // in vertices, into the vertex buffer

    std::vector<Scene> m_Scenes;
    bool m_Drawing = false;  // a scene is open on a live framebuffer

    // What OpenGL is set to now; -1 = unknown.
    long m_BoundTexture = -1;
    int m_GlBlend = -1;
    int m_GlShading = -1;
    int m_GlDepthWrite = -1;

    uint64_t m_DrawCalls = 0;
    float m_BatchArea = 0.0f;  // pixels the batch covers, about
    float m_AreaSinceKick = 0.0f;
};

}  // namespace gfxsdl
