// The table from SDL keys to the virtual-key numbers of gfx.h.
#include "engine/gfx.h"
#include "engine/sdl/KeyMap.h"

#include <SDL.h>
#include <gtest/gtest.h>

using gfxsdl::KeyFromSdl;
using gfxsdl::MouseButtonFromSdl;

namespace {

int Key(SDL_Keycode key) { return KeyFromSdl(key, SDL_GetScancodeFromKey(key)); }

TEST(KeyMapTest, LettersAndDigitsAreTheirUpperCaseAscii) {
    for (char c = 'a'; c <= 'z'; ++c) EXPECT_EQ(Key(c), c - 'a' + 'A') << c;
    for (char c = '0'; c <= '9'; ++c) EXPECT_EQ(Key(c), c) << c;
}

TEST(KeyMapTest, KeysTheHostUses) {
    EXPECT_EQ(Key(SDLK_RETURN), 13);
    EXPECT_EQ(Key(SDLK_ESCAPE), 27);
    EXPECT_EQ(Key(SDLK_HOME), 36);
    EXPECT_EQ(Key(SDLK_LEFT), 37);
    EXPECT_EQ(Key(SDLK_UP), 38);
    EXPECT_EQ(Key(SDLK_RIGHT), 39);
    EXPECT_EQ(Key(SDLK_DOWN), 40);
}

TEST(KeyMapTest, TheWholeTable) {
    struct Pair {
        SDL_Keycode sdl;
        int gfx;
    } pairs[] = {
        {SDLK_BACKSPACE, GFXK_BACKSPACE},
        {SDLK_TAB, GFXK_TAB},
        {SDLK_KP_ENTER, GFXK_ENTER},
        {SDLK_LSHIFT, GFXK_SHIFT},
        {SDLK_RSHIFT, GFXK_SHIFT},
        {SDLK_LCTRL, GFXK_CTRL},
        {SDLK_RCTRL, GFXK_CTRL},
        {SDLK_LALT, GFXK_ALT},
        {SDLK_RALT, GFXK_ALT},
        {SDLK_PAUSE, GFXK_PAUSE},
        {SDLK_CAPSLOCK, GFXK_CAPSLOCK},
        {SDLK_SPACE, GFXK_SPACE},
        {SDLK_PAGEUP, GFXK_PGUP},
        {SDLK_PAGEDOWN, GFXK_PGDN},
        {SDLK_END, GFXK_END},
        {SDLK_INSERT, GFXK_INSERT},
        {SDLK_DELETE, GFXK_DELETE},
        {SDLK_LGUI, GFXK_LWIN},
        {SDLK_RGUI, GFXK_RWIN},
        {SDLK_APPLICATION, GFXK_APPS},
        {SDLK_KP_0, GFXK_NUMPAD0},
        {SDLK_KP_1, GFXK_NUMPAD0 + 1},
        {SDLK_KP_9, GFXK_NUMPAD9},
        {SDLK_KP_MULTIPLY, GFXK_MULTIPLY},
        {SDLK_KP_PLUS, GFXK_ADD},
        {SDLK_KP_MINUS, GFXK_SUBTRACT},
        {SDLK_KP_PERIOD, GFXK_DECIMAL},
        {SDLK_KP_DIVIDE, GFXK_DIVIDE},
        {SDLK_F1, GFXK_F1},
        {SDLK_F5, GFXK_F1 + 4},
        {SDLK_F12, GFXK_F12},
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
        {SDLK_PRINTSCREEN, 44},
    };
    for (const Pair& p : pairs) EXPECT_EQ(Key(p.sdl), p.gfx) << SDL_GetKeyName(p.sdl);
}

TEST(KeyMapTest, LayoutsWithoutAsciiLettersFallBackToThePosition) {
    // A Cyrillic layout gives key codes of non-ASCII letters.
    EXPECT_EQ(KeyFromSdl(0x0444, SDL_SCANCODE_A), GFXK_A);
    EXPECT_EQ(KeyFromSdl(0x00E9, SDL_SCANCODE_2), '2');
    EXPECT_EQ(KeyFromSdl(0x00DF, SDL_SCANCODE_MINUS), GFXK_MINUS);
}

TEST(KeyMapTest, UnknownKeysHaveNoCodeAndAllCodesFitInAByte) {
    EXPECT_EQ(KeyFromSdl(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(Key(SDLK_AUDIOPLAY), 0);
    for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
        int code = KeyFromSdl(SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(sc)), sc);
        EXPECT_GE(code, 0);
        EXPECT_LT(code, 256);
    }
}

TEST(KeyMapTest, MouseButtons) {
    EXPECT_EQ(MouseButtonFromSdl(SDL_BUTTON_LEFT), GFXK_LBUTTON);
    EXPECT_EQ(MouseButtonFromSdl(SDL_BUTTON_RIGHT), GFXK_RBUTTON);
    EXPECT_EQ(MouseButtonFromSdl(SDL_BUTTON_MIDDLE), GFXK_MBUTTON);
    EXPECT_EQ(MouseButtonFromSdl(99), 0);
}

}  // namespace
