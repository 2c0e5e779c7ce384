#include "engine/recording/RecordingEngine.h"

#include "engine/Limits.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

RecordingEngine* g_Instance = nullptr;

std::string Text(const char* s) { return s ? std::string(s) : std::string("null"); }
std::string Text(bool b) { return b ? "true" : "false"; }
std::string Text(int i) { return std::to_string(i); }
std::string Text(unsigned int u) { return std::to_string(u); }
std::string Text(float f) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", static_cast<double>(f));
    return buf;
}

// The names of the header, so that logged calls read as the code reads.
std::string Text(gfxBoolState state) {
    static const char* const names[] = {"GFX_WINDOWED", "GFX_USESOUND", "GFX_HIDEMOUSE", "GFX_SHOWSPLASH"};
    return state >= 0 && state < 4 ? names[state] : "gfxBoolState " + std::to_string(static_cast<int>(state));
}
std::string Text(gfxFuncState state) {
    static const char* const names[] = {"GFX_FRAMEFUNC", "GFX_RENDERFUNC", "GFX_FOCUSLOSTFUNC", "GFX_FOCUSGAINFUNC"};
    return state >= 0 && state < 4 ? names[state] : "gfxFuncState " + std::to_string(static_cast<int>(state));
}
std::string Text(gfxIntState state) {
    static const char* const names[] = {"GFX_SCREENWIDTH", "GFX_SCREENHEIGHT", "GFX_SCREENBPP", "GFX_FXVOLUME",
                                        "GFX_MUSVOLUME",   "GFX_STREAMVOLUME", "GFX_FPS",       "GFX_ICON"};
    return state >= 0 && state < 8 ? names[state] : "gfxIntState " + std::to_string(static_cast<int>(state));
}
std::string Text(gfxStringState state) {
    static const char* const names[] = {"GFX_TITLE", "GFX_LOGFILE"};
    return state >= 0 && state < 2 ? names[state] : "gfxStringState " + std::to_string(static_cast<int>(state));
}

// BLEND_DEFAULT, else the three choices by name ("BLEND_COLORADD|BLEND_ALPHAADD|BLEND_ZWRITE"),
// and any other bits in hex.
std::string BlendText(int blend) {
    if (blend == BLEND_DEFAULT) return "BLEND_DEFAULT";
    std::string text = (blend & BLEND_COLORADD) ? "BLEND_COLORADD" : "BLEND_COLORMUL";
    text += (blend & BLEND_ALPHABLEND) ? "|BLEND_ALPHABLEND" : "|BLEND_ALPHAADD";
    text += (blend & BLEND_ZWRITE) ? "|BLEND_ZWRITE" : "|BLEND_NOZWRITE";
    const int others = blend & ~(BLEND_COLORADD | BLEND_ALPHABLEND | BLEND_ZWRITE);
    if (others) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "|0x%X", static_cast<unsigned>(others));
        text += hex;
    }
    return text;
}

template <typename... Args>
std::string Join(const Args&... args) {
    std::string out;
    ((out += (out.empty() ? "" : ",") + Text(args)), ...);
    return out;
}

// Pack names: '\\' and '/' alike, no leading separator, case ignored.
std::string Normalise(const std::string& name) {
    std::string out;
    for (char c : name) out += c == '\\' ? '/' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    size_t start = out.find_first_not_of('/');
    return start == std::string::npos ? std::string() : out.substr(start);
}

constexpr size_t kMaxScenes = 8;

int PowerOfTwo(int n) {
    int p = 1;
    while (p < n) p <<= 1;
    return p;
}

// Pixel bounds from float corners: NaN and far-out values clamp to the edges.
int ClampToPixels(float v, int lo, int hi) {
    if (!(v > static_cast<float>(lo))) return lo;
    if (!(v < static_cast<float>(hi))) return hi;
    return static_cast<int>(v);
}

uint8_t Channel(uint32_t c, int shift) { return static_cast<uint8_t>((c >> shift) & 0xFF); }

uint32_t Pack(int a, int r, int g, int b) {
    auto clamp = [](int v) { return static_cast<uint32_t>(std::min(255, std::max(0, v))); };
    return clamp(a) << 24 | clamp(r) << 16 | clamp(g) << 8 | clamp(b);
}

