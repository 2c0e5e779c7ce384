#include "engine/sdl/Window.h"

#include "engine/sdl/Log.h"
#include "os/CodePage.h"

#include <SDL.h>
#include <epoxy/gl.h>

namespace gfxsdl {

bool Window::Open(const WindowSettings& settings, Log& log) {
    if (m_Window) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
        log.Write("System_Initiate: no window: %s", SDL_GetError());
        return false;
    }
    // Without a display SDL falls back to drivers that show nothing; only a
    // user who asks for one by name gets it.
    const char* driver = SDL_GetCurrentVideoDriver();
    bool invisible = driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0 ||
                                SDL_strcmp(driver, "evdev") == 0);
    if (invisible && !SDL_getenv("SDL_VIDEODRIVER")) {
        log.Write("System_Initiate: no window: no display (only SDL's %s video driver)", driver);
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS);
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    // The screen is drawn off screen (Renderer), so the window needs no depth.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);

    Uint32 flags = SDL_WINDOW_OPENGL;
    if (!settings.windowed) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    m_Window = SDL_CreateWindow(AnsiToUtf8(settings.title.c_str()).c_str(), SDL_WINDOWPOS_CENTERED,
                                SDL_WINDOWPOS_CENTERED, settings.width, settings.height, flags);
    if (!m_Window) {
        log.Write("System_Initiate: no window: %s", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS);
        return false;
    }
    m_Context = SDL_GL_CreateContext(m_Window);
    if (!m_Context) {
        log.Write("System_Initiate: no OpenGL 3.3 core context: %s", SDL_GetError());
        Close();
        return false;
    }
    if (epoxy_gl_version() < 33) {
        log.Write("System_Initiate: no OpenGL 3.3 core context (version %d.%d)", epoxy_gl_version() / 10,
                  epoxy_gl_version() % 10);
        Close();
        return false;
    }
    // Pacing is the frame timer's: no vertical sync.
    SDL_GL_SetSwapInterval(0);
    SetPointerHidden(settings.hidePointer);
    SDL_StartTextInput();
    return true;
}

void Window::Close() {
    if (!m_Window) return;
    SDL_StopTextInput();
    if (m_Context) SDL_GL_DeleteContext(m_Context);
    m_Context = nullptr;
    SDL_DestroyWindow(m_Window);
    m_Window = nullptr;
    SDL_ShowCursor(SDL_ENABLE);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS);
}

void Window::SetWindowed(bool windowed) {
    if (m_Window) SDL_SetWindowFullscreen(m_Window, windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void Window::SetPointerHidden(bool hidden) {
    if (m_Window) SDL_ShowCursor(hidden ? SDL_DISABLE : SDL_ENABLE);
}

// The title comes in the locale's character set; the window system takes UTF-8.
void Window::SetTitle(const std::string& title) {
    if (m_Window) SDL_SetWindowTitle(m_Window, AnsiToUtf8(title.c_str()).c_str());
}

void Window::SetIcon(const uint32_t* argb, int width, int height) {
    if (!m_Window || !argb || width <= 0 || height <= 0) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(argb), width, height, 32, width * 4,
                                                              SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(m_Window, surface);
    SDL_FreeSurface(surface);
}

void Window::Swap() {
    if (m_Window) SDL_GL_SwapWindow(m_Window);
}

uint32_t Window::Id() const { return m_Window ? SDL_GetWindowID(m_Window) : 0; }

void Window::DrawableSize(int* width, int* height) const {
    *width = *height = 0;
    if (m_Window) SDL_GL_GetDrawableSize(m_Window, width, height);
}

void Window::WindowSize(int* width, int* height) const {
    *width = *height = 0;
    if (m_Window) SDL_GetWindowSize(m_Window, width, height);
}

bool Window::HasMouseFocus() const { return m_Window && SDL_GetMouseFocus() == m_Window; }

}  // namespace gfxsdl
