#include "host/CGFXStarter.h"

#include "host/CHelperToKeyBinder.h"
#include "host/EngineCallbacks.h"
#include "host/ProgramIcon.h"
#include "media/CCursorHelper.h"
#include "os/FatalError.h"
#include "os/Folders.h"
#include "renderers/CDebugDrawHelper.h"
#include "renderers/CGFXFuncHelperBase.h"
#include "renderers/CScriptRenderer.h"

#include <cassert>
#include <cstdio>

namespace {
// From cmake/pack-password, through the build.
const char* const kPackPassword = BW_PACK_PASSWORD;
const char* const kConfigFile = "config.conf";
const char* const kUserFolder = "Brindlewick/";
const char* const kLastSurfaceFile = "last_surface.bmp";

// A fatal report ends the process at once: the engine's log, while there is
// one, keeps its reason once the box is closed.
void LogFatalReport(const std::string& text) {
    CGFXStarter* starter = CGFXStarter::GetInstance();
    if (GFX* engine = starter->GetEngine()) engine->System_Log("fatal: %s", text.c_str());
    starter->Release();
}

// Without a known home there is no per-user folder to fall back on.
bool IsUserFolderKnown(const std::string& userFolder) { return !userFolder.empty() && userFolder[0] == '/'; }
}  // namespace

CGFXStarter::CGFXStarter() {
    m_ExeFolder = os::ProgramFolder();
    m_UserFolder = GetSpecialFolderPath() + kUserFolder;
    os::CreateFolder(m_UserFolder);
    m_ConfigPath = m_UserFolder + kConfigFile;
    // The per-user file is used only when it exists; otherwise the program
    // folder's file is read and later written.
    if (!os::FileExists(m_ConfigPath)) m_ConfigPath = m_ExeFolder + kConfigFile;
    m_Config.Load(m_ConfigPath.c_str());
    m_OutputFolder = ChooseOutputFolder(m_ExeFolder, m_UserFolder);
    m_KeyBinder = CHelperToKeyBinder::GetInstance();
    os::SetFatalReportLog(LogFatalReport);
}

CGFXStarter::~CGFXStarter() {
    os::SetFatalReportLog(nullptr);
    if (m_bCursorOwned && m_Cursor) delete m_Cursor;
    ShutdownEngine();
    // Left over only when the engine failed to start; none of them is attached.
    delete m_ScriptRenderer;
    delete m_BindedRenderers;
    m_KeyBinder->Release();
}

std::string CGFXStarter::GetSpecialFolderPath() { return os::LocalDataFolder(); }

std::string CGFXStarter::ChooseOutputFolder(const std::string& programFolder, const std::string& userFolder) {
    if (os::CanWriteInFolder(programFolder)) return programFolder;
    if (!IsUserFolderKnown(userFolder)) return programFolder;
    if (os::CreateFolderPath(userFolder) && os::CanWriteInFolder(userFolder)) return userFolder;
    return programFolder;
}

std::string CGFXStarter::SaveConfig(const CConfigStore& config, const std::string& path,
                                    const std::string& userFolder) {
    const std::string userPath = userFolder + kConfigFile;
    if (path == userPath) {
        config.Save(path.c_str());
        return path;
    }
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    if (ChooseOutputFolder(folder, userFolder) == userFolder) {
        if (!config.Save(userPath.c_str())) return path;
        std::fprintf(stderr, "config: settings saved in %s (%s cannot be written)\n", userPath.c_str(), folder.c_str());
        return userPath;
    }
    if (config.Save(path.c_str())) return path;
    // The file was not replaced (a broken one of which no copy could be
    // kept, a full disk): the settings of the run still get a home.
    if (!IsUserFolderKnown(userFolder) || !os::CreateFolderPath(userFolder) || !config.Save(userPath.c_str()))
        return path;
    std::fprintf(stderr, "config: settings saved in %s instead\n", userPath.c_str());
    return userPath;
}