// Texel colour combined with the vertex colour, then blended over the target,
// the way the blend bits say.
uint32_t Shade(uint32_t texel, uint32_t vertex, uint32_t dst, int blend) {
    int src[4], vtx[4], out[4];
    for (int i = 0; i < 4; ++i) {
        src[i] = Channel(texel, 24 - 8 * i);
        vtx[i] = Channel(vertex, 24 - 8 * i);
    }
    out[0] = src[0] * vtx[0] / 255;
    for (int i = 1; i < 4; ++i) out[i] = (blend & BLEND_COLORADD) ? src[i] + vtx[i] : src[i] * vtx[i] / 255;
    int a = std::min(255, out[0]);
    int res[4];
    // The alpha channel blends by the same factors as the colours.
    res[0] = (blend & BLEND_ALPHABLEND) ? (a * a + Channel(dst, 24) * (255 - a)) / 255 : Channel(dst, 24) + a * a / 255;
    for (int i = 1; i < 4; ++i) {
        int s = std::min(255, out[i]);
        int d = Channel(dst, 24 - 8 * i);
        res[i] = (blend & BLEND_ALPHABLEND) ? (s * a + d * (255 - a)) / 255 : d + s * a / 255;
    }
    return Pack(res[0], res[1], res[2], res[3]);
}

}  // namespace

GFX* gfxCreate(int version) {
    if (version != GFX_VERSION) return nullptr;
    if (!g_Instance) g_Instance = new RecordingEngine();
    ++g_Instance->m_RefCount;
    return g_Instance;
}

RecordingEngine* RecordingEngine::Instance() { return g_Instance; }

RecordingEngine::~RecordingEngine() {
    FreeEverything();
    g_Instance = nullptr;
}

void RecordingEngine::Release() {
    if (--m_RefCount == 0) delete this;
}

void RecordingEngine::Record(const char* name, const std::string& args) {
    m_Log.push_back(std::string(name) + "(" + args + ")");
}

std::vector<std::string> RecordingEngine::Calls(const std::string& name) const {
    std::vector<std::string> out;
    const std::string prefix = name + "(";
    for (const auto& entry : m_Log)
        if (entry.compare(0, prefix.size(), prefix) == 0) out.push_back(entry);
    return out;
}

int RecordingEngine::Count(const std::string& name) const { return static_cast<int>(Calls(name).size()); }

void RecordingEngine::ClearLog() {
    m_Log.clear();
    m_Quads.clear();
    m_QuadTargets.clear();
    m_LogLines.clear();
}

// --- Files -----------------------------------------------------------------

void RecordingEngine::AddFile(const std::string& name, const std::string& contents) {
    m_Files[Normalise(name)] = contents;
}

void RecordingEngine::RemoveFile(const std::string& name) {
    m_Files.erase(Normalise(name));
    m_Unreadable.erase(Normalise(name));
}

void RecordingEngine::AddUnreadableFile(const std::string& name, const std::string& reason) {
    m_Files.erase(Normalise(name));
    m_Unreadable[Normalise(name)] = reason;
}

bool RecordingEngine::ReadFile(const std::string& name, std::string& out) const {
    auto it = m_Files.find(Normalise(name));
    if (it != m_Files.end()) {
        out = it->second;
        return true;
    }
    if (m_FileFolder.empty() || name.empty()) return false;
    std::string path = name[0] == '/' ? name : m_FileFolder + "/" + name;
    std::replace(path.begin(), path.end(), '\\', '/');
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    out = ss.str();
    return true;
}

bool RecordingEngine::Resource_AttachPack(const char* filename, const char* password) {
    Record("Resource_AttachPack", Join(filename, password));
    return !failAttachPack;
}

void* RecordingEngine::Resource_Load(const char* filename, uint32_t* size) {
    Record("Resource_Load", Join(filename));
    if (size) *size = 0;
    m_LoadError.clear();
    std::string data;
    if (filename) {
        auto unreadable = m_Unreadable.find(Normalise(filename));
        if (unreadable != m_Unreadable.end()) m_LoadError = unreadable->second;
    }
    if (!filename || !m_LoadError.empty() || !ReadFile(filename, data)) return nullptr;
    char* buf = new char[data.size() + 1];
    std::memcpy(buf, data.data(), data.size());
    buf[data.size()] = 0;
    m_Resources.insert(buf);
    if (size) *size = static_cast<uint32_t>(data.size());
    return buf;
}

