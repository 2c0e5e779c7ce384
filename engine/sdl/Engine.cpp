// Life of the engine, its states, the loop and the snapshot.
#include "engine/sdl/Engine.h"

#include "engine/sdl/Bmp.h"
#include "engine/sdl/Hooks.h"
#include "engine/sdl/Paths.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>

namespace gfxsdl {

namespace {

Engine* g_Engine = nullptr;

}  // namespace

Engine* Engine::Instance() { return g_Engine; }

Engine* Engine::Acquire() {
    if (!g_Engine) g_Engine = new Engine();
    ++g_Engine->m_RefCount;
    return g_Engine;
}

Engine::Engine()
    : m_Textures(m_Log),
      m_Resources(m_Log),
      m_Audio(m_Log),
      m_Random(static_cast<std::mt19937::result_type>(std::chrono::steady_clock::now().time_since_epoch().count())) {}

Engine::~Engine() { System_Shutdown(); }

void Engine::Release() {
    if (--m_RefCount > 0) return;
    if (g_Engine == this) g_Engine = nullptr;
    delete this;
}

// --- System ---------------------------------------------------------------

bool Engine::System_Initiate() {
    if (m_Initiated) return true;
    if (Initiate()) return true;
    // Without a log file the reason would be lost.
    if (m_Log.Name().empty()) std::fprintf(stderr, "%s\n", m_Log.Last().c_str());
    return false;
}

bool Engine::Initiate() {
    WindowSettings settings;
    settings.title = m_Title;
    settings.width = m_ScreenWidth;
    settings.height = m_ScreenHeight;
    settings.windowed = m_Windowed;
    settings.hidePointer = m_HideMouse;
    if (m_ScreenWidth <= 0 || m_ScreenHeight <= 0) {
        m_Log.Write("System_Initiate: no window: the screen size %dx%d is not valid", m_ScreenWidth, m_ScreenHeight);
        return false;
    }
    if (!m_Window.Open(settings, m_Log)) return false;
    if (!m_Renderer.Init(m_ScreenWidth, m_ScreenHeight, m_Log) || !m_Textures.Init()) {
        m_Log.Write("System_Initiate: OpenGL could not be set up");
        m_Textures.Clear();
        m_Renderer.Shutdown();
        m_Window.Close();
        return false;
    }
    m_Initiated = true;
    m_HangUp.Catch();
    SDL_version sdl;
    SDL_GetVersion(&sdl);
    m_Log.Write("Engine: SDL %d.%d.%d (%s), OpenGL %s (%s), screen %dx%d, %s", sdl.major, sdl.minor, sdl.patch,
                SDL_GetCurrentVideoDriver(), reinterpret_cast<const char*>(glGetString(GL_VERSION)),
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)), m_ScreenWidth, m_ScreenHeight,
                m_Windowed ? "windowed" : "full screen");
    ApplyIcon();
    if (m_UseSound && m_Audio.Open()) {
        m_Audio.SetEffectsVolume(m_FxVolume);
        m_Audio.SetMusicVolume(m_MusicVolume);
        m_Audio.SetStreamVolume(m_StreamVolume);
    }
    m_Input.Reset();
    m_Input.SetMapping(PointerMapping());
    m_Input.SetMouseOver(m_Window.HasMouseFocus());
    return true;
}

void Engine::System_Shutdown() {
    m_Audio.Close();
    m_Resources.Clear();
    if (!m_Initiated) return;
    m_Textures.Clear();
    m_Renderer.Shutdown();
    m_Window.Close();
    m_Input.Reset();
    m_HangUp.Release();
    m_Initiated = false;
}

bool Engine::PumpEvents() {
    bool open = !m_HangUp.Take();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            open = false;
            continue;
        }
        if (event.type != SDL_WINDOWEVENT) {
            m_Input.Handle(event);
            continue;
        }
        switch (event.window.event) {
            case SDL_WINDOWEVENT_FOCUS_LOST:
                m_Input.ReleaseAll();
                if (m_FocusLostFunc) m_FocusLostFunc();
                break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                if (m_FocusGainFunc) m_FocusGainFunc();
                break;
            case SDL_WINDOWEVENT_CLOSE:
                open = false;
                break;
            case SDL_WINDOWEVENT_ENTER:
                m_Input.SetMouseOver(true);
                break;
            case SDL_WINDOWEVENT_LEAVE:
                m_Input.SetMouseOver(false);
                break;
            default:
                break;
        }
    }
    return open;
}

bool Engine::System_Start() {
    if (!m_Initiated) {
        m_Log.Write("System_Start: System_Initiate was not called");
        return false;
    }
    if (!m_FrameFunc) {
        m_Log.Write("System_Start: no frame function");
        return false;
    }
    m_Timer.Start();
    for (;;) {
        m_Timer.WaitForNextFrame(m_Fps);
        m_Timer.BeginFrame();
        m_Input.BeginFrame();
        // Closing the window ends the loop as a frame function returning true would.
        if (!PumpEvents()) break;
        if (m_FrameFunc()) break;
        if (m_Initiated && m_RenderFunc) m_RenderFunc();
        // A callback may have shut the engine down.
        if (!m_Initiated) break;
        PointerMapping mapping;
        m_Renderer.Present(m_Window, mapping);
        m_Input.SetMapping(mapping);
        m_Timer.FrameShown();
        m_LaunchStamp.FrameShown();
    }
    return true;
}