void CGFXStarter::SetFPS(int fps) {
    m_FPS = fps;
    if (m_bEngineStarted && m_Engine) m_Engine->System_SetState(GFX_FPS, fps);
}

void CGFXStarter::ShutdownEngine() {
    if (m_Engine) {
        m_Engine->System_Shutdown();
        m_Engine->Release();
    }
    m_Engine = nullptr;
    m_bEngineStarted = false;
}

// A relative log name lies where the program's files go; the player is told
// when that is not beside the program.
void CGFXStarter::SetLogFileState() {
    m_LogPath = m_LogFile.empty() || m_LogFile[0] == '/' ? m_LogFile : m_OutputFolder + m_LogFile;
    if (m_LogPath.empty()) return;
    m_Engine->System_SetState(GFX_LOGFILE, m_LogPath.c_str());
    if (m_LogPath != m_LogFile && m_OutputFolder != m_ExeFolder)
        std::fprintf(stderr, "log: writing %s (%s cannot be written)\n", m_LogPath.c_str(), m_ExeFolder.c_str());
}

void CGFXStarter::SetEngineStates() {
    SetLogFileState();
    m_Engine->System_SetState(GFX_FRAMEFUNC, FrameFunc);
    m_Engine->System_SetState(GFX_RENDERFUNC, RenderFunc);
    m_Engine->System_SetState(GFX_FOCUSLOSTFUNC, FocusLostFunc);
    m_Engine->System_SetState(GFX_FOCUSGAINFUNC, FocusGainFunc);
    m_Engine->System_SetState(GFX_TITLE, m_Caption.c_str());
    m_Engine->System_SetState(GFX_FPS, m_FPS);
    m_Engine->System_SetState(GFX_SHOWSPLASH, false);
    m_Engine->System_SetState(GFX_WINDOWED, m_bWindowed);
    m_Engine->System_SetState(GFX_USESOUND, m_bUseSound);
    m_Engine->System_SetState(GFX_SCREENWIDTH, m_ScreenWidth);
    m_Engine->System_SetState(GFX_SCREENHEIGHT, m_ScreenHeight);
    m_Engine->System_SetState(GFX_SCREENBPP, 32);
}

bool CGFXStarter::Run(StartParams& params) {
    m_bEnding = false;
    delete m_BindedRenderers;
    m_BindedRenderers = new CPtrVector<CScriptRenderer>();
    m_MainRenderer = params.mainRenderer;
    m_ActiveRenderer = params.startRenderer;
    // A cursor GetCursor made in an earlier run gives way to this run's.
    if (m_bCursorOwned && m_Cursor != params.cursorHelper) {
        delete m_Cursor;
        m_bCursorOwned = false;
    }
    m_Cursor = params.cursorHelper;

    ShutdownEngine();
    m_Engine = gfxCreate(GFX_VERSION);
    SetEngineStates();
    if (!m_Engine->System_Initiate()) return false;

    AttachPack();
    AttachRenderers();
    CreateDebugDrawHelper();
    if (m_IconId != -1) {
        RegisterProgramIcon(m_Engine);
        m_Engine->System_SetState(GFX_ICON, m_IconId & 0xFFFF);
    }

    m_bEngineStarted = true;
    m_Engine->System_Start();
    TearDown();
    return true;
}

// A script that is then not found says whether the pack was there at all.
void CGFXStarter::AttachPack() {
    m_PackProblem.clear();
    if (m_Engine->Resource_AttachPack(kPackFile, kPackPassword)) return;
    if (!os::FileExists(m_ExeFolder + kPackFile))
        m_PackProblem = "could not be opened: not found";
    else if (m_LogPath.empty())
        m_PackProblem = "could not be opened";
    else
        m_PackProblem = "could not be opened; " + LogPlace() + " says why";
}

// The log as the player finds it: its name beside the program, else its path.
std::string CGFXStarter::LogPlace() const {
    if (m_LogPath.compare(0, m_ExeFolder.size(), m_ExeFolder) == 0) return m_LogPath.substr(m_ExeFolder.size());
    return m_LogPath;
}

