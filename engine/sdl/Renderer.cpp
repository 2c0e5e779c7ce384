#include "engine/sdl/Renderer.h"

#include "engine/sdl/Input.h"
#include "engine/sdl/Log.h"
#include "engine/sdl/Textures.h"
#include "engine/sdl/Window.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace gfxsdl {

namespace {

constexpr int kMaxVertices = Renderer::kMaxQuads * 4;
// The vertex ring holds one whole batch. A batch begun with less than
// kLeastRoom vertices left in it starts a fresh buffer; one that reaches the
// end of the ring is drawn there and goes on in a fresh buffer.
constexpr int kRingVertices = kMaxVertices;
constexpr int kLeastRoom = kMaxVertices / 4;
constexpr size_t kMaxScenes = 8;
static_assert(sizeof(gfxVertex) == 24, "gfxVertex is uploaded as it is");

void SetBlendFunc(int blend) {
    if (blend & BLEND_ALPHABLEND)
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    else
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}

}  // namespace

Renderer::Renderer() { m_Scenes.reserve(kMaxScenes); }

bool Renderer::Init(int screenWidth, int screenHeight, Log& log) {
    m_Log = &log;
    m_ScreenWidth = screenWidth;
    m_ScreenHeight = screenHeight;

    glGenTextures(1, &m_ScreenTexture);
    glBindTexture(GL_TEXTURE_2D, m_ScreenTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, screenWidth, screenHeight, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glGenFramebuffers(1, &m_ScreenFbo);
    glBindFramebuffer(GL_FRAMEBUFFER, m_ScreenFbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_ScreenTexture, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        log.Write("System_Initiate: cannot make the screen's framebuffer of %dx%d", screenWidth, screenHeight);
        Shutdown();
        return false;
    }
    glBindTexture(GL_TEXTURE_2D, 0);

    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_DITHER);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glEnable(GL_SCISSOR_TEST);
    glDepthFunc(GL_LEQUAL);
    glViewport(0, 0, screenWidth, screenHeight);
    glScissor(0, 0, screenWidth, screenHeight);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ResetStateCache();
    m_RingOffset = 0;
    m_DrawCalls = 0;
    return glGetError() == GL_NO_ERROR;
}

void Renderer::MakeVertexBuffers() {
    glGenVertexArrays(1, &m_Vao);
    glBindVertexArray(m_Vao);
    glGenBuffers(1, &m_Vbo);
    glBindBuffer(GL_ARRAY_BUFFER, m_Vbo);
    glBufferData(GL_ARRAY_BUFFER, kRingVertices * sizeof(gfxVertex), nullptr, GL_STREAM_DRAW);
    const GLsizei stride = sizeof(gfxVertex);
    glEnableVertexAttribArray(kAttribPosition);
    glVertexAttribPointer(kAttribPosition, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<void*>(offsetof(gfxVertex, x)));
    // ARGB words are bytes B, G, R, A in memory: GL_BGRA reads them as RGBA.
    glEnableVertexAttribArray(kAttribColor);
    glVertexAttribPointer(kAttribColor, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          reinterpret_cast<void*>(offsetof(gfxVertex, col)));
    glEnableVertexAttribArray(kAttribTexCoord);
    glVertexAttribPointer(kAttribTexCoord, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<void*>(offsetof(gfxVertex, tx)));

    // Two triangles per quad over corners 0-1-2 and 2-3-0, fixed for good.
    std::vector<uint16_t> indices(static_cast<size_t>(kMaxQuads) * 6);
    for (int q = 0; q < kMaxQuads; ++q) {
        uint16_t base = static_cast<uint16_t>(q * 4);
        uint16_t* i = &indices[static_cast<size_t>(q) * 6];
        i[0] = base;
        i[1] = base + 1;
        i[2] = base + 2;
        i[3] = base + 2;
        i[4] = base + 3;
        i[5] = base;
    }
    glGenBuffers(1, &m_Ibo);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_Ibo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, indices.size() * sizeof(uint16_t), indices.data(), GL_STATIC_DRAW);
    m_RingOffset = 0;
}