void RecordingEngine::Resource_Free(void* data) {
    Record("Resource_Free", data ? "data" : "null");
    if (m_Resources.erase(data)) delete[] static_cast<char*>(data);
}

// --- System ------------------------------------------------------------------

bool RecordingEngine::System_Initiate() {
    Record("System_Initiate", "");
    if (m_Initiated) return true;
    if (failInitiate) return false;
    m_ScreenW = m_IntStates[GFX_SCREENWIDTH];
    m_ScreenH = m_IntStates[GFX_SCREENHEIGHT];
    // No window without pixels; a screen too large to keep draws nowhere.
    if (m_ScreenW <= 0 || m_ScreenH <= 0) return false;
    if (m_ScreenW > 4096 || m_ScreenH > 4096) m_ScreenW = m_ScreenH = 0;
    m_Screen.assign(static_cast<size_t>(m_ScreenW) * m_ScreenH, 0);
    m_Sound = m_BoolStates[GFX_USESOUND];
    m_Initiated = true;
    return true;
}

void RecordingEngine::System_Shutdown() {
    Record("System_Shutdown", "");
    m_LeftAtShutdown = Leftovers{LiveTextures(), LiveTargets(), LiveEffects(), LiveResources()};
    FreeEverything();
    m_Initiated = false;
}

void RecordingEngine::FreeEverything() {
    for (void* p : m_Resources) delete[] static_cast<char*>(p);
    m_Resources.clear();
    m_Textures.clear();
    m_Targets.clear();
    m_Effects.clear();
    m_Channels.clear();
    m_Scenes.clear();
    m_Screen.clear();
    m_ScreenW = m_ScreenH = 0;
}

bool RecordingEngine::System_Start() {
    Record("System_Start", "");
    gfxCallback frame = m_Callbacks[GFX_FRAMEFUNC];
    gfxCallback render = m_Callbacks[GFX_RENDERFUNC];
    if (!m_Initiated || !frame) return false;
    // A callback may shut the engine down: the loop ends with it.
    for (int i = 0; i < m_FrameLimit && m_Initiated; ++i) {
        if (!m_InputQueue.empty()) {
            SetInput(m_InputQueue.front());
            m_InputQueue.pop_front();
        } else {
            SetInput(RecordedInput());
        }
        ++m_FramesRun;
        if (frame()) break;
        if (betweenFrames) betweenFrames(i);
        if (render && m_Initiated) render();
    }
    return true;
}

void RecordingEngine::System_SetState(gfxBoolState state, bool value) {
    Record("System_SetState", Join(state, value));
    m_BoolStates[state] = value;
}

void RecordingEngine::System_SetState(gfxFuncState state, gfxCallback value) {
    Record("System_SetState", Join(state) + (value ? ",func" : ",null"));
    m_Callbacks[state] = value;
}

void RecordingEngine::System_SetState(gfxIntState state, int value) {
    Record("System_SetState", Join(state, value));
    switch (state) {
        case GFX_SCREENWIDTH:
        case GFX_SCREENHEIGHT:
        case GFX_SCREENBPP:
            // Read by System_Initiate only.
            if (!m_Initiated) m_IntStates[state] = value;
            break;
        case GFX_FXVOLUME:
        case GFX_MUSVOLUME:
        case GFX_STREAMVOLUME:
            m_IntStates[state] = std::min(100, std::max(0, value));
            break;
        case GFX_FPS:
            m_IntStates[state] = std::max(0, value);
            break;
        case GFX_ICON:
            m_IntStates[state] = value;
            break;
    }
}

void RecordingEngine::System_SetState(gfxStringState state, const char* value) {
    Record("System_SetState", Join(state, value));
    m_StringStates[state] = value ? value : "";
}

