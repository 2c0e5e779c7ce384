// What the program does from start to end: read the window settings, build
// the main menu and the cursor, run the host. It reads no arguments.
#pragma once

class CGFXStarter;

// Applies section "common" of the configuration to the starter's settings.
void ApplyCommonSettings(CGFXStarter* starter);

int WinMain();
