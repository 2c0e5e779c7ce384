#include "helpers/gfxGUIObject.h"

// A control overrides what it reacts to; the rest does nothing and never
// activates it, and its effects are always done.
gfxGUIObject::~gfxGUIObject() = default;
void gfxGUIObject::Update(float) {}
void gfxGUIObject::Enter() {}
void gfxGUIObject::Leave() {}
void gfxGUIObject::Reset() {}
bool gfxGUIObject::IsDone() { return true; }
void gfxGUIObject::Focus(bool) {}
void gfxGUIObject::MouseOver(bool) {}
bool gfxGUIObject::MouseMove(float, float) { return false; }
bool gfxGUIObject::MouseLButton(bool) { return false; }
bool gfxGUIObject::MouseRButton(bool) { return false; }
bool gfxGUIObject::MouseWheel(int) { return false; }
bool gfxGUIObject::KeyClick(int, int) { return false; }
void gfxGUIObject::SetColor(uint32_t col) { color = col; }