bool RecordingEngine::System_GetState(gfxBoolState state) { return m_BoolStates[state]; }
int RecordingEngine::System_GetState(gfxIntState state) { return m_IntStates[state]; }
const char* RecordingEngine::System_GetState(gfxStringState state) { return m_StringStates[state].c_str(); }

void RecordingEngine::System_Log(const char* format, ...) {
    char buf[4096];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(buf, sizeof buf, format, ap);
    va_end(ap);
    Record("System_Log", buf);
    m_LogLines.push_back(buf);
}

// A snapshot becomes an image that Texture_Load of the same name finds,
// opaque as the real engine's 24-bit file.
bool RecordingEngine::System_Snapshot(const char* filename) {
    Record("System_Snapshot", Join(filename));
    if (failSnapshot || !m_Initiated) return false;
    std::string name = filename ? filename : NextSnapshotName();
    Image shot{m_ScreenW, m_ScreenH, m_ScreenW, m_ScreenH, m_Screen};
    for (uint32_t& texel : shot.texels) texel |= 0xFF000000u;
    m_Images[Normalise(name)] = std::move(shot);
    return true;
}

// Beside the log file, as the real engine names them: the first number no
// image has yet.
std::string RecordingEngine::NextSnapshotName() const {
    const std::string& log = m_StringStates.at(GFX_LOGFILE);
    const std::string folder = log.substr(0, log.find_last_of("/\\") + 1);
    for (int i = 1;; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "shot%03d.bmp", i);
        if (!m_Images.count(Normalise(folder + name))) return folder + name;
    }
}

void RecordingEngine::System_RegisterIcon(int id, const uint32_t* argb, int width, int height) {
    Record("System_RegisterIcon", Join(id, width, height));
    if (!argb || width <= 0 || height <= 0) return;
    m_Icons[id] =
        Image{width, height, width, height, std::vector<uint32_t>(argb, argb + static_cast<size_t>(width) * height)};
}

// --- Textures and targets --------------------------------------------------------

void RecordingEngine::AddImage(const std::string& name, int width, int height, std::vector<uint32_t> texels,
                               int surfaceWidth, int surfaceHeight) {
    Image img{width, height, std::max(width, surfaceWidth), std::max(height, surfaceHeight), {}};
    img.texels.assign(static_cast<size_t>(img.surfaceWidth) * img.surfaceHeight, 0);
    if (texels.size() == static_cast<size_t>(width) * height)
        for (int y = 0; y < height; ++y)
            std::copy_n(texels.begin() + static_cast<size_t>(y) * width, width,
                        img.texels.begin() + static_cast<size_t>(y) * img.surfaceWidth);
    m_Images[Normalise(name)] = std::move(img);
}

HTEXTURE RecordingEngine::NewTexture(Texture texture) {
    HTEXTURE h = m_NextHandle++;
    m_Textures[h] = std::move(texture);
    return h;
}

RecordingEngine::Texture* RecordingEngine::FindTexture(HTEXTURE tex) {
    auto it = m_Textures.find(tex);
    return it == m_Textures.end() ? nullptr : &it->second;
}

int RecordingEngine::LiveTextures() const {
    int n = 0;
    for (const auto& t : m_Textures)
        if (!t.second.target) ++n;
    return n;
}

HTEXTURE RecordingEngine::Texture_Create(int width, int height) {
    Record("Texture_Create", Join(width, height));
    return CreateTexture(width, height, nullptr);
}

HTEXTURE RecordingEngine::Texture_CreateFrom(int width, int height, const uint32_t* argb) {
    Record("Texture_CreateFrom", Join(width, height));
    return argb ? CreateTexture(width, height, argb) : 0;
}

HTEXTURE RecordingEngine::CreateTexture(int width, int height, const uint32_t* argb) {
    if (failTextureCreate || !m_Initiated || !gfxlimits::SidesAllowed(width, height)) return 0;
    Texture t;
    t.width = width;
    t.height = height;
    t.surfaceWidth = m_PowerOfTwo ? PowerOfTwo(width) : width;
    t.surfaceHeight = m_PowerOfTwo ? PowerOfTwo(height) : height;
    t.texels.assign(static_cast<size_t>(t.surfaceWidth) * t.surfaceHeight, 0);
    for (int y = 0; argb && y < height; ++y)
        std::copy_n(argb + static_cast<size_t>(y) * width, width,
                    t.texels.begin() + static_cast<size_t>(y) * t.surfaceWidth);
    return NewTexture(std::move(t));
}

