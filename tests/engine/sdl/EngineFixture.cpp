#include "EngineFixture.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace enginetest {

namespace {

GFX* g_Engine = nullptr;
std::string g_Temp;
std::string g_Log;

class EngineEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // As CTest sets it; also when the program is run by hand.
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        char pattern[] = "/tmp/bw_engine_tests_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        g_Temp = std::string(pattern) + "/";
        g_Log = g_Temp + "engine.log";
        g_Engine = gfxCreate(GFX_VERSION);
        ASSERT_NE(g_Engine, nullptr);
        g_Engine->System_SetState(GFX_LOGFILE, g_Log.c_str());
        g_Engine->System_SetState(GFX_TITLE, "engine tests");
        g_Engine->System_SetState(GFX_WINDOWED, true);
        ASSERT_TRUE(Restart(true)) << ReadFile(g_Log);
    }
    void TearDown() override {
        if (g_Engine) {
            g_Engine->System_Shutdown();
            g_Engine->Release();
            g_Engine = nullptr;
        }
        if (!g_Temp.empty()) std::system(("rm -rf '" + g_Temp + "'").c_str());
    }
};

const auto* g_Registered = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

}  // namespace

GFX* Engine() { return g_Engine; }
const std::string& TempFolder() { return g_Temp; }
const std::string& LogPath() { return g_Log; }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
}

bool Restart(bool useSound) {
    // A loaded virtual X server now and then refuses a new connection for a
    // moment (SDL then offers only its offscreen driver): try for half a minute.
    for (int attempt = 0; attempt < 60; ++attempt) {
        g_Engine->System_Shutdown();
        g_Engine->System_SetState(GFX_SCREENWIDTH, kScreenWidth);
        g_Engine->System_SetState(GFX_SCREENHEIGHT, kScreenHeight);
        g_Engine->System_SetState(GFX_USESOUND, useSound);
        if (g_Engine->System_Initiate()) return true;
        SDL_Delay(500);
    }
    return false;
}

gfxQuad MakeQuad(float x, float y, float w, float h, HTEXTURE tex, int blend, uint32_t color, float u0, float v0,
                 float u1, float v1) {
    gfxQuad q;
    const float xs[4] = {x, x + w, x + w, x};
    const float ys[4] = {y, y, y + h, y + h};
    const float us[4] = {u0, u1, u1, u0};
    const float vs[4] = {v0, v0, v1, v1};
    for (int i = 0; i < 4; ++i) {
        q.v[i].x = xs[i];
        q.v[i].y = ys[i];
        q.v[i].z = 0.5f;
        q.v[i].col = color;
        q.v[i].tx = us[i];
        q.v[i].ty = vs[i];
    }
    q.tex = tex;
    q.blend = blend;
    return q;
}

HTEXTURE MakeTexture(const std::vector<uint32_t>& argb, int width, int height) {
    HTEXTURE tex = g_Engine->Texture_Create(width, height);
    if (!tex) return 0;
    uint32_t* texels = g_Engine->Texture_Lock(tex, false);
    if (!texels) return 0;
    int pitch = g_Engine->Texture_GetWidth(tex);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) texels[y * pitch + x] = argb[static_cast<size_t>(y * width + x)];
    g_Engine->Texture_Unlock(tex);
    return tex;
}

std::vector<uint32_t> ReadTexture(HTEXTURE tex) {
    const uint32_t* texels = g_Engine->Texture_Lock(tex, true);
    if (!texels) return {};
    int w = g_Engine->Texture_GetWidth(tex), h = g_Engine->Texture_GetHeight(tex);
    std::vector<uint32_t> copy(texels, texels + static_cast<size_t>(w) * h);
    g_Engine->Texture_Unlock(tex);
    return copy;
}

bool RunLoop(gfxCallback frame, gfxCallback render) {
    g_Engine->System_SetState(GFX_FRAMEFUNC, frame);
    g_Engine->System_SetState(GFX_RENDERFUNC, render);
    bool result = g_Engine->System_Start();
    g_Engine->System_SetState(GFX_FRAMEFUNC, static_cast<gfxCallback>(nullptr));
    g_Engine->System_SetState(GFX_RENDERFUNC, static_cast<gfxCallback>(nullptr));
    return result;
}

::testing::AssertionResult ColorNear(uint32_t actual, uint32_t expected, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        int a = static_cast<int>((actual >> shift) & 0xFF), e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > tolerance) {
            char text[96];
            std::snprintf(text, sizeof text, "0x%08X is not within %d of 0x%08X", actual, tolerance, expected);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace enginetest
