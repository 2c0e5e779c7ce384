#include "engine/sdl/Textures.h"

#include "engine/Limits.h"
#include "engine/sdl/Log.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace gfxsdl {

namespace {

// Uploads and read-backs bind on a unit of their own, so that the renderer's
// binding on unit 0 stays as it left it.
struct UploadUnit {
    UploadUnit() { glActiveTexture(GL_TEXTURE1); }
    ~UploadUnit() {
        glBindTexture(GL_TEXTURE_2D, 0);
        glActiveTexture(GL_TEXTURE0);
    }
};

// Keeps the framebuffer bindings of the renderer across target creation.
struct FramebufferGuard {
    GLint draw = 0, read = 0;
    FramebufferGuard() {
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
    }
    ~FramebufferGuard() {
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(draw));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read));
    }
};

}  // namespace

bool TextureStore::Init() {
    // No more than the largest picture the loader takes, whatever the driver would.
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &m_MaxSize);
    m_MaxSize = std::min(m_MaxSize, GFX_MAXTEXTURESIDE);
    const uint32_t white = 0xFFFFFFFFu;
    m_White = NewGlTexture(1, 1, &white);
    return m_White != 0;
}

void TextureStore::Clear() {
    for (auto& target : m_Targets) DeleteTarget(target.second);
    m_Targets.clear();
    for (auto& texture : m_Textures) DeleteTexture(texture.second);
    m_Textures.clear();
    if (m_White) glDeleteTextures(1, &m_White);
    m_White = 0;
    m_LastHandle = 0;
    m_LastName = 0;
}

bool TextureStore::SizeOk(int width, int height) const {
    return gfxlimits::SidesAllowed(width, height, m_MaxSize) && m_White != 0;
}

unsigned TextureStore::NewGlTexture(int width, int height, const uint32_t* argb) {
    UploadUnit unit;
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    std::vector<uint32_t> clear;
    if (!argb) {
        clear.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
        argb = clear.data();
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    while (glGetError() != GL_NO_ERROR) {
    }
    // ARGB in a 32-bit word is BGRA in this packing on any byte order.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &name);
        m_Log.Write("Texture: cannot make a texture of %dx%d", width, height);
        return 0;
    }
    return name;
}

HTEXTURE TextureStore::AddTexture(unsigned gl, int width, int height, HTARGET target) {
    HTEXTURE handle = m_NextTexture++;
    Texture& texture = m_Textures[handle];
    texture.gl = gl;
    texture.width = width;
    texture.height = height;
    texture.target = target;
    return handle;
}

HTEXTURE TextureStore::Create(int width, int height) {
    HTEXTURE handle = CreateFromPixels(nullptr, width, height);
    if (handle) m_Textures[handle].blank = true;
    return handle;
}

HTEXTURE TextureStore::CreateFromPixels(const uint32_t* argb, int width, int height) {
    if (!SizeOk(width, height)) return 0;
    unsigned gl = NewGlTexture(width, height, argb);
    return gl ? AddTexture(gl, width, height, 0) : 0;
}

void TextureStore::DeleteTexture(Texture& texture) {
    if (texture.gl) glDeleteTextures(1, &texture.gl);
    texture.gl = 0;
}

void TextureStore::Free(HTEXTURE tex) {
    auto it = m_Textures.find(tex);
    if (it == m_Textures.end() || it->second.target) return;
    DeleteTexture(it->second);
    m_Textures.erase(it);
    if (m_LastHandle == tex) m_LastHandle = m_LastName = 0;
}

int TextureStore::Width(HTEXTURE tex) const {
    auto it = m_Textures.find(tex);
    return it == m_Textures.end() ? 0 : it->second.width;
}

int TextureStore::Height(HTEXTURE tex) const {
    auto it = m_Textures.find(tex);
    return it == m_Textures.end() ? 0 : it->second.height;
}

unsigned TextureStore::Name(HTEXTURE tex) {
    if (tex == m_LastHandle && tex) return m_LastName;
    auto it = m_Textures.find(tex);
    if (it == m_Textures.end()) return 0;
    m_LastHandle = tex;
    m_LastName = it->second.gl;
    return m_LastName;
}

