#include "host/CHelperToKeyBinder.h"
#include "host/EngineCallbacks.h"
#include "host/WinMain.h"
#include "media/CCursorHelper.h"
#include "os/Folders.h"
#include "tests/support/CapturedOutput.h"
#include "tests/support/HostFixture.h"
#include "tests/support/ScopedReadOnlyFolder.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
const char* const kIdle = "function Init(h) Host = h end function Update(dt) end function Render(x, y) end";

std::string Config(const std::string& numbers, const std::string& strings = "") {
    return "<?xml version=\"1.0\" ?><root><string_values><section name=\"common\">" + strings +
           "</section></string_values><number_values><section name=\"common\">" + numbers +
           "</section></number_values></root>";
}

std::string Number(const char* name, const char* value) {
    return std::string("<value name=\"") + name + "\" data=\"" + value + "\" />";
}

// Every entry of the folder, hidden ones too.
std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir))
            if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..") names.push_back(entry->d_name);
        closedir(dir);
    }
    return names;
}

// The value of the last recorded state of that name ("GFX_FPS"...).
std::string StateValue(RecordingEngine* engine, const std::string& name) {
    std::string found = "?";
    const std::string prefix = "System_SetState(" + name + ",";
    for (const std::string& call : engine->Calls("System_SetState"))
        if (call.compare(0, prefix.size(), prefix) == 0)
            found = call.substr(prefix.size(), call.size() - prefix.size() - 1);
    return found;
}
}  // namespace

class StarterTest : public HostFixture {
protected:
    // Runs the program's own settings over an idle main screen.
    void RunConfigured(int frames = 1) {
        ApplyCommonSettings(starter);
        engine->AddFile("scripts/main.lua", kIdle);
        CScriptRenderer main("scripts\\main.lua", nullptr);
        StartParams params;
        params.mainRenderer = &main;
        params.startRenderer = &main;
        RunCapturing(params, frames);
    }
};

TEST_F(StarterTest, EngineStatesAreSetInOrderBeforeTheEngineStarts) {
    Restart(Config(Number("screen_width", "800.9") + Number("screen_height", "600") + Number("fps", "60") +
                       Number("use_sound", "1.7") + Number("windowed", "1"),
                   "<value name=\"caption\" data=\"Game\" /><value name=\"version\" data=\"2\" />"));
    RunConfigured();
    const std::vector<std::string> expected = {
        "System_SetState(GFX_LOGFILE," + starter->GetExeFolder() + "program.log)",
        "System_SetState(GFX_FRAMEFUNC,func)",
        "System_SetState(GFX_RENDERFUNC,func)",
        "System_SetState(GFX_FOCUSLOSTFUNC,func)",
        "System_SetState(GFX_FOCUSGAINFUNC,func)",
        "System_SetState(GFX_TITLE,Game (v.2))",
        "System_SetState(GFX_FPS,60)",
        "System_SetState(GFX_SHOWSPLASH,false)",
        "System_SetState(GFX_WINDOWED,true)",
        "System_SetState(GFX_USESOUND,true)",
        "System_SetState(GFX_SCREENWIDTH,800)",
        "System_SetState(GFX_SCREENHEIGHT,600)",
        "System_SetState(GFX_SCREENBPP,32)",
        "System_SetState(GFX_ICON,108)"};
    EXPECT_EQ(engine->Calls("System_SetState"), expected);
    const std::vector<std::string>& log = engine->Log();
    auto at = [&](const std::string& call) { return std::find(log.begin(), log.end(), call) - log.begin(); };
    EXPECT_LT(at("System_SetState(GFX_SCREENBPP,32)"), at("System_Initiate()"));
    EXPECT_LT(at("System_Initiate()"), at("Resource_AttachPack(game.pak," BW_PACK_PASSWORD ")"));
    EXPECT_LT(at("System_RegisterIcon(108,32,32)"), at("System_SetState(GFX_ICON,108)"));
    EXPECT_LT(at("System_SetState(GFX_ICON,108)"), at("System_Start()"));
}

