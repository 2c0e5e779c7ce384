// The engine's life and states beyond the contract (tests/engine/EngineContract.h).
#include "EngineFixture.h"
#include "tests/support/ScopedLocale.h"

#include <SDL.h>

#include <cstdlib>

using namespace enginetest;

namespace {

class LifeTest : public EngineTest {};

TEST_F(LifeTest, States) {
    gfx->System_SetState(GFX_SHOWSPLASH, false);
    EXPECT_FALSE(gfx->System_GetState(GFX_SHOWSPLASH));
    EXPECT_STREQ(gfx->System_GetState(GFX_LOGFILE), LogPath().c_str());

    std::vector<uint32_t> icon(16 * 16, 0xFF808000);
    gfx->System_RegisterIcon(108, icon.data(), 16, 16);
    gfx->System_SetState(GFX_ICON, 108);
    EXPECT_EQ(gfx->System_GetState(GFX_ICON), 108);
    gfx->System_SetState(GFX_ICON, 4242);  // no such icon: nothing changes
}

// The title is held in the locale's character set and reaches the window
// system as UTF-8, when it is set and when the window opens with it.
TEST_F(LifeTest, TitleReachesTheWindowAsUtf8InALatin1Locale) {
    ScopedLocale locale;
    if (!UseLatin1(locale)) GTEST_SKIP() << "no ISO-8859-1 locale is installed (see locale -a)";
    gfx->System_SetState(GFX_TITLE, "Caf\xe9 (v.1)");
    EXPECT_STREQ(gfx->System_GetState(GFX_TITLE), "Caf\xe9 (v.1)");
    ASSERT_NE(SDL_GL_GetCurrentWindow(), nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(SDL_GL_GetCurrentWindow()), "Caf\xc3\xa9 (v.1)");
    ASSERT_TRUE(Restart(true)) << ReadFile(LogPath());
    EXPECT_STREQ(SDL_GetWindowTitle(SDL_GL_GetCurrentWindow()), "Caf\xc3\xa9 (v.1)");
    gfx->System_SetState(GFX_TITLE, "");
}

TEST_F(LifeTest, LogAppendsLines) {
    gfx->System_Log("line %d of %s", 1, "the test");
    gfx->System_Log("line %d", 2);
    std::string log = ReadFile(LogPath());
    EXPECT_NE(log.find("line 1 of the test\nline 2\n"), std::string::npos);
}

TEST_F(LifeTest, RandomFloatStaysInItsRange) {
    for (int i = 0; i < 1000; ++i) {
        float f = gfx->Random_Float(2.0f, 5.0f);
        EXPECT_GE(f, 2.0f);
        EXPECT_LE(f, 5.0f);
        float g = gfx->Random_Float(1.0f, -1.0f);  // min > max
        EXPECT_GE(g, -1.0f);
        EXPECT_LE(g, 1.0f);
    }
    EXPECT_FLOAT_EQ(gfx->Random_Float(3.0f, 3.0f), 3.0f);
}

TEST_F(LifeTest, InitiateFailureSoundOffAndRestart) {
    gfx->System_Shutdown();
    EXPECT_FALSE(gfx->System_Start());
    EXPECT_FALSE(gfx->System_Snapshot((TempFolder() + "none.bmp").c_str()));

    gfx->System_SetState(GFX_SCREENWIDTH, 0);
    EXPECT_FALSE(gfx->System_Initiate());
    EXPECT_NE(ReadFile(LogPath()).find("System_Initiate: no window: the screen size"), std::string::npos);
    gfx->System_SetState(GFX_SCREENWIDTH, kScreenWidth);

    // No display at all: no window.
    std::string display = getenv("DISPLAY") ? getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    EXPECT_FALSE(gfx->System_Initiate()) << ReadFile(LogPath());
    setenv("DISPLAY", display.c_str(), 1);
    EXPECT_NE(ReadFile(LogPath()).find("System_Initiate: no window:"), std::string::npos);

    // Without sound: no device, every sound call harmless, even on data that
    // no decoder would take.
    ASSERT_TRUE(Restart(false)) << ReadFile(LogPath());
    HEFFECT effect = gfx->Effect_Load("RIFF....WAVEfmt ", 16);
    EXPECT_NE(effect, 0u);  // a silent effect
    EXPECT_EQ(gfx->Effect_PlayEx(effect, 100, 0, 1.0f, true), 0u);
    gfx->Channel_PauseAll();
    gfx->Channel_ResumeAll();
    gfx->Channel_Stop(1);
    EXPECT_FALSE(gfx->Channel_IsPlaying(1));
    gfx->System_SetState(GFX_FXVOLUME, 50);
    gfx->Effect_Free(effect);
    gfx->System_SetState(GFX_FXVOLUME, 100);

    ASSERT_TRUE(Restart(true)) << ReadFile(LogPath());
    HTEXTURE t = gfx->Texture_Create(2, 2);
    EXPECT_NE(t, 0u);
    gfx->Texture_Free(t);
}

}  // namespace