uint32_t* TextureStore::Lock(HTEXTURE tex, bool readOnly, int left, int top, int width, int height) {
    auto it = m_Textures.find(tex);
    if (it == m_Textures.end() || it->second.lock) return nullptr;
    Texture& texture = it->second;
    gfxlimits::LockRect rect{left, top, width, height};
    if (!gfxlimits::FitLock(texture.width, texture.height, rect)) return nullptr;
    size_t count = static_cast<size_t>(texture.width) * static_cast<size_t>(texture.height);
    if (texture.blank) {
        texture.lock.reset(new uint32_t[count]());
    } else {
        texture.lock.reset(new uint32_t[count]);
        UploadUnit unit;
        glBindTexture(GL_TEXTURE_2D, texture.gl);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, texture.lock.get());
    }
    texture.lockReadOnly = readOnly;
    texture.lockLeft = rect.left;
    texture.lockTop = rect.top;
    texture.lockWidth = rect.width;
    texture.lockHeight = rect.height;
    return texture.lock.get() + static_cast<size_t>(rect.top) * texture.width + rect.left;
}

void TextureStore::Unlock(HTEXTURE tex) {
    auto it = m_Textures.find(tex);
    if (it == m_Textures.end() || !it->second.lock) return;
    Texture& texture = it->second;
    if (!texture.lockReadOnly) {
        texture.blank = false;
        UploadUnit unit;
        glBindTexture(GL_TEXTURE_2D, texture.gl);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, texture.width);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        const uint32_t* first =
            texture.lock.get() + static_cast<size_t>(texture.lockTop) * texture.width + texture.lockLeft;
        glTexSubImage2D(GL_TEXTURE_2D, 0, texture.lockLeft, texture.lockTop, texture.lockWidth, texture.lockHeight,
                        GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, first);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }
    texture.lock.reset();
}

HTARGET TextureStore::CreateTarget(int width, int height, bool zbuffer) {
    if (!SizeOk(width, height)) return 0;
    RenderTarget target;
    target.width = width;
    target.height = height;
    target.glTexture = NewGlTexture(width, height, nullptr);
    if (!target.glTexture) return 0;
    FramebufferGuard guard;
    glGenFramebuffers(1, &target.fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, target.fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target.glTexture, 0);
    if (zbuffer) {
        glGenRenderbuffers(1, &target.depth);
        glBindRenderbuffer(GL_RENDERBUFFER, target.depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, target.depth);
    }
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        m_Log.Write("Target_Create: cannot make a target of %dx%d", width, height);
        DeleteTarget(target);
        return 0;
    }
    HTARGET handle = m_NextTarget++;
    target.texture = AddTexture(target.glTexture, width, height, handle);
    m_Targets[handle] = target;
    return handle;
}

void TextureStore::DeleteTarget(RenderTarget& target) {
    if (target.fbo) glDeleteFramebuffers(1, &target.fbo);
    if (target.depth) glDeleteRenderbuffers(1, &target.depth);
    target.fbo = target.depth = 0;
    // The texture is deleted with the texture table.
    if (!target.texture && target.glTexture) glDeleteTextures(1, &target.glTexture);
}

void TextureStore::FreeTarget(HTARGET handle) {
    auto it = m_Targets.find(handle);
    if (it == m_Targets.end()) return;
    RenderTarget& target = it->second;
    auto tex = m_Textures.find(target.texture);
    if (tex != m_Textures.end()) {
        DeleteTexture(tex->second);
        m_Textures.erase(tex);
    }
    if (m_LastHandle == target.texture) m_LastHandle = m_LastName = 0;
    target.texture = 0;
    target.glTexture = 0;
    DeleteTarget(target);
    m_Targets.erase(it);
}

HTEXTURE TextureStore::TargetTexture(HTARGET target) const {
    auto it = m_Targets.find(target);
    return it == m_Targets.end() ? 0 : it->second.texture;
}

const RenderTarget* TextureStore::FindTarget(HTARGET target) const {
    auto it = m_Targets.find(target);
    return it == m_Targets.end() ? nullptr : &it->second;
}

}  // namespace gfxsdl
