#include "host/CHelperToKeyBinder.h"
#include "tests/media/XmlFontSample.h"
#include "tests/script/ProbeHostFixture.h"
#include "tests/support/AllocatedBytes.h"
#include "tests/support/ParticlePresets.h"

#include <algorithm>
#include <cstring>
#include <string>

// The host functions that make media objects, fill the caches, capture the
// screen and switch the sound.
class HostMediaFunctionsTest : public ProbeHostFixture {
protected:
    void SetUp() override {
        ProbeHostFixture::SetUp();
        engine->AddImage("images/w256.png", 256, 32);
        engine->AddImage("images/w100.png", 100, 20, {}, 128, 32);
    }

    // A script whose Render runs `body` (once in a run of one frame: quads
    // are drawn only in a scene), with the host table in Host.
    static std::string InRender(const std::string& body) {
        return "function Init(h) Host = h end\n"
               "function Update(dt) end\n"
               "function Render(x, y)\n" +
               body + "\nend\n";
    }
};

// Frame widths come from the image's own size, not its surface.
TEST_F(HostMediaFunctionsTest, GetSpriteCutsTheImageIntoFrames) {
    const std::string out = RunMain(
        "function Init(h)\n"
        "  local cases = { {'images/w256.png', false, 4}, {'images/w100.png', false, 3},\n"
        "    {'images/w100.png', false, 0}, {'images/w100.png', true, -3}, {'images/missing.png', false, 1} }\n"
        "  for _, c in ipairs(cases) do\n"
        "    local s = h:GetSprite(c[1], c[2], c[3], 1)\n"
        "    local w, hgt = s:Size()\n"
        "    print(w, hgt, s:IsPlaying())\n"
        "  end\n"
        "end\n"
        "function Update(dt) end function Render(x, y) end\n");
    EXPECT_EQ(out,
              "64\t32\ttrue\n"
              "33\t20\ttrue\n"
              "100\t20\tfalse\n"
              "100\t20\ttrue\n"
              "0\t0\tfalse\n");
}

// 1.4 seconds: one frame at 1 fps, two at 1.5, three at 2.5.
TEST_F(HostMediaFunctionsTest, GetSpritePlaysAtLeastOneFramePerSecond) {
    const std::string out = RunMain(
        "function Init(h)\n"
        "  for _, fps in ipairs({0, 0.5, 1.5, 2.5, -7, 0/0, 1/0}) do\n"
        "    local s = h:GetSprite('images/w256.png', true, 4, fps)\n"
        "    s:Update(0); s:Update(1.4)\n"
        "    io.write(s:CurrentFrameNumber(), ' ')\n"
        "  end\n"
        "  h:GetSprite('images/w256.png', true, 4, 1e300):Update(1)\n"
        "end\n"
        "function Update(dt) end function Render(x, y) end\n");
    EXPECT_EQ(out, "1 1 2 3 1 1 1 ");
}

TEST_F(HostMediaFunctionsTest, GetSpriteChecksItsArgumentsBeforeMakingAnything) {
    const std::string out = RunMain(
        "function Init(h)\n"
        "  print(pcall(h.GetSprite, h, 'images/w256.png', false, 1))\n"
        "  print(pcall(h.GetSprite, h, 'images/w256.png', false, 1, 1, 1))\n"
        "  print(pcall(h.GetSprite, h, 'images/w256.png', 1, 1, 1))\n"
        "  print(pcall(h.GetSprite, h, 'images/w256.png', false, 1, 'x'))\n"
        "  print(pcall(h.GetSprite, h, {}, false, 1, 1))\n"
        "end\n"
        "function Update(dt) end function Render(x, y) end\n");
    EXPECT_EQ(out,
              "false\ttop == 5\n"
              "false\ttop == 5\n"
              "false\tlua_isboolean(luaVM,idx)\n"
              "false\tlua_isnumber(luaVM,idx)\n"
              "false\tlua_isstring(luaVM,idx)\n");
    EXPECT_EQ(engine->Count("Texture_Load"), 0);
}

