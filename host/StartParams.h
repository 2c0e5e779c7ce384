// What the program hands to CGFXStarter::Run; the starter owns none of it.
#pragma once

class CGFXFuncHelperBase;
class CCursorHelper;

struct StartParams {
    CGFXFuncHelperBase* mainRenderer = nullptr;   // the fallback; never null
    CGFXFuncHelperBase* startRenderer = nullptr;  // active when the loop starts
    CCursorHelper* cursorHelper = nullptr;
};
