// A list of on-screen controls fed with the frame time, the mouse and the
// keyboard: it tracks the focused control, the one under the mouse and the one
// that captured the mouse with a press, moves the focus with the arrow keys,
// plays enter and leave effects and draws the controls and a cursor sprite.
#pragma once

#include "engine/gfx.h"
#include "helpers/gfxGUIObject.h"

#include <cstdint>

class gfxSprite;

class gfxGUI {
public:
    gfxGUI();
    // The GUI owns its controls: a copy would delete them twice.
    gfxGUI(const gfxGUI&) = delete;
    gfxGUI& operator=(const gfxGUI&) = delete;
    ~gfxGUI();

    // Takes ownership. A control already in a list (this GUI's or another's)
    // is refused and stays with its owner.
    void AddCtrl(gfxGUIObject* ctrl);
    // Also allowed from a control's own callback: the control is never called
    // again and is freed once the GUI call under way returns.
    void DelCtrl(int id);
    gfxGUIObject* GetCtrl(int id) const;
    void MoveCtrl(int id, float x, float y);
    void ShowCtrl(int id, bool bVisible);
    void EnableCtrl(int id, bool bEnabled);

    void SetNavMode(int mode) { navmode = mode; }
    void SetCursor(gfxSprite* spr) { sprCursor = spr; }
    void SetColor(uint32_t col);
    void SetFocus(int id);
    int GetFocus() const;

    void Enter();
    void Leave();
    void Reset();
    void Move(float dx, float dy);

    // An activated control's id, -1 once leaving has finished, else 0.
    int Update(float dt);
    void Render();

private:
    // Counts the GUI calls under way that may call into controls; the last
    // one to return frees the controls deleted meanwhile.
    class CallScope {
    public:
        explicit CallScope(gfxGUI& g) : gui(g) { ++gui.nCalls; }
        ~CallScope() {
            if (--gui.nCalls == 0) gui.FreeDeleted();
        }
        CallScope(const CallScope&) = delete;
        CallScope& operator=(const CallScope&) = delete;

    private:
        gfxGUI& gui;
    };

    template <typename F>
    void ForEachCtrl(F f) {
        for (gfxGUIObject* c = ctrls; c; c = c->next)
            if (!c->bDeleted) f(c);
    }
    static bool CanFocus(const gfxGUIObject* ctrl);
    gfxGUIObject* LastCtrl() const;
    gfxGUIObject* CtrlAt(float x, float y) const;
    void Unlink(gfxGUIObject* ctrl);
    void FreeDeleted();
    void ChangeFocus(gfxGUIObject* ctrl);
    bool ChangeMouseOver(gfxGUIObject* c);
    bool WalkFocus(bool bForward);
    int UpdateMouse();
    int Dispatch(gfxGUIObject* ctrl);
    void Capture(gfxGUIObject* ctrl);
    bool ProcessCtrl(gfxGUIObject* ctrl);

    gfxGUIObject* ctrls = nullptr;
    gfxGUIObject* ctrlLock = nullptr;
    gfxGUIObject* ctrlFocus = nullptr;
    gfxGUIObject* ctrlOver = nullptr;
    int navmode = GFXGUI_NONAVKEYS;
    int nEnterLeave = 0;
    gfxSprite* sprCursor = nullptr;
    float mx = 0.0f, my = 0.0f;
    int nWheel = 0;
    bool bLPressed = false, bLReleased = false, bRPressed = false, bRReleased = false;
    int nCalls = 0;
    // Within a focus change: the control a change made from a callback takes
    // the focus from (none while the old one hears Focus(false), the new one
    // while it hears Focus(true)), and a count that tells a later change.
    bool bFocusChanging = false;
    gfxGUIObject* ctrlFocusHolder = nullptr;
    unsigned nFocusChanges = 0;

    static GFX* gfx;
};
