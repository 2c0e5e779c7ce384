#include "script/ClickEmulation.h"

#include "engine/gfx.h"

bool LeftClickReleased(GFX* engine) {
    if (g_bClickEmulation) return g_bEmulatedClick;
    return engine->Input_KeyUp(GFXK_LBUTTON);
}
