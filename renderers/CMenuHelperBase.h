// A screen built in native code from GUI controls instead of a script: it
// owns the GUI and a font for its controls, feeds them the frames and
// reports the control the player activates to the derived menu.
#pragma once

#include "renderers/CGFXFuncHelperBase.h"

#include <string>

class gfxFont;
class gfxGUI;
class gfxGUIObject;

class CMenuHelperBase : public CGFXFuncHelperBase {
public:
    // Up and down arrows, wrapping at the ends of the list.
    static constexpr int kDefaultNavMode = 6;

    explicit CMenuHelperBase(const char* fontFile);
    ~CMenuHelperBase() override;

    // Derived menus add their controls after calling this.
    void OnInit(CGFXStarter* starter) override;
    void OnShutdown(CGFXStarter* starter) override;
    bool Frame(float dt, CGFXStarter* starter) override;
    bool Render(float dt, CGFXStarter* starter) override;
    bool IsRunning() override { return m_bMenuRunning; }
    void SetActive(CGFXStarter* starter, bool active) override;
    // The derived menu acts on the activated control; true ends the engine loop.
    virtual bool OnItemChosen(int id, CGFXStarter* starter) = 0;

    // The GUI takes the control and returns true. Before OnInit made the GUI,
    // or for a control already in a list, the caller keeps it: false.
    bool AddCtrl(gfxGUIObject* ctrl);

    const std::string& GetFontFile() const { return m_FontFile; }
    int GetChosenId() const { return m_ChosenId; }
    int GetFocusId() const { return m_FocusId; }

protected:
    // The control focused whenever the menu is shown; negative: none.
    void SetFocusId(int id) { m_FocusId = id; }
    void SetNavMode(int mode);
    gfxFont* GetFont() const { return m_Font; }
    gfxGUI* GetGUI() const { return m_GUI; }

private:
    // Gives the remembered control the focus and lets the controls appear.
    void Show();
    void FreeGUI();

    std::string m_FontFile;
    gfxFont* m_Font = nullptr;
    gfxGUI* m_GUI = nullptr;
    int m_NavMode = kDefaultNavMode;
    int m_FocusId = -1;
    bool m_bMenuRunning = true;
    int m_ChosenId = 0;
};
