#include "host/WinMain.h"

#include "host/CGFXStarter.h"
#include "host/CHelperToKeyBinder.h"
#include "host/ProgramIcon.h"
#include "media/CCursorHelper.h"
#include "renderers/CMenuRenderer.h"
#include "script/NumberConversion.h"

#include <string>

namespace {
const char* const kCommon = "common";

int CommonInt(CConfigStore* config, const char* key) { return TruncateToInt32(config->GetNumber(kCommon, key)); }
}  // namespace

void ApplyCommonSettings(CGFXStarter* starter) {
    CConfigStore* config = starter->GetConfig();
    const std::string title =
        config->GetString(kCommon, "caption") + " (v." + config->GetString(kCommon, "version") + ")";
    starter->SetCaption(title.c_str());

    int width = CommonInt(config, "screen_width");
    int height = CommonInt(config, "screen_height");
    int fps = CommonInt(config, "fps");
    if (fps < 1) fps = 0;
    if (width == 0) width = 1024;
    if (height == 0) height = 768;
    starter->SetScreenSize(width, height);
    starter->SetUseSound(CommonInt(config, "use_sound") == 1);
    starter->SetWindowed(CommonInt(config, "windowed") == 1);
    starter->SetFPS(fps);
    starter->SetLogFile("program.log");
    starter->SetIconId(kProgramIconId);
}

int WinMain() {
    CGFXStarter* starter = CGFXStarter::GetInstance();
    ApplyCommonSettings(starter);

    CMenuRenderer menu;
    starter->GetKeyBinder()->Register("menu", &menu);
    CCursorHelper cursor("images/cursor.png");

    StartParams params;
    params.mainRenderer = &menu;
    params.startRenderer = &menu;
    params.cursorHelper = &cursor;
    starter->Run(params);

    starter->Release();
    return 0;
}
