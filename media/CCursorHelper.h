// The cursor as a screen without a script, so the host attaches, updates,
// draws and detaches it like any other renderer.
#pragma once

#include "media/CCursor.h"
#include "renderers/CGFXFuncHelperBase.h"

#include <string>

class CCursorHelper : public CCursor, public CGFXFuncHelperBase {
public:
    explicit CCursorHelper(const char* imageFile);
    ~CCursorHelper() override = default;

    void OnInit(CGFXStarter* starter) override;
    void OnShutdown(CGFXStarter* starter) override;
    bool Frame(float dt, CGFXStarter* starter) override;
    bool Render(float dt, CGFXStarter* starter) override;

    int GetMouseX() const { return m_MouseX; }
    int GetMouseY() const { return m_MouseY; }

private:
    std::string m_ImageFile;
    int m_MouseX = 0;
    int m_MouseY = 0;
    int m_ScreenWidth = 0;
    int m_ScreenHeight = 0;
};
