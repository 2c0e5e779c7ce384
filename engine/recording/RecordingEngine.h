// An engine for unit tests: it opens no window and plays no sound. It logs
// every call with its arguments, serves files from memory or a folder, keeps
// textures as ARGB buffers (drawing axis-aligned quads into them with nearest
// sampling), takes scripted input per frame and runs a given number of frames
// in System_Start. Tests reach it with RecordingEngine::Instance() after
// gfxCreate(GFX_VERSION), which this library provides.
//
// It keeps the contract of engine/gfx.h as the real engine does (the suite in
// tests/engine/EngineContract.h runs on both), except where it stands in for
// what it cannot do: it decodes nothing (images and sounds are registered by
// name, loads from memory give 0), reads no pack (Resource_AttachPack succeeds
// unless failAttachPack; the files added stand for the pack's), keeps no
// depth buffer, plays no sound (a channel plays until stopped or
// EndChannel) and leaves signals alone.
//
// Log format: one entry per call, "Name(arg,arg,...)"; ints as decimals,
// floats with %g, bools as true/false, texts as they are, null texts as null,
// states and blend modes by the header's names ("System_SetState(GFX_WINDOWED,true)",
// "System_SetState(GFX_FRAMEFUNC,func)", "Gfx_RenderQuad(3,BLEND_DEFAULT)").
#pragma once

#include "engine/gfx.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// What the engine reports for one frame. Keys in `down`/`up` went down or up
// this frame; keys in `held` are held now.
struct RecordedInput {
    std::vector<gfxInputEvent> events;
    std::set<int> down, up, held;
    int key = 0;
    int chr = 0;
    float mouseX = 0, mouseY = 0;
    int wheel = 0;
    bool mouseOver = true;
};

class RecordingEngine final : public GFX {
public:
    struct Texture {
        int width = 0, height = 0;  // image size
        int surfaceWidth = 0, surfaceHeight = 0;
        std::vector<uint32_t> texels;  // surfaceWidth * surfaceHeight
        bool locked = false;
        bool lockReadOnly = true;
        std::vector<uint32_t> lockCopy;  // what a lock hands out; written back by a writable unlock
        int lockLeft = 0, lockTop = 0, lockWidth = 0, lockHeight = 0;
        HTARGET target = 0;  // owning target, if any
        std::string name;    // file it was loaded from
    };
    struct Channel {
        HEFFECT effect = 0;
        int volume = 100, pan = 0;
        float pitch = 1.0f;
        bool loop = false;
        bool paused = false;
        bool ended = false;
    };

    // The live engine, or null when no reference is held.
    static RecordingEngine* Instance();
    int RefCount() const { return m_RefCount; }

    // --- Call log ---
    const std::vector<std::string>& Log() const { return m_Log; }
    // The entries of calls with this name, in order.
    std::vector<std::string> Calls(const std::string& name) const;
    int Count(const std::string& name) const;
    void ClearLog();
    // The quads drawn in a live scene (others are logged, then dropped), and
    // the target of each (0 = the screen).
    const std::vector<gfxQuad>& Quads() const { return m_Quads; }
    const std::vector<HTARGET>& QuadTargets() const { return m_QuadTargets; }
    const std::vector<std::string>& LogLines() const { return m_LogLines; }  // System_Log texts

    // --- Files ---
    // Names are matched as in a pack: '\\' and '/' alike, a leading separator
    // ignored, case ignored.
    void AddFile(const std::string& name, const std::string& contents);
    void RemoveFile(const std::string& name);
    // A file that is there but cannot be read: Resource_Load gives null and
    // Resource_GetError the reason.
    void AddUnreadableFile(const std::string& name, const std::string& reason);
    // Files not added in memory are read from this folder (empty = none).
    void SetFileFolder(const std::string& folder) { m_FileFolder = folder; }
    int LiveResources() const { return static_cast<int>(m_Resources.size()); }

    // --- Images and textures ---
    // Texture_Load of this name gives a texture of this size. texels (row
    // major, image size) may be empty: transparent black. A surface larger
    // than the image may be asked for.
    void AddImage(const std::string& name, int width, int height, std::vector<uint32_t> texels = {},
                  int surfaceWidth = 0, int surfaceHeight = 0);
    // Texture_Create and Texture_CreateFrom round surfaces up to powers of two
    // while this is on (texels beyond the image's are transparent black).
    void SetPowerOfTwoSurfaces(bool on) { m_PowerOfTwo = on; }
    Texture* FindTexture(HTEXTURE tex);
    int LiveTextures() const;
    int LiveTargets() const { return static_cast<int>(m_Targets.size()); }
    // The screen's picture (screen width x height, set at System_Initiate).
    const std::vector<uint32_t>& Screen() const { return m_Screen; }