HTEXTURE RecordingEngine::Texture_Load(const char* filename, uint32_t size, bool mipmap) {
    Record("Texture_Load", Join(filename, static_cast<unsigned>(size), mipmap));
    if (!filename || size || !m_Initiated) return 0;
    auto it = m_Images.find(Normalise(filename));
    if (it == m_Images.end()) return 0;
    const Image& img = it->second;
    if (!gfxlimits::PictureAllowed(img.width, img.height)) return 0;
    Texture t;
    t.width = img.width;
    t.height = img.height;
    t.surfaceWidth = img.surfaceWidth;
    t.surfaceHeight = img.surfaceHeight;
    t.texels = img.texels;
    t.name = filename;
    return NewTexture(std::move(t));
}

void RecordingEngine::Texture_Free(HTEXTURE tex) {
    Record("Texture_Free", Join(static_cast<unsigned>(tex)));
    auto it = m_Textures.find(tex);
    if (it != m_Textures.end() && !it->second.target) m_Textures.erase(it);
}

int RecordingEngine::Texture_GetWidth(HTEXTURE tex, bool original) {
    Record("Texture_GetWidth", Join(static_cast<unsigned>(tex), original));
    Texture* t = FindTexture(tex);
    return t ? (original ? t->width : t->surfaceWidth) : 0;
}

int RecordingEngine::Texture_GetHeight(HTEXTURE tex, bool original) {
    Record("Texture_GetHeight", Join(static_cast<unsigned>(tex), original));
    Texture* t = FindTexture(tex);
    return t ? (original ? t->height : t->surfaceHeight) : 0;
}

uint32_t* RecordingEngine::Texture_Lock(HTEXTURE tex, bool readOnly, int left, int top, int width, int height) {
    Record("Texture_Lock", Join(static_cast<unsigned>(tex), readOnly, left, top, width, height));
    Texture* t = FindTexture(tex);
    if (!t || t->locked) return nullptr;
    gfxlimits::LockRect rect{left, top, width, height};
    if (!gfxlimits::FitLock(t->surfaceWidth, t->surfaceHeight, rect) || t->texels.empty()) return nullptr;
    t->locked = true;
    t->lockReadOnly = readOnly;
    t->lockLeft = rect.left;
    t->lockTop = rect.top;
    t->lockWidth = rect.width;
    t->lockHeight = rect.height;
    // A copy, as the real engine hands out: only a writable unlock changes the texture.
    t->lockCopy = t->texels;
    return t->lockCopy.data() + static_cast<size_t>(rect.top) * t->surfaceWidth + rect.left;
}

void RecordingEngine::Texture_Unlock(HTEXTURE tex) {
    Record("Texture_Unlock", Join(static_cast<unsigned>(tex)));
    Texture* t = FindTexture(tex);
    if (!t || !t->locked) return;
    if (!t->lockReadOnly)
        for (int y = t->lockTop; y < t->lockTop + t->lockHeight; ++y) {
            const size_t row = static_cast<size_t>(y) * t->surfaceWidth + t->lockLeft;
            std::copy_n(t->lockCopy.begin() + row, t->lockWidth, t->texels.begin() + row);
        }
    t->locked = false;
    t->lockCopy.clear();
}

HTARGET RecordingEngine::Target_Create(int width, int height, bool zbuffer) {
    Record("Target_Create", Join(width, height, zbuffer));
    if (failTargetCreate || !m_Initiated || !gfxlimits::SidesAllowed(width, height)) return 0;
    HTARGET target = m_NextHandle++;
    Texture t;
    t.width = t.surfaceWidth = width;
    t.height = t.surfaceHeight = height;
    t.texels.assign(static_cast<size_t>(width) * height, 0);
    t.target = target;
    m_Targets[target] = NewTexture(std::move(t));
    return target;
}

void RecordingEngine::Target_Free(HTARGET target) {
    Record("Target_Free", Join(static_cast<unsigned>(target)));
    auto it = m_Targets.find(target);
    if (it == m_Targets.end()) return;
    m_Textures.erase(it->second);
    m_Targets.erase(it);
    for (Scene& scene : m_Scenes)
        if (scene.target == target) scene.alive = false;
}

