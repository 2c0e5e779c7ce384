// The host-function table and its dispatch, and the renderer control functions.
#include "host/CHelperToKeyBinder.h"
#include "renderers/CScriptRenderer.h"
#include "script/CHostFunctionTable.h"
#include "tests/script/HostScriptFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

class HostRendererFunctionsTest : public HostScriptFixture {};

TEST_F(HostRendererFunctionsTest, TableHoldsTheFiftyThreeFunctionsInIdOrder) {
    const char* const names[] = {"GetSprite",
                                 "MousePos",
                                 "GetScreenResolution",
                                 "LeftMousePressed",
                                 "SwitchToRenderer",
                                 "Exit",
                                 "RunScript",
                                 "GetLastSurface",
                                 "HideCursor",
                                 "ShowCursor",
                                 "EscapePressed",
                                 "EnterPressed",
                                 "EndModal",
                                 "ShowModal",
                                 "GetFont",
                                 "GetSound",
                                 "ConfigGetString",
                                 "ConfigSetString",
                                 "ConfigGetNumber",
                                 "ConfigSetNumber",
                                 "GetParticle",
                                 "SetClipping",
                                 "RegisterRenderer",
                                 "CacheTexture",
                                 "CacheSound",
                                 "Update",
                                 "Render",
                                 "GetRegisteredRenderer",
                                 "CallFunction",
                                 "LeftMouseClicked",
                                 "SetDebugFontColor",
                                 "ClearScreen",
                                 "EnableSound",
                                 "SetSoundVolume",
                                 "TestIntersection",
                                 "EmulateLeftMouseClicked",
                                 "ResetLeftMouseClickedEmulation",
                                 "GetLastPressedKey",
                                 "GetLastPressedChar",
                                 "IsKeyPressed",
                                 "OutputDebugString",
                                 "SetCursorHotSpot",
                                 "GetFPS",
                                 "SetFullScreen",
                                 "GetMaskedSprite",
                                 "SetAutoRenderingMode",
                                 "BeginScene",
                                 "EndScene",
                                 "GetFontEx",
                                 "SetCursor",
                                 "ShowSystemCursor",
                                 "GetTextFileData",
                                 "ConfigDeleteSection"};
    static_assert(sizeof names / sizeof names[0] == CHostFunctionTable::kCount);
    for (int id = 1; id <= CHostFunctionTable::kCount; ++id) EXPECT_STREQ(CHostFunctionTable::Name(id), names[id - 1]);

    const std::string out =
        Run("function Init(h)\n"
            "  local n = 0\n"
            "  for k, v in pairs(h) do if type(v) == 'function' then n = n + 1 end end\n"
            "  h.Extra = 1\n"
            "  print(n, h.Extra, h.NoSuchFunction)\n"
            "end\n");
    EXPECT_EQ(out, "53\tnil\tnil\n");
}

TEST_F(HostRendererFunctionsTest, DispatchIsByIdAndUnknownIdsReturnNothing) {
    engine->SetFPS(17);
    RunInFrame([&](CGFXStarter*, CGFXFuncHelperBase* renderer, lua_State* L) {
        const int top = lua_gettop(L);
        for (int id : {0, -1, 54, 1000}) {
            EXPECT_EQ(renderer->OnLuaCall(L, id, "GetFPS"), 0) << id;
            EXPECT_EQ(lua_gettop(L), top) << id;
        }
        // The name is not looked at: id 43 is "GetFPS" whatever it is called.
        ASSERT_EQ(renderer->OnLuaCall(L, 43, "Exit"), 1);
        EXPECT_EQ(lua_tonumber(L, -1), 17);
        lua_settop(L, top);
    });
}