TEST_F(HostMediaFunctionsTest, SpritesOnOneFileShareItsTextureAndOutliveEachOther) {
    const std::string out =
        RunProbed(InRender("  local a = Host:GetSprite('images/w256.png', false, 1, 1)\n"
                           "  local b = Host:GetSprite('images/w256.png', false, 1, 1)\n"
                           "  a:Render(0, 0); local ta = LastQuadTexture()\n"
                           "  b:Render(0, 0); local tb = LastQuadTexture()\n"
                           "  a:Delete()\n"
                           "  a:Render(50, 0); print(select('#', a:Size()))\n"
                           "  b:Render(20, 0); print(ta == tb, LastQuadTexture() == tb)"));
    EXPECT_EQ(out, "0\ntrue\ttrue\n");
    EXPECT_EQ(engine->Count("Texture_Load"), 1);
    EXPECT_EQ(engine->Quads().size(), 3u);
}

// A failed load is not cached, so every later request tries again.
TEST_F(HostMediaFunctionsTest, CacheFillingServesLaterRequests) {
    engine->AddSound("sfx/hit.wav");
    const std::string out = RunMain(
        "function Init(h)\n"
        "  h:CacheTexture('images/w256.png'); h:CacheTexture('images/missing.png')\n"
        "  h:CacheSound('sfx/hit.wav'); h:CacheSound('sfx/missing.wav')\n"
        "  h:GetSprite('images/w256.png', false, 1, 1); h:GetSprite('images/missing.png', false, 1, 1)\n"
        "  h:GetSound('sfx/hit.wav'); h:GetSound('sfx/missing.wav')\n"
        "  print(pcall(h.CacheTexture, h))\n"
        "  print(pcall(h.CacheSound, h, 3, {}))\n"
        "end\n"
        "function Update(dt) end function Render(x, y) end\n");
    EXPECT_EQ(out, "false\tlua_isstring(luaVM,idx)\nfalse\tlua_isstring(luaVM,idx)\n");
    EXPECT_EQ(engine->Calls("Texture_Load"), (std::vector<std::string>{"Texture_Load(images/w256.png,0,false)",
                                                                       "Texture_Load(images/missing.png,0,false)",
                                                                       "Texture_Load(images/missing.png,0,false)"}));
    EXPECT_EQ(engine->Calls("Effect_Load"),
              (std::vector<std::string>{"Effect_Load(sfx/hit.wav,0)", "Effect_Load(sfx/missing.wav,0)",
                                        "Effect_Load(sfx/missing.wav,0)"}));
}

// Objects on files that do not load are made all the same and stay harmless.
TEST_F(HostMediaFunctionsTest, FontsAndSoundsAreMadeAlsoForMissingFiles) {
    engine->AddImage("fonts/glyphs.png", 64, 64);
    engine->AddFile("fonts/game.fnt", "[GFXFONT]\nBitmap = glyphs.png\nChar=41,0,0,10,17,0,1\n");
    engine->AddSound("sfx/hit.wav");
    const std::string out =
        RunMain(InRender("  local f = Host:GetFont('fonts/game.fnt'); local g = Host:GetFont('fonts/missing.fnt')\n"
                         "  print(f:StringWidth('AA') > 0, g:StringWidth('AA'))\n"
                         "  f:DrawString(0, 0, 'A'); g:DrawString(0, 0, 'A')\n"
                         "  local s = Host:GetSound('sfx/hit.wav'); local m = Host:GetSound('sfx/missing.wav')\n"
                         "  s:Play(false, 80); m:Play(false, 80)\n"
                         "  print(s:IsPlaying(), m:IsPlaying())\n"
                         "  print(pcall(Host.GetFont, Host))\n"
                         "  print(pcall(Host.GetSound, Host))"));
    EXPECT_EQ(out,
              "true\t0\n"
              "true\tfalse\n"
              "false\tlua_isstring(luaVM,idx)\n"
              "false\tlua_isstring(luaVM,idx)\n");
    EXPECT_EQ(engine->Quads().size(), 1u);
}

