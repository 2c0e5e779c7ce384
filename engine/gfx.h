// The engine interface: window, drawing, input, sound, timer, random numbers,
// resource pack and log. Everything outside engine/ talks to the engine only
// through this header; no SDL or OpenGL type appears here.
//
// Contract for every implementation (tests/engine/EngineContract.h checks it
// on the real engine and on the recording one):
// - Handles are 32-bit ids, 0 means "none", and an id is never reused within a
//   run (a freed texture's id never comes back as another texture), also
//   across System_Shutdown.
// - Every operation given 0, a freed handle or an unknown handle does nothing
//   and returns 0, false or null. Nothing crashes on a bad handle.
// - The engine is one reference-counted object: each gfxCreate(GFX_VERSION)
//   takes a reference, each Release gives one back, the last one destroys it.
// - Defaults before any System_SetState: windowed, sound on, system pointer
//   hidden, 800 x 600 x 32, effects/music/stream volume 100, no frame-rate
//   cap, no icon (GFX_ICON -1), title "Brindlewick", no log file ("").
// - Nothing is made outside an initiated engine: before System_Initiate and
//   after System_Shutdown, Texture_Create, Texture_CreateFrom, Texture_Load,
//   Target_Create and Effect_Load give 0, and Gfx_BeginScene and
//   System_Snapshot give false.
// - Sizes: textures and targets have sides of 1 to GFX_MAXTEXTURESIDE texels,
//   and a loaded picture at most GFX_MAXPICTURETEXELS texels; anything else
//   gives 0.
// - Drawing happens in scenes only: outside one, Gfx_RenderQuad, Gfx_Clear
//   and Gfx_SetClipping do nothing, and nothing they were given is kept for
//   a later scene.
#pragma once

#include <cstdint>

using HTEXTURE = uint32_t;
using HTARGET = uint32_t;
using HEFFECT = uint32_t;
using HCHANNEL = uint32_t;

constexpr int GFX_VERSION = 0x180;

// Size limits: the sides of textures and targets, and the texels of a loaded
// picture (16384 x 4096, 256 MB of ARGB).
constexpr int GFX_MAXTEXTURESIDE = 16384;
constexpr int64_t GFX_MAXPICTURETEXELS = int64_t(64) << 20;

// One corner of a quad. tx/ty are fractions of the texture surface's size.
struct gfxVertex {
    float x, y;    // screen position in pixels
    float z;       // depth 0..1
    uint32_t col;  // ARGB, alpha in bits 24-31
    float tx, ty;  // texture coordinates
};

// Corners in the order top-left, top-right, bottom-right, bottom-left.
struct gfxQuad {
    gfxVertex v[4];
    HTEXTURE tex;  // 0 = untextured
    int blend;     // BLEND_* bits
};

// Event types of gfxInputEvent::type.
enum {
    INPUT_KEYDOWN = 1,
    INPUT_KEYUP = 2,
    INPUT_MBUTTONDOWN = 3,
    INPUT_MBUTTONUP = 4,
    INPUT_MOUSEMOVE = 5,
    INPUT_MOUSEWHEEL = 6,
};

// Bits of gfxInputEvent::flags.
enum {
    GFXINP_SHIFT = 1,
    GFXINP_CTRL = 2,
    GFXINP_ALT = 4,
    GFXINP_CAPSLOCK = 8,
    GFXINP_SCROLLLOCK = 16,
    GFXINP_NUMLOCK = 32,
    GFXINP_REPEAT = 64,
};

struct gfxInputEvent {
    int type;    // INPUT_*
    int key;     // GFXK_* code of the key or button
    int flags;   // GFXINP_* bits held when the event happened
    int chr;     // character typed (key down only; a Unicode code point, and 8, 9,
                 // 13, 27 for Backspace, Tab, Enter, Escape), 0 = none
    int wheel;   // wheel notches (INPUT_MOUSEWHEEL)
    float x, y;  // mouse position in window coordinates
};

// Blend bits of gfxQuad::blend.
enum {
    BLEND_COLORMUL = 0,    // texel colour times vertex colour
    BLEND_COLORADD = 1,    // texel colour plus vertex colour, clamped
    BLEND_ALPHAADD = 0,    // additive: source times its alpha added to the target
    BLEND_ALPHABLEND = 2,  // source over target by source alpha
    BLEND_NOZWRITE = 0,
    BLEND_ZWRITE = 4,  // write depth (no effect without a depth buffer)
    BLEND_DEFAULT = BLEND_COLORMUL | BLEND_ALPHABLEND | BLEND_NOZWRITE,
};