void Renderer::Shutdown() {
    m_Scenes.clear();
    m_Drawing = false;
    m_Count = 0;
    m_BatchWhite = true;
    m_BatchArea = m_AreaSinceKick = 0.0f;
    if (m_Mapped) glUnmapBuffer(GL_ARRAY_BUFFER);
    m_Mapped = nullptr;
    if (m_ScreenFbo) glDeleteFramebuffers(1, &m_ScreenFbo);
    if (m_ScreenTexture) glDeleteTextures(1, &m_ScreenTexture);
    if (m_Ibo) glDeleteBuffers(1, &m_Ibo);
    if (m_Vbo) glDeleteBuffers(1, &m_Vbo);
    if (m_Vao) glDeleteVertexArrays(1, &m_Vao);
    m_ScreenFbo = m_ScreenTexture = m_Ibo = m_Vbo = m_Vao = 0;
    for (QuadProgram& program : m_Programs) DeleteQuadProgram(program);
    for (bool& failed : m_ProgramFailed) failed = false;
}

void Renderer::ResetStateCache() {
    m_BoundTexture = -1;
    m_GlBlend = -1;
    m_GlShading = -1;
    m_GlDepthWrite = -1;
}

bool Renderer::BeginScene(HTARGET handle, const RenderTarget* target) {
    if (!m_ScreenFbo || m_Scenes.size() >= kMaxScenes) return false;
    for (const Scene& open : m_Scenes)
        if (open.handle == handle) return false;
    Flush();
    Scene scene;
    scene.handle = handle;
    if (target) {
        scene.fbo = target->fbo;
        scene.width = target->width;
        scene.height = target->height;
        scene.depth = target->depth != 0;
    } else {
        scene.fbo = m_ScreenFbo;
        scene.width = m_ScreenWidth;
        scene.height = m_ScreenHeight;
    }
    scene.clipWidth = scene.width;
    scene.clipHeight = scene.height;
    m_Scenes.push_back(scene);
    BindScene(scene);
    return true;
}

void Renderer::EndScene() {
    if (m_Scenes.empty()) return;
    Flush();
    m_Scenes.pop_back();
    if (m_Scenes.empty())
        m_Drawing = false;
    else
        BindScene(m_Scenes.back());
}

void Renderer::EndAllScenes() {
    while (!m_Scenes.empty()) EndScene();
}

void Renderer::BindScene(const Scene& scene) {
    m_Drawing = scene.alive;
    if (!scene.alive) return;
    glBindFramebuffer(GL_FRAMEBUFFER, scene.fbo);
    glViewport(0, 0, scene.width, scene.height);
    m_ScaleX = 2.0f / static_cast<float>(scene.width);
    m_ScaleY = 2.0f / static_cast<float>(scene.height);
    if (scene.depth)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    ApplyClip(scene);
}

void Renderer::ApplyClip(const Scene& scene) { glScissor(scene.clipX, scene.clipY, scene.clipWidth, scene.clipHeight); }

void Renderer::SetClipping(int x, int y, int width, int height) {
    if (m_Scenes.empty()) return;
    Scene& scene = m_Scenes.back();
    int x0 = 0, y0 = 0, x1 = scene.width, y1 = scene.height;
    if (x || y || width || height) {
        // In 64 bits, so that huge sizes cannot overflow.
        x0 = static_cast<int>(std::clamp<long long>(x, 0, scene.width));
        y0 = static_cast<int>(std::clamp<long long>(y, 0, scene.height));
        x1 = static_cast<int>(std::clamp<long long>(static_cast<long long>(x) + width, x0, scene.width));
        y1 = static_cast<int>(std::clamp<long long>(static_cast<long long>(y) + height, y0, scene.height));
    }
    if (x0 == scene.clipX && y0 == scene.clipY && x1 - x0 == scene.clipWidth && y1 - y0 == scene.clipHeight) return;
    Flush();
    scene.clipX = x0;
    scene.clipY = y0;
    scene.clipWidth = x1 - x0;
    scene.clipHeight = y1 - y0;
    if (m_Drawing) ApplyClip(scene);
}

