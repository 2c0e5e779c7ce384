// Input of the current frame: the event queue, keys that went down or up,
// keys held now (mouse buttons included), last key and character, mouse
// position, wheel and whether the pointer is over the window.
#pragma once

#include "engine/gfx.h"

#include <cstddef>
#include <vector>

union SDL_Event;

namespace gfxsdl {

// How window coordinates map onto the screen's pixels (full screen scales
// and centres the picture).
struct PointerMapping {
    float offsetX = 0, offsetY = 0;
    float scaleX = 1, scaleY = 1;  // screen pixels per window unit
};

class Input {
public:
    Input();

    // Forgets what happened in the last frame; held keys stay held.
    void BeginFrame();
    // Takes in one SDL event; events of other kinds are ignored.
    void Handle(const SDL_Event& event);
    void SetMouseOver(bool over) { m_MouseOver = over; }
    void SetMapping(const PointerMapping& mapping) { m_Mapping = mapping; }
    // Releases every held key (the window lost the focus).
    void ReleaseAll();
    void Reset();

    bool GetEvent(gfxInputEvent* event);
    void GetMousePos(float* x, float* y) const;
    int GetMouseWheel() const { return m_Wheel; }
    bool IsMouseOver() const { return m_MouseOver; }
    bool KeyDown(int key) const { return InRange(key) && (m_Changed[key] & kWentDown); }
    bool KeyUp(int key) const { return InRange(key) && (m_Changed[key] & kWentUp); }
    bool KeyHeld(int key) const { return InRange(key) && m_Held[key]; }
    int LastKey() const { return m_LastKey; }
    int LastChar() const { return m_LastChar; }

private:
    enum { kWentDown = 1, kWentUp = 2 };
    static bool InRange(int key) { return key > 0 && key < 256; }
    void Push(int type, int key, int flags, int chr, int wheel);
    void KeyEvent(const SDL_Event& event, bool down);
    void ButtonEvent(const SDL_Event& event, bool down);
    void TextEvent(const SDL_Event& event);
    void MovePointer(int windowX, int windowY);
    static int FlagsOf(unsigned modifiers);

    std::vector<gfxInputEvent> m_Queue;
    size_t m_Next = 0;
    unsigned char m_Changed[256];
    bool m_Held[256];
    int m_LastKey = 0, m_LastChar = 0, m_Wheel = 0;
    float m_MouseX = 0, m_MouseY = 0;
    bool m_MouseOver = false;
    PointerMapping m_Mapping;
};

}  // namespace gfxsdl
