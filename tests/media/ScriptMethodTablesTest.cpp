// The method tables of the script objects and of the debug overlay: their
// names, absent keys, and tables left behind by a second Bind.
#include "host/CGFXStarter.h"
#include "media/CScriptFont.h"
#include "media/CScriptFontEx.h"
#include "media/CScriptParticle.h"
#include "media/CScriptSprite.h"
#include "media/CScriptStream.h"
#include "tests/script/LuaEval.h"
#include "tests/support/HostFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

// Binds one object twice, to the globals "old" and "obj", and deletes it after
// the check. `probe` names a method that has results.
struct Kind {
    const char* what;
    std::function<void(CGFXStarter*, CGFXFuncHelperBase*, lua_State*, const std::function<void()>&)> run;
    const char* names;  // sorted, joined by ","
    const char* probe;
    const char* result;
};

template <class T, class Make>
Kind MakeKind(const char* what, Make make, const char* names, const char* probe, const char* result) {
    auto run = [make](CGFXStarter* s, CGFXFuncHelperBase* screen, lua_State* L, const std::function<void()>& check) {
        std::unique_ptr<T> object(make(s, screen));
        object->Bind(L);
        lua_setglobal(L, "old");
        object->Bind(L);
        lua_setglobal(L, "obj");
        check();
    };
    return {what, run, names, probe, result};
}

const char kSortedNames[] =
    "local t = {} for k in pairs(obj) do t[#t + 1] = k end table.sort(t) return table.concat(t, ',')";

class ScriptMethodTablesTest : public HostFixture {};

TEST_F(ScriptMethodTablesTest, NamesAbsentKeysAndRebinding) {
    engine->AddSound("snd/bell.wav");
    const Kind kinds[] = {
        MakeKind<CScriptSprite>(
            "sprite",
            [](CGFXStarter* s, CGFXFuncHelperBase* screen) {
                return new CScriptSprite(s, screen, 0, false, 32, 16, 0, 0, 1, 1);
            },
            "Clicked,CreateOpacityMap,CurrentFrameNumber,Delete,Disable,Enable,FlipHV,FlipHorizontal,"
            "FlipVertical,Hide,IsEnabled,IsPlaying,IsVisible,Play,Position,Render,RenderEx,SetBlendMode,SetColor,"
            "SetHotSpot,SetLoop,SetPosition,SetRect,Show,Size,Stop,SwitchToFrame,UnderPosition,Update",
            "Size", "32,16"),
        MakeKind<CScriptFont>(
            "font", [](CGFXStarter* s, CGFXFuncHelperBase* screen) { return new CScriptFont(s, screen, "none.fnt"); },
            "AlignCenter,AlignLeft,AlignRight,DrawString,LineHeight,SetColor,SetScale,SetSpacing,SetTracking,"
            "StringWidth",
            "LineHeight", "0"),
        MakeKind<CScriptStream>(
            "stream",
            [](CGFXStarter* s, CGFXFuncHelperBase* screen) {
                return new CScriptStream(s, screen, s->GetResourceCache()->GetSound("snd/bell.wav"));
            },
            "GetVolume,IsPlaying,Pause,Play,PlayEx,Resume,SetVolume,Stop", "GetVolume", "100"),
        MakeKind<CScriptFontEx>(
            "extended font",
            [](CGFXStarter* s, CGFXFuncHelperBase* screen) { return new CScriptFontEx(s, screen, "none.xml"); },
            "AlignCenter,AlignLeft,AlignRight,DrawString,LineHeight,SetColor,SetScale,SetSpacing,SetTracking,"
            "StringWidth",
            "LineHeight", "0"),
        MakeKind<CScriptParticle>(
            "particle system",
            [](CGFXStarter* s, CGFXFuncHelperBase* screen) {
                return new CScriptParticle(s, screen, "none.psi", "none.png");
            },
            "FireAt,IsAlive,MoveTo,MoveToEx,Render,Stop,Update", "IsAlive", "false"),
    };
    for (const Kind& kind : kinds) {
        RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* screen, lua_State* L) {
            kind.run(s, screen, L, [&] {
                EXPECT_EQ(kind.names, LuaEval(L, kSortedNames)) << kind.what;
                EXPECT_EQ("nil,nil", LuaEval(L, "obj.Missing = 5 return obj.Missing, obj[1]")) << kind.what;
                const std::string probe = kind.probe;
                EXPECT_EQ(kind.result, LuaEval(L, "return obj:" + probe + "()")) << kind.what;
                // The first table died with the binder it was made by.
                EXPECT_EQ("0", LuaEval(L, "return select('#', old:" + probe + "())")) << kind.what;
            });
        });
    }
}

// The overlay's table is handed to its script's "Init"; print reports from there.
TEST_F(ScriptMethodTablesTest, DebugOverlayTable) {
    engine->AddFile("scripts/debug.lua",
                    "function Init(t) local n = {} for k in pairs(t) do n[#n + 1] = k end table.sort(n)\n"
                    "  t.Missing = 5 print(table.concat(n, ','), t.Missing, t[1]) print(t:MousePos()) end\n"
                    "function Render() end");
    RecordedInput input;
    input.mouseX = 3;
    input.mouseY = 4;
    engine->SetInput(input);
    EXPECT_EQ("DrawString,GetFPS,MousePos,SetTextColor,TimerDelta\tnil\tnil\n3\t4\n",
              RunInFrame([](CGFXStarter*, CGFXFuncHelperBase*, lua_State*) {}));
}

}  // namespace