void Renderer::Clear(uint32_t argb) {
    if (!m_Drawing) return;
    Flush();
    const float k = 1.0f / 255.0f;
    glClearColor(static_cast<float>((argb >> 16) & 0xFF) * k, static_cast<float>((argb >> 8) & 0xFF) * k,
                 static_cast<float>(argb & 0xFF) * k, static_cast<float>(argb >> 24) * k);
    GLbitfield bits = GL_COLOR_BUFFER_BIT;
    if (m_Scenes.back().depth) {
        // Depth clears only where writing is on.
        glDepthMask(GL_TRUE);
        m_GlDepthWrite = 1;
        glClearDepth(1.0);
        bits |= GL_DEPTH_BUFFER_BIT;
    }
    glClear(bits);
}

bool Renderer::ApplyBatchState() {
    int shading = (m_BatchBlend & BLEND_COLORADD) ? kShadeAdd : m_BatchWhite ? kShadeTexel : kShadeMultiply;
    QuadProgram& program = m_Programs[shading];
    if (!program.program) {
        if (m_ProgramFailed[shading]) return false;
        if (!BuildQuadProgram(program, static_cast<QuadShading>(shading), *m_Log)) {
            m_ProgramFailed[shading] = true;
            return false;
        }
        m_GlShading = shading;
    }
    if (m_GlShading != shading) {
        glUseProgram(program.program);
        m_GlShading = shading;
    }
    if (program.scaleX != m_ScaleX || program.scaleY != m_ScaleY) {
        glUniform2f(program.scale, m_ScaleX, m_ScaleY);
        program.scaleX = m_ScaleX;
        program.scaleY = m_ScaleY;
    }

    if (m_BoundTexture != static_cast<long>(m_BatchTexture)) {
        glBindTexture(GL_TEXTURE_2D, m_BatchTexture);
        m_BoundTexture = static_cast<long>(m_BatchTexture);
    }
    int blend = m_BatchBlend & BLEND_ALPHABLEND;
    if (m_GlBlend != blend) {
        SetBlendFunc(blend);
        m_GlBlend = blend;
    }
    int depthWrite = (m_BatchBlend & BLEND_ZWRITE) ? 1 : 0;
    if (m_GlDepthWrite != depthWrite) {
        glDepthMask(depthWrite ? GL_TRUE : GL_FALSE);
        m_GlDepthWrite = depthWrite;
    }
    return true;
}

bool Renderer::MapBatch() {
    if (!m_Vao) MakeVertexBuffers();
    // A ring through the buffer: each batch is written behind the last one,
    // so it never waits for a draw still reading.
    if (kRingVertices - m_RingOffset < kLeastRoom) {
        glBufferData(GL_ARRAY_BUFFER, kRingVertices * sizeof(gfxVertex), nullptr, GL_STREAM_DRAW);
        m_RingOffset = 0;
    }
    const int room = kRingVertices - m_RingOffset;
    m_Mapped = static_cast<gfxVertex*>(glMapBufferRange(
        GL_ARRAY_BUFFER, static_cast<GLintptr>(m_RingOffset) * sizeof(gfxVertex), room * sizeof(gfxVertex),
        GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_FLUSH_EXPLICIT_BIT));
    m_Room = m_Mapped ? room / 4 : 0;
    if (!m_Mapped) m_Log->WriteOnce("Drawing: OpenGL does not map the vertex buffer");
    return m_Mapped != nullptr;
}

