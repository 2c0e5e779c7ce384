// The program's own window icon, built into the program so that nothing but
// the pack and the configuration has to lie beside it.
#pragma once

class GFX;

constexpr int kProgramIconId = 108;

// Registers the icon with the engine under kProgramIconId.
void RegisterProgramIcon(GFX* engine);