TEST_F(HostRendererFunctionsTest, BadArgumentsAndFailedChecksRaiseTheirTextBeforeAnyEffect) {
    const std::string out =
        Run("local cases = {\n"
            "  {'SwitchToRenderer'}, {'RunScript', {}}, {'ShowModal', {}}, {'RegisterRenderer', 'a'},\n"
            "  {'Update'}, {'Update', 'fast'}, {'Render', 1}, {'GetRegisteredRenderer'},\n"
            "  {'CallFunction', true}, {'EndModal'},\n"
            "}\n"
            "function Init(h)\n"
            "  Host = h\n"
            "  for _, c in ipairs(cases) do print(c[1], ErrorOf(c[1], unpack(c, 2, table.maxn(c)))) end\n"
            "  print(select('#', Host:GetRegisteredRenderer('a')))\n"
            "end\n"
            "function Update(dt) print('main update') end\n",
            2);
    EXPECT_EQ(out,
              "SwitchToRenderer\tlua_isstring(luaVM,idx)\n"
              "RunScript\tlua_isstring(luaVM,idx)\n"
              "ShowModal\tlua_isstring(luaVM,idx)\n"
              "RegisterRenderer\tlua_isstring(luaVM,idx)\n"
              "Update\tlua_isnumber(luaVM,idx)\n"
              "Update\tlua_isnumber(luaVM,idx)\n"
              "Render\tlua_isnumber(luaVM,idx)\n"
              "GetRegisteredRenderer\tlua_isstring(luaVM,idx)\n"
              "CallFunction\tlua_isstring(luaVM,idx)\n"
              "EndModal\tparent != NULL\n"
              "0\n"
              "main update\n"
              "main update\n");
    const auto loads = engine->Calls("Resource_Load");
    EXPECT_EQ(std::count(loads.begin(), loads.end(), "Resource_Load(a)"), 0);
}

TEST_F(HostRendererFunctionsTest, SwitchToRendererReadsTheLastNameAndIgnoresUnknownOnes) {
    Serve("a", "function Update(dt) print('a') end");
    Serve("b", "function Update(dt) print('b') end");
    const std::string out =
        Run("function Init(h)\n"
            "  Host = h\n"
            "  Host:RegisterRenderer('a', 'scripts/a.lua')\n"
            "  Host:RegisterRenderer('b', 'scripts/b.lua')\n"
            "end\n"
            "frame = 0\n"
            "function Update(dt)\n"
            "  frame = frame + 1\n"
            "  print('main ' .. frame)\n"
            "  if frame == 1 then Host:SwitchToRenderer('nobody') end\n"
            "  if frame == 2 then Host:SwitchToRenderer('b', 'a') end\n"
            "end\n",
            3);
    EXPECT_EQ(out, "main 1\nmain 2\na\n");
}

TEST_F(HostRendererFunctionsTest, RegisterRendererKeepsAScriptRendererAndReplacesAFixedScreen) {
    Serve("fixed",
          "function Init(h)\n"
          "  Host = h\n"
          "  print('fixed init', ErrorOf('EndModal'), select('#', h:GetRegisteredRenderer('fixed')))\n"
          "end\n");
    Serve("first", "function Init(h) print('first init') end function Who() print('first') end");
    Serve("second", "function Init(h) print('second init') end function Who() print('second') end");
    FixedScreen fixed("scripts\\fixed.lua");
    starter->GetKeyBinder()->Register("fixed", &fixed);

    const std::string out =
        Run("function Init(h)\n"
            "  Host = h\n"
            "  print(select('#', Host:GetRegisteredRenderer('fixed')))\n"
            "  Host:RegisterRenderer('dup', 'scripts/first.lua')\n"
            "  Host:RegisterRenderer('dup', 'scripts/second.lua')\n"
            "  Host:GetRegisteredRenderer('dup'):CallFunction('Who')\n"
            "  Host:RegisterRenderer('fixed', 'scripts/second.lua')\n"
            "  Host:GetRegisteredRenderer('fixed'):CallFunction('Who')\n"
            "  print(select('#', Host:GetRegisteredRenderer('nobody')))\n"
            "end\n");
    EXPECT_EQ(out,
              "fixed init\tparent != NULL\t0\n"
              "0\n"
              "first init\n"
              "first\n"
              "second init\n"
              "second\n"
              "0\n");
    // Losing its name must not keep the fixed screen attached past the run.
    EXPECT_EQ(fixed.shutdowns, 1);
}