HTEXTURE RecordingEngine::Target_GetTexture(HTARGET target) {
    Record("Target_GetTexture", Join(static_cast<unsigned>(target)));
    auto it = m_Targets.find(target);
    return it == m_Targets.end() ? 0 : it->second;
}

// --- Drawing ------------------------------------------------------------------------

bool RecordingEngine::Gfx_BeginScene(HTARGET target) {
    Record("Gfx_BeginScene", Join(static_cast<unsigned>(target)));
    if (!m_Initiated || (target && !m_Targets.count(target)) || m_Scenes.size() >= kMaxScenes) return false;
    for (const Scene& open : m_Scenes)
        if (open.target == target) return false;
    Scene scene;
    scene.target = target;
    SceneBufferSize(target, scene.clipX1, scene.clipY1);
    m_Scenes.push_back(scene);
    return true;
}

void RecordingEngine::Gfx_EndScene() {
    Record("Gfx_EndScene", "");
    if (!m_Scenes.empty()) m_Scenes.pop_back();
}

void RecordingEngine::SceneBufferSize(HTARGET target, int& width, int& height) {
    width = height = 0;
    if (!target) {
        width = m_ScreenW;
        height = m_ScreenH;
    } else if (Texture* t = FindTexture(m_Targets.count(target) ? m_Targets[target] : 0)) {
        width = t->surfaceWidth;
        height = t->surfaceHeight;
    }
}

std::vector<uint32_t>* RecordingEngine::SceneBuffer(int& width, int& height) {
    width = height = 0;
    if (m_Scenes.empty() || !m_Scenes.back().alive) return nullptr;
    HTARGET target = m_Scenes.back().target;
    SceneBufferSize(target, width, height);
    if (!target) return &m_Screen;
    return &FindTexture(m_Targets[target])->texels;
}

void RecordingEngine::Gfx_Clear(uint32_t color) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", color);
    Record("Gfx_Clear", buf);
    int w, h;
    std::vector<uint32_t>* buffer = SceneBuffer(w, h);
    if (!buffer) return;
    // A clear is clipped like any drawing, as the real engine's scissor does.
    int x0 = 0, y0 = 0, x1 = w, y1 = h;
    Clip(x0, y0, x1, y1);
    for (int y = y0; y < y1 && x0 < x1; ++y)
        std::fill(buffer->begin() + static_cast<size_t>(y) * w + x0, buffer->begin() + static_cast<size_t>(y) * w + x1,
                  color);
}

// An empty result comes back with x1 <= x0 or y1 <= y0.
void RecordingEngine::Clip(int& x0, int& y0, int& x1, int& y1) const {
    const Scene& scene = m_Scenes.back();
    x0 = std::max(x0, scene.clipX0), x1 = std::min(x1, scene.clipX1);
    y0 = std::max(y0, scene.clipY0), y1 = std::min(y1, scene.clipY1);
}

// The call is logged wherever it comes; the quad is kept and drawn only in a
// live scene, as the real engine drops the others.
void RecordingEngine::Gfx_RenderQuad(const gfxQuad* quad) {
    if (!quad) return;
    Record("Gfx_RenderQuad", Join(static_cast<unsigned>(quad->tex)) + "," + BlendText(quad->blend));
    if (m_Scenes.empty() || !m_Scenes.back().alive) return;
    m_Quads.push_back(*quad);
    m_QuadTargets.push_back(m_Scenes.back().target);
    Rasterize(*quad);
}

