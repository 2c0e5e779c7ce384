// The demo game's front end, its scripts read from demo/pack: the menu leads
// to the options and credits screens and back, and Escape asks whether to
// quit in a dialog, where Y quits.
#include "host/CHelperToKeyBinder.h"
#include "host/WinMain.h"
#include "renderers/CMenuRenderer.h"
#include "tests/support/HostFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// What was active after each frame, whether it had a dialog open, and one
// pixel of the second button as the frame before it left the screen.
std::vector<CGFXFuncHelperBase*> g_Active;
std::vector<bool> g_Dialog;
std::vector<uint32_t> g_Pixel;

// The second ("credits") button lies at x 210-590, y 222-278 on an 800 x 600
// screen; this point is on neither its key cap, its label nor its icon.
const int kButtonX = 400, kButtonY = 270;

class DemoMenuTest : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        std::string root = BW_TEST_DATA;
        root.erase(root.rfind("/tests/data"));
        engine->SetFileFolder(root + "/demo/pack");
        engine->RemoveFile("scripts/debug.lua");
        engine->AddImage("images/font2.png", 192, 96);
        g_Active.clear();
        g_Dialog.clear();
        g_Pixel.clear();
        engine->betweenFrames = [](int) {
            CGFXStarter* s = CGFXStarter::GetInstance();
            g_Active.push_back(s->GetActiveRenderer());
            g_Dialog.push_back(s->GetActiveRenderer()->HasModalChild());
            const std::vector<uint32_t>& screen = RecordingEngine::Instance()->Screen();
            g_Pixel.push_back(screen.empty() ? 0 : screen[kButtonY * 800 + kButtonX]);
            s->Release();
        };
    }
    void TearDown() override {
        engine->betweenFrames = nullptr;
        HostFixture::TearDown();
    }

    static RecordedInput Key(int key) {
        RecordedInput input;
        input.key = key;
        input.down.insert(key);
        input.held.insert(key);
        return input;
    }
    static RecordedInput Up(int key) {
        RecordedInput input;
        input.up.insert(key);
        return input;
    }
};

TEST_F(DemoMenuTest, KeysAndClicksLeadThroughTheScreensAndTheQuitDialog) {
    RecordedInput hover;
    hover.mouseX = kButtonX;
    hover.mouseY = kButtonY;
    const RecordedInput frames[] = {
        RecordedInput(),
        hover,
        Key(GFXK_A + ('O' - 'A')),
        Key(GFXK_LEFT),
        Key(GFXK_ESCAPE),
        // Escape comes up on the menu after it took the player back: no quit.
        Up(GFXK_ESCAPE),
        Key(GFXK_A + ('C' - 'A')),
        Up(GFXK_LBUTTON),
        Key(GFXK_ESCAPE),
        Up(GFXK_ESCAPE),
        Key(GFXK_A + ('Y' - 'A')),
    };
    for (const RecordedInput& input : frames) engine->QueueInput(input);

    CMenuRenderer menu;
    starter->GetKeyBinder()->Register("menu", &menu);
    const std::string printed = RunScreenWithCursor(menu, 20);

    EXPECT_EQ(printed, "");
    EXPECT_EQ(engine->FramesRun(), 11);
    CGFXFuncHelperBase* options = &menu.GetOptionsRenderer();
    CGFXFuncHelperBase* credits = &menu.GetCreditsRenderer();
    EXPECT_EQ(g_Active, (std::vector<CGFXFuncHelperBase*>{&menu, &menu, options, options, &menu, &menu, credits, &menu,
                                                          &menu, &menu}));
    EXPECT_EQ(g_Dialog, (std::vector<bool>{false, false, false, false, false, false, false, false, false, true}));
    // The hovered button lights up from the frame the mouse is over it.
    ASSERT_GE(g_Pixel.size(), 3u);
    EXPECT_EQ(g_Pixel[1], 0xFF3F7F4Au);
    EXPECT_EQ(g_Pixel[2], 0xFF62A86Eu);
    const std::vector<std::string> volumes = engine->Calls("System_SetState");
    EXPECT_NE(std::find(volumes.begin(), volumes.end(), "System_SetState(GFX_FXVOLUME,70)"), volumes.end());
    // The screens leave the clipping off for the overlay and the cursor.
    EXPECT_EQ(engine->Calls("Gfx_SetClipping").back(), "Gfx_SetClipping(0,0,0,0)");
}

// The game starts windowed only when "windowed" truncates to 1, in full
// screen otherwise (also on the built-in defaults): the first F must switch
// away from the mode it started in.
TEST_F(DemoMenuTest, TheFirstFSwitchesAwayFromTheModeTheGameStartedIn) {
    const struct {
        const char* windowed;
        bool startsWindowed;
    } cases[] = {{nullptr, false}, {"0", false},    {"1", true},         {"1.5", true},
                 {"2", false},     {"-0.5", false}, {"4294967297", true}};
    const auto windowed = [](bool on) {
        return std::string("System_SetState(GFX_WINDOWED,") + (on ? "true)" : "false)");
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.windowed ? c.windowed : "no value");
        const std::string value =
            c.windowed ? std::string("<value name=\"windowed\" data=\"") + c.windowed + "\"/>" : std::string();
        Restart("<root><number_values><section name=\"common\">" + value + "</section></number_values></root>");
        ApplyCommonSettings(starter);
        engine->QueueInput(RecordedInput());
        engine->QueueInput(Key(GFXK_A + ('F' - 'A')));
        CMenuRenderer menu;
        starter->GetKeyBinder()->Register("menu", &menu);
        EXPECT_EQ(RunScreenWithCursor(menu, 3), "");
        std::vector<std::string> switches;
        for (const std::string& call : engine->Calls("System_SetState"))
            if (call.rfind("System_SetState(GFX_WINDOWED,", 0) == 0) switches.push_back(call);
        EXPECT_EQ(switches, (std::vector<std::string>{windowed(c.startsWindowed), windowed(!c.startsWindowed)}));
    }
}

}  // namespace