// A script's "__gc" runs while its state closes at the end of the run: a
// renderer it registers then is refused, and a table it is given then holds
// no share of its binder's record (either would leak).
TEST_F(HostRendererFunctionsTest, NothingMadeWhileAStateClosesOutlivesIt) {
    Serve("late", "function Init(h) print('late init') end");
    Serve("bg", "");
    const std::string out =
        Run("function Init(h)\n"
            "  Host = h\n"
            "  Host:RegisterRenderer('bg', 'scripts/bg.lua')\n"
            "  Keep = newproxy(true)\n"
            "  getmetatable(Keep).__gc = function()\n"
            "    Host:RegisterRenderer('late', 'scripts/late.lua')\n"
            "    print('closing', Host:GetRegisteredRenderer('bg') ~= nil)\n"
            "  end\n"
            "end\n");
    EXPECT_EQ(out, "closing\ttrue\n");
    EXPECT_EQ(starter->GetKeyBinder()->FindByName("late"), nullptr);
}

// The same "__gc" may run another screen's script through a table it kept:
// a renderer that script registers while the run ends is refused too (the
// name "A" comes before "a" in the registry, where the detaching is past).
TEST_F(HostRendererFunctionsTest, NoRendererIsRegisteredWhileTheRunEnds) {
    Serve("late", "function Init(h) print('late init') end");
    Serve("bg", "function Update(dt) print('bg update') Host:RegisterRenderer('A', 'scripts/late.lua') end");
    Serve("a",
          "Bg = nil\n"
          "function Init(h)\n"
          "  Bg = h:GetRegisteredRenderer('bg')\n"
          "  Keep = newproxy(true)\n"
          "  getmetatable(Keep).__gc = function() Bg:Update(0) end\n"
          "end\n");
    const std::string out = Run(
        "function Init(h) h:RegisterRenderer('bg', 'scripts/bg.lua') h:RegisterRenderer('a', 'scripts/a.lua') end\n");
    EXPECT_EQ(out, "bg update\n");
    EXPECT_EQ(starter->GetKeyBinder()->FindByName("A"), nullptr);
}

size_t g_BoundTables = 0;

// Between frames, the most binders the screen "bg" held at once, in g_BoundTables.
void WatchBoundTables(RecordingEngine* engine) {
    g_BoundTables = 0;
    engine->betweenFrames = [](int) {
        CGFXStarter* s = CGFXStarter::GetInstance();
        if (auto* bg = dynamic_cast<CScriptRenderer*>(s->GetKeyBinder()->FindByName("bg")))
            g_BoundTables = std::max(g_BoundTables, bg->BoundTableCount());
        s->Release();
    };
}

TEST_F(HostRendererFunctionsTest, RegisteredRendererTableDrivesThatScreenFromTheCaller) {
    Serve("bg",
          "function Update(dt) print('bg update ' .. dt) end\n"
          "function Render(x, y) print('bg render ' .. x .. ' ' .. y) end\n"
          "function Hello() print('hello from bg') end\n");
    WatchBoundTables(engine);
    const std::string out =
        Run("function Init(h) Host = h Host:RegisterRenderer('bg', 'scripts/bg.lua') end\n"
            "function Update(dt)\n"
            "  local bg = Host:GetRegisteredRenderer('bg')\n"
            "  bg:Update(0.5)\n"
            "  bg:CallFunction('Hello')\n"
            "  bg:Exit()\n"
            "end\n"
            "function Render(x, y)\n"
            "  print('main render begin')\n"
            "  Host:GetRegisteredRenderer('bg'):Render(3, 4)\n"
            "  print('main render end')\n"
            "end\n",
            3);
    engine->betweenFrames = nullptr;
    std::string frame = "bg update 0.5\nhello from bg\nmain render begin\nbg render 3 4\nmain render end\n";
    EXPECT_EQ(out, frame + frame + frame);
    // "Exit" through the other screen's table is that screen's request, not the caller's.
    EXPECT_EQ(engine->FramesRun(), 3);
    // Six tables asked for from one state: one binder behind them.
    EXPECT_EQ(g_BoundTables, 1u);
}

