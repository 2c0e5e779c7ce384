#include "helpers/gfxGUI.h"

#include "helpers/gfxSprite.h"

GFX* gfxGUI::gfx = nullptr;

gfxGUI::gfxGUI() { gfx = gfxCreate(GFX_VERSION); }

gfxGUI::~gfxGUI() {
    while (ctrls) {
        gfxGUIObject* c = ctrls;
        ctrls = c->next;
        delete c;
    }
    if (gfx) gfx->Release();
}

void gfxGUI::AddCtrl(gfxGUIObject* ctrl) {
    if (!ctrl || ctrl->gui) return;
    gfxGUIObject* last = LastCtrl();
    ctrl->gui = this;
    ctrl->prev = last;
    ctrl->next = nullptr;
    if (last)
        last->next = ctrl;
    else
        ctrls = ctrl;
}

void gfxGUI::DelCtrl(int id) {
    gfxGUIObject* c = GetCtrl(id);
    if (!c) return;
    if (ctrlFocus == c) ctrlFocus = nullptr;
    if (ctrlLock == c) ctrlLock = nullptr;
    if (ctrlOver == c) ctrlOver = nullptr;
    if (nCalls > 0) {
        c->bDeleted = true;
        return;
    }
    Unlink(c);
    delete c;
}

gfxGUIObject* gfxGUI::GetCtrl(int id) const {
    for (gfxGUIObject* c = ctrls; c; c = c->next)
        if (!c->bDeleted && c->id == id) return c;
    return nullptr;
}

void gfxGUI::MoveCtrl(int id, float x, float y) {
    gfxGUIObject* c = GetCtrl(id);
    if (!c) return;
    c->rect.x2 = c->rect.x2 - c->rect.x1 + x;
    c->rect.y2 = c->rect.y2 - c->rect.y1 + y;
    c->rect.x1 = x;
    c->rect.y1 = y;
}

void gfxGUI::ShowCtrl(int id, bool bVisible) {
    if (gfxGUIObject* c = GetCtrl(id)) c->bVisible = bVisible;
}

void gfxGUI::EnableCtrl(int id, bool bEnabled) {
    if (gfxGUIObject* c = GetCtrl(id)) c->bEnabled = bEnabled;
}

void gfxGUI::SetColor(uint32_t col) {
    CallScope scope(*this);
    ForEachCtrl([col](gfxGUIObject* c) { c->SetColor(col); });
}

void gfxGUI::SetFocus(int id) {
    CallScope scope(*this);
    gfxGUIObject* c = GetCtrl(id);
    if (c == ctrlFocus) return;
    // No such control drops the focus; one that cannot take it changes nothing.
    if (!c || CanFocus(c)) ChangeFocus(c);
}

int gfxGUI::GetFocus() const { return ctrlFocus ? ctrlFocus->id : 0; }

void gfxGUI::Enter() {
    CallScope scope(*this);
    ForEachCtrl([](gfxGUIObject* c) { c->Enter(); });
    nEnterLeave = 2;
}

void gfxGUI::Leave() {
    CallScope scope(*this);
    ForEachCtrl([](gfxGUIObject* c) { c->Leave(); });
    // A focus change under way in a callback does not undo this.
    ++nFocusChanges;
    ctrlFocus = ctrlOver = ctrlLock = nullptr;
    nEnterLeave = 1;
}

void gfxGUI::Reset() {
    CallScope scope(*this);
    ForEachCtrl([](gfxGUIObject* c) { c->Reset(); });
    ++nFocusChanges;
    ctrlLock = ctrlOver = ctrlFocus = nullptr;
}

void gfxGUI::Move(float dx, float dy) {
    ForEachCtrl([dx, dy](gfxGUIObject* c) {
        c->rect.x1 += dx;
        c->rect.y1 += dy;
        c->rect.x2 += dx;
        c->rect.y2 += dy;
    });
}