void CGFXStarter::TearDown() {
    m_bEnding = true;
    DetachRenderers();
    if (m_ScriptRenderer) {
        m_ScriptRenderer->Detach(this);
        delete m_ScriptRenderer;
        m_ScriptRenderer = nullptr;
    }
    delete m_BindedRenderers;
    m_BindedRenderers = nullptr;
    m_ResourceCache.FreeAll();
    DestroyDebugDrawHelper();
    ShutdownEngine();
    m_ConfigPath = SaveConfig(m_Config, m_ConfigPath, m_UserFolder);
}

// Renderers attached here may register more renderers; the walk goes on past
// the current key, so later entries (new ones included) are reached too.
void CGFXStarter::AttachRenderers() {
    const CHelperToKeyBinder::Map& map = m_KeyBinder->GetMap();
    for (auto it = map.begin(); it != map.end();) {
        const int key = it->first;
        it->second->Attach(this);
        it = map.upper_bound(key);
    }
    if (m_MainRenderer) m_MainRenderer->Attach(this);
    if (m_ActiveRenderer) m_ActiveRenderer->Attach(this);
    if (m_Cursor) m_Cursor->Attach(this);
}

void CGFXStarter::DetachRenderers() {
    const CHelperToKeyBinder::Map& map = m_KeyBinder->GetMap();
    for (auto it = map.begin(); it != map.end();) {
        const int key = it->first;
        it->second->Detach(this);
        it = map.upper_bound(key);
    }
    for (CGFXFuncHelperBase* replaced : m_ReplacedRenderers) replaced->Detach(this);
    m_ReplacedRenderers.clear();
    if (m_MainRenderer) m_MainRenderer->Detach(this);
    if (m_ActiveRenderer) m_ActiveRenderer->Detach(this);
    if (m_Cursor) m_Cursor->Detach(this);
}

void CGFXStarter::CreateDebugDrawHelper() { m_DebugDraw = new CDebugDrawHelper(this); }

void CGFXStarter::DestroyDebugDrawHelper() {
    delete m_DebugDraw;
    m_DebugDraw = nullptr;
}

// --- The frame loop ------------------------------------------------------------

void CGFXStarter::FallBackToMainRenderer() {
    if (m_ActiveRenderer && m_ActiveRenderer->IsRunning()) return;
    m_ActiveRenderer = m_MainRenderer;
    m_MainRenderer->SetActive(this, true);
}

bool CGFXStarter::OnFrame() {
    gfxInputEvent event;
    if (m_Engine->Input_GetEvent(&event) && event.type == INPUT_KEYUP && (event.flags & GFXINP_ALT) &&
        event.key == GFXK_HOME)
        m_Engine->System_Snapshot(nullptr);

    const int key = m_Engine->Input_GetKey();
    if (key != 0) {
        if (CGFXFuncHelperBase* renderer = m_KeyBinder->FindByKey(key)) {
            if (m_ActiveRenderer) m_ActiveRenderer->SetActive(this, false);
            m_ActiveRenderer = renderer;
            renderer->SetActive(this, true);
        }
    }

    FallBackToMainRenderer();
    const bool result = m_ActiveRenderer->FrameUpdate(GetTimerDelta(), this);
    FallBackToMainRenderer();

    if (m_bRunScriptPending) {
        m_bRunScriptPending = false;
        StartPendingScript();
    }
    UpdateCursor();
    return result;
}

bool CGFXStarter::OnRender() {
    if (IsAutoRendering()) BeginScene();
    const bool result = m_ActiveRenderer ? m_ActiveRenderer->RenderAll(GetTimerDelta(), this) : false;
    if (IsAutoRendering()) RenderCursor();
    if (IsAutoRendering() && m_DebugDraw) m_DebugDraw->CallScriptRender();
    if (IsAutoRendering()) EndScene();
    return result;
}

