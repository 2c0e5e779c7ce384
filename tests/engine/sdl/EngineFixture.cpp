#include "EngineFixture.h"
#include "tests/support/TempFolder.h"

#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace enginetest {

namespace {

GFX* g_Engine = nullptr;
std::string g_Temp;
std::string g_Log;

bool g_Settled = true;  // initiated with the tests' states and sound on

// The tests' states, then System_Initiate. A fresh engine gets its log file,
// title and window mode too; an initiated one keeps its log, which setting
// again would start anew. A loaded virtual X server now and then refuses a
// new connection for a moment (SDL then offers only its offscreen driver):
// tries for half a minute.
bool Initiate(bool useSound, bool freshEngine) {
    for (int attempt = 0; attempt < 60; ++attempt) {
        g_Engine->System_Shutdown();
        if (freshEngine) {
            g_Engine->System_SetState(GFX_LOGFILE, g_Log.c_str());
            g_Engine->System_SetState(GFX_TITLE, "engine tests");
            g_Engine->System_SetState(GFX_WINDOWED, true);
        }
        g_Engine->System_SetState(GFX_SCREENWIDTH, kScreenWidth);
        g_Engine->System_SetState(GFX_SCREENHEIGHT, kScreenHeight);
        g_Engine->System_SetState(GFX_USESOUND, useSound);
        if (g_Engine->System_Initiate()) {
            g_Settled = useSound;
            return true;
        }
        SDL_Delay(500);
    }
    return false;
}

class EngineEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // Never a shared display, the user's least of all: windows there take
        // focus and input from each other and from the user's work.
        const char* display = getenv("DISPLAY");
        const char* own = getenv("BW_VIRTUAL_DISPLAY");
        ASSERT_TRUE(display != nullptr && own != nullptr && strcmp(display, own) == 0)
            << "run the engine tests through CTest, or under tools/with-display";
        // As CTest sets it; also when the program is run by hand.
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        // As from a terminal, where the engine takes the signals that end its
        // loop: a runner may have left them ignored (a background job ignores
        // SIGINT, nohup SIGHUP), and then the engine leaves them so.
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, SIG_DFL);
        std::string pattern = TemporaryBase() + "/bw_engine_tests_XXXXXX";
        ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
        g_Temp = pattern + "/";
        g_Log = g_Temp + "engine.log";
        g_Engine = gfxCreate(GFX_VERSION);
        ASSERT_NE(g_Engine, nullptr);
        ASSERT_TRUE(Initiate(true, true)) << ReadFile(g_Log);
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

bool Restart(bool useSound) { return Initiate(useSound, false); }

GFX* Renew() {
    g_Engine->Release();
    g_Engine = gfxCreate(GFX_VERSION);
    g_Settled = false;
    return g_Engine;
}

void Settle() {
    if (g_Settled) return;
    EXPECT_TRUE(Initiate(true, true)) << ReadFile(g_Log);
}

bool RunLoop(gfxCallback frame, gfxCallback render) {
    g_Engine->System_SetState(GFX_FRAMEFUNC, frame);
    g_Engine->System_SetState(GFX_RENDERFUNC, render);
    bool result = g_Engine->System_Start();
    g_Engine->System_SetState(GFX_FRAMEFUNC, static_cast<gfxCallback>(nullptr));
    g_Engine->System_SetState(GFX_RENDERFUNC, static_cast<gfxCallback>(nullptr));
    return result;
}

}  // namespace enginetest