    // --- Sound ---
    // Effect_Load of this name succeeds; so does any name that is a file.
    void AddSound(const std::string& name);
    Channel* FindChannel(HCHANNEL channel);
    void EndChannel(HCHANNEL channel);  // as if the sound had finished
    int LiveEffects() const { return static_cast<int>(m_Effects.size()); }

    // --- Input, timer, random ---
    void SetInput(const RecordedInput& input);    // the current frame's input
    void QueueInput(const RecordedInput& input);  // taken at the start of a frame of System_Start
    void SetDelta(float dt) { m_Delta = dt; }
    void SetFPS(int fps) { m_FPS = fps; }
    void QueueRandom(float value) { m_Randoms.push_back(value); }  // empty queue: min

    // What System_Shutdown found still made (it frees everything, as the real
    // engine does): the leaks of the code under test.
    struct Leftovers {
        int textures = 0, targets = 0, effects = 0, resources = 0;
    };
    const Leftovers& LeftAtShutdown() const { return m_LeftAtShutdown; }

    // --- System_Start and failures ---
    void SetFrameLimit(int frames) { m_FrameLimit = frames; }  // frames System_Start runs at most
    int FramesRun() const { return m_FramesRun; }
    bool failInitiate = false;
    bool failTargetCreate = false;
    bool failTextureCreate = false;
    bool failSnapshot = false;
    bool failAttachPack = false;
    // Run between the frame and render callbacks of each frame (tests' hook).
    void (*betweenFrames)(int frame) = nullptr;

    // --- GFX ---
    void Release() override;
    bool System_Initiate() override;
    void System_Shutdown() override;
    bool System_Start() override;
    void System_SetState(gfxBoolState state, bool value) override;
    void System_SetState(gfxFuncState state, gfxCallback value) override;
    void System_SetState(gfxIntState state, int value) override;
    void System_SetState(gfxStringState state, const char* value) override;
    bool System_GetState(gfxBoolState state) override;
    int System_GetState(gfxIntState state) override;
    const char* System_GetState(gfxStringState state) override;
    void System_Log(const char* format, ...) override __attribute__((format(printf, 2, 3)));
    bool System_Snapshot(const char* filename) override;
    void System_RegisterIcon(int id, const uint32_t* argb, int width, int height) override;

    bool Resource_AttachPack(const char* filename, const char* password) override;
    void* Resource_Load(const char* filename, uint32_t* size) override;
    const char* Resource_GetError() override { return m_LoadError.c_str(); }
    void Resource_Free(void* data) override;

    HTEXTURE Texture_Create(int width, int height) override;
    HTEXTURE Texture_CreateFrom(int width, int height, const uint32_t* argb) override;
    HTEXTURE Texture_Load(const char* filename, uint32_t size, bool mipmap) override;
    void Texture_Free(HTEXTURE tex) override;
    int Texture_GetWidth(HTEXTURE tex, bool original) override;
    int Texture_GetHeight(HTEXTURE tex, bool original) override;
    uint32_t* Texture_Lock(HTEXTURE tex, bool readOnly, int left, int top, int width, int height) override;
    void Texture_Unlock(HTEXTURE tex) override;
    HTARGET Target_Create(int width, int height, bool zbuffer) override;
    void Target_Free(HTARGET target) override;
    HTEXTURE Target_GetTexture(HTARGET target) override;

    bool Gfx_BeginScene(HTARGET target) override;
    void Gfx_EndScene() override;
    void Gfx_Clear(uint32_t color) override;
    void Gfx_RenderQuad(const gfxQuad* quad) override;
    void Gfx_SetClipping(int x, int y, int width, int height) override;

    HEFFECT Effect_Load(const char* filename, uint32_t size) override;
    void Effect_Free(HEFFECT effect) override;
    HCHANNEL Effect_PlayEx(HEFFECT effect, int volume, int pan, float pitch, bool loop) override;
    void Channel_SetVolume(HCHANNEL channel, int volume) override;
    void Channel_Pause(HCHANNEL channel) override;
    void Channel_Resume(HCHANNEL channel) override;
    void Channel_Stop(HCHANNEL channel) override;
    void Channel_PauseAll() override;
    void Channel_ResumeAll() override;
    bool Channel_IsPlaying(HCHANNEL channel) override;