void CGFXStarter::OnFocusLost() {
    m_bSoundBeforeFocusLoss = m_bSoundEnabled;
    EnableSound(false);
}

void CGFXStarter::OnFocusGain() { EnableSound(m_bSoundBeforeFocusLoss); }

void CGFXStarter::EnableSound(bool on) {
    m_bSoundEnabled = on;
    if (!m_Engine) return;
    if (on)
        m_Engine->Channel_ResumeAll();
    else
        m_Engine->Channel_PauseAll();
}

// --- Switching renderers ----------------------------------------------------------

void CGFXStarter::SwitchToRenderer(CGFXFuncHelperBase* renderer) {
    if (!renderer || renderer == m_ActiveRenderer) return;
    if (m_ActiveRenderer) m_ActiveRenderer->SetActive(this, false);
    renderer->SetActive(this, true);
    m_ActiveRenderer = renderer;
}

// A script run while the renderers are detached at the end (by a "__gc")
// may ask too: a renderer made then could be past the detaching, and so
// deleted while attached.
void CGFXStarter::RegisterRenderer(const char* name, const char* script) {
    if (!name || !script || m_bEnding) return;
    if (dynamic_cast<CScriptRenderer*>(m_KeyBinder->FindByName(name))) return;
    assert(m_BindedRenderers != nullptr && "m_BindedRenderers != NULL");
    if (!m_BindedRenderers) return;
    CScriptRenderer* renderer = new CScriptRenderer(script, nullptr);
    m_BindedRenderers->Add(renderer);
    renderer->Attach(this);
    // The renderer losing its name is out of the detach walk but still attached.
    if (CGFXFuncHelperBase* replaced = m_KeyBinder->FindByName(name)) m_ReplacedRenderers.push_back(replaced);
    m_KeyBinder->Register(name, renderer);
}

void CGFXStarter::RequestRunScript(const char* script) {
    m_PendingScript = script ? script : "";
    m_bRunScriptPending = true;
}

void CGFXStarter::StartPendingScript() {
    if (m_ScriptRenderer) {
        if (m_ScriptRenderer == m_ActiveRenderer) m_ActiveRenderer = nullptr;
        m_ScriptRenderer->SetActive(this, false);
        m_ScriptRenderer->Detach(this);
        delete m_ScriptRenderer;
    }
    m_ScriptRenderer = new CScriptRenderer(m_PendingScript.c_str(), nullptr);
    m_ScriptRenderer->Attach(this);
    SwitchToRenderer(m_ScriptRenderer);
}

CCursorHelper* CGFXStarter::GetCursor() {
    if (!m_Cursor) {
        m_Cursor = new CCursorHelper("");
        m_bCursorOwned = true;
    }
    return m_Cursor;
}

void CGFXStarter::UpdateCursor() {
    if (m_Cursor) m_Cursor->Frame(GetTimerDelta(), this);
}

void CGFXStarter::RenderCursor() {
    if (m_Cursor) m_Cursor->Render(GetTimerDelta(), this);
}

bool CGFXStarter::WasLeftButtonReleased() {
    gfxInputEvent event;
    return m_Engine->Input_GetEvent(&event) && event.type == INPUT_MBUTTONUP && event.key == GFXK_LBUTTON;
}

// --- Scene guard and capture ----------------------------------------------------

void CGFXStarter::BeginScene() {
    if (m_bInScene) return;
    m_bInScene = m_Engine->Gfx_BeginScene(0);
}

void CGFXStarter::EndScene() {
    if (!m_bInScene) return;
    m_bInScene = false;
    m_Engine->Gfx_EndScene();
}

HTEXTURE CGFXStarter::TakeLastSurface() {
    const std::string path = m_OutputFolder + kLastSurfaceFile;
    // An old capture must never pass for the new one.
    os::RemoveFile(path);
    if (!m_Engine->System_Snapshot(path.c_str())) return 0;
    return m_ResourceCache.GetTexture(path, true);
}
