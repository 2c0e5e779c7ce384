#include "tests/script/ProbeHostFixture.h"

#include <algorithm>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

// "GetMaskedSprite": the first image drawn into a 512 x 512 target over white,
// the picture copied, its alpha taken from one channel of the mask, inverted.
class HostMaskFunctionsTest : public ProbeHostFixture {
protected:
    static constexpr int kSize = 512;

    void SetUp() override {
        ProbeHostFixture::SetUp();
        std::vector<uint32_t> first;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) first.push_back(FirstTexel(x, y));
        engine->AddImage("images/first.png", 4, 4, first);
        engine->AddImage("images/second.png", 8, 8);
        // The edge cases of the channels, in two rows of three.
        engine->AddImage("images/mask.png", 3, 2,
                         {0xFF000000, 0x00000000, 0xFFFFFFFF, 0xFF00FF00, 0x000000FF, 0x00FF0000});
    }

    // Opaque, and a colour of its own at each texel.
    static uint32_t FirstTexel(int x, int y) {
        return 0xFF000000u | (0x10u * (y + 1)) << 16 | (0x10u * (x + 1)) << 8 | 0x40;
    }

    static std::string MaskCall(const std::string& channel = "G", int x = 0, int y = 0,
                                const std::string& mask = "images/mask.png",
                                const std::string& first = "images/first.png") {
        return "Host:GetMaskedSprite('" + first + "', 'images/second.png', '" + mask + "', " + std::to_string(x) +
               ", " + std::to_string(y) + ", '" + channel + "')";
    }

    // Runs one frame whose "Render" runs `body` once.
    std::string RunInRender(const std::string& body, int frames = 1) {
        return RunProbed(
            "function Init(h) Host = h end\n"
            "function Update(dt) end\n"
            "function Render(x, y)\n"
            "  if Done then return end\n"
            "  Done = true\n" +
                body + "\nend\n",
            frames);
    }

    // The texels of the masked sprite that `call` makes, as drawn in "Render".
    std::vector<uint32_t> Compose(const std::string& call) {
        const std::string out = RunInRender("local s = " + call +
                                            "\n"
                                            "s:Render(0, 0); KeepTexels(LastQuadTexture()); print(LastQuadTexture())");
        return probe.Kept(static_cast<HTEXTURE>(std::stoul(out)));
    }

    static uint32_t At(const std::vector<uint32_t>& texels, int x, int y) {
        return texels.at(static_cast<size_t>(y) * kSize + x);
    }
};

struct ChannelCase {
    const char* name;
    const char* channel;
    uint32_t alpha[6];  // at the mask's texels, row by row
};

class MaskChannelTest : public HostMaskFunctionsTest, public ::testing::WithParamInterface<ChannelCase> {};

// "R" is bits 0-7 and "B" bits 16-23; any other name (case counts) selects
// no channel; a mask texel of 0, and everything beyond the mask, is transparent.
TEST_P(MaskChannelTest, AlphaComesFromTheInvertedChannel) {
    const ChannelCase& c = GetParam();
    const std::vector<uint32_t> texels = Compose(MaskCall(c.channel));
    ASSERT_EQ(texels.size(), static_cast<size_t>(kSize) * kSize);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(At(texels, x, y), c.alpha[y * 3 + x] << 24 | (FirstTexel(x, y) & 0xFFFFFF)) << x << "," << y;
    EXPECT_EQ(At(texels, 3, 0), FirstTexel(3, 0) & 0xFFFFFF);
    EXPECT_EQ(At(texels, 0, 2), FirstTexel(0, 2) & 0xFFFFFF);
    // Beyond the first image the picture is the white of the clear.
    EXPECT_EQ(At(texels, 4, 0), 0x00FFFFFFu);
    EXPECT_EQ(At(texels, kSize - 1, kSize - 1), 0x00FFFFFFu);
}