// Only axis-aligned quads (corner 0 top-left, corner 2 bottom-right) are drawn,
// sampled at texel centres with the nearest texel and corner 0's colour.
void RecordingEngine::Rasterize(const gfxQuad& q) {
    const gfxVertex& a = q.v[0];
    const gfxVertex& c = q.v[2];
    if (q.v[1].y != a.y || q.v[3].x != a.x || q.v[1].x != c.x || q.v[3].y != c.y) return;
    if (!(c.x > a.x) || !(c.y > a.y)) return;
    int w, h;
    std::vector<uint32_t>* buffer = SceneBuffer(w, h);
    if (!buffer) return;
    Texture* tex = q.tex ? FindTexture(q.tex) : nullptr;
    // A freed texture draws nothing.
    if (q.tex && !tex) return;
    int x0 = ClampToPixels(std::ceil(a.x - 0.5f), 0, w), x1 = ClampToPixels(std::ceil(c.x - 0.5f), 0, w);
    int y0 = ClampToPixels(std::ceil(a.y - 0.5f), 0, h), y1 = ClampToPixels(std::ceil(c.y - 0.5f), 0, h);
    Clip(x0, y0, x1, y1);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            uint32_t texel = 0xFFFFFFFF;
            if (tex && !tex->texels.empty()) {
                float u = a.tx + (c.tx - a.tx) * ((x + 0.5f - a.x) / (c.x - a.x));
                float v = a.ty + (c.ty - a.ty) * ((y + 0.5f - a.y) / (c.y - a.y));
                const int big = 1 << 30;
                int tu = ClampToPixels(std::floor(u * tex->surfaceWidth), -big, big);
                int tv = ClampToPixels(std::floor(v * tex->surfaceHeight), -big, big);
                tu = ((tu % tex->surfaceWidth) + tex->surfaceWidth) % tex->surfaceWidth;
                tv = ((tv % tex->surfaceHeight) + tex->surfaceHeight) % tex->surfaceHeight;
                texel = tex->texels[static_cast<size_t>(tv) * tex->surfaceWidth + tu];
            }
            uint32_t& dst = (*buffer)[static_cast<size_t>(y) * w + x];
            dst = Shade(texel, a.col, dst, q.blend);
        }
    }
}

void RecordingEngine::Gfx_SetClipping(int x, int y, int width, int height) {
    Record("Gfx_SetClipping", Join(x, y, width, height));
    if (m_Scenes.empty()) return;
    Scene& scene = m_Scenes.back();
    int w, h;
    SceneBufferSize(scene.target, w, h);
    scene.clipX0 = scene.clipY0 = 0;
    scene.clipX1 = w;
    scene.clipY1 = h;
    if (!x && !y && !width && !height) return;
    // In 64 bits, so that huge sizes cannot overflow.
    scene.clipX0 = static_cast<int>(std::clamp<long long>(x, 0, w));
    scene.clipY0 = static_cast<int>(std::clamp<long long>(y, 0, h));
    scene.clipX1 = static_cast<int>(std::clamp<long long>(0LL + x + width, scene.clipX0, w));
    scene.clipY1 = static_cast<int>(std::clamp<long long>(0LL + y + height, scene.clipY0, h));
}

// --- Sound ---------------------------------------------------------------------------

void RecordingEngine::AddSound(const std::string& name) { m_SoundNames.insert(Normalise(name)); }

HEFFECT RecordingEngine::Effect_Load(const char* filename, uint32_t size) {
    Record("Effect_Load", Join(filename, static_cast<unsigned>(size)));
    if (!filename || size || !m_Initiated) return 0;
    std::string data;
    if (!m_SoundNames.count(Normalise(filename)) && !ReadFile(filename, data)) return 0;
    HEFFECT h = m_NextHandle++;
    m_Effects[h] = filename;
    return h;
}

void RecordingEngine::Effect_Free(HEFFECT effect) {
    Record("Effect_Free", Join(static_cast<unsigned>(effect)));
    if (!m_Effects.erase(effect)) return;
    for (auto& ch : m_Channels)
        if (ch.second.effect == effect) ch.second.ended = true;
}

HCHANNEL RecordingEngine::Effect_PlayEx(HEFFECT effect, int volume, int pan, float pitch, bool loop) {
    Record("Effect_PlayEx", Join(static_cast<unsigned>(effect), volume, pan, pitch, loop));
    // Without sound effects load, but nothing plays.
    if (!m_Effects.count(effect) || !m_Sound) return 0;
    HCHANNEL h = m_NextHandle++;
    m_Channels[h] = Channel{effect, std::min(100, std::max(0, volume)), pan, pitch, loop, false, false};
    return h;
}