// A screen's table in another screen's state outlives the screen's detach:
// then every function of it does nothing, whether or not it needs the
// screen's script (GetFPS does not, GetSprite does).
TEST_F(HostRendererFunctionsTest, AHostTableOfADetachedScreenDoesNothing) {
    engine->AddImage("images/a.png", 4, 4);
    Serve("bg", "");
    engine->betweenFrames = [](int frame) {
        if (frame != 0) return;
        CGFXStarter* s = CGFXStarter::GetInstance();
        s->GetKeyBinder()->FindByName("bg")->Detach(s);
        s->Release();
    };
    const std::string out =
        Run("function Init(h) Host = h Host:RegisterRenderer('bg', 'scripts/bg.lua') end\n"
            "function Update(dt)\n"
            "  local bg = Host:GetRegisteredRenderer('bg')\n"
            "  print(select('#', bg:GetFPS()), select('#', bg:GetSprite('images/a.png', false, 1, 1)),\n"
            "    select('#', bg:ConfigGetString('s', 'v')))\n"
            "end\n",
            2);
    engine->betweenFrames = nullptr;
    EXPECT_EQ(out, "1\t1\t1\n0\t0\t0\n");
}

struct AskerCase {
    const char* name;
    const char* main;
};

class BoundTablesTest : public HostScriptFixture, public testing::WithParamInterface<AskerCase> {};