// Key codes: the virtual-key numbers. Letters and digits are their upper-case
// ASCII codes ('A' = 65, '0' = 48).
enum {
    GFXK_LBUTTON = 1,
    GFXK_RBUTTON = 2,
    GFXK_MBUTTON = 4,
    GFXK_BACKSPACE = 8,
    GFXK_TAB = 9,
    GFXK_ENTER = 13,
    GFXK_SHIFT = 16,
    GFXK_CTRL = 17,
    GFXK_ALT = 18,
    GFXK_PAUSE = 19,
    GFXK_CAPSLOCK = 20,
    GFXK_ESCAPE = 27,
    GFXK_SPACE = 32,
    GFXK_PGUP = 33,
    GFXK_PGDN = 34,
    GFXK_END = 35,
    GFXK_HOME = 36,
    GFXK_LEFT = 37,
    GFXK_UP = 38,
    GFXK_RIGHT = 39,
    GFXK_DOWN = 40,
    GFXK_INSERT = 45,
    GFXK_DELETE = 46,
    GFXK_0 = 48,
    GFXK_9 = 57,
    GFXK_A = 65,
    GFXK_Z = 90,
    GFXK_LWIN = 91,
    GFXK_RWIN = 92,
    GFXK_APPS = 93,
    GFXK_NUMPAD0 = 96,
    GFXK_NUMPAD9 = 105,
    GFXK_MULTIPLY = 106,
    GFXK_ADD = 107,
    GFXK_SUBTRACT = 109,
    GFXK_DECIMAL = 110,
    GFXK_DIVIDE = 111,
    GFXK_F1 = 112,
    GFXK_F12 = 123,
    GFXK_NUMLOCK = 144,
    GFXK_SCROLLLOCK = 145,
    GFXK_SEMICOLON = 186,
    GFXK_EQUALS = 187,
    GFXK_COMMA = 188,
    GFXK_MINUS = 189,
    GFXK_PERIOD = 190,
    GFXK_SLASH = 191,
    GFXK_GRAVE = 192,
    GFXK_LBRACKET = 219,
    GFXK_BACKSLASH = 220,
    GFXK_RBRACKET = 221,
    GFXK_APOSTROPHE = 222,
};

// Animation play modes (gfxAnimation).
enum {
    GFXANIM_FWD = 0,
    GFXANIM_REV = 1,
    GFXANIM_PINGPONG = 2,
    GFXANIM_LOOP = 4,
};

// Keyboard navigation of gfxGUI.
enum {
    GFXGUI_NONAVKEYS = 0,
    GFXGUI_LEFTRIGHT = 1,
    GFXGUI_UPDOWN = 2,
    GFXGUI_CYCLED = 4,
};

constexpr int GFXFPS_UNLIMITED = 0;

enum gfxBoolState {
    GFX_WINDOWED,    // window (true) or full screen; may change while running
    GFX_USESOUND,    // open the audio device (read by System_Initiate); off, effects
                     // still load (as silent ones) and no channel ever plays
    GFX_HIDEMOUSE,   // hide the system pointer
    GFX_SHOWSPLASH,  // accepted and ignored: there is no splash screen
};

typedef bool (*gfxCallback)();

enum gfxFuncState {
    GFX_FRAMEFUNC,      // once per frame; true ends the loop
    GFX_RENDERFUNC,     // once per frame after the frame function
    GFX_FOCUSLOSTFUNC,  // the window lost the input focus
    GFX_FOCUSGAINFUNC,  // the window gained it back
};

enum gfxIntState {
    // The screen's size and depth are read by System_Initiate: set while the
    // engine is initiated, they change nothing.
    GFX_SCREENWIDTH,
    GFX_SCREENHEIGHT,
    GFX_SCREENBPP,
    GFX_FXVOLUME,      // 0-100 (clamped)
    GFX_MUSVOLUME,     // 0-100 (clamped)
    GFX_STREAMVOLUME,  // 0-100 (clamped)
    GFX_FPS,           // frame-rate cap, GFXFPS_UNLIMITED = none (no vertical sync either); below 0 = none
    GFX_ICON,          // id of an icon registered with System_RegisterIcon
};

enum gfxStringState {
    GFX_TITLE,
    GFX_LOGFILE,  // a relative name lies in the program's folder; setting it starts the file anew
};

class GFX {
public:
    // Gives back one reference; the last one shuts the engine down and frees it.
    virtual void Release() = 0;

