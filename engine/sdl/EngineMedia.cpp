// The engine's resource, texture, drawing, sound and input operations: each
// checks what the interface promises for bad arguments and hands on to its
// area's class.
#include "engine/sdl/Engine.h"

#include "engine/sdl/Image.h"

namespace gfxsdl {

// --- Resources ------------------------------------------------------------

bool Engine::Resource_AttachPack(const char* filename, const char* password) {
    return m_Resources.AttachPack(filename, password);
}

void* Engine::Resource_Load(const char* filename, uint32_t* size) { return m_Resources.Load(filename, size); }

const char* Engine::Resource_GetError() { return m_Resources.Error().c_str(); }

void Engine::Resource_Free(void* data) { m_Resources.Free(data); }

const void* Engine::LoadData(const char* filename, uint32_t& size, void*& loaded, const char* what) {
    loaded = nullptr;
    if (!filename) return nullptr;
    if (size) return filename;
    loaded = m_Resources.Load(filename, &size);
    if (!loaded) m_Log.WriteOnce("%s: cannot load %s", what, filename);
    return loaded;
}

// --- Textures and render targets ------------------------------------------

HTEXTURE Engine::Texture_Create(int width, int height) { return m_Initiated ? m_Textures.Create(width, height) : 0; }

HTEXTURE Engine::Texture_CreateFrom(int width, int height, const uint32_t* argb) {
    return m_Initiated && argb ? m_Textures.CreateFromPixels(argb, width, height) : 0;
}

HTEXTURE Engine::Texture_Load(const char* filename, uint32_t size, bool /*mipmap*/) {
    // Mipmaps are not made: 2-D sprites are drawn near 1:1, filtered bilinearly.
    if (!m_Initiated) return 0;
    void* loaded = nullptr;
    const void* data = LoadData(filename, size, loaded, "Texture_Load");
    if (!data) return 0;
    DecodedImage image;
    std::string error;
    bool ok = DecodeImage(data, size, image, error);
    m_Resources.Free(loaded);
    if (!ok) {
        m_Log.WriteOnce("Texture_Load: cannot decode %s: %s", loaded ? filename : "the image in memory", error.c_str());
        return 0;
    }
    return m_Textures.CreateFromPixels(image.argb.data(), image.width, image.height);
}

void Engine::Texture_Free(HTEXTURE tex) {
    unsigned gl = m_Textures.Name(tex);
    if (!gl) return;
    m_Renderer.ForgetTexture(gl);
    m_Textures.Free(tex);
}

// The surface is as large as the image, so both sizes are the same.
int Engine::Texture_GetWidth(HTEXTURE tex, bool /*original*/) { return m_Textures.Width(tex); }

int Engine::Texture_GetHeight(HTEXTURE tex, bool /*original*/) { return m_Textures.Height(tex); }

uint32_t* Engine::Texture_Lock(HTEXTURE tex, bool readOnly, int left, int top, int width, int height) {
    // A target's picture may still wait in the batch.
    m_Renderer.Flush();
    return m_Textures.Lock(tex, readOnly, left, top, width, height);
}

void Engine::Texture_Unlock(HTEXTURE tex) {
    // Quads given before the unlock draw with the texels they saw.
    m_Renderer.Flush();
    m_Textures.Unlock(tex);
}

HTARGET Engine::Target_Create(int width, int height, bool zbuffer) {
    return m_Initiated ? m_Textures.CreateTarget(width, height, zbuffer) : 0;
}

void Engine::Target_Free(HTARGET target) {
    if (!m_Textures.FindTarget(target)) return;
    m_Renderer.ForgetTarget(target);
    m_Renderer.ForgetTexture(m_Textures.Name(m_Textures.TargetTexture(target)));
    m_Textures.FreeTarget(target);
}

HTEXTURE Engine::Target_GetTexture(HTARGET target) { return m_Textures.TargetTexture(target); }

// --- Drawing --------------------------------------------------------------

bool Engine::Gfx_BeginScene(HTARGET target) {
    if (!m_Initiated) return false;
    if (!target) return m_Renderer.BeginScene(0, nullptr);
    const RenderTarget* found = m_Textures.FindTarget(target);
    return found && m_Renderer.BeginScene(target, found);
}

void Engine::Gfx_EndScene() { m_Renderer.EndScene(); }

void Engine::Gfx_Clear(uint32_t color) { m_Renderer.Clear(color); }

void Engine::Gfx_RenderQuad(const gfxQuad* quad) {
    if (!quad || !m_Renderer.InScene()) return;
    unsigned gl = quad->tex ? m_Textures.Name(quad->tex) : m_Textures.WhiteTexture();
    if (gl) m_Renderer.RenderQuad(*quad, gl);
}

void Engine::Gfx_SetClipping(int x, int y, int width, int height) { m_Renderer.SetClipping(x, y, width, height); }

// --- Sound ----------------------------------------------------------------

HEFFECT Engine::Effect_Load(const char* filename, uint32_t size) {
    // Before the audio device is opened an effect could only be silent, and
    // would stay so once sound is on.
    if (!m_Initiated) return 0;
    void* loaded = nullptr;
    const void* data = LoadData(filename, size, loaded, "Effect_Load");
    if (!data) return 0;
    HEFFECT effect = m_Audio.Load(data, size, loaded ? filename : nullptr);
    m_Resources.Free(loaded);
    return effect;
}

void Engine::Effect_Free(HEFFECT effect) { m_Audio.Free(effect); }

HCHANNEL Engine::Effect_PlayEx(HEFFECT effect, int volume, int pan, float pitch, bool loop) {
    return m_Audio.Play(effect, volume, pan, pitch, loop);
}

void Engine::Channel_SetVolume(HCHANNEL channel, int volume) { m_Audio.SetVolume(channel, volume); }
void Engine::Channel_Pause(HCHANNEL channel) { m_Audio.Pause(channel); }
void Engine::Channel_Resume(HCHANNEL channel) { m_Audio.Resume(channel); }
void Engine::Channel_Stop(HCHANNEL channel) { m_Audio.Stop(channel); }
void Engine::Channel_PauseAll() { m_Audio.PauseAll(); }
void Engine::Channel_ResumeAll() { m_Audio.ResumeAll(); }
bool Engine::Channel_IsPlaying(HCHANNEL channel) { return m_Audio.IsPlaying(channel); }

// --- Input ----------------------------------------------------------------

bool Engine::Input_GetEvent(gfxInputEvent* event) { return m_Input.GetEvent(event); }
void Engine::Input_GetMousePos(float* x, float* y) { m_Input.GetMousePos(x, y); }
int Engine::Input_GetMouseWheel() { return m_Input.GetMouseWheel(); }
bool Engine::Input_IsMouseOver() { return m_Input.IsMouseOver(); }
bool Engine::Input_KeyDown(int key) { return m_Input.KeyDown(key); }
bool Engine::Input_KeyUp(int key) { return m_Input.KeyUp(key); }
bool Engine::Input_GetKeyState(int key) { return m_Input.KeyHeld(key); }
int Engine::Input_GetKey() { return m_Input.LastKey(); }
int Engine::Input_GetChar() { return m_Input.LastChar(); }

}  // namespace gfxsdl