    bool Input_GetEvent(gfxInputEvent* event) override;
    void Input_GetMousePos(float* x, float* y) override;
    int Input_GetMouseWheel() override;
    bool Input_IsMouseOver() override;
    bool Input_KeyDown(int key) override;
    bool Input_KeyUp(int key) override;
    bool Input_GetKeyState(int key) override;
    int Input_GetKey() override;
    int Input_GetChar() override;

    float Timer_GetDelta() override;
    int Timer_GetFPS() override;
    float Random_Float(float min, float max) override;

private:
    friend GFX* gfxCreate(int version);
    RecordingEngine() = default;
    ~RecordingEngine();

    struct Image {
        int width, height, surfaceWidth, surfaceHeight;
        std::vector<uint32_t> texels;  // surface size
    };
    // Clipping belongs to a scene: x0..x1, y0..y1 clamped to its target.
    struct Scene {
        HTARGET target = 0;
        bool alive = true;  // false once its target is freed
        int clipX0 = 0, clipY0 = 0, clipX1 = 0, clipY1 = 0;
    };

    void Record(const char* name, const std::string& args);
    bool ReadFile(const std::string& name, std::string& out) const;
    HTEXTURE NewTexture(Texture texture);
    // A texture of the image's size with these texels (null: transparent black).
    HTEXTURE CreateTexture(int width, int height, const uint32_t* argb);
    std::string NextSnapshotName() const;
    // The size of the screen (target 0) or a target; 0 x 0 for a bad one.
    void SceneBufferSize(HTARGET target, int& width, int& height);
    // The picture the open scene draws into, null outside a live scene.
    std::vector<uint32_t>* SceneBuffer(int& width, int& height);
    void Rasterize(const gfxQuad& quad);
    // Narrows pixel bounds to the open scene's clip rectangle.
    void Clip(int& x0, int& y0, int& x1, int& y1) const;
    void FreeEverything();

    int m_RefCount = 0;
    uint32_t m_NextHandle = 1;  // one sequence for all kinds: ids are never reused

    std::vector<std::string> m_Log;
    std::vector<gfxQuad> m_Quads;
    std::vector<HTARGET> m_QuadTargets;
    std::vector<std::string> m_LogLines;

    // The defaults of engine/gfx.h.
    std::map<gfxBoolState, bool> m_BoolStates = {
        {GFX_WINDOWED, true}, {GFX_USESOUND, true}, {GFX_HIDEMOUSE, true}, {GFX_SHOWSPLASH, false}};
    std::map<gfxIntState, int> m_IntStates = {
        {GFX_SCREENWIDTH, 800}, {GFX_SCREENHEIGHT, 600}, {GFX_SCREENBPP, 32},         {GFX_FXVOLUME, 100},
        {GFX_MUSVOLUME, 100},   {GFX_STREAMVOLUME, 100}, {GFX_FPS, GFXFPS_UNLIMITED}, {GFX_ICON, -1}};
    std::map<gfxStringState, std::string> m_StringStates = {{GFX_TITLE, "Brindlewick"}, {GFX_LOGFILE, ""}};
    std::map<gfxFuncState, gfxCallback> m_Callbacks;
    std::map<int, Image> m_Icons;

    std::map<std::string, std::string> m_Files;       // by normalised name
    std::map<std::string, std::string> m_Unreadable;  // reasons, by normalised name
    std::string m_LoadError;
    std::string m_FileFolder;
    std::set<void*> m_Resources;

    std::map<std::string, Image> m_Images;  // by normalised name
    std::map<HTEXTURE, Texture> m_Textures;
    std::map<HTARGET, HTEXTURE> m_Targets;
    bool m_PowerOfTwo = false;
    std::vector<uint32_t> m_Screen;
    int m_ScreenW = 0, m_ScreenH = 0;
    std::vector<Scene> m_Scenes;
    bool m_Initiated = false;
    bool m_Sound = false;  // GFX_USESOUND as System_Initiate found it
    Leftovers m_LeftAtShutdown;

    std::set<std::string> m_SoundNames;
    std::map<HEFFECT, std::string> m_Effects;
    std::map<HCHANNEL, Channel> m_Channels;

    RecordedInput m_Input;
    std::deque<RecordedInput> m_InputQueue;
    size_t m_NextEvent = 0;
    float m_Delta = 0.0f;
    int m_FPS = 0;
    std::deque<float> m_Randoms;
    int m_FrameLimit = 1;
    int m_FramesRun = 0;
};