void Engine::System_SetState(gfxBoolState state, bool value) {
    switch (state) {
        case GFX_WINDOWED:
            if (m_Windowed != value && m_Initiated) m_Window.SetWindowed(value);
            m_Windowed = value;
            break;
        case GFX_USESOUND:
            m_UseSound = value;
            break;
        case GFX_HIDEMOUSE:
            m_HideMouse = value;
            m_Window.SetPointerHidden(value);
            break;
        case GFX_SHOWSPLASH:
            m_ShowSplash = value;
            break;
    }
}

void Engine::System_SetState(gfxFuncState state, gfxCallback value) {
    switch (state) {
        case GFX_FRAMEFUNC:
            m_FrameFunc = value;
            break;
        case GFX_RENDERFUNC:
            m_RenderFunc = value;
            break;
        case GFX_FOCUSLOSTFUNC:
            m_FocusLostFunc = value;
            break;
        case GFX_FOCUSGAINFUNC:
            m_FocusGainFunc = value;
            break;
    }
}

void Engine::System_SetState(gfxIntState state, int value) {
    switch (state) {
        // The screen's size and depth are read by System_Initiate only.
        case GFX_SCREENWIDTH:
            if (!m_Initiated) m_ScreenWidth = value;
            break;
        case GFX_SCREENHEIGHT:
            if (!m_Initiated) m_ScreenHeight = value;
            break;
        case GFX_SCREENBPP:
            if (!m_Initiated) m_ScreenBpp = value;
            break;
        case GFX_FXVOLUME:
            m_FxVolume = std::clamp(value, 0, 100);
            m_Audio.SetEffectsVolume(m_FxVolume);
            break;
        case GFX_MUSVOLUME:
            m_MusicVolume = std::clamp(value, 0, 100);
            m_Audio.SetMusicVolume(m_MusicVolume);
            break;
        case GFX_STREAMVOLUME:
            m_StreamVolume = std::clamp(value, 0, 100);
            m_Audio.SetStreamVolume(m_StreamVolume);
            break;
        case GFX_FPS:
            m_Fps = std::max(value, 0);
            break;
        case GFX_ICON:
            m_IconId = value;
            ApplyIcon();
            break;
    }
}

void Engine::System_SetState(gfxStringState state, const char* value) {
    switch (state) {
        case GFX_TITLE:
            m_Title = value ? value : "";
            m_Window.SetTitle(m_Title);
            break;
        case GFX_LOGFILE:
            m_Log.SetFile(value ? value : "");
            break;
    }
}

bool Engine::System_GetState(gfxBoolState state) {
    switch (state) {
        case GFX_WINDOWED:
            return m_Windowed;
        case GFX_USESOUND:
            return m_UseSound;
        case GFX_HIDEMOUSE:
            return m_HideMouse;
        case GFX_SHOWSPLASH:
            return m_ShowSplash;
    }
    return false;
}

int Engine::System_GetState(gfxIntState state) {
    switch (state) {
        case GFX_SCREENWIDTH:
            return m_ScreenWidth;
        case GFX_SCREENHEIGHT:
            return m_ScreenHeight;
        case GFX_SCREENBPP:
            return m_ScreenBpp;
        case GFX_FXVOLUME:
            return m_FxVolume;
        case GFX_MUSVOLUME:
            return m_MusicVolume;
        case GFX_STREAMVOLUME:
            return m_StreamVolume;
        case GFX_FPS:
            return m_Fps;
        case GFX_ICON:
            return m_IconId;
    }
    return 0;
}

const char* Engine::System_GetState(gfxStringState state) {
    switch (state) {
        case GFX_TITLE:
            return m_Title.c_str();
        case GFX_LOGFILE:
            return m_Log.Name().c_str();
    }
    return "";
}

void Engine::System_Log(const char* format, ...) {
    va_list args;
    va_start(args, format);
    m_Log.WriteV(format, args);
    va_end(args);
}

bool Engine::System_Snapshot(const char* filename) {
    if (!m_Initiated) return false;
    std::vector<uint32_t> pixels;
    if (!m_Renderer.ReadScreen(pixels)) return false;
    std::string path = filename && *filename ? ResolveProgramPath(filename) : NextSnapshotName(m_Log.Folder());
    if (path.empty() || !WriteBmp24(path, pixels.data(), m_Renderer.ScreenWidth(), m_Renderer.ScreenHeight())) {
        m_Log.Write("System_Snapshot: cannot write %s", path.c_str());
        return false;
    }
    return true;
}

void Engine::System_RegisterIcon(int id, const uint32_t* argb, int width, int height) {
    if (!argb || width <= 0 || height <= 0 || width > 1024 || height > 1024) return;
    Icon& icon = m_Icons[id];
    icon.width = width;
    icon.height = height;
    icon.argb.assign(argb, argb + static_cast<size_t>(width) * static_cast<size_t>(height));
    if (id == m_IconId) ApplyIcon();
}

void Engine::ApplyIcon() {
    auto it = m_Icons.find(m_IconId);
    if (m_Initiated && it != m_Icons.end())
        m_Window.SetIcon(it->second.argb.data(), it->second.width, it->second.height);
}

// --- Timer and random -----------------------------------------------------

float Engine::Timer_GetDelta() { return m_Timer.Delta(); }

int Engine::Timer_GetFPS() { return m_Timer.Fps(); }

float Engine::Random_Float(float min, float max) {
    // 24 random bits: every value is exact in a float and below 1.
    float unit = static_cast<float>(m_Random() >> 8) * (1.0f / 16777216.0f);
    return min + (max - min) * unit;
}

uint64_t DrawCallCount() {
    Engine* engine = Engine::Instance();
    return engine ? engine->DrawCalls() : 0;
}

}  // namespace gfxsdl

GFX* gfxCreate(int version) {
    if (version != GFX_VERSION) return nullptr;
    return gfxsdl::Engine::Acquire();
}
