// The GFX interface on SDL2, OpenGL 3.3, libzip, and SDL2_image and
// SDL2_mixer (each opened when first needed).
// This class holds the states and runs the loop; each area is a class of its
// own that it delegates to.
#pragma once

#include "engine/gfx.h"
#include "engine/sdl/Audio.h"
#include "engine/sdl/HangUpSignal.h"
#include "engine/sdl/Input.h"
#include "engine/sdl/LaunchStamp.h"
#include "engine/sdl/Log.h"
#include "engine/sdl/Renderer.h"
#include "engine/sdl/Resources.h"
#include "engine/sdl/Textures.h"
#include "engine/sdl/Timer.h"
#include "engine/sdl/Window.h"

#include <map>
#include <random>
#include <string>
#include <vector>

namespace gfxsdl {

class Engine final : public GFX {
public:
    // The live engine, or null.
    static Engine* Instance();
    static Engine* Acquire();  // gfxCreate: creates on first use, one more reference

    uint64_t DrawCalls() const { return m_Renderer.DrawCalls(); }

    void Release() override;

    bool System_Initiate() override;
    void System_Shutdown() override;
    bool System_Start() override;
    void System_SetState(gfxBoolState state, bool value) override;
    void System_SetState(gfxFuncState state, gfxCallback value) override;
    void System_SetState(gfxIntState state, int value) override;
    void System_SetState(gfxStringState state, const char* value) override;
    bool System_GetState(gfxBoolState state) override;
    int System_GetState(gfxIntState state) override;
    const char* System_GetState(gfxStringState state) override;
    void System_Log(const char* format, ...) override __attribute__((format(printf, 2, 3)));
    bool System_Snapshot(const char* filename) override;
    void System_RegisterIcon(int id, const uint32_t* argb, int width, int height) override;

    bool Resource_AttachPack(const char* filename, const char* password) override;
    void* Resource_Load(const char* filename, uint32_t* size) override;
    const char* Resource_GetError() override;
    void Resource_Free(void* data) override;

    HTEXTURE Texture_Create(int width, int height) override;
    HTEXTURE Texture_CreateFrom(int width, int height, const uint32_t* argb) override;
    HTEXTURE Texture_Load(const char* filename, uint32_t size, bool mipmap) override;
    void Texture_Free(HTEXTURE tex) override;
    int Texture_GetWidth(HTEXTURE tex, bool original) override;
    int Texture_GetHeight(HTEXTURE tex, bool original) override;
    uint32_t* Texture_Lock(HTEXTURE tex, bool readOnly, int left, int top, int width, int height) override;
    void Texture_Unlock(HTEXTURE tex) override;
    HTARGET Target_Create(int width, int height, bool zbuffer) override;
    void Target_Free(HTARGET target) override;
    HTEXTURE Target_GetTexture(HTARGET target) override;

    bool Gfx_BeginScene(HTARGET target) override;
    void Gfx_EndScene() override;
    void Gfx_Clear(uint32_t color) override;
    void Gfx_RenderQuad(const gfxQuad* quad) override;
    void Gfx_SetClipping(int x, int y, int width, int height) override;

    HEFFECT Effect_Load(const char* filename, uint32_t size) override;
    void Effect_Free(HEFFECT effect) override;
    HCHANNEL Effect_PlayEx(HEFFECT effect, int volume, int pan, float pitch, bool loop) override;
    void Channel_SetVolume(HCHANNEL channel, int volume) override;
    void Channel_Pause(HCHANNEL channel) override;
    void Channel_Resume(HCHANNEL channel) override;
    void Channel_Stop(HCHANNEL channel) override;
    void Channel_PauseAll() override;
    void Channel_ResumeAll() override;
    bool Channel_IsPlaying(HCHANNEL channel) override;

    bool Input_GetEvent(gfxInputEvent* event) override;
    void Input_GetMousePos(float* x, float* y) override;
    int Input_GetMouseWheel() override;
    bool Input_IsMouseOver() override;
    bool Input_KeyDown(int key) override;
    bool Input_KeyUp(int key) override;
    bool Input_GetKeyState(int key) override;
    int Input_GetKey() override;
    int Input_GetChar() override;

    float Timer_GetDelta() override;
    int Timer_GetFPS() override;
    float Random_Float(float min, float max) override;

private:
    Engine();
    ~Engine();

    bool Initiate();
    // Takes in the window's events; false when the window was closed or the
    // program asked to end (SIGINT, SIGTERM, SIGHUP).
    bool PumpEvents();
    void ApplyIcon();
    // Loads a file named or given in memory (size non-zero): the data and,
    // when it came from Resource_Load, the buffer to free.
    const void* LoadData(const char* filename, uint32_t& size, void*& loaded, const char* what);

    int m_RefCount = 0;
    bool m_Initiated = false;

    Log m_Log;
    Window m_Window;
    TextureStore m_Textures;
    Renderer m_Renderer;
    Resources m_Resources;
    Audio m_Audio;
    Input m_Input;
    FrameTimer m_Timer;
    LaunchStamp m_LaunchStamp;
    HangUpSignal m_HangUp;
    std::mt19937 m_Random;

    // States (defaults in gfx.h).
    bool m_Windowed = true, m_UseSound = true, m_HideMouse = true, m_ShowSplash = false;
    gfxCallback m_FrameFunc = nullptr, m_RenderFunc = nullptr;
    gfxCallback m_FocusLostFunc = nullptr, m_FocusGainFunc = nullptr;
    int m_ScreenWidth = 800, m_ScreenHeight = 600, m_ScreenBpp = 32;
    int m_FxVolume = 100, m_MusicVolume = 100, m_StreamVolume = 100;
    int m_Fps = GFXFPS_UNLIMITED;
    int m_IconId = -1;
    std::string m_Title = "Brindlewick";

    struct Icon {
        int width = 0, height = 0;
        std::vector<uint32_t> argb;
    };
    std::map<int, Icon> m_Icons;
};

}  // namespace gfxsdl
