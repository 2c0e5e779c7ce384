// The start-up floor: the smallest SDL2 program with an OpenGL 3.3 core
// context that opens an 800 x 600 window, clears it, shows one frame and
// exits cleanly. Whatever it costs, every OpenGL program on this machine
// pays (loading the driver is most of it). It links SDL2 alone; the two
// OpenGL calls come through SDL, as SDL loads the driver itself.
#include <SDL.h>

#include <cstdio>

namespace {
using ClearColorFn = void (*)(float, float, float, float);
using ClearFn = void (*)(unsigned);
constexpr unsigned kColorBufferBit = 0x00004000;  // GL_COLOR_BUFFER_BIT
}  // namespace

int main(int, char**) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "startup_floor: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window =
        SDL_CreateWindow("startup floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800, 600, SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        std::fprintf(stderr, "startup_floor: %s\n", SDL_GetError());
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
        return 1;
    }
    auto clearColor = reinterpret_cast<ClearColorFn>(SDL_GL_GetProcAddress("glClearColor"));
    auto clear = reinterpret_cast<ClearFn>(SDL_GL_GetProcAddress("glClear"));
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    clearColor(0.0f, 0.0f, 0.0f, 1.0f);
    clear(kColorBufferBit);
    SDL_GL_SwapWindow(window);
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