TEST_F(StarterTest, CommonSettingsAreTruncatedAndDefaulted) {
    const struct {
        std::string numbers;
        std::string expectedStates;  // width, height, fps, windowed, sound
    } cases[] = {
        {"", "1024,768,0,false,false"},
        {Number("screen_width", "800.9") + Number("screen_height", "-1") + Number("fps", "0.5"),
         "800,-1,0,false,false"},
        {Number("fps", "-10") + Number("use_sound", "2") + Number("windowed", "0.99"), "1024,768,0,false,false"},
        {Number("fps", "1.9") + Number("use_sound", "1") + Number("windowed", "1.5"), "1024,768,1,true,true"},
    };
    for (const auto& c : cases) {
        Restart(Config(c.numbers));
        RunConfigured();
        const std::string got = StateValue(engine, "GFX_SCREENWIDTH") + "," + StateValue(engine, "GFX_SCREENHEIGHT") +
                                "," + StateValue(engine, "GFX_FPS") + "," + StateValue(engine, "GFX_WINDOWED") + "," +
                                StateValue(engine, "GFX_USESOUND");
        EXPECT_EQ(got, c.expectedStates) << c.numbers;
        EXPECT_EQ(StateValue(engine, "GFX_TITLE"), " (v.)");
    }
}

TEST_F(StarterTest, PerUserConfigurationIsReadAndSavedWhenItExists) {
    EXPECT_EQ(starter->GetConfigPath(), Home() / "Brindlewick/config.conf");
    RunInFrame(
        [](CGFXStarter* s, CGFXFuncHelperBase*, lua_State*) { s->GetConfig()->SetString("game", "level", "3"); });
    EXPECT_NE(SavedConfig().find("<value name=\"level\" data=\"3\" />"), std::string::npos);
}

TEST_F(StarterTest, WithoutAPerUserFileTheProgramFolderIsUsedAndNothingIsCreated) {
    TearDown();
    std::remove((Home() / "Brindlewick/config.conf").c_str());
    setenv("XDG_DATA_HOME", Home().Path().c_str(), 1);
    EngineFixture::SetUp();
    starter = CGFXStarter::GetInstance();
    EXPECT_EQ(starter->GetConfigPath(), os::ProgramFolder() + "config.conf");
    EXPECT_FALSE(os::FileExists(Home() / "Brindlewick/config.conf"));
}

// A system-wide or read-only install: the program's own files go to the
// per-user folder, made with its missing parents, when it can be written.
TEST(StarterOutputFolderTest, TheProgramFolderUnlessItCannotBeWritten) {
    TempFolder program;
    TempFolder home;
    const std::string userFolder = home / "share/Brindlewick/";
    EXPECT_EQ(CGFXStarter::ChooseOutputFolder(program.Path(), userFolder), program.Path());
    EXPECT_EQ(EntriesIn(home.Path()), 0) << "nothing is made for a writable program folder";
    {
        ScopedReadOnlyFolder readOnly(program.Path());
        ASSERT_TRUE(readOnly.Holds());
        EXPECT_EQ(CGFXStarter::ChooseOutputFolder(program.Path(), userFolder), userFolder);
        EXPECT_TRUE(os::CanWriteInFolder(userFolder));
        // Nowhere better to go: no known home, or a per-user folder that cannot be written either.
        EXPECT_EQ(CGFXStarter::ChooseOutputFolder(program.Path(), ""), program.Path());
        EXPECT_EQ(CGFXStarter::ChooseOutputFolder(program.Path(), "Brindlewick/"), program.Path());
        ScopedReadOnlyFolder userReadOnly(userFolder);
        EXPECT_EQ(CGFXStarter::ChooseOutputFolder(program.Path(), userFolder), program.Path());
    }
    EXPECT_EQ(FilesIn(program.Path()), std::vector<std::string>{}) << "a probe was left behind";
    EXPECT_EQ(FilesIn(userFolder), std::vector<std::string>{}) << "a probe was left behind";
}