int gfxGUI::Update(float dt) {
    CallScope scope(*this);
    gfx->Input_GetMousePos(&mx, &my);
    bLPressed = gfx->Input_KeyDown(GFXK_LBUTTON);
    bLReleased = gfx->Input_KeyUp(GFXK_LBUTTON);
    bRPressed = gfx->Input_KeyDown(GFXK_RBUTTON);
    bRReleased = gfx->Input_KeyUp(GFXK_RBUTTON);
    nWheel = gfx->Input_GetMouseWheel();

    ForEachCtrl([dt](gfxGUIObject* c) { c->Update(dt); });

    // While an effect plays, the controls get no input.
    if (nEnterLeave != 0) {
        for (gfxGUIObject* c = ctrls; c; c = c->next)
            if (!c->bDeleted && !c->IsDone()) return 0;
        if (nEnterLeave == 1) return -1;
        nEnterLeave = 0;
    }

    int key = gfx->Input_GetKey();
    bool leftRight = (navmode & GFXGUI_LEFTRIGHT) != 0, upDown = (navmode & GFXGUI_UPDOWN) != 0;
    if ((leftRight && key == GFXK_LEFT) || (upDown && key == GFXK_UP)) {
        if (!WalkFocus(false)) return 0;
    } else if ((leftRight && key == GFXK_RIGHT) || (upDown && key == GFXK_DOWN)) {
        if (!WalkFocus(true)) return 0;
    } else if (ctrlFocus && key != 0 && key != GFXK_LBUTTON && key != GFXK_RBUTTON) {
        gfxGUIObject* c = ctrlFocus;
        int id = c->id;
        if (c->KeyClick(key, gfx->Input_GetChar())) return id;
    }
    return UpdateMouse();
}

void gfxGUI::Render() {
    CallScope scope(*this);
    ForEachCtrl([](gfxGUIObject* c) {
        if (c->bVisible) c->Render();
    });
    if (gfx->Input_IsMouseOver() && sprCursor) sprCursor->Render(mx, my);
}

bool gfxGUI::CanFocus(const gfxGUIObject* ctrl) {
    return !ctrl->bDeleted && !ctrl->bStatic && ctrl->bVisible && ctrl->bEnabled;
}

gfxGUIObject* gfxGUI::LastCtrl() const {
    gfxGUIObject* c = ctrls;
    while (c && c->next) c = c->next;
    return c;
}

// Topmost first: later controls lie above earlier ones.
gfxGUIObject* gfxGUI::CtrlAt(float x, float y) const {
    for (gfxGUIObject* c = LastCtrl(); c; c = c->prev)
        if (!c->bDeleted && c->bEnabled && c->rect.TestPoint(x, y)) return c;
    return nullptr;
}

void gfxGUI::Unlink(gfxGUIObject* ctrl) {
    if (ctrl->prev)
        ctrl->prev->next = ctrl->next;
    else
        ctrls = ctrl->next;
    if (ctrl->next) ctrl->next->prev = ctrl->prev;
    ctrl->next = ctrl->prev = nullptr;
}

// Starts over after each deletion: a control's destructor may change the list.
void gfxGUI::FreeDeleted() {
    gfxGUIObject* c = ctrls;
    while (c) {
        if (!c->bDeleted) {
            c = c->next;
            continue;
        }
        Unlink(c);
        delete c;
        c = ctrls;
    }
}

// The callbacks run first and the new reference comes last, so a control
// that asks GetFocus in them sees the focus as it was. A change made from a
// callback has the last word: it takes the focus from the control that was
// last told it has it. A control deleted meanwhile takes no focus.
void gfxGUI::ChangeFocus(gfxGUIObject* ctrl) {
    gfxGUIObject* old = bFocusChanging ? ctrlFocusHolder : ctrlFocus;
    const bool outerChanging = bFocusChanging;
    gfxGUIObject* const outerHolder = ctrlFocusHolder;
    const unsigned change = ++nFocusChanges;
    bFocusChanging = true;
    ctrlFocusHolder = nullptr;
    if (old && !old->bDeleted) old->Focus(false);
    if (change == nFocusChanges && ctrl && !ctrl->bDeleted) {
        ctrlFocusHolder = ctrl;
        ctrl->Focus(true);
    }
    if (change == nFocusChanges) ctrlFocus = ctrl && !ctrl->bDeleted ? ctrl : nullptr;
    bFocusChanging = outerChanging;
    ctrlFocusHolder = outerHolder;
}

