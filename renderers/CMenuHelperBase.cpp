#include "renderers/CMenuHelperBase.h"

#include "helpers/gfxFont.h"
#include "helpers/gfxGUI.h"

namespace {
// What gfxGUI::Update reports once the controls have finished leaving.
const int kLeavingDone = -1;
}  // namespace

CMenuHelperBase::CMenuHelperBase(const char* fontFile)
    : CGFXFuncHelperBase(nullptr, false), m_FontFile(fontFile ? fontFile : "") {}

// The owner detaches first; a menu destroyed while attached still frees its GUI.
CMenuHelperBase::~CMenuHelperBase() { FreeGUI(); }

void CMenuHelperBase::OnInit(CGFXStarter*) {
    FreeGUI();
    m_GUI = new gfxGUI();
    m_Font = new gfxFont(m_FontFile.c_str(), false);
    m_GUI->SetNavMode(m_NavMode);
    Show();
}

void CMenuHelperBase::OnShutdown(CGFXStarter*) { FreeGUI(); }

bool CMenuHelperBase::Frame(float dt, CGFXStarter* starter) {
    if (!m_GUI) return false;
    const int id = m_GUI->Update(dt);
    if (id == kLeavingDone) {
        Show();
        return false;
    }
    if (id == 0) return false;
    m_ChosenId = id;
    m_bMenuRunning = false;
    m_GUI->Leave();
    return OnItemChosen(id, starter);
}

bool CMenuHelperBase::Render(float, CGFXStarter*) {
    if (m_GUI) m_GUI->Render();
    return false;
}

void CMenuHelperBase::SetActive(CGFXStarter*, bool active) {
    if (!m_GUI || (active && m_bMenuRunning)) return;
    m_bMenuRunning = active;
    if (active) Show();
}

bool CMenuHelperBase::AddCtrl(gfxGUIObject* ctrl) {
    if (!m_GUI || !ctrl || ctrl->gui) return false;
    m_GUI->AddCtrl(ctrl);
    // Controls come after OnInit's show: the remembered one still gets the
    // focus it should have had, unless the player has moved it meanwhile.
    if (m_bMenuRunning && m_FocusId >= 0 && ctrl->id == m_FocusId && !m_GUI->GetFocus()) m_GUI->SetFocus(m_FocusId);
    return true;
}

void CMenuHelperBase::SetNavMode(int mode) {
    m_NavMode = mode;
    if (m_GUI) m_GUI->SetNavMode(mode);
}

void CMenuHelperBase::Show() {
    if (m_FocusId >= 0) m_GUI->SetFocus(m_FocusId);
    m_GUI->Enter();
}

void CMenuHelperBase::FreeGUI() {
    delete m_GUI;
    m_GUI = nullptr;
    delete m_Font;
    m_Font = nullptr;
}
