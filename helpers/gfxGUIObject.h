// A control of a gfxGUI: the GUI's user derives its controls from this,
// fills in the fields and hands them to gfxGUI::AddCtrl, which owns them.
// The mouse, key and wheel handlers return true when the control has been
// activated; the GUI then reports the control's id.
#pragma once

#include "helpers/gfxRect.h"

#include <cstdint>

class gfxGUI;

class gfxGUIObject {
public:
    gfxGUIObject() = default;
    // A control is a node of its GUI's list: a copy would share its links.
    gfxGUIObject(const gfxGUIObject&) = delete;
    gfxGUIObject& operator=(const gfxGUIObject&) = delete;
    virtual ~gfxGUIObject();

    virtual void Render() = 0;
    virtual void Update(float dt);
    virtual void Enter();
    virtual void Leave();
    virtual void Reset();
    virtual bool IsDone();
    virtual void Focus(bool bFocused);
    virtual void MouseOver(bool bOver);
    virtual bool MouseMove(float x, float y);
    virtual bool MouseLButton(bool bDown);
    virtual bool MouseRButton(bool bDown);
    virtual bool MouseWheel(int nNotches);
    virtual bool KeyClick(int key, int chr);
    virtual void SetColor(uint32_t col);

    int id = 0;
    bool bStatic = false;
    bool bVisible = true;
    bool bEnabled = true;
    gfxRect rect;
    uint32_t color = 0xFFFFFFFF;
    // Set by the GUI that owns the control; none until AddCtrl.
    gfxGUI* gui = nullptr;
    gfxGUIObject* next = nullptr;
    gfxGUIObject* prev = nullptr;

private:
    friend class gfxGUI;
    // Deleted from inside a GUI call: skipped from now on, freed when it returns.
    bool bDeleted = false;
};