void Renderer::Flush() {
    if (!m_Mapped) return;
    const int vertices = m_Count * 4;
    glFlushMappedBufferRange(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(vertices) * sizeof(gfxVertex));
    glUnmapBuffer(GL_ARRAY_BUFFER);
    m_Mapped = nullptr;
    if (ApplyBatchState()) {
        glDrawElementsBaseVertex(GL_TRIANGLES, m_Count * 6, GL_UNSIGNED_SHORT, nullptr, m_RingOffset);
        ++m_DrawCalls;
        m_AreaSinceKick += m_BatchArea;
        if (m_AreaSinceKick >= kKickArea) {
            glFlush();
            m_AreaSinceKick = 0.0f;
        }
    }
    m_RingOffset += vertices;
    m_Count = 0;
    m_BatchWhite = true;
    m_BatchArea = 0.0f;
}

void Renderer::ForgetTarget(HTARGET handle) {
    if (!handle) return;
    bool top = !m_Scenes.empty() && m_Scenes.back().handle == handle;
    if (top) Flush();
    for (Scene& scene : m_Scenes)
        if (scene.handle == handle) scene.alive = false;
    if (top) m_Drawing = false;
}

void Renderer::ForgetTexture(unsigned glTexture) {
    if (m_Count && m_BatchTexture == glTexture) Flush();
    if (m_BoundTexture == static_cast<long>(glTexture)) m_BoundTexture = -1;
}

bool Renderer::ReadScreen(std::vector<uint32_t>& argb) {
    if (!m_ScreenFbo) return false;
    Flush();
    argb.resize(static_cast<size_t>(m_ScreenWidth) * static_cast<size_t>(m_ScreenHeight));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_ScreenFbo);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, m_ScreenWidth, m_ScreenHeight, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb.data());
    GLuint current = m_Scenes.empty() || !m_Scenes.back().alive ? m_ScreenFbo : m_Scenes.back().fbo;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, current);
    return glGetError() == GL_NO_ERROR;
}

void Renderer::Present(Window& window, PointerMapping& mapping) {
    if (!m_ScreenFbo) return;
    Flush();
    int drawW = 0, drawH = 0, winW = 0, winH = 0;
    window.DrawableSize(&drawW, &drawH);
    window.WindowSize(&winW, &winH);
    if (drawW <= 0 || drawH <= 0) drawW = m_ScreenWidth, drawH = m_ScreenHeight;
    // Scaled to fit and centred (full screen); 1:1 in a window of the screen's size.
    double scale = std::min(static_cast<double>(drawW) / m_ScreenWidth, static_cast<double>(drawH) / m_ScreenHeight);
    int w = static_cast<int>(m_ScreenWidth * scale + 0.5), h = static_cast<int>(m_ScreenHeight * scale + 0.5);
    int x = (drawW - w) / 2, y = (drawH - h) / 2;

    glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_ScreenFbo);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    if (w != drawW || h != drawH) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // The window's row 0 is its bottom row: the copy turns the picture over.
    glBlitFramebuffer(0, 0, m_ScreenWidth, m_ScreenHeight, x, y + h, x + w, y, GL_COLOR_BUFFER_BIT,
                      w == m_ScreenWidth && h == m_ScreenHeight ? GL_NEAREST : GL_LINEAR);
    window.Swap();
    glEnable(GL_SCISSOR_TEST);
    if (!m_Scenes.empty())
        BindScene(m_Scenes.back());
    else
        glBindFramebuffer(GL_FRAMEBUFFER, m_ScreenFbo);

    double units = winW > 0 ? static_cast<double>(winW) / drawW : 1.0;
    double unitsY = winH > 0 ? static_cast<double>(winH) / drawH : 1.0;
    mapping.offsetX = static_cast<float>(x * units);
    mapping.offsetY = static_cast<float>(y * unitsY);
    mapping.scaleX = static_cast<float>(m_ScreenWidth / (w * units));
    mapping.scaleY = static_cast<float>(m_ScreenHeight / (h * unitsY));
}

}  // namespace gfxsdl
