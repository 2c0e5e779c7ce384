#include "engine/sdl/SharedLibrary.h"

#include <SDL.h>

namespace gfxsdl {

bool SharedLibrary::Open(const char* file, std::string& error) {
    if (m_Handle) return true;
    m_Handle = SDL_LoadObject(file);
    if (!m_Handle) error = SDL_GetError();
    return m_Handle != nullptr;
}

void* SharedLibrary::FindSymbol(const char* name, std::string& error) {
    void* symbol = m_Handle ? SDL_LoadFunction(m_Handle, name) : nullptr;
    if (!symbol) error = std::string("no ") + name + " in the library";
    return symbol;
}

}  // namespace gfxsdl