    // --- System ---------------------------------------------------------
    // Opens the window with the states set before; true at once when
    // initiated already. False (reason in the log) for a screen size below
    // 1 x 1, or when no window or no OpenGL 3.3 context can be had.
    virtual bool System_Initiate() = 0;
    // Frees everything the engine made; the interface itself stays valid.
    virtual void System_Shutdown() = 0;
    // Runs the loop until the frame function returns true, the window is
    // closed or the process gets SIGINT, SIGTERM or SIGHUP (then without
    // calling the frame function again). Each frame:
    // events (focus callbacks among them), frame function, render function,
    // one present, the wait of the frame-rate cap. False when not initiated or
    // without a frame function.
    virtual bool System_Start() = 0;
    virtual void System_SetState(gfxBoolState state, bool value) = 0;
    virtual void System_SetState(gfxFuncState state, gfxCallback value) = 0;
    virtual void System_SetState(gfxIntState state, int value) = 0;
    virtual void System_SetState(gfxStringState state, const char* value) = 0;
    virtual bool System_GetState(gfxBoolState state) = 0;
    virtual int System_GetState(gfxIntState state) = 0;
    virtual const char* System_GetState(gfxStringState state) = 0;
    // Appends one line to the log file (printf-style); nothing without a log file.
    virtual void System_Log(const char* format, ...) __attribute__((format(printf, 2, 3))) = 0;
    // Writes the picture of the frame being drawn (the screen's, with all that
    // was drawn on it so far) as a 24-bit BMP to the path (a relative one lies
    // in the program's folder), or with null to a new file "shotNNN.bmp"
    // beside the log file (in the program's folder without one), the first
    // number no file has. False when nothing could be written.
    virtual bool System_Snapshot(const char* filename = nullptr) = 0;
    // Registers an icon image (ARGB rows, top-down) under an id for GFX_ICON.
    virtual void System_RegisterIcon(int id, const uint32_t* argb, int width, int height) = 0;

    // --- Resources ------------------------------------------------------
    // Attaches a zip pack (a relative name lies in the program's folder).
    // False for a missing, corrupt or wrongly protected pack.
    virtual bool Resource_AttachPack(const char* filename, const char* password = nullptr) = 0;
    // The whole contents of a file: from the attached packs in attach order
    // ('\\' and '/' alike, leading separator ignored, case ignored), then from
    // disk (relative to the program's folder). Null with *size = 0 when absent.
    // The buffer is released with Resource_Free.
    virtual void* Resource_Load(const char* filename, uint32_t* size = nullptr) = 0;
    // Why the last load of a file (Resource_Load, or the one in a load below)
    // found nothing: "" when no attached pack holds it and it is not on disk,
    // else what stopped the read ("in /g/game.pak but cannot be read: CRC
    // error"); "" after a load that found the file. Valid until the next load.
    virtual const char* Resource_GetError() = 0;
    virtual void Resource_Free(void* data) = 0;  // accepts null

    // --- Textures and render targets ------------------------------------
    // Transparent black. 0 for a side outside 1 to GFX_MAXTEXTURESIDE.
    virtual HTEXTURE Texture_Create(int width, int height) = 0;
    // As Texture_Create, but its texels are the width x height ARGB rows
    // given (top-down), sent to it once: a texture its maker fills whole is
    // not cleared first. 0 also for null texels.
    virtual HTEXTURE Texture_CreateFrom(int width, int height, const uint32_t* argb) = 0;
    // Loads through Resource_Load; with size non-zero, filename points at size
    // bytes of an image in memory instead. PNG, JPEG, BMP, TGA. 0 on failure:
    // no such file, a picture no decoder takes, or one larger than the size
    // limits (refused before it is decoded). No mipmaps are made: the flag is
    // accepted and ignored.
    virtual HTEXTURE Texture_Load(const char* filename, uint32_t size = 0, bool mipmap = false) = 0;
    virtual void Texture_Free(HTEXTURE tex) = 0;
    // original = true: the image's size; false: the surface's size, which is
    // the row pitch of a lock (here always equal to the image's). 0 for a bad handle.
    virtual int Texture_GetWidth(HTEXTURE tex, bool original = false) = 0;
    virtual int Texture_GetHeight(HTEXTURE tex, bool original = false) = 0;
    // ARGB texels, rows top-down, row pitch = surface width; the pointer is at
    // texel (left, top). width or height 0 locks the whole texture (left and
    // top then count as 0). Null for a bad handle, a texture already locked, or
    // a rectangle outside the texture. A render target's texture gives the
    // picture drawn into it.
    virtual uint32_t* Texture_Lock(HTEXTURE tex, bool readOnly = true, int left = 0, int top = 0, int width = 0,
                                   int height = 0) = 0;
    // Uploads what a writable lock changed.
    virtual void Texture_Unlock(HTEXTURE tex) = 0;

