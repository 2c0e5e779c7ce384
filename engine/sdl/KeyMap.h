// SDL keys to the virtual-key numbers of gfx.h (GFXK_*). Takes SDL's
// SDL_Keycode and SDL_Scancode as plain integers so that this header stays
// free of SDL.
#pragma once

#include <cstdint>

namespace gfxsdl {

// The GFXK_* code of a key: by its key code (the layout's meaning) first, by
// its position (scan code) when the key code has none; 0 = no code.
int KeyFromSdl(int32_t sdlKeycode, int sdlScancode);

// The GFXK_* code of an SDL mouse button (1 left, 2 middle, 3 right, 4/5 extra); 0 = none.
int MouseButtonFromSdl(int sdlButton);

}  // namespace gfxsdl