// "GetParticle" takes the preset first and the texture second.
TEST_F(HostMediaFunctionsTest, ParticlesAndExtendedFontsDrawWhatTheirFilesDescribe) {
    engine->AddFile("fx/steady.psi", SteadyPreset());
    engine->AddImage("images/spark.png", 8, 8);
    engine->AddFile("fonts/game.xml", kXmlFontSample);
    engine->AddImage("fonts/p0.png", 256, 256);
    engine->AddImage("fonts/p1.png", 256, 256);
    const std::string out =
        RunMain(InRender("  local p = Host:GetParticle('fx/steady.psi', 'images/spark.png')\n"
                         "  p:FireAt(100, 100); p:Update(0.5); p:Render()\n"
                         "  local q = Host:GetParticle('fx/missing.psi', 'images/spark.png')\n"
                         "  q:FireAt(100, 100); q:Update(0.5); q:Render()\n"
                         "  print(p:IsAlive(), q:IsAlive())\n"
                         "  local f = Host:GetFontEx('fonts/game.xml'); local g = Host:GetFontEx('fonts/missing.xml')\n"
                         "  print(f:StringWidth('AB'), g:StringWidth('AB'))\n"
                         "  print(pcall(Host.GetParticle, Host, 'fx/steady.psi'))\n"
                         "  print(pcall(Host.GetFontEx, Host))"));
    EXPECT_EQ(out,
              "true\tfalse\n"
              "24\t0\n"
              "false\tlua_isstring(luaVM,idx)\n"
              "false\tlua_isstring(luaVM,idx)\n");
    const std::vector<std::string> loads = engine->Calls("Texture_Load");
    EXPECT_EQ(std::count(loads.begin(), loads.end(), "Texture_Load(images/spark.png,0,false)"), 1);
    EXPECT_FALSE(engine->Quads().empty());
}

// The sprite of an earlier capture keeps its texture, which goes with that
// sprite; a failed snapshot (from the second frame on) never hands out the
// older picture.
TEST_F(HostMediaFunctionsTest, GetLastSurfaceCapturesTheScreenEachTime) {
    engine->betweenFrames = [](int frame) {
        if (frame == 1) RecordingEngine::Instance()->failSnapshot = true;
    };
    const std::string out = RunProbed(
        "function Init(h) Host = h end\n"
        "function Update(dt) end\n"
        "function Render(x, y)\n"
        "  if First then print(select('#', Host:GetLastSurface())) return end\n"
        "  First = Host:GetLastSurface(); print(First:Size())\n"
        "  First:Render(0, 0); local t1 = LastQuadTexture()\n"
        "  local second = Host:GetLastSurface()\n"
        "  second:Render(0, 0); local t2 = LastQuadTexture()\n"
        "  First:Render(0, 0)\n"
        "  print(t1 ~= t2, LastQuadTexture() == t1, LockTexture(t1))\n"
        "  UnlockTexture(t1)\n"
        "  First:Delete(); print(LockTexture(t1))\n"
        "end\n",
        2);
    EXPECT_EQ(out, "800\t600\ntrue\ttrue\ttrue\nfalse\n0\n");
    const auto snapshots = engine->Calls("System_Snapshot");
    ASSERT_EQ(snapshots.size(), 3u);
    EXPECT_EQ(snapshots[0], "System_Snapshot(" + starter->GetOutputFolder() + "last_surface.bmp)");
}

// A capture's sprite that no table of the script reaches any more can never
// be drawn again: it goes, and its texture with it, however often the
// script captures.
TEST_F(HostMediaFunctionsTest, CapturesTheScriptDropsGiveTheirTexturesBack) {
    const std::string out = RunProbed(
        "function Init(h) Host = h end\n"
        "function Update(dt) end\n"
        "function Render(x, y) Host:GetLastSurface() collectgarbage() print(LiveTextures()) end\n",
        4);
    EXPECT_EQ(out, "1\n1\n1\n1\n");
}

std::vector<long long> g_Allocated;

struct DropCase {
    const char* name;
    const char* drop;  // the body of Drop(o), run on every object made
};

class DroppedObjectsTest : public HostMediaFunctionsTest, public testing::WithParamInterface<DropCase> {};