// False when there is no control at all. Each control is looked at once at
// most; without a focus the walk wraps at the ends whatever the mode says.
bool gfxGUI::WalkFocus(bool bForward) {
    gfxGUIObject* first = ctrls;
    gfxGUIObject* last = LastCtrl();
    gfxGUIObject* c = ctrlFocus ? ctrlFocus : (bForward ? last : first);
    if (!c) return false;
    int count = 0;
    for (gfxGUIObject* n = ctrls; n; n = n->next) ++count;
    for (int examined = 0; examined < count; ++examined) {
        c = bForward ? c->next : c->prev;
        if (!c) {
            if (!(navmode & GFXGUI_CYCLED) && ctrlFocus) return true;
            c = bForward ? first : last;
        }
        if (c == ctrlFocus) return true;
        if (CanFocus(c)) {
            ChangeFocus(c);
            return true;
        }
    }
    return true;
}

int gfxGUI::UpdateMouse() {
    bool bLDown = gfx->Input_GetKeyState(GFXK_LBUTTON);
    bool bRDown = gfx->Input_GetKeyState(GFXK_RBUTTON);
    // The locked control gets the frame's events wherever the mouse is,
    // the release that ends the lock included.
    if (ctrlLock) {
        gfxGUIObject* c = ctrlLock;
        if (!bLDown && !bRDown) ctrlLock = nullptr;
        return Dispatch(c);
    }
    gfxGUIObject* c = CtrlAt(mx, my);
    if (c != ctrlOver && !ChangeMouseOver(c)) return 0;
    if (!c || c->bDeleted) return 0;
    return Dispatch(c);
}

// The callbacks run first and the new reference comes last. True when c is
// under the mouse afterwards.
bool gfxGUI::ChangeMouseOver(gfxGUIObject* c) {
    gfxGUIObject* old = ctrlOver;
    if (old) old->MouseOver(false);
    // A callback that dropped the reference (Leave, Reset) has the last word;
    // the old control deleting itself does not stop the change.
    if (ctrlOver != old && !(old && old->bDeleted)) return false;
    gfxGUIObject* const before = ctrlOver;
    if (c && !c->bDeleted) c->MouseOver(true);
    if (ctrlOver != before) return false;
    ctrlOver = c && !c->bDeleted ? c : nullptr;
    return ctrlOver != nullptr;
}

int gfxGUI::Dispatch(gfxGUIObject* ctrl) {
    int id = ctrl->id;
    return ProcessCtrl(ctrl) ? id : 0;
}

void gfxGUI::Capture(gfxGUIObject* ctrl) {
    ctrlLock = ctrl;
    SetFocus(ctrl->id);
}

// The first handler that activates the control stops the later ones, and a
// control deleted by its own handler is not called again.
bool gfxGUI::ProcessCtrl(gfxGUIObject* c) {
    bool result = false;
    if (bLPressed) {
        Capture(c);
        if (c->bDeleted) return false;
        result = c->MouseLButton(true);
    }
    if (bRPressed && !c->bDeleted) {
        Capture(c);
        if (!result && !c->bDeleted) result = c->MouseRButton(true);
    }
    if (!result && bLReleased && !c->bDeleted) result = c->MouseLButton(false);
    if (!result && bRReleased && !c->bDeleted) result = c->MouseRButton(false);
    if (!result && nWheel != 0 && !c->bDeleted) result = c->MouseWheel(nWheel);
    if (!result && !c->bDeleted) result = c->MouseMove(mx - c->rect.x1, my - c->rect.y1);
    return result;
}
