// The start-up floor: the smallest SDL2 program with an OpenGL 3.3 core
// context that opens an 800 x 600 window, clears it, shows one frame and
// exits cleanly. Whatever it costs, every OpenGL program on this machine
// pays (loading the driver is most of it). It links SDL2 alone; the two
// OpenGL calls come through SDL, as SDL loads the driver itself.
#include "bench/floor/GlWindow.h"

namespace {
using ClearColorFn = void (*)(float, float, float, float);
using ClearFn = void (*)(unsigned);
constexpr unsigned kColorBufferBit = 0x00004000;  // GL_COLOR_BUFFER_BIT
}  // namespace

int main(int, char**) {
    SDL_GLContext context = nullptr;
    SDL_Window* window = OpenGlWindow("startup_floor", &context);
    if (!window) return 1;
    auto clearColor = reinterpret_cast<ClearColorFn>(SDL_GL_GetProcAddress("glClearColor"));
    auto clear = reinterpret_cast<ClearFn>(SDL_GL_GetProcAddress("glClear"));
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    clearColor(0.0f, 0.0f, 0.0f, 1.0f);
    clear(kColorBufferBit);
    SDL_GL_SwapWindow(window);
    CloseGlWindow(window, context);
    return 0;
}