// The same for every kind of object: made every frame and dropped, they take
// no more memory as the frames go by (the dropped ones go in batches, so the
// peaks of the two halves of the run are compared).
TEST_P(DroppedObjectsTest, ObjectsTheScriptDropsDoNotPileUp) {
    engine->AddFile("fx/steady.psi", SteadyPreset());
    engine->AddFile("fonts/game.xml", kXmlFontSample);
    engine->AddSound("sfx/hit.wav");
    g_Allocated.clear();
    // The engine's log of calls grows with them: it is emptied first.
    engine->betweenFrames = [](int) {
        RecordingEngine::Instance()->ClearLog();
        g_Allocated.push_back(AllocatedBytes());
    };
    RunMain(std::string("function Init(h) Host = h end\n"
                        "local function Drop(o) ") +
                GetParam().drop +
                " end\n"
                "function Update(dt)\n"
                "  for i = 1, 50 do\n"
                "    Drop(Host:GetSprite('images/w256.png', true, 4, 10)); Drop(Host:GetFont('fonts/missing.fnt'))\n"
                "    Drop(Host:GetFontEx('fonts/game.xml')); Drop(Host:GetSound('sfx/hit.wav'))\n"
                "    Drop(Host:GetParticle('fx/steady.psi', 'images/w256.png'))\n"
                "  end\n"
                "  collectgarbage()\n"
                "end\n"
                "function Render(x, y) end\n",
            12);
    engine->betweenFrames = nullptr;
    ASSERT_EQ(g_Allocated.size(), 12u);
    const auto half = g_Allocated.begin() + 6;
    EXPECT_LT(*std::max_element(half, g_Allocated.end()) - *std::max_element(g_Allocated.begin(), half), 256 * 1024);
}

INSTANTIATE_TEST_SUITE_P(Drops, DroppedObjectsTest,
                         testing::Values(DropCase{"Plainly", ""},
                                         // A finalizer reaches the table once but keeps it nowhere.
                                         DropCase{"BehindAFinalizer",
                                                  "getmetatable(newproxy(true)).__gc = function() return o end"}),
                         [](const testing::TestParamInfo<DropCase>& info) { return std::string(info.param.name); });

struct RevivedCase {
    const char* name;
    const char* make;   // an expression that makes the object
    const char* use;    // a statement that gives it state, on s
    const char* query;  // what it answers, on Saved
    const char* answer;
};

// The files every kind of object is made on.
class RevivedTableTest : public HostMediaFunctionsTest {
protected:
    void SetUp() override {
        HostMediaFunctionsTest::SetUp();
        engine->AddImage("fonts/glyphs.png", 64, 64);
        engine->AddFile("fonts/game.fnt", "[GFXFONT]\nBitmap = glyphs.png\nChar=41,0,0,10,17,0,1\n");
        engine->AddFile("fonts/game.xml", kXmlFontSample);
        engine->AddImage("fonts/p0.png", 256, 256);
        engine->AddImage("fonts/p1.png", 256, 256);
        engine->AddSound("sfx/hit.wav");
        engine->AddFile("fx/steady.psi", SteadyPreset());
    }

    // A script whose first frame plants an object that only a finalizer
    // reaches, and whose finalizer keeps it in Saved; `later` runs in the
    // second frame, once two collections have run that finalizer.
    static std::string Planting(const RevivedCase& c, const std::string& later) {
        return std::string(
                   "function Init(h) Host = h end\n"
                   "local function plant()\n"
                   "  local s = ") +
               c.make + "\n  " + c.use +
               "\n"
               "  local p = newproxy(true)\n"
               "  getmetatable(p).__gc = function() Saved = s end\n"
               "end\n"
               "local frame = 0\n"
               "function Update(dt)\n"
               "  frame = frame + 1\n"
               "  if frame == 1 then plant() return end\n"
               "  collectgarbage('collect') collectgarbage('collect')\n" +
               later +
               "\nend\n"
               "function Render(x, y) end\n";
    }
};

class RevivedKindTest : public RevivedTableTest, public testing::WithParamInterface<RevivedCase> {};

// A table that a finalizer brings back still reaches its object, which later
// objects of its kind do not take away while the table is there.
TEST_P(RevivedKindTest, ATableAFinalizerKeepsStillAnswers) {
    const RevivedCase& c = GetParam();
    const std::string out = RunMain(Planting(c, std::string("print(") + c.query +
                                                    ")\n"
                                                    "for i = 1, 9 do local _ = " +
                                                    c.make +
                                                    " end\n"
                                                    "collectgarbage('collect')\n"
                                                    "print(" +
                                                    c.query + ")"),
                                    2);
    EXPECT_EQ(out, std::string(c.answer) + "\n" + c.answer + "\n");
}