    // 0 for a side outside 1 to GFX_MAXTEXTURESIDE.
    virtual HTARGET Target_Create(int width, int height, bool zbuffer) = 0;
    virtual void Target_Free(HTARGET target) = 0;
    // The target's texture: usable in quads and locks, freed with the target
    // (Texture_Free on it does nothing). The texture starts transparent black.
    virtual HTEXTURE Target_GetTexture(HTARGET target) = 0;

    // --- Drawing --------------------------------------------------------
    // Begins drawing into a target (0 = the screen), without clipping. A
    // target's scene may be begun inside the screen's; ending it returns to the
    // screen intact, with the screen's clipping. The screen keeps its picture
    // between scenes of a frame: it is shown once per loop iteration, never by
    // Gfx_EndScene. False for a bad target or one whose scene is open already.
    // A target freed while its scene is open is drawn into no more.
    virtual bool Gfx_BeginScene(HTARGET target = 0) = 0;
    virtual void Gfx_EndScene() = 0;
    // Fills the current target, within its clipping rectangle, with the colour
    // (alpha included); a depth buffer is cleared too.
    virtual void Gfx_Clear(uint32_t color) = 0;
    // Outside a scene the quad is dropped: drawn nowhere, not kept for later.
    virtual void Gfx_RenderQuad(const gfxQuad* quad) = 0;
    // Clips the current scene to the rectangle clamped to the target; all
    // zeros = whole target. Outside a scene: nothing.
    virtual void Gfx_SetClipping(int x = 0, int y = 0, int width = 0, int height = 0) = 0;

    // --- Sound ----------------------------------------------------------
    // Loads through Resource_Load; with size non-zero, filename points at size
    // bytes of a sound in memory instead. WAV, AIFF, Ogg, FLAC and MP3 (VOC is
    // refused). 0 on failure: no such file, no data, or data no decoder takes.
    // Without sound (GFX_USESOUND off at System_Initiate) the data is not
    // decoded: any data but a VOC sound gives a silent effect, which never plays.
    virtual HEFFECT Effect_Load(const char* filename, uint32_t size = 0) = 0;
    virtual void Effect_Free(HEFFECT effect) = 0;  // stops its channels
    // volume 0-100 (clamped), pan -100..100, pitch 1.0 = normal speed (the
    // mixer has no other: other values play at normal speed, logged once).
    // 0 for effect 0, without sound, or when no voice is free.
    virtual HCHANNEL Effect_PlayEx(HEFFECT effect, int volume = 100, int pan = 0, float pitch = 1.0f,
                                   bool loop = false) = 0;
    virtual void Channel_SetVolume(HCHANNEL channel, int volume) = 0;  // 0-100, clamped
    virtual void Channel_Pause(HCHANNEL channel) = 0;
    virtual void Channel_Resume(HCHANNEL channel) = 0;
    virtual void Channel_Stop(HCHANNEL channel) = 0;
    virtual void Channel_PauseAll() = 0;
    virtual void Channel_ResumeAll() = 0;
    // True while playing or paused.
    virtual bool Channel_IsPlaying(HCHANNEL channel) = 0;

    // --- Input (state of the current frame) -----------------------------
    // Takes the next queued event of this frame; false when none is left (or
    // for null). Events not taken in their frame are dropped at the next.
    virtual bool Input_GetEvent(gfxInputEvent* event) = 0;
    virtual void Input_GetMousePos(float* x, float* y) = 0;
    virtual int Input_GetMouseWheel() = 0;        // notches this frame
    virtual bool Input_IsMouseOver() = 0;         // pointer inside the window
    virtual bool Input_KeyDown(int key) = 0;      // went down this frame (not a repeat)
    virtual bool Input_KeyUp(int key) = 0;        // went up this frame
    virtual bool Input_GetKeyState(int key) = 0;  // held now; codes outside 0-255 never
    // Last key or mouse button that went down (or repeated) this frame, 0 = none.
    virtual int Input_GetKey() = 0;
    virtual int Input_GetChar() = 0;  // last character typed this frame, 0 = none

    // --- Timer and random -----------------------------------------------
    virtual float Timer_GetDelta() = 0;  // last frame's time in seconds, 0 in the first
    virtual int Timer_GetFPS() = 0;      // frames shown in the last whole second
    virtual float Random_Float(float min, float max) = 0;

protected:
    ~GFX() = default;  // destroyed through Release only
};

// The one engine, with one more reference; null for any version but GFX_VERSION.
GFX* gfxCreate(int version);
