// The window both programs of what the machine allows open, as the engine
// opens its own: 800 x 600, double-buffered, an OpenGL 3.3 core context.
#pragma once

#include <SDL.h>

#include <cstdio>

constexpr int kFloorWidth = 800, kFloorHeight = 600;

// Null, with SDL's reason on standard error (and SDL shut down), on failure.
inline SDL_Window* OpenGlWindow(const char* title, SDL_GLContext* context) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "%s: %s\n", title, SDL_GetError());
        return nullptr;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_Window* window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kFloorWidth,
                                          kFloorHeight, SDL_WINDOW_OPENGL);
    *context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (*context) return window;
    std::fprintf(stderr, "%s: %s\n", title, SDL_GetError());
    if (window) SDL_DestroyWindow(window);
    SDL_Quit();
    return nullptr;
}

inline void CloseGlWindow(SDL_Window* window, SDL_GLContext context) {
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
}