const RevivedCase kRevivedSprite = {"Sprite", "Host:GetSprite('images/w256.png', false, 1, 1)", "s:SetPosition(7, 9)",
                                    "Saved:Position()", "7\t9"};

INSTANTIATE_TEST_SUITE_P(Kinds, RevivedKindTest,
                         testing::Values(kRevivedSprite,
                                         RevivedCase{"Font", "Host:GetFont('fonts/game.fnt')", "s:AlignRight()",
                                                     "Saved:StringWidth('AA') > 0", "true"},
                                         RevivedCase{"FontEx", "Host:GetFontEx('fonts/game.xml')", "s:AlignCenter()",
                                                     "Saved:StringWidth('AB')", "24"},
                                         RevivedCase{"Stream", "Host:GetSound('sfx/hit.wav')", "s:Play(true, 40)",
                                                     "Saved:IsPlaying(), Saved:GetVolume()", "true\t40"},
                                         RevivedCase{"Particle", "Host:GetParticle('fx/steady.psi', 'images/w256.png')",
                                                     "s:FireAt(5, 5)", "Saved:IsAlive()", "true"}),
                         [](const testing::TestParamInfo<RevivedCase>& info) { return std::string(info.param.name); });

// Deleting the object still ends a table that a finalizer brought back.
TEST_F(RevivedTableTest, ARevivedTableOfADeletedSpriteAnswersNothing) {
    const std::string out = RunMain(
        Planting(kRevivedSprite, "print(Saved:Position()) Saved:Delete() print(select('#', Saved:Position()))"), 2);
    EXPECT_EQ(out, "7\t9\n0\n");
}

// The same when the screen that owns the object ends while the table lives
// on in the state of another screen.
TEST_F(RevivedTableTest, ARevivedTableOfAnEndedScreenAnswersNothing) {
    engine->AddFile("scripts/bg.lua", "function Init(h) end function Update(dt) end function Render(x, y) end");
    // After the second frame's "Update".
    engine->betweenFrames = [](int frame) {
        if (frame != 1) return;
        CGFXStarter* s = CGFXStarter::GetInstance();
        s->GetKeyBinder()->FindByName("bg")->Detach(s);
        s->Release();
    };
    RevivedCase c = kRevivedSprite;
    c.make = "Host:GetRegisteredRenderer('bg'):GetSprite('images/w256.png', false, 1, 1)";
    std::string script = Planting(c, "print(select('#', Saved:Position()))");
    script.replace(script.find("Host = h"), 8, "Host = h Host:RegisterRenderer('bg', 'scripts/bg.lua')");
    const std::string out = RunMain(script, 3);
    engine->betweenFrames = nullptr;
    EXPECT_EQ(out, "2\n0\n");
}

// A capture's sprite brought back keeps its texture; dropped again, it goes
// with its texture once a later capture is made.
TEST_F(RevivedTableTest, ARevivedTableDroppedAgainGivesItsObjectBack) {
    const std::string out = RunProbed(
        "function Init(h) Host = h end\n"
        "function Update(dt) end\n"
        "local frame = 0\n"
        "function Render(x, y)\n"
        "  frame = frame + 1\n"
        "  if frame == 1 then\n"
        "    local s = Host:GetLastSurface()\n"
        "    getmetatable(newproxy(true)).__gc = function() Saved = s end\n"
        "  elseif frame == 2 then\n"
        "    collectgarbage('collect') collectgarbage('collect')\n"
        "    print(Saved:Size()) Saved = nil\n"
        "  else\n"
        "    collectgarbage('collect') collectgarbage('collect')\n"
        "    Host:GetLastSurface() print(LiveTextures())\n"
        "  end\n"
        "end\n",
        3);
    EXPECT_EQ(out, "800\t600\n1\n");
}

TEST_F(HostMediaFunctionsTest, SoundSwitchedOffStaysOffAcrossAFocusChange) {
    RunInFrame([](CGFXStarter* s, CGFXFuncHelperBase*, lua_State* L) {
        ASSERT_EQ(luaL_dostring(L, "Host:EnableSound(false)"), 0);
        s->OnFocusLost();
        s->OnFocusGain();
    });
    EXPECT_EQ(engine->Count("Channel_ResumeAll"), 0);
    EXPECT_GE(engine->Count("Channel_PauseAll"), 1);
}