// Every table asked for stays callable, yet the binders behind them do not
// grow with the coroutines or the screens that ask.
TEST_P(BoundTablesTest, OneBinderServesEveryCallerThatStillHoldsATable) {
    Serve("bg", "function GetName() print('bg') end");
    Serve("asker",
          "function Init(h) Host = h Bg = h:GetRegisteredRenderer('bg') Bg:CallFunction('GetName') end\n"
          "function Update(dt) Host:RunScript('scripts/asker.lua') end\n");
    WatchBoundTables(engine);
    const std::string out = Run(
        std::string("function Init(h) Host = h Host:RegisterRenderer('bg', 'scripts/bg.lua') end\n") + GetParam().main,
        4);
    engine->betweenFrames = nullptr;
    EXPECT_EQ(out, "bg\nbg\nbg\nbg\n");
    EXPECT_EQ(g_BoundTables, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Callers, BoundTablesTest,
    testing::Values(
        // Each frame one coroutine keeps its table and waits; another ends.
        AskerCase{"Coroutines",
                  "Waiting = {}\n"
                  "local function Ask() Host:GetRegisteredRenderer('bg'):CallFunction('GetName') end\n"
                  "function Update(dt)\n"
                  "  local co = coroutine.create(function() Ask() coroutine.yield() end)\n"
                  "  coroutine.resume(co) Waiting[#Waiting + 1] = co\n"
                  "  coroutine.wrap(function() Host:GetRegisteredRenderer('bg') end)()\n"
                  "  collectgarbage()\n"
                  "end\n"},
        // Each frame a new screen asks, and the one before ends with its state.
        AskerCase{"ScreensStartedAnew", "function Update(dt) Host:RunScript('scripts/asker.lua') end\n"}),
    [](const testing::TestParamInfo<AskerCase>& info) { return std::string(info.param.name); });

struct ExitCase {
    const char* name;
    const char* main;
    int frames;
    const char* printed;
};

class HostExitTest : public HostScriptFixture, public testing::WithParamInterface<ExitCase> {};

TEST_P(HostExitTest, ExitInAnUpdateEndsTheLoopAfterTheFramesLastSteps) {
    Serve("late", "function Init(h) print('late init') end");
    Serve("child", "n = 0 function Update(dt) n = n + 1 if n == 2 then Host:Exit() end end");
    const std::string out = Run(GetParam().main, 3);
    EXPECT_EQ(engine->FramesRun(), GetParam().frames);
    EXPECT_EQ(out, GetParam().printed);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostExitTest,
                         testing::Values(
                             // The frame that exits still starts the script it asked for.
                             ExitCase{"StillStartsTheScriptItAskedFor",
                                      "frame = 0\n"
                                      "function Update(dt)\n"
                                      "  frame = frame + 1\n"
                                      "  if frame == 2 then Host:RunScript('scripts/late.lua') Host:Exit() end\n"
                                      "end\n",
                                      2, "late init\n"},
                             // An open modal screen's "Exit" counts as well.
                             ExitCase{"FromAModalScreen",
                                      "function Init(h) Host = h Host:ShowModal('scripts/child.lua') end\n", 2, ""}),
                         [](const testing::TestParamInfo<ExitCase>& info) { return std::string(info.param.name); });

TEST_F(HostRendererFunctionsTest, ModalScreenGetsTheFramesAndEndsBeforeTheParentsNextUpdate) {
    Serve("child",
          "function Init(h) Host = h print('child init') end\n"
          "n = 0\n"
          "function Update(dt)\n"
          "  n = n + 1\n"
          "  print('child update ' .. n)\n"
          "  if n == 2 then Host:EndModal() print('child after end') end\n"
          "end\n"
          "function Render(x, y) print('child render') end\n");
    Serve("other", "function Init(h) print('other init') end function Render(x, y) print('other render') end");
    // The parent asks for another modal screen in every render: refused while
    // its child is open or ending, granted once the child is gone.
    const std::string out =
        Run("frame = 0\n"
            "function Update(dt)\n"
            "  frame = frame + 1\n"
            "  print('main update ' .. frame)\n"
            "  if frame == 1 then Host:ShowModal('scripts/child.lua') end\n"
            "end\n"
            "function Render(x, y) print('main render') Host:ShowModal('scripts/other.lua') end\n"
            "function OnEndModal() print('main end modal') end\n",
            4);
    EXPECT_EQ(out,
              "main update 1\nchild init\nmain render\nchild render\n"
              "child update 1\nmain render\nchild render\n"
              "child update 2\nchild after end\nmain render\n"
              "main end modal\nmain update 2\nmain render\nother init\nother render\n");
}

TEST_F(HostRendererFunctionsTest, NestedModalScreensDrawInOrderAndOnlyTheInnermostUpdates) {
    Serve("child",
          "function Init(h) Host = h Host:ShowModal('scripts/grand.lua') end\n"
          "function Update(dt) print('child update') end\n"
          "function Render(x, y) print('child render') end\n"
          "function OnEndModal() print('child end modal') end\n");
    Serve("grand",
          "n = 0\n"
          "function Update(dt) n = n + 1 print('grand update ' .. n) if n == 2 then Host:EndModal() end end\n"
          "function Render(x, y) print('grand render') end\n");
    const std::string out =
        Run("function Init(h) Host = h Host:ShowModal('scripts/child.lua') end\n"
            "function Update(dt) print('main update') end\n"
            "function Render(x, y) print('main render') end\n",
            3);
    EXPECT_EQ(out,
              "grand update 1\nmain render\nchild render\ngrand render\n"
              "grand update 2\nmain render\nchild render\n"
              "child end modal\nchild update\nmain render\nchild render\n");
}

TEST_F(HostRendererFunctionsTest, ModalScreenEndedInItsOwnInitIsTornDownAtTheNextFrame) {
    Serve("child",
          "function Init(h) h:EndModal() print('child init') end function Render(x, y) print('child render') end");
    const std::string out =
        Run("function Init(h) Host = h Host:ShowModal('scripts/child.lua') end\n"
            "function Update(dt) print('main update') end\n"
            "function OnEndModal() print('main end modal') end\n",
            2);
    EXPECT_EQ(out, "child init\nmain end modal\nmain update\nmain update\n");
}

// A "__gc" of the child's state, run as the child is deleted, may end it again:
// the opener still hears of its end once.
TEST_F(HostRendererFunctionsTest, AModalScreenEndedAgainAsItGoesEndsOnce) {
    Serve("child",
          "function Init(h) Host = h Keep = newproxy(true) getmetatable(Keep).__gc = function() h:EndModal() end end\n"
          "function Update(dt) Host:EndModal() end\n");
    const std::string out =
        Run("function Init(h) Host = h Host:ShowModal('scripts/child.lua') end\n"
            "function Update(dt) print('main update') end\n"
            "function OnEndModal() print('main end modal') end\n",
            3);
    EXPECT_EQ(out, "main end modal\nmain update\nmain update\n");
}

TEST_F(HostRendererFunctionsTest, ScreensOpeningThemselvesEndWithAClearError) {
    Serve("modal", "function Init(h) h:ShowModal('scripts/modal.lua') end");
    Serve("named", "function Init(h) h:RegisterRenderer('named', 'scripts/named.lua') end");
    EXPECT_EXIT(Run("function Init(h) h:ShowModal('scripts/modal.lua') end"), testing::ExitedWithCode(2),
                "too many nested screens");
    EXPECT_EXIT(Run("function Init(h) h:RegisterRenderer('named', 'scripts/named.lua') end"),
                testing::ExitedWithCode(2), "too many nested screens");
}

TEST_F(HostRendererFunctionsTest, CallFunctionOfAMissingGlobalEndsTheProcess) {
    EXPECT_EXIT(Run("function Update(dt) Host:CallFunction('Missing') end"), testing::ExitedWithCode(2),
                "attempt to call");
}

// A whole collection, finalizers included, at every step of the collector.
const char kEveryAllocationCollects[] =
    "function FromNowOnEveryAllocationCollects()\n"
    "  collectgarbage('setpause', 0) collectgarbage('setstepmul', 1000000) collectgarbage('collect')\n"
    "end\n";

// A "__gc" runs wherever the collector steps, also where the host itself
// pushes onto the state outside any protected call (after a script file's
// top-level error, say): its error ends the process as any script error
// does. Each "__gc" makes the next one, and the n-th fails, so the failure
// lands on several steps in a row; it starts in "Init", or before a top-level
// error (where a failure is told, and the game goes on to an "Update" that
// ends it).
TEST_F(HostRendererFunctionsTest, AFailingFinalizerEndsTheProcessWhereverItRuns) {
    const char* const starts[] = {"function Init(h) FromNowOnEveryAllocationCollects() Arm() end\n",
                                  "function Update(dt) error('ended') end\n"
                                  "FromNowOnEveryAllocationCollects() Arm() error('top level')\n"};
    for (const char* start : starts) {
        for (int n = 1; n <= 4; ++n) {
            const std::string script = std::string(kEveryAllocationCollects) +
                                       "local k = 0\n"
                                       "local function Arm()\n"
                                       "  local p = newproxy(true)\n"
                                       "  getmetatable(p).__gc = function() k = k + 1 if k == " +
                                       std::to_string(n) +
                                       " then error('finalizer ' .. k) end Arm() end\n"
                                       "end\n" +
                                       start;
            EXPECT_EXIT(Run(script, 3), testing::ExitedWithCode(2), "finalizer " + std::to_string(n)) << start << n;
        }
    }
}

// The same failing "__gc" while "Render" through the host table readies its
// call: it ends the process, or reaches the script's pcall once the call is
// over; never does it leave the screen marked as rendering.
TEST_F(HostRendererFunctionsTest, AFailingFinalizerNeverLeavesTheScreenRendering) {
    engine->AddImage("images/a.png", 4, 4);
    for (int n = 1; n <= 4; ++n) {
        const std::string script =
            std::string(kEveryAllocationCollects) +
            "local k, armed = 0, true\n"
            "local function Arm()\n"
            "  local p = newproxy(true)\n"
            "  getmetatable(p).__gc = function()\n"
            "    if not armed then return end\n"
            "    k = k + 1 if k == " +
            std::to_string(n) +
            " then armed = false error('finalizer ' .. k) end Arm()\n"
            "  end\n"
            "end\n"
            "function Update(dt)\n"
            "  FromNowOnEveryAllocationCollects() Arm()\n"
            "  pcall(Host.Render, Host, 0, 0)\n"
            "  armed = false\n"
            "  error(ErrorOf('GetMaskedSprite', 'images/a.png', 'images/a.png', 'images/a.png', 0, 0, 'R'), 0)\n"
            "end\n";
        EXPECT_EXIT(Run(script), testing::ExitedWithCode(2), "finalizer " + std::to_string(n) + "|^inScriptRender")
            << n;
    }
}

}  // namespace
