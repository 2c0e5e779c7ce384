// The SDL window with its OpenGL 3.3 core context: opening, full screen,
// system pointer, icon, title and the swap of the frame.
#pragma once

#include <cstdint>
#include <string>

struct SDL_Window;

namespace gfxsdl {

class Log;

struct WindowSettings {
    std::string title;  // in the locale's character set
    int width = 800, height = 600;
    bool windowed = true;
    bool hidePointer = false;
};

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    ~Window() { Close(); }

    // Opens SDL video, the window and the context; false (reason logged)
    // when either cannot be had.
    bool Open(const WindowSettings& settings, Log& log);
    void Close();
    bool IsOpen() const { return m_Window != nullptr; }

    void SetWindowed(bool windowed);
    void SetPointerHidden(bool hidden);
    void SetTitle(const std::string& title);
    // ARGB rows, top-down.
    void SetIcon(const uint32_t* argb, int width, int height);
    void Swap();
    uint32_t Id() const;
    // Sizes of the drawable in pixels and of the window in its own units.
    void DrawableSize(int* width, int* height) const;
    void WindowSize(int* width, int* height) const;
    bool HasMouseFocus() const;

private:
    SDL_Window* m_Window = nullptr;
    void* m_Context = nullptr;
};

}  // namespace gfxsdl