// The settings follow: the program folder's file stays as it was, and the
// one line on standard error says where they went.
TEST(StarterConfigSaveTest, AProgramFolderThatCannotBeWrittenSavesIntoThePerUserFolder) {
    TempFolder program;
    TempFolder home;
    program.Write("config.conf", "<root/>");
    const std::string userFolder = home / "share/Brindlewick/";
    CConfigStore config;
    config.SetString("game", "level", "3");
    std::string savedTo;
    std::string told;
    {
        ScopedReadOnlyFolder readOnly(program.Path());
        ASSERT_TRUE(readOnly.Holds());
        CapturedOutput errors(STDERR_FILENO);
        savedTo = CGFXStarter::SaveConfig(config, program / "config.conf", userFolder);
        told = errors.Take();
    }
    EXPECT_EQ(savedTo, userFolder + "config.conf");
    EXPECT_EQ(told, "config: settings saved in " + savedTo + " (" + program.Path() + " cannot be written)\n");
    EXPECT_EQ(program.Read("config.conf"), "<root/>");
    CConfigStore loaded;
    ASSERT_TRUE(loaded.Load(savedTo.c_str()));
    EXPECT_EQ(loaded.GetString("game", "level"), "3");

    // A per-user file that cannot be written, or no known per-user folder, has nowhere else to go.
    ScopedReadOnlyFolder readOnly(home / "share/Brindlewick");
    EXPECT_EQ(CGFXStarter::SaveConfig(config, savedTo, userFolder), savedTo);
    EXPECT_EQ(CGFXStarter::SaveConfig(config, program / "missing/config.conf", ""), program / "missing/config.conf");
    EXPECT_EQ(CGFXStarter::SaveConfig(config, program / "missing/config.conf", "Brindlewick/"),
              program / "missing/config.conf");
}

// A broken file of which no copy could be kept is not saved over, even in a
// folder that can be written: the settings of the run go to the per-user one.
TEST(StarterConfigSaveTest, AFileThatIsNotSavedOverLeavesTheSettingsToThePerUserFolder) {
    TempFolder program;
    TempFolder home;
    const std::string broken = "<root><string_values>";
    program.Write("config.conf", broken);
    ASSERT_EQ(mkdir((program / "config.conf.unreadable").c_str(), 0755), 0);
    const std::string userFolder = home / "share/Brindlewick/";
    CConfigStore config;
    CapturedOutput errors(STDERR_FILENO);
    EXPECT_FALSE(config.Load((program / "config.conf").c_str()));
    config.SetString("game", "level", "3");
    const std::string savedTo = CGFXStarter::SaveConfig(config, program / "config.conf", userFolder);
    const std::string told = errors.Take();
    EXPECT_EQ(savedTo, userFolder + "config.conf");
    EXPECT_NE(told.find("config: settings saved in " + savedTo + " instead\n"), std::string::npos) << told;
    EXPECT_EQ(program.Read("config.conf"), broken);
    CConfigStore loaded;
    ASSERT_TRUE(loaded.Load(savedTo.c_str()));
    EXPECT_EQ(loaded.GetString("game", "level"), "3");
}

TEST_F(StarterTest, NoIconIdSetsNoIconAndAFailedInitiateRunsNothing) {
    engine->failInitiate = true;
    engine->AddFile("scripts/main.lua", "print('top level ran') " + std::string(kIdle));
    CScriptRenderer main("scripts\\main.lua", nullptr);
    StartParams params;
    params.mainRenderer = &main;
    const std::string before = SavedConfig();
    starter->GetConfig()->SetString("a", "b", "c");
    EXPECT_EQ(RunCapturing(params, 1), "");
    EXPECT_EQ(engine->Count("Resource_AttachPack"), 0);
    EXPECT_EQ(engine->Count("System_RegisterIcon"), 0);
    EXPECT_EQ(SavedConfig(), before);
}