RecordingEngine::Channel* RecordingEngine::FindChannel(HCHANNEL channel) {
    auto it = m_Channels.find(channel);
    return it == m_Channels.end() || it->second.ended ? nullptr : &it->second;
}

void RecordingEngine::EndChannel(HCHANNEL channel) {
    if (Channel* ch = FindChannel(channel)) ch->ended = true;
}

void RecordingEngine::Channel_SetVolume(HCHANNEL channel, int volume) {
    Record("Channel_SetVolume", Join(static_cast<unsigned>(channel), volume));
    if (Channel* ch = FindChannel(channel)) ch->volume = std::min(100, std::max(0, volume));
}

void RecordingEngine::Channel_Pause(HCHANNEL channel) {
    Record("Channel_Pause", Join(static_cast<unsigned>(channel)));
    if (Channel* ch = FindChannel(channel)) ch->paused = true;
}

void RecordingEngine::Channel_Resume(HCHANNEL channel) {
    Record("Channel_Resume", Join(static_cast<unsigned>(channel)));
    if (Channel* ch = FindChannel(channel)) ch->paused = false;
}

void RecordingEngine::Channel_Stop(HCHANNEL channel) {
    Record("Channel_Stop", Join(static_cast<unsigned>(channel)));
    if (Channel* ch = FindChannel(channel)) ch->ended = true;
}

void RecordingEngine::Channel_PauseAll() {
    Record("Channel_PauseAll", "");
    for (auto& ch : m_Channels) ch.second.paused = true;
}

void RecordingEngine::Channel_ResumeAll() {
    Record("Channel_ResumeAll", "");
    for (auto& ch : m_Channels) ch.second.paused = false;
}

bool RecordingEngine::Channel_IsPlaying(HCHANNEL channel) {
    Record("Channel_IsPlaying", Join(static_cast<unsigned>(channel)));
    return FindChannel(channel) != nullptr;
}

// --- Input, timer, random ------------------------------------------------------------

void RecordingEngine::SetInput(const RecordedInput& input) {
    m_Input = input;
    m_NextEvent = 0;
}

void RecordingEngine::QueueInput(const RecordedInput& input) { m_InputQueue.push_back(input); }

bool RecordingEngine::Input_GetEvent(gfxInputEvent* event) {
    Record("Input_GetEvent", "");
    if (!event || m_NextEvent >= m_Input.events.size()) return false;
    *event = m_Input.events[m_NextEvent++];
    return true;
}

void RecordingEngine::Input_GetMousePos(float* x, float* y) {
    Record("Input_GetMousePos", "");
    if (x) *x = m_Input.mouseX;
    if (y) *y = m_Input.mouseY;
}

int RecordingEngine::Input_GetMouseWheel() {
    Record("Input_GetMouseWheel", "");
    return m_Input.wheel;
}

bool RecordingEngine::Input_IsMouseOver() {
    Record("Input_IsMouseOver", "");
    return m_Input.mouseOver;
}

bool RecordingEngine::Input_KeyDown(int key) {
    Record("Input_KeyDown", Join(key));
    return key >= 0 && key < 256 && m_Input.down.count(key);
}

bool RecordingEngine::Input_KeyUp(int key) {
    Record("Input_KeyUp", Join(key));
    return key >= 0 && key < 256 && m_Input.up.count(key);
}

bool RecordingEngine::Input_GetKeyState(int key) {
    Record("Input_GetKeyState", Join(key));
    return key >= 0 && key < 256 && m_Input.held.count(key);
}

int RecordingEngine::Input_GetKey() {
    Record("Input_GetKey", "");
    return m_Input.key;
}

int RecordingEngine::Input_GetChar() {
    Record("Input_GetChar", "");
    return m_Input.chr;
}

float RecordingEngine::Timer_GetDelta() {
    Record("Timer_GetDelta", "");
    return m_Delta;
}

int RecordingEngine::Timer_GetFPS() {
    Record("Timer_GetFPS", "");
    return m_FPS;
}

float RecordingEngine::Random_Float(float min, float max) {
    Record("Random_Float", Join(min, max));
    if (m_Randoms.empty()) return min;
    float v = m_Randoms.front();
    m_Randoms.pop_front();
    return v;
}
