#include "engine/sdl/Input.h"

#include "engine/sdl/KeyMap.h"

#include <SDL.h>

#include <cstring>

namespace gfxsdl {

namespace {

// Keys that type a control character, as a Windows WM_CHAR would give them;
// SDL's text events carry printable characters only.
int ControlCharOf(int key) {
    switch (key) {
        case GFXK_BACKSPACE:
            return 8;
        case GFXK_TAB:
            return 9;
        case GFXK_ENTER:
            return 13;
        case GFXK_ESCAPE:
            return 27;
        default:
            return 0;
    }
}

// The first code point of a UTF-8 text, 0 for none or a malformed one.
int FirstCodePoint(const char* text) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    if (s[0] < 0x80) return s[0];
    int extra = s[0] >= 0xF0 ? 3 : s[0] >= 0xE0 ? 2 : s[0] >= 0xC0 ? 1 : -1;
    if (extra < 0) return 0;
    int code = s[0] & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
        code = (code << 6) | (s[i] & 0x3F);
    }
    return code;
}

}  // namespace

Input::Input() {
    m_Queue.reserve(256);
    Reset();
}

void Input::Reset() {
    m_Queue.clear();
    m_Next = 0;
    std::memset(m_Changed, 0, sizeof m_Changed);
    std::memset(m_Held, 0, sizeof m_Held);
    m_LastKey = m_LastChar = m_Wheel = 0;
}

void Input::BeginFrame() {
    m_Queue.clear();
    m_Next = 0;
    std::memset(m_Changed, 0, sizeof m_Changed);
    m_LastKey = m_LastChar = m_Wheel = 0;
}

void Input::ReleaseAll() { std::memset(m_Held, 0, sizeof m_Held); }

int Input::FlagsOf(unsigned modifiers) {
    int flags = 0;
    if (modifiers & KMOD_SHIFT) flags |= GFXINP_SHIFT;
    if (modifiers & KMOD_CTRL) flags |= GFXINP_CTRL;
    if (modifiers & KMOD_ALT) flags |= GFXINP_ALT;
    if (modifiers & KMOD_CAPS) flags |= GFXINP_CAPSLOCK;
    if (modifiers & KMOD_SCROLL) flags |= GFXINP_SCROLLLOCK;
    if (modifiers & KMOD_NUM) flags |= GFXINP_NUMLOCK;
    return flags;
}

void Input::Push(int type, int key, int flags, int chr, int wheel) {
    gfxInputEvent e;
    e.type = type;
    e.key = key;
    e.flags = flags;
    e.chr = chr;
    e.wheel = wheel;
    e.x = m_MouseX;
    e.y = m_MouseY;
    m_Queue.push_back(e);
}

void Input::Handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
            KeyEvent(event, true);
            break;
        case SDL_KEYUP:
            KeyEvent(event, false);
            break;
        case SDL_TEXTINPUT:
            TextEvent(event);
            break;
        case SDL_MOUSEBUTTONDOWN:
            ButtonEvent(event, true);
            break;
        case SDL_MOUSEBUTTONUP:
            ButtonEvent(event, false);
            break;
        case SDL_MOUSEMOTION:
            MovePointer(event.motion.x, event.motion.y);
            Push(INPUT_MOUSEMOVE, 0, FlagsOf(SDL_GetModState()), 0, 0);
            break;
        case SDL_MOUSEWHEEL: {
            int notches = event.wheel.y;
            if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
            if (notches == 0) break;
            m_Wheel += notches;
            Push(INPUT_MOUSEWHEEL, 0, FlagsOf(SDL_GetModState()), 0, notches);
            break;
        }
        default:
            break;
    }
}

void Input::KeyEvent(const SDL_Event& event, bool down) {
    int key = KeyFromSdl(event.key.keysym.sym, event.key.keysym.scancode);
    if (!InRange(key)) return;
    int flags = FlagsOf(event.key.keysym.mod);
    if (!down) {
        m_Changed[key] |= kWentUp;
        m_Held[key] = false;
        Push(INPUT_KEYUP, key, flags, 0, 0);
        return;
    }
    // A repeat is a key typed again (last key, character) but not a key
    // that went down this frame.
    if (event.key.repeat)
        flags |= GFXINP_REPEAT;
    else
        m_Changed[key] |= kWentDown;
    m_Held[key] = true;
    m_LastKey = key;
    int chr = ControlCharOf(key);
    if (chr) m_LastChar = chr;
    Push(INPUT_KEYDOWN, key, flags, chr, 0);
}

void Input::TextEvent(const SDL_Event& event) {
    int chr = FirstCodePoint(event.text.text);
    if (!chr) return;
    m_LastChar = chr;
    // SDL sends the text after its key; the character belongs to that key's event.
    if (!m_Queue.empty() && m_Queue.back().type == INPUT_KEYDOWN && m_Queue.back().chr == 0) m_Queue.back().chr = chr;
}

void Input::ButtonEvent(const SDL_Event& event, bool down) {
    int key = MouseButtonFromSdl(event.button.button);
    if (!key) return;
    MovePointer(event.button.x, event.button.y);
    if (down) {
        m_Changed[key] |= kWentDown;
        m_Held[key] = true;
        m_LastKey = key;
    } else {
        m_Changed[key] |= kWentUp;
        m_Held[key] = false;
    }
    Push(down ? INPUT_MBUTTONDOWN : INPUT_MBUTTONUP, key, FlagsOf(SDL_GetModState()), 0, 0);
}

void Input::MovePointer(int windowX, int windowY) {
    m_MouseX = (static_cast<float>(windowX) - m_Mapping.offsetX) * m_Mapping.scaleX;
    m_MouseY = (static_cast<float>(windowY) - m_Mapping.offsetY) * m_Mapping.scaleY;
}

bool Input::GetEvent(gfxInputEvent* event) {
    if (!event || m_Next >= m_Queue.size()) return false;
    *event = m_Queue[m_Next++];
    return true;
}

void Input::GetMousePos(float* x, float* y) const {
    if (x) *x = m_MouseX;
    if (y) *y = m_MouseY;
}

}  // namespace gfxsdl