TEST_F(StarterTest, TeardownFreesTheCacheBeforeTheEngineShutsDown) {
    engine->AddImage("a.png", 4, 4);
    HTEXTURE tex = 0;
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase*, lua_State*) {
        tex = s->GetResourceCache()->GetTexture("a.png", false);
    });
    const std::vector<std::string>& log = engine->Log();
    auto at = [&](const std::string& call) { return std::find(log.begin(), log.end(), call) - log.begin(); };
    ASSERT_NE(tex, 0u);
    EXPECT_LT(at("Texture_Free(" + std::to_string(tex) + ")"), at("System_Shutdown()"));
    EXPECT_LT(static_cast<size_t>(at("System_Shutdown()")), log.size());
    EXPECT_EQ(engine->LeftAtShutdown().textures, 0);
    EXPECT_EQ(engine->LeftAtShutdown().resources, 0);
}

// A "__gc" in the overlay's script runs as its state closes at teardown and
// may still draw through the overlay's table, so its font goes after that.
TEST_F(StarterTest, TheOverlayStateClosesBeforeItsFontIsFreed) {
    engine->AddImage("images/font2.png", 8, 8);
    engine->AddFile("images/font2.fnt", "[GFXFONT]\nBitmap = font2.png\nChar = 41, 0, 0, 8, 8, 0, 0\n");
    engine->AddFile("scripts/debug.lua",
                    "function Init(t)\n"
                    "  T = t\n"
                    "  Keep = newproxy(true)\n"
                    "  getmetatable(Keep).__gc = function() T:SetTextColor(0xFF00FF00) T:DrawString('A') end\n"
                    "end\n"
                    "function Render() end\n");
    RunMain(kIdle);
    const std::vector<std::string> quads = engine->Calls("Gfx_RenderQuad");
    ASSERT_EQ(quads.size(), 1u);
    const std::string& quad = quads[0];
    const size_t from = quad.find('(') + 1;
    const std::string freeFont = "Texture_Free(" + quad.substr(from, quad.find(',') - from) + ")";
    const std::vector<std::string>& log = engine->Log();
    const auto drawn = std::find(log.begin(), log.end(), quad);
    EXPECT_NE(std::find(drawn, log.end(), freeFont), log.end());
}

TEST_F(StarterTest, AFreshStarterFollowsTheLastRelease) {
    CGFXStarter* first = starter;
    first->GetConfig()->SetString("s", "k", "v");
    first->Release();
    starter = CGFXStarter::GetInstance();
    EXPECT_EQ(starter->GetConfig()->GetString("s", "k"), "");
}

// A cursor the starter made (GetCursor, in a run given none) gives way to the
// one a later run is given, which stays its owner's.
TEST_F(StarterTest, ACursorGivenToALaterRunStaysItsOwners) {
    RunInFrame([](CGFXStarter* s, CGFXFuncHelperBase*, lua_State*) { EXPECT_NE(s->GetCursor(), nullptr); });
    struct WatchedCursor : CCursorHelper {
        explicit WatchedCursor(bool& deleted) : CCursorHelper(""), m_Deleted(deleted) {}
        ~WatchedCursor() override { m_Deleted = true; }
        bool& m_Deleted;
    };
    bool deleted = false;
    auto* given = new WatchedCursor(deleted);
    CScriptRenderer main("scripts\\main.lua", nullptr);
    RunScreen(main, 1, given);
    EXPECT_EQ(starter->GetCursor(), given);
    starter->Release();
    starter = nullptr;
    EXPECT_FALSE(deleted) << "the starter deleted a cursor it does not own";
    if (!deleted) delete given;
}

// --- The frame loop ------------------------------------------------------------

