#include "engine/sdl/KeyMap.h"

#include "engine/gfx.h"

#include <SDL_keycode.h>
#include <SDL_mouse.h>

namespace gfxsdl {

namespace {

struct KeyPair {
    int32_t sdl;
    int gfx;
};

// Keys whose virtual-key number does not follow from a range.
const KeyPair kKeycodes[] = {
    {SDLK_BACKSPACE, GFXK_BACKSPACE},
    {SDLK_TAB, GFXK_TAB},
    {SDLK_RETURN, GFXK_ENTER},
    {SDLK_KP_ENTER, GFXK_ENTER},
    {SDLK_LSHIFT, GFXK_SHIFT},
    {SDLK_RSHIFT, GFXK_SHIFT},
    {SDLK_LCTRL, GFXK_CTRL},
    {SDLK_RCTRL, GFXK_CTRL},
    {SDLK_LALT, GFXK_ALT},
    {SDLK_RALT, GFXK_ALT},
    {SDLK_PAUSE, GFXK_PAUSE},
    {SDLK_CAPSLOCK, GFXK_CAPSLOCK},
    {SDLK_ESCAPE, GFXK_ESCAPE},
    {SDLK_SPACE, GFXK_SPACE},
    {SDLK_PAGEUP, GFXK_PGUP},
    {SDLK_PAGEDOWN, GFXK_PGDN},
    {SDLK_END, GFXK_END},
    {SDLK_HOME, GFXK_HOME},
    {SDLK_LEFT, GFXK_LEFT},
    {SDLK_UP, GFXK_UP},
    {SDLK_RIGHT, GFXK_RIGHT},
    {SDLK_DOWN, GFXK_DOWN},
    {SDLK_PRINTSCREEN, 44},
    {SDLK_INSERT, GFXK_INSERT},
    {SDLK_DELETE, GFXK_DELETE},
    {SDLK_LGUI, GFXK_LWIN},
    {SDLK_RGUI, GFXK_RWIN},
    {SDLK_APPLICATION, GFXK_APPS},
    {SDLK_KP_0, GFXK_NUMPAD0},
    {SDLK_KP_MULTIPLY, GFXK_MULTIPLY},
    {SDLK_KP_PLUS, GFXK_ADD},
    {SDLK_KP_MINUS, GFXK_SUBTRACT},
    {SDLK_KP_PERIOD, GFXK_DECIMAL},
    {SDLK_KP_DIVIDE, GFXK_DIVIDE},
    {SDLK_NUMLOCKCLEAR, GFXK_NUMLOCK},
    {SDLK_SCROLLLOCK, GFXK_SCROLLLOCK},
    {SDLK_SEMICOLON, GFXK_SEMICOLON},
    {SDLK_EQUALS, GFXK_EQUALS},
    {SDLK_COMMA, GFXK_COMMA},
    {SDLK_MINUS, GFXK_MINUS},
    {SDLK_PERIOD, GFXK_PERIOD},
    {SDLK_SLASH, GFXK_SLASH},
    {SDLK_BACKQUOTE, GFXK_GRAVE},
    {SDLK_LEFTBRACKET, GFXK_LBRACKET},
    {SDLK_BACKSLASH, GFXK_BACKSLASH},
    {SDLK_RIGHTBRACKET, GFXK_RBRACKET},
    {SDLK_QUOTE, GFXK_APOSTROPHE},
};

struct KeyRange {
    int32_t first, last;  // SDL codes, inclusive
    int gfx;              // code of `first`
};

const KeyRange kKeycodeRanges[] = {
    {SDLK_0, SDLK_9, GFXK_0},     {SDLK_a, SDLK_z, GFXK_A},           {SDLK_KP_1, SDLK_KP_9, GFXK_NUMPAD0 + 1},
    {SDLK_F1, SDLK_F12, GFXK_F1}, {SDLK_F13, SDLK_F24, GFXK_F12 + 1},
};

// Positions, for layouts whose key codes are not ASCII letters or digits.
const KeyRange kScancodeRanges[] = {
    {SDL_SCANCODE_A, SDL_SCANCODE_Z, GFXK_A},
    {SDL_SCANCODE_1, SDL_SCANCODE_9, GFXK_0 + 1},
    {SDL_SCANCODE_0, SDL_SCANCODE_0, GFXK_0},
};

const KeyPair kScancodes[] = {
    {SDL_SCANCODE_SEMICOLON, GFXK_SEMICOLON},   {SDL_SCANCODE_EQUALS, GFXK_EQUALS},
    {SDL_SCANCODE_COMMA, GFXK_COMMA},           {SDL_SCANCODE_MINUS, GFXK_MINUS},
    {SDL_SCANCODE_PERIOD, GFXK_PERIOD},         {SDL_SCANCODE_SLASH, GFXK_SLASH},
    {SDL_SCANCODE_GRAVE, GFXK_GRAVE},           {SDL_SCANCODE_LEFTBRACKET, GFXK_LBRACKET},
    {SDL_SCANCODE_BACKSLASH, GFXK_BACKSLASH},   {SDL_SCANCODE_RIGHTBRACKET, GFXK_RBRACKET},
    {SDL_SCANCODE_APOSTROPHE, GFXK_APOSTROPHE}, {SDL_SCANCODE_NONUSBACKSLASH, 226},
};

template <size_t N>
int FindPair(const KeyPair (&table)[N], int32_t code) {
    for (const KeyPair& pair : table)
        if (pair.sdl == code) return pair.gfx;
    return 0;
}

template <size_t N>
int FindRange(const KeyRange (&table)[N], int32_t code) {
    for (const KeyRange& range : table)
        if (code >= range.first && code <= range.last) return range.gfx + (code - range.first);
    return 0;
}

}  // namespace

int KeyFromSdl(int32_t sdlKeycode, int sdlScancode) {
    if (int gfx = FindRange(kKeycodeRanges, sdlKeycode)) return gfx;
    if (int gfx = FindPair(kKeycodes, sdlKeycode)) return gfx;
    if (int gfx = FindRange(kScancodeRanges, sdlScancode)) return gfx;
    return FindPair(kScancodes, sdlScancode);
}

int MouseButtonFromSdl(int sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            return GFXK_LBUTTON;
        case SDL_BUTTON_RIGHT:
            return GFXK_RBUTTON;
        case SDL_BUTTON_MIDDLE:
            return GFXK_MBUTTON;
        case SDL_BUTTON_X1:
            return 5;
        case SDL_BUTTON_X2:
            return 6;
        default:
            return 0;
    }
}

}  // namespace gfxsdl