INSTANTIATE_TEST_SUITE_P(Channels, MaskChannelTest,
                         ::testing::Values(ChannelCase{"Green", "G", {255, 0, 0, 0, 255, 255}},
                                           ChannelCase{"Red", "R", {255, 0, 0, 255, 0, 255}},
                                           ChannelCase{"Blue", "B", {255, 0, 0, 255, 255, 0}},
                                           ChannelCase{"LowerCaseR", "r", {255, 0, 255, 255, 255, 255}},
                                           ChannelCase{"Alpha", "A", {255, 0, 255, 255, 255, 255}}),
                         [](const ::testing::TestParamInfo<ChannelCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(HostMaskFunctionsTest, OffsetPicksTheFirstImagesTexelsFromThere) {
    engine->AddImage("images/big_mask.png", 256, 256, std::vector<uint32_t>(256 * 256, 0xFF000000));
    const std::vector<uint32_t> texels = Compose(MaskCall("G", 2, 1, "images/big_mask.png"));
    ASSERT_FALSE(texels.empty());
    EXPECT_EQ(At(texels, 0, 0), FirstTexel(2, 1));
    EXPECT_EQ(At(texels, 1, 2), FirstTexel(3, 3));
    // Opaque up to the mask's edge, transparent from row or column 256 on.
    EXPECT_EQ(At(texels, 255, 255) >> 24, 255u);
    EXPECT_EQ(At(texels, 256, 0) >> 24, 0u);
    EXPECT_EQ(At(texels, 0, 256) >> 24, 0u);
}

// The mask is read back at its first call only; every call after it gives
// the same picture.
TEST_F(HostMaskFunctionsTest, TheMaskIsReadBackOnceForAllCalls) {
    const std::string out = RunInRender(
        "Host:GetSprite('images/mask.png', false, 1, 1):Render(0, 0); print(LastQuadTexture())\n"
        "for i = 1, 3 do\n"
        "  " +
        MaskCall() +
        ":Render(0, 0); KeepTexels(LastQuadTexture()); print(LastQuadTexture())\n"
        "end");
    std::istringstream lines(out);
    HTEXTURE mask = 0;
    lines >> mask;
    std::vector<std::vector<uint32_t>> pictures;
    for (HTEXTURE made = 0; lines >> made;) pictures.push_back(probe.Kept(made));
    ASSERT_EQ(pictures.size(), 3u);
    ASSERT_EQ(pictures[0].size(), static_cast<size_t>(kSize) * kSize);
    EXPECT_EQ(At(pictures[0], 0, 0), 0xFF000000u | FirstTexel(0, 0));
    EXPECT_EQ(pictures[1], pictures[0]);
    EXPECT_EQ(pictures[2], pictures[0]);
    const std::string maskLock = "Texture_Lock(" + std::to_string(mask) + ",";
    const std::vector<std::string> locks = engine->Calls("Texture_Lock");
    EXPECT_EQ(std::count_if(locks.begin(), locks.end(),
                            [&](const std::string& call) { return call.rfind(maskLock, 0) == 0; }),
              1);
}

TEST_F(HostMaskFunctionsTest, ChecksComeFirstAndStopTheCall) {
    engine->AddFile("scripts/other.lua", "function Init(h) end function Update(dt) end function Render(x, y) end");
    const std::string out = RunProbed(
        "function Init(h) Host = h; h:RegisterRenderer('other', 'scripts/other.lua') end\n"
        "function Update(dt)\n"
        "  print(pcall(Host.GetMaskedSprite, Host, 'a', 'b', 'c', 0, 0, 'G'))\n"
        "end\n"
        "function Render(x, y)\n"
        "  print(pcall(Host.GetMaskedSprite, Host, 'a', 'b', 'c', 0, 'G'))\n"
        "  print(pcall(Host.GetMaskedSprite, Host, 'a', 'b', 'c', 0, 0, 'G', 1))\n"
        "  print(pcall(Host.GetMaskedSprite, Host, 'a', 'b', 'c', 'x', 0, 'G'))\n"
        "  local other = Host:GetRegisteredRenderer('other')\n"
        "  print(pcall(other.GetMaskedSprite, other, 'a', 'b', 'c', 0, 0, 'G'))\n"
        "end\n");
    EXPECT_EQ(out,
              "false\tinScriptRender\n"
              "false\ttop == 7\n"
              "false\ttop == 7\n"
              "false\tlua_isnumber(luaVM,idx)\n"
              "false\tinScriptRender\n");
    EXPECT_EQ(engine->Count("Target_Create"), 0);
    EXPECT_EQ(engine->Count("Texture_Load"), 0);
}

// A second call ends the first sprite; the end of "Render" ends the last one.
TEST_F(HostMaskFunctionsTest, TheTemporarySpriteLivesUntilTheNextCallOrTheEndOfRender) {
    const std::string out = RunProbed(
        "function Init(h) Host = h end\n"
        "function Update(dt)\n"
        "  if Kept then print(select('#', Kept:Size()), LockTexture(KeptTexture)) end\n"
        "end\n"
        "function Render(x, y)\n"
        "  if Kept then return end\n"
        "  local a = " +
            MaskCall() +
            "\n"
            "  a:Render(0, 0); local ta = LastQuadTexture()\n"
            "  Kept = " +
            MaskCall() +
            "\n"
            "  local last = LastQuadTexture()\n"
            "  a:Render(0, 0); print(select('#', a:Size()), LastQuadTexture() == last, LockTexture(ta))\n"
            "  Kept:Render(0, 0); KeptTexture = LastQuadTexture()\n"
            "  print(KeptTexture ~= ta, Kept:Size())\n"
            "end\n",
        2);
    EXPECT_EQ(out,
              "0\ttrue\tfalse\n"
              "true\t512\t512\n"
              "0\tfalse\n");
    EXPECT_EQ(engine->Count("Target_Create"), 1);
    EXPECT_EQ(engine->Count("Texture_CreateFrom"), 2);
}

// The temporary sprite is in no list: its own "Delete" must not lead to a
// second deletion later.
TEST_F(HostMaskFunctionsTest, DeleteOfTheTemporarySpriteDeletesItOnce) {
    const std::string out =
        RunInRender("local a = " + MaskCall() +
                        "\n"
                        "a:Render(0, 0); local ta = LastQuadTexture()\n"
                        "a:Delete(); print(select('#', a:Size()), LockTexture(ta)); UnlockTexture(ta)\n"
                        "local b = " +
                        MaskCall() +
                        "\n"
                        "b:Render(0, 0); Tb = LastQuadTexture(); b:Delete()\n"
                        "print(LockTexture(ta))",
                    2);
    EXPECT_EQ(out, "0\ttrue\nfalse\n");
    const std::vector<std::string> frees = engine->Calls("Texture_Free");
    for (const std::string& call : frees) EXPECT_EQ(std::count(frees.begin(), frees.end(), call), 1) << call;
}

// A finalizer may run inside the call, at the binding of the new sprite,
// and make a masked sprite of its own: the call's sprite still comes back
// alive, and ends the finalizer's.
TEST_F(HostMaskFunctionsTest, AMaskedSpriteMadeByAFinalizerDuringTheCallEndsFirst) {
    const std::string out = RunInRender(
        "local inner\n"
        "local p = newproxy(true)\n"
        "getmetatable(p).__gc = function() inner = " +
        MaskCall() +
        " end\n"
        // From here on every allocation runs a whole collection, finalizers included.
        "collectgarbage('setpause', 0); collectgarbage('setstepmul', 1000000); collectgarbage('collect')\n"
        "p = nil\n"
        "local outer = " +
        MaskCall() +
        "\n"
        "collectgarbage('setpause', 200); collectgarbage('setstepmul', 200)\n"
        "print(inner ~= nil, select('#', inner:Size()), outer:Size())");
    EXPECT_EQ(out, "true\t0\t512\t512\n");
    EXPECT_EQ(engine->Count("Texture_CreateFrom"), 2);
    EXPECT_EQ(engine->LeftAtShutdown().textures, 0);
}

// A failing "__gc" at the binding raises into the script's pcall: the sprite
// and its texture, not yet the screen's, go with the call.
TEST_F(HostMaskFunctionsTest, AFailingFinalizerDuringTheCallLeavesNothingBehind) {
    const std::string out = RunInRender(
        "local p = newproxy(true)\n"
        "getmetatable(p).__gc = function() error('finalizer fails') end\n"
        "collectgarbage('setpause', 0); collectgarbage('setstepmul', 1000000); collectgarbage('collect')\n"
        "p = nil\n"
        "local ok, err = pcall(Host.GetMaskedSprite, Host, 'images/first.png', 'images/second.png', "
        "'images/mask.png', 0, 0, 'G')\n"
        "collectgarbage('setpause', 200); collectgarbage('setstepmul', 200)\n"
        "print(ok, err:match('finalizer fails'))");
    EXPECT_EQ(out, "false\tfinalizer fails\n");
    EXPECT_EQ(engine->Count("Texture_CreateFrom"), 1);
    EXPECT_EQ(engine->LeftAtShutdown().textures, 0);
}

struct FailureCase {
    const char* name;
    std::function<void(RecordingEngine*)> arrange;
    const char* prologue;  // Lua run in "Render" before the call
    const char* call;      // the mask call's images: first, mask
    int clears;            // white clears of the target
};

class MaskFailureTest : public HostMaskFunctionsTest, public ::testing::WithParamInterface<FailureCase> {};

// Each failure gives no result and leaves no texture behind.
TEST_P(MaskFailureTest, GivesNoResult) {
    const FailureCase& c = GetParam();
    if (c.arrange) c.arrange(engine);
    std::istringstream images(c.call);
    std::string first, mask;
    images >> first >> mask;
    const std::string out = RunInRender(
        "Host:CacheTexture('images/first.png'); Host:CacheTexture('images/second.png')\n"
        "Host:CacheTexture('images/mask.png')\n" +
        std::string(c.prologue) +
        "\nlocal before = LiveTextures()\n"
        "print(select('#', " +
        MaskCall("G", 0, 0, mask, first) + "), LiveTextures() - before)");
    EXPECT_EQ(out, "0\t0\n");
    const std::vector<std::string> clears = engine->Calls("Gfx_Clear");
    EXPECT_EQ(std::count(clears.begin(), clears.end(), "Gfx_Clear(0xFFFFFFFF)"), c.clears);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MaskFailureTest,
    ::testing::Values(FailureCase{"NoTarget", [](RecordingEngine* e) { e->failTargetCreate = true; }, "",
                                  "images/first.png images/mask.png", 0},
                      FailureCase{"NoFirstImage", nullptr, "", "images/missing.png images/mask.png", 0},
                      FailureCase{"NoMaskImage", nullptr, "", "images/first.png images/missing.png", 0},
                      FailureCase{"NoCopy", [](RecordingEngine* e) { e->failTextureCreate = true; }, "",
                                  "images/first.png images/mask.png", 1},
                      FailureCase{
                          "MaskLocked", nullptr,
                          "Host:GetSprite('images/mask.png', false, 1, 1):Render(0, 0); LockTexture(LastQuadTexture())",
                          "images/first.png images/mask.png", 1}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

// Log length when the first frame's render callback begins.
size_t g_RenderStart = 0;

struct SceneCase {
    const char* name;
    const char* init;
    const char* update;
    const char* render;
    std::vector<std::string> scenes;  // scene calls and clears, targets written "T"; "|" = render callback
    bool inScene = true;              // the sprite is drawn in the screen's scene (else dropped)
};

class MaskSceneTest : public HostMaskFunctionsTest, public ::testing::WithParamInterface<SceneCase> {};

// The host's screen scene is ended around the target's and goes on; the
// script's own scene (automatic rendering off) encloses the target's scene.
TEST_P(MaskSceneTest, DrawsIntoTheTargetInItsOwnScene) {
    const SceneCase& c = GetParam();
    engine->betweenFrames = [](int) { g_RenderStart = RecordingEngine::Instance()->Log().size(); };
    const std::string compose = "local s = " + MaskCall() +
                                "; s:Render(0, 0); KeepTexels(LastQuadTexture()); "
                                "print(LastQuadTexture())";
    const std::string out = RunProbed(std::string("function Init(h) Host = h; ") + c.init +
                                      " end\n"
                                      "function Update(dt) " +
                                      c.update +
                                      " end\n"
                                      "function Render(x, y) if Compose then Compose = false; " +
                                      c.render + " " + compose + " end end\n");
    ASSERT_FALSE(out.empty());
    if (c.inScene) {
        const std::vector<uint32_t>& texels = probe.Kept(static_cast<HTEXTURE>(std::stoul(out)));
        ASSERT_FALSE(texels.empty());
        EXPECT_EQ(At(texels, 0, 0), FirstTexel(0, 0));
        EXPECT_EQ(engine->QuadTargets().back(), 0u) << "the sprite is drawn on the screen";
    } else {
        EXPECT_EQ(static_cast<size_t>(engine->Count("Gfx_RenderQuad")), engine->Quads().size() + 1)
            << "the sprite, drawn outside any scene, is dropped";
    }
    std::vector<std::string> scenes;
    const std::regex target("Gfx_BeginScene\\([1-9][0-9]*\\)");
    for (size_t i = 0; i < engine->Log().size(); ++i) {
        const std::string& entry = engine->Log()[i];
        if (i == g_RenderStart) scenes.push_back("|");
        if (entry.rfind("Gfx_BeginScene", 0) == 0 || entry.rfind("Gfx_EndScene", 0) == 0 ||
            entry.rfind("Gfx_Clear", 0) == 0)
            scenes.push_back(std::regex_replace(entry, target, "Gfx_BeginScene(T)"));
    }
    EXPECT_EQ(scenes, c.scenes);
}

INSTANTIATE_TEST_SUITE_P(Modes, MaskSceneTest,
                         ::testing::Values(SceneCase{"AutomaticRendering",
                                                     "Compose = true",
                                                     "",
                                                     "",
                                                     {"|", "Gfx_BeginScene(0)", "Gfx_EndScene()", "Gfx_BeginScene(T)",
                                                      "Gfx_Clear(0xFFFFFFFF)", "Gfx_EndScene()", "Gfx_BeginScene(0)",
                                                      "Gfx_EndScene()"}},
                                           SceneCase{"ScriptsOwnScene",
                                                     "Compose = true; h:SetAutoRenderingMode(false)",
                                                     "",
                                                     "Host:BeginScene()",
                                                     {"|", "Gfx_BeginScene(0)", "Gfx_BeginScene(T)",
                                                      "Gfx_Clear(0xFFFFFFFF)", "Gfx_EndScene()"}},
                                           // "Render" reached from "Update": no screen scene is begun in the frame.
                                           SceneCase{"OutsideTheRenderCallback",
                                                     "",
                                                     "Compose = true; Host:Render(0, 0)",
                                                     "",
                                                     {"Gfx_BeginScene(T)", "Gfx_Clear(0xFFFFFFFF)", "Gfx_EndScene()",
                                                      "|", "Gfx_BeginScene(0)", "Gfx_EndScene()"},
                                                     false}),
                         [](const ::testing::TestParamInfo<SceneCase>& info) { return std::string(info.param.name); });