class LoopTest : public HostFixture {};

TEST_F(LoopTest, AltHomeReleaseTakesOneSnapshotAndOnlyOneEventIsReadPerFrame) {
    RecordedInput frame;
    frame.events = {gfxInputEvent{INPUT_KEYUP, GFXK_HOME, 0, 0, 0, 0, 0},
                    gfxInputEvent{INPUT_KEYUP, GFXK_HOME, GFXINP_ALT, 0, 0, 0, 0}};
    engine->QueueInput(frame);
    RecordedInput pressed;
    pressed.events = {gfxInputEvent{INPUT_KEYDOWN, GFXK_HOME, GFXINP_ALT, 0, 0, 0, 0}};
    engine->QueueInput(pressed);
    RecordedInput released;
    released.events = {gfxInputEvent{INPUT_KEYUP, GFXK_HOME, GFXINP_ALT | GFXINP_SHIFT, 0, 0, 0, 0}};
    engine->QueueInput(released);
    RunMain(kIdle, 3);
    EXPECT_EQ(engine->Calls("System_Snapshot"), std::vector<std::string>{"System_Snapshot(null)"});
}

TEST_F(LoopTest, ExitEndsTheLoopOnlyFromUpdate) {
    RunMain(
        "function Init(h) Host = h h:Exit() end\n"
        "function Update(dt) n = (n or 0) + 1 if n == 3 then Host:Exit() end end\n"
        "function Render(x, y) Host:Exit() end",
        10);
    EXPECT_EQ(engine->FramesRun(), 3);
}

TEST_F(LoopTest, KeyCodesSwitchToRegisteredScreensAndTheOldOneIsToldFirst) {
    engine->AddFile("scripts/second.lua",
                    "function Init(h) end function Update(dt) print('second update') end "
                    "function Render(x, y) print('second render') end");
    CScriptRenderer second("scripts\\second.lua", nullptr);
    starter->GetKeyBinder()->Register("second", &second);
    RecordedInput key;
    key.key = CHelperToKeyBinder::HashName("second");
    engine->QueueInput(RecordedInput());
    engine->QueueInput(key);
    const std::string out =
        RunMain("function Init(h) end function Update(dt) print('main update') end function Render(x, y) end", 2);
    EXPECT_EQ(out, "main update\nsecond update\nsecond render\n");
}

TEST_F(LoopTest, RunScriptTwiceInAFrameStartsTheLaterScriptOnceAtTheEndOfTheFrame) {
    engine->AddFile("scripts/a.lua",
                    "function Init(h) print('a init') end function Update() end function Render() end");
    engine->AddFile("scripts/b.lua",
                    "function Init(h) print('b init') end function Update() print('b update') end "
                    "function Render() end");
    const std::string out = RunMain(
        "function Init(h) Host = h end\n"
        "function Update(dt) if not done then done = true Host:RunScript('scripts/a.lua') "
        "Host:RunScript('scripts/b.lua') print('asked') end end\n"
        "function Render(x, y) print('main render') end",
        2);
    EXPECT_EQ(out, "asked\nb init\nb update\n");
}

TEST_F(LoopTest, AScreenThatStopsRunningFallsBackToTheMainScreen) {
    engine->AddFile("scripts/other.lua",
                    "function Init(h) Host = h end function Update() print('other') end function Render() end");
    CScriptRenderer other("scripts\\other.lua", nullptr);
    starter->GetKeyBinder()->Register("other", &other);
    const std::string out = RunMain(
        "function Init(h) Host = h end\n"
        "function Update(dt) print('main') if not gone then gone = true Host:SwitchToRenderer('other') end end\n"
        "function Render() end",
        3);
    EXPECT_EQ(out, "main\nother\nother\n");
    other.SetActive(starter, false);
}

