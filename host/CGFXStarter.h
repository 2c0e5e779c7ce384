// The host: it owns the configuration, the resource cache, the renderers made
// at run time, the debug overlay and the engine reference, and drives the
// engine's loop through the four callbacks.
#pragma once

#include "engine/gfx.h"
#include "host/CConfigStore.h"
#include "host/CResourceCache.h"
#include "host/Singleton.h"
#include "host/StartParams.h"
#include "script/CPtrVector.h"

#include <string>
#include <vector>

class CCursorHelper;
class CDebugDrawHelper;
class CGFXFuncHelperBase;
class CHelperToKeyBinder;
class CScriptRenderer;

class CGFXStarter : public Singleton<CGFXStarter> {
public:
    ~CGFXStarter() override;
    CGFXStarter(const CGFXStarter&) = delete;
    CGFXStarter& operator=(const CGFXStarter&) = delete;

    bool Run(StartParams& params);
    void ShutdownEngine();
    void AttachRenderers();
    void DetachRenderers();
    void CreateDebugDrawHelper();
    void DestroyDebugDrawHelper();
    static std::string GetSpecialFolderPath();
    // Where the program writes its own files (log, captures, snapshots): the
    // program folder when a file can be made there; else (a system-wide or
    // read-only install) the per-user folder, made when missing; the program
    // folder still when neither can be written.
    static std::string ChooseOutputFolder(const std::string& programFolder, const std::string& userFolder);
    // Saves to path, or into the per-user folder when path lies outside it
    // in a folder that cannot be written, or when the save to path fails, so
    // the next start finds the settings there. Returns the file to save to
    // from now on.
    static std::string SaveConfig(const CConfigStore& config, const std::string& path, const std::string& userFolder);

    void SetCaption(const char* caption) { m_Caption = caption ? caption : ""; }
    void SetLogFile(const char* file) { m_LogFile = file ? file : ""; }
    void SetScreenSize(int width, int height) { m_ScreenWidth = width, m_ScreenHeight = height; }
    void SetWindowed(bool windowed) { m_bWindowed = windowed; }
    void SetUseSound(bool use) { m_bUseSound = use; }
    void SetIconId(int id) { m_IconId = id; }
    void SetFPS(int fps);

    GFX* GetEngine() const { return m_Engine; }
    CResourceCache* GetResourceCache() { return &m_ResourceCache; }
    CConfigStore* GetConfig() { return &m_Config; }
    CHelperToKeyBinder* GetKeyBinder() const { return m_KeyBinder; }
    int GetScreenWidth() const { return m_ScreenWidth; }
    int GetScreenHeight() const { return m_ScreenHeight; }
    CDebugDrawHelper* GetDebugDrawHelper() const { return m_DebugDraw; }
    bool IsAutoRendering() const { return m_bAutoRendering; }
    void SetAutoRendering(bool on) { m_bAutoRendering = on; }
    float GetTimerDelta() const { return m_Engine->Timer_GetDelta(); }
    const std::string& GetExeFolder() const { return m_ExeFolder; }
    const std::string& GetOutputFolder() const { return m_OutputFolder; }
    const std::string& GetConfigPath() const { return m_ConfigPath; }
    // Why the resource pack is not attached ("could not be opened: not
    // found"...); "" once it is.
    const std::string& GetPackProblem() const { return m_PackProblem; }
    CGFXFuncHelperBase* GetActiveRenderer() const { return m_ActiveRenderer; }

    static constexpr const char* kPackFile = "game.pak";

    // The engine's callbacks call these.
    bool OnFrame();
    bool OnRender();
    void OnFocusLost();
    void OnFocusGain();

    void SwitchToRenderer(CGFXFuncHelperBase* renderer);
    void RegisterRenderer(const char* name, const char* script);
    void RequestRunScript(const char* script);
    void StartPendingScript();
    CCursorHelper* GetCursor();
    void EnableSound(bool on);
    void UpdateCursor();
    void RenderCursor();
    bool WasLeftButtonReleased();

    // The scene guard: a scene is never begun twice nor ended twice.
    void BeginScene();
    void EndScene();
    bool IsInScene() const { return m_bInScene; }

    HTEXTURE TakeLastSurface();

private:
    friend class Singleton<CGFXStarter>;
    CGFXStarter();

    void SetEngineStates();
    void SetLogFileState();
    void AttachPack();
    std::string LogPlace() const;
    void FallBackToMainRenderer();
    void TearDown();

    int m_IconId = -1;
    CGFXFuncHelperBase* m_ActiveRenderer = nullptr;
    CCursorHelper* m_Cursor = nullptr;
    bool m_bRunScriptPending = false;
    // From the start of TearDown: nothing new is attached then.
    bool m_bEnding = false;
    std::string m_PendingScript;
    CPtrVector<CScriptRenderer>* m_BindedRenderers = nullptr;
    // Renderers whose name "RegisterRenderer" gave to a script renderer; not owned.
    std::vector<CGFXFuncHelperBase*> m_ReplacedRenderers;
    CScriptRenderer* m_ScriptRenderer = nullptr;
    CResourceCache m_ResourceCache;
    bool m_bCursorOwned = false;
    bool m_bEngineStarted = false;
    std::string m_ExeFolder;
    CConfigStore m_Config;
    bool m_bAutoRendering = true;
    bool m_bInScene = false;
    CDebugDrawHelper* m_DebugDraw = nullptr;
    CHelperToKeyBinder* m_KeyBinder = nullptr;
    bool m_bSoundEnabled = true;
    int m_ScreenWidth = 0;
    int m_ScreenHeight = 0;
    bool m_bWindowed = false;
    bool m_bUseSound = true;
    std::string m_Caption;
    std::string m_LogFile;
    int m_FPS = 0;
    GFX* m_Engine = nullptr;
    bool m_bSoundBeforeFocusLoss = true;
    CGFXFuncHelperBase* m_MainRenderer = nullptr;
    std::string m_ConfigPath;
    // The per-user folder, ending in '/'.
    std::string m_UserFolder;
    // See ChooseOutputFolder.
    std::string m_OutputFolder;
    // The log file given to the engine; "" for none.
    std::string m_LogPath;
    std::string m_PackProblem;
};