TEST_F(LoopTest, FocusLossPausesSoundAndGainRestoresWhatTheScriptChose) {
    RunInFrame([](CGFXStarter* s, CGFXFuncHelperBase*, lua_State*) {
        FocusLostFunc();
        FocusGainFunc();
        s->EnableSound(false);
        FocusLostFunc();
        FocusGainFunc();
    });
    std::vector<std::string> sound;
    for (const std::string& call : engine->Log())
        if (call == "Channel_PauseAll()" || call == "Channel_ResumeAll()") sound.push_back(call);
    EXPECT_EQ(sound, (std::vector<std::string>{"Channel_PauseAll()", "Channel_ResumeAll()", "Channel_PauseAll()",
                                               "Channel_PauseAll()", "Channel_PauseAll()"}));
}

TEST_F(LoopTest, ScriptErrorEndsTheProcessWithItsMessageAndSavesNothing) {
    const std::string before = SavedConfig();
    EXPECT_EXIT(RunMain("function Init(h) end function Update(dt) error('boom') end function Render() end"),
                testing::ExitedWithCode(2), "boom");
    EXPECT_EQ(SavedConfig(), before);
}

// Lua's message comes first and unchanged; the cause of the state's file
// follows on the next line.
TEST_F(LoopTest, AFatalReportNamesWhyTheScriptFileRanNothing) {
    EXPECT_EXIT(RunMain("function Init(h)\n x = = 1 end function Update() end function Render() end"),
                testing::ExitedWithCode(2),
                "attempt to call a nil value\n\\[string \"scripts.main\\.lua\"\\]:2: unexpected symbol near '='");
    CScriptRenderer absent("scripts\\absent.lua", nullptr);
    StartParams params;
    params.mainRenderer = &absent;
    engine->failAttachPack = true;
    starter->SetScreenSize(800, 600);  // no window without pixels
    EXPECT_EXIT(RunCapturing(params, 1), testing::ExitedWithCode(2),
                "attempt to call a nil value\nscripts.absent\\.lua: not found in /.*/ \\(game\\.pak could not be "
                "opened: not found\\)");
}

// --- Cursor and overlay ----------------------------------------------------------

TEST_F(LoopTest, CursorFollowsTheMouseAndClampsOnlyWithAnImage) {
    engine->AddFile("scripts/main.lua", kIdle);
    CScriptRenderer main("scripts\\main.lua", nullptr);
    RecordedInput mouse;
    mouse.mouseX = -3.7f;
    mouse.mouseY = 12.2f;
    engine->QueueInput(mouse);
    RunScreenWithCursor(main, 1);
    ASSERT_FALSE(engine->Quads().empty());
    EXPECT_EQ(engine->Quads().back().v[0].x, 0.0f);
    EXPECT_EQ(engine->Quads().back().v[0].y, 12.0f);

    CCursorHelper empty("");
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase*, lua_State*) { empty.Frame(0, s); });
    EXPECT_EQ(empty.GetMouseX(), 0);
}

TEST_F(LoopTest, OverlayScriptDrawsOverEveryScreenWithItsOwnFont) {
    engine->AddImage("images/font2.png", 32, 16);
    engine->AddFile("images/font2.fnt",
                    "[GFXFONT]\nBitmap = font2.png\nChar = \"%\", 0, 0, 8, 16, 0, 0\nChar = 31, 8, 0, 8, 16, 0, 0\n"
                    "Char = 30, 16, 0, 8, 16, 0, 0\n");
    engine->AddFile("scripts/debug.lua", "function Init(t) T = t end function Render() T:DrawString('100%') end");
    RunMain(
        "function Init(h) Host = h end function Update(dt) Host:SetDebugFontColor(4278255360) end "
        "function Render(x, y) end",
        1);
    ASSERT_EQ(engine->Quads().size(), 4u);
    EXPECT_EQ(engine->Quads()[0].v[0].x, 5.0f);
    EXPECT_EQ(engine->Quads()[0].v[0].col, 0xFF00FF00u);
}
