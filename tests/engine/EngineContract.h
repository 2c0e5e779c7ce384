// The contract of engine/gfx.h as one typed suite, run on the real engine
// (tests/engine/sdl/) and on the recording one (tests/engine/recording/), so
// that the host's tests on the recording engine hold on the real one too.
// Each instantiation is named after its engine (RecordingEngine/..., SdlEngine/...),
// which CTest shows as RecordingEngine.Rule<0>.
//
// An engine takes part through a struct of static functions:
//   Initiated()              the engine of this test, initiated with a 64 x 48
//                            screen and sound on, nothing else set
//   Fresh()                  a new engine in its place: no state set, not initiated
//   Restart(sound)           shut down and initiated again (64 x 48, sound as given)
//   Done()                   after each test, whatever it did to the engine
//   PutFile(name, bytes)     a name under which Resource_Load finds the bytes
//   PutPicture(name, w, h, argb)  a name under which Texture_Load finds the picture
//   SnapshotPath(name)       a path System_Snapshot may write
#pragma once

#include "tests/engine/EngineHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace enginetest {

constexpr int kContractWidth = 64;
constexpr int kContractHeight = 48;

// Frames of the loop test: the frame function ends the loop at its third call.
inline int g_ContractFrames = 0;
inline int g_ContractRenders = 0;
inline bool ContractFrame() { return ++g_ContractFrames == 3; }
inline bool ContractRender() {
    ++g_ContractRenders;
    return false;
}
inline bool ContractNeverRuns() {
    ADD_FAILURE() << "a loop ran";
    return true;
}

template <class Engine>
class EngineContract : public ::testing::Test {
protected:
    void SetUp() override {
        gfx = Engine::Initiated();
        ASSERT_NE(gfx, nullptr);
    }
    void TearDown() override {
        for (HTEXTURE t : textures) gfx->Texture_Free(t);
        for (HTARGET t : targets) gfx->Target_Free(t);
        Engine::Done();
    }

    HTARGET Target(int w, int h) {
        HTARGET t = gfx->Target_Create(w, h, false);
        targets.push_back(t);
        return t;
    }
    HTEXTURE Texture(const std::vector<uint32_t>& argb, int w, int h) {
        HTEXTURE t = MakeTexture(gfx, argb, w, h);
        textures.push_back(t);
        return t;
    }
    void Draw(const gfxQuad& q) { gfx->Gfx_RenderQuad(&q); }
    std::vector<uint32_t> Picture(HTARGET target) { return ReadTexture(gfx, gfx->Target_GetTexture(target)); }
    // The screen's picture, as a snapshot loaded back shows it.
    std::vector<uint32_t> Screen() {
        const std::string path = Engine::SnapshotPath("contract-screen.bmp");
        if (!gfx->System_Snapshot(path.c_str())) return {};
        HTEXTURE shot = gfx->Texture_Load(path.c_str());
        std::vector<uint32_t> texels = ReadTexture(gfx, shot);
        gfx->Texture_Free(shot);
        return texels;
    }

    GFX* gfx = nullptr;
    std::vector<HTEXTURE> textures;
    std::vector<HTARGET> targets;
};

TYPED_TEST_SUITE_P(EngineContract);

TYPED_TEST_P(EngineContract, OneEngineForOneVersionCountedByReference) {
    GFX* gfx = this->gfx;
    EXPECT_EQ(gfxCreate(0x17F), nullptr);
    EXPECT_EQ(gfxCreate(0), nullptr);
    GFX* again = gfxCreate(GFX_VERSION);
    EXPECT_EQ(again, gfx);
    again->Release();
    EXPECT_EQ(gfx->System_GetState(GFX_SCREENWIDTH), kContractWidth);  // still alive
}

TYPED_TEST_P(EngineContract, AFreshEngineHasTheDefaultsAndMakesNothingBeforeInitiate) {
    GFX* gfx = TypeParam::Fresh();
    ASSERT_NE(gfx, nullptr);
    const std::string picture = TypeParam::PutPicture("fresh.tga", 2, 2, std::vector<uint32_t>(4, 0xFFFFFFFF));
    const std::string sound = TypeParam::PutFile("fresh.wav", Wave(0.1));
    for (gfxBoolState s : {GFX_WINDOWED, GFX_USESOUND, GFX_HIDEMOUSE}) EXPECT_TRUE(gfx->System_GetState(s)) << s;
    EXPECT_FALSE(gfx->System_GetState(GFX_SHOWSPLASH));
    const std::pair<gfxIntState, int> ints[] = {
        {GFX_SCREENWIDTH, 800}, {GFX_SCREENHEIGHT, 600}, {GFX_SCREENBPP, 32}, {GFX_FXVOLUME, 100},
        {GFX_MUSVOLUME, 100},   {GFX_STREAMVOLUME, 100}, {GFX_FPS, 0},        {GFX_ICON, -1}};
    for (const auto& state : ints) EXPECT_EQ(gfx->System_GetState(state.first), state.second) << state.first;
    EXPECT_STREQ(gfx->System_GetState(GFX_TITLE), "Brindlewick");
    EXPECT_STREQ(gfx->System_GetState(GFX_LOGFILE), "");

    const uint32_t white[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    EXPECT_EQ(gfx->Texture_Create(2, 2), 0u);
    EXPECT_EQ(gfx->Texture_CreateFrom(2, 2, white), 0u);
    EXPECT_EQ(gfx->Texture_Load(picture.c_str()), 0u);
    EXPECT_EQ(gfx->Target_Create(2, 2, false), 0u);
    EXPECT_EQ(gfx->Effect_Load(sound.c_str()), 0u);
    EXPECT_FALSE(gfx->Gfx_BeginScene(0));
    EXPECT_FALSE(gfx->System_Snapshot(TypeParam::SnapshotPath("fresh.bmp").c_str()));
    gfx->System_SetState(GFX_FRAMEFUNC, ContractNeverRuns);
    EXPECT_FALSE(gfx->System_Start());

    // A screen without pixels opens no window.
    for (int width : {0, -1}) {
        gfx->System_SetState(GFX_SCREENWIDTH, width);
        EXPECT_FALSE(gfx->System_Initiate()) << width;
    }
    EXPECT_EQ(gfx->Texture_Create(2, 2), 0u);
}

TYPED_TEST_P(EngineContract, StatesReadBackWithinTheirRanges) {
    GFX* gfx = this->gfx;
    const std::string title = gfx->System_GetState(GFX_TITLE);
    gfx->System_SetState(GFX_TITLE, "Title of the test");
    EXPECT_STREQ(gfx->System_GetState(GFX_TITLE), "Title of the test");
    gfx->System_SetState(GFX_TITLE, title.c_str());
    const struct {
        gfxIntState state;
        int set, got;
    } cases[] = {{GFX_FXVOLUME, 150, 100},   {GFX_MUSVOLUME, -5, 0},
                 {GFX_STREAMVOLUME, 40, 40}, {GFX_FPS, -3, 0},
                 {GFX_FPS, 60, 60},          {GFX_SCREENWIDTH, 1000, kContractWidth},  // read by System_Initiate only
                 {GFX_SCREENBPP, 16, 32}};
    for (const auto& c : cases) {
        gfx->System_SetState(c.state, c.set);
        EXPECT_EQ(gfx->System_GetState(c.state), c.got) << c.state << " set to " << c.set;
    }
    for (gfxIntState volume : {GFX_FXVOLUME, GFX_MUSVOLUME, GFX_STREAMVOLUME}) gfx->System_SetState(volume, 100);
    gfx->System_SetState(GFX_FPS, GFXFPS_UNLIMITED);
}

// Freed handles are dead at once, and no id comes back, also after a shutdown
// (which frees everything and makes nothing until the next initiation).
TYPED_TEST_P(EngineContract, HandlesAreNeverReused) {
    GFX* gfx = this->gfx;
    const std::string sound = TypeParam::PutFile("handles.wav", Wave(0.1));
    std::set<uint32_t> textures, targets, effects, channels;
    auto round = [&] {
        for (int i = 0; i < 5; ++i) {
            const uint32_t texel = 0xFF808080;
            for (HTEXTURE t : {gfx->Texture_Create(2, 2), gfx->Texture_CreateFrom(1, 1, &texel)}) {
                EXPECT_TRUE(textures.insert(t).second) << t;
                gfx->Texture_Free(t);
                EXPECT_EQ(gfx->Texture_GetWidth(t), 0);
            }
            HTARGET target = gfx->Target_Create(2, 2, false);
            EXPECT_TRUE(targets.insert(target).second) << target;
            EXPECT_TRUE(textures.insert(gfx->Target_GetTexture(target)).second);
            gfx->Target_Free(target);
            EXPECT_EQ(gfx->Target_GetTexture(target), 0u);

            HEFFECT effect = gfx->Effect_Load(sound.c_str());
            EXPECT_TRUE(effects.insert(effect).second) << effect;
            // The voice of a stopped channel is free again; its id is not.
            HCHANNEL first = gfx->Effect_PlayEx(effect, 100, 0, 1.0f, true);
            EXPECT_TRUE(channels.insert(first).second) << first;
            gfx->Channel_Stop(first);
            EXPECT_FALSE(gfx->Channel_IsPlaying(first));
            HCHANNEL second = gfx->Effect_PlayEx(effect, 50, -40, 1.0f, true);
            EXPECT_TRUE(channels.insert(second).second) << second;
            gfx->Channel_Stop(first);  // an ended handle: the new sound goes on
            gfx->Channel_Pause(first);
            EXPECT_TRUE(gfx->Channel_IsPlaying(second));
            gfx->Effect_Free(effect);
            EXPECT_FALSE(gfx->Channel_IsPlaying(second));
            EXPECT_EQ(gfx->Effect_PlayEx(effect), 0u);
        }
    };
    round();
    HTEXTURE kept = gfx->Texture_Create(2, 2);
    HTARGET keptTarget = gfx->Target_Create(2, 2, false);
    HEFFECT keptEffect = gfx->Effect_Load(sound.c_str());
    gfx->System_Shutdown();
    EXPECT_EQ(gfx->Texture_GetWidth(kept), 0);
    EXPECT_EQ(gfx->Target_GetTexture(keptTarget), 0u);
    EXPECT_EQ(gfx->Effect_PlayEx(keptEffect), 0u);
    EXPECT_EQ(gfx->Texture_Create(2, 2), 0u);
    const uint32_t texel = 0xFF808080;
    EXPECT_EQ(gfx->Texture_CreateFrom(1, 1, &texel), 0u);
    EXPECT_EQ(gfx->Target_Create(2, 2, false), 0u);
    EXPECT_EQ(gfx->Effect_Load(sound.c_str()), 0u);
    EXPECT_FALSE(gfx->Gfx_BeginScene(0));
    ASSERT_TRUE(TypeParam::Restart(true));
    textures.insert(kept);
    targets.insert(keptTarget);
    effects.insert(keptEffect);
    round();
}

TYPED_TEST_P(EngineContract, BadHandlesDoNothing) {
    GFX* gfx = this->gfx;
    HTEXTURE freed = gfx->Texture_Create(2, 2);
    gfx->Texture_Free(freed);
    for (uint32_t bad : {0u, 0x7FFFFFFu, freed}) {
        EXPECT_EQ(gfx->Texture_GetWidth(bad), 0);
        EXPECT_EQ(gfx->Texture_GetHeight(bad, true), 0);
        EXPECT_EQ(gfx->Texture_Lock(bad), nullptr);
        gfx->Texture_Unlock(bad);
        gfx->Texture_Free(bad);
        EXPECT_EQ(gfx->Target_GetTexture(bad), 0u);
        gfx->Target_Free(bad);
        EXPECT_EQ(gfx->Effect_PlayEx(bad), 0u);
        gfx->Effect_Free(bad);
        gfx->Channel_SetVolume(bad, 50);
        gfx->Channel_Pause(bad);
        gfx->Channel_Resume(bad);
        gfx->Channel_Stop(bad);
        EXPECT_FALSE(gfx->Channel_IsPlaying(bad));
    }
    EXPECT_FALSE(gfx->Gfx_BeginScene(0x7FFFFFF));
    uint32_t size = 99;
    EXPECT_EQ(gfx->Resource_Load("no/such/file.txt", &size), nullptr);
    EXPECT_EQ(size, 0u);
    // Missing is not unreadable.
    EXPECT_STREQ(gfx->Resource_GetError(), "");
    EXPECT_EQ(gfx->Resource_Load(nullptr), nullptr);
    gfx->Resource_Free(nullptr);
    EXPECT_EQ(gfx->Texture_Load(nullptr), 0u);
    EXPECT_EQ(gfx->Texture_Load("no/such/picture.png"), 0u);
    EXPECT_EQ(gfx->Effect_Load(nullptr), 0u);
    EXPECT_EQ(gfx->Effect_Load("no/such/sound.wav"), 0u);
    EXPECT_FALSE(gfx->Input_GetEvent(nullptr));
    EXPECT_FALSE(gfx->Input_GetKeyState(-1));
    EXPECT_FALSE(gfx->Input_GetKeyState(256));
}

TYPED_TEST_P(EngineContract, SidesOfOneTo16384Texels) {
    GFX* gfx = this->gfx;
    const struct {
        int width, height;
        bool made;
    } cases[] = {{16384, 1, true}, {1, 16384, true}, {16385, 1, false}, {1, 16385, false},
                 {0, 4, false},    {4, -1, false},   {-5, -5, false}};
    const std::vector<uint32_t> texels(16385, 0xFF102030);
    for (const auto& c : cases) {
        for (HTEXTURE tex :
             {gfx->Texture_Create(c.width, c.height), gfx->Texture_CreateFrom(c.width, c.height, texels.data())}) {
            EXPECT_EQ(tex != 0, c.made) << c.width << " x " << c.height;
            EXPECT_EQ(gfx->Texture_GetWidth(tex), c.made ? c.width : 0);
            gfx->Texture_Free(tex);
        }
        HTARGET target = gfx->Target_Create(c.width, c.height, false);
        EXPECT_EQ(target != 0, c.made) << "target " << c.width << " x " << c.height;
        gfx->Target_Free(target);
    }
    for (int width : {16384, 16385}) {
        const std::string name = TypeParam::PutPicture("wide" + std::to_string(width) + ".tga", width, 1,
                                                       std::vector<uint32_t>(static_cast<size_t>(width), 0xFF102030));
        HTEXTURE tex = gfx->Texture_Load(name.c_str());
        EXPECT_EQ(gfx->Texture_GetWidth(tex, true), width == 16384 ? width : 0);
        gfx->Texture_Free(tex);
    }
}

TYPED_TEST_P(EngineContract, PicturesLoadAtTheirSizeWithTheirTexels) {
    GFX* gfx = this->gfx;
    const std::vector<uint32_t> texels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x80FFFFFF, 0xFF000000, 0x00000000};
    const std::string name = TypeParam::PutPicture("picture.tga", 3, 2, texels);
    HTEXTURE tex = gfx->Texture_Load(name.c_str());
    this->textures.push_back(tex);
    ASSERT_NE(tex, 0u);
    EXPECT_EQ(gfx->Texture_GetWidth(tex, true), 3);
    EXPECT_EQ(gfx->Texture_GetHeight(tex, true), 2);
    EXPECT_EQ(gfx->Texture_GetWidth(tex, false), 3);  // no surface is larger than its picture
    EXPECT_EQ(gfx->Texture_GetHeight(tex, false), 2);
    EXPECT_EQ(ReadTexture(gfx, tex), texels);
}

// Made from texels, a texture holds them as given, also where a lock or a
// quad shows them: a texel's colour stays whatever its alpha, 0 included.
TYPED_TEST_P(EngineContract, TexturesMadeFromTexelsHoldThem) {
    GFX* gfx = this->gfx;
    const std::vector<uint32_t> texels = {0xFFFF0000, 0x80FFFFFF, 0x00FFFFFF, 0xFF0000FF, 0x01020304, 0x00000000};
    HTEXTURE tex = gfx->Texture_CreateFrom(3, 2, texels.data());
    this->textures.push_back(tex);
    ASSERT_NE(tex, 0u);
    EXPECT_EQ(gfx->Texture_GetWidth(tex, true), 3);
    EXPECT_EQ(gfx->Texture_GetHeight(tex, true), 2);
    EXPECT_EQ(ReadTexture(gfx, tex), texels);
    HTARGET target = this->Target(3, 2);
    ASSERT_TRUE(gfx->Gfx_BeginScene(target));
    gfx->Gfx_Clear(0);
    this->Draw(MakeQuad(0, 0, 3, 2, tex, BLEND_COLORMUL | BLEND_ALPHAADD));
    gfx->Gfx_EndScene();
    const std::vector<uint32_t> picture = this->Picture(target);
    ASSERT_EQ(picture.size(), texels.size());
    for (size_t i = 0; i < texels.size(); ++i)
        EXPECT_TRUE(ColorNear(picture[i], ExpectedBlend(texels[i], 0xFFFFFFFF, 0, BLEND_COLORMUL | BLEND_ALPHAADD), 1))
            << i;
    EXPECT_EQ(gfx->Texture_CreateFrom(3, 2, nullptr), 0u);
}

TYPED_TEST_P(EngineContract, LocksGiveTexelsTopDownAndOnlyWritableOnesChangeThem) {
    GFX* gfx = this->gfx;
    HTEXTURE tex = gfx->Texture_Create(4, 3);
    this->textures.push_back(tex);
    ASSERT_NE(tex, 0u);
    EXPECT_EQ(gfx->Texture_GetWidth(tex), 4);
    EXPECT_EQ(gfx->Texture_GetHeight(tex, true), 3);
    EXPECT_EQ(ReadTexture(gfx, tex), std::vector<uint32_t>(12, 0u));  // transparent black

    uint32_t* texels = gfx->Texture_Lock(tex, false);
    ASSERT_NE(texels, nullptr);
    EXPECT_EQ(gfx->Texture_Lock(tex, true), nullptr);  // locked already
    for (uint32_t i = 0; i < 12; ++i) texels[i] = 0x01020304u * (i + 1);
    gfx->Texture_Unlock(tex);
    std::vector<uint32_t> all = ReadTexture(gfx, tex);
    ASSERT_EQ(all.size(), 12u);
    for (uint32_t i = 0; i < 12; ++i) EXPECT_EQ(all[i], 0x01020304u * (i + 1));

    // A rectangle: the pointer is at (left, top), the pitch the surface width.
    uint32_t* part = gfx->Texture_Lock(tex, false, 1, 1, 2, 2);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part[0], all[5]);
    part[0] = part[1] = part[4] = part[5] = 0xDEADBEEF;
    gfx->Texture_Unlock(tex);
    std::vector<uint32_t> after = ReadTexture(gfx, tex);
    for (int i = 0; i < 12; ++i) {
        bool inside = (i == 5 || i == 6 || i == 9 || i == 10);
        EXPECT_EQ(after[static_cast<size_t>(i)], inside ? 0xDEADBEEFu : all[static_cast<size_t>(i)]) << i;
    }
    // A read-only lock changes nothing, whatever is written into it.
    uint32_t* readOnly = gfx->Texture_Lock(tex, true);
    readOnly[0] = 0;
    gfx->Texture_Unlock(tex);
    EXPECT_EQ(ReadTexture(gfx, tex)[0], all[0]);

    EXPECT_EQ(gfx->Texture_Lock(tex, true, 3, 0, 2, 1), nullptr);  // past the right edge
    EXPECT_EQ(gfx->Texture_Lock(tex, true, -1, 0, 1, 1), nullptr);
    EXPECT_EQ(gfx->Texture_Lock(tex, true, 0, 2, 1, 2), nullptr);
}

TYPED_TEST_P(EngineContract, EveryBlendCombinationOnAKnownTexture) {
    GFX* gfx = this->gfx;
    const uint32_t texel = Argb(0x80, 0x20, 0x90, 0xF0);
    const uint32_t vertex = Argb(0xC0, 0x80, 0xA0, 0x20);
    const uint32_t background = Argb(0xFF, 0x10, 0x40, 0x30);
    HTEXTURE tex = this->Texture(std::vector<uint32_t>(4, texel), 2, 2);
    HTARGET target = this->Target(2, 2);
    for (int blend : {0, 1, 2, 3, 4, 5, 6, 7}) {
        ASSERT_TRUE(gfx->Gfx_BeginScene(target));
        gfx->Gfx_Clear(background);
        this->Draw(MakeQuad(0, 0, 2, 2, tex, blend, vertex));
        gfx->Gfx_EndScene();
        std::vector<uint32_t> picture = this->Picture(target);
        ASSERT_EQ(picture.size(), 4u);
        // Depth writing has no effect without a depth buffer: 4-7 equal 0-3.
        uint32_t expected = ExpectedBlend(texel, vertex, background, blend & 3);
        for (uint32_t px : picture) EXPECT_TRUE(ColorNear(px, expected, 2)) << "blend " << blend;
    }
}

TYPED_TEST_P(EngineContract, OneToOneQuadPutsEachTexelOnOnePixel) {
    GFX* gfx = this->gfx;
    std::vector<uint32_t> texels;
    for (int i = 0; i < 16; ++i) texels.push_back(Argb(0xFF, i * 16, 255 - i * 16, (i * 37) & 0xFF));
    HTEXTURE tex = this->Texture(texels, 4, 4);
    HTARGET target = this->Target(8, 8);
    ASSERT_TRUE(gfx->Gfx_BeginScene(target));
    gfx->Gfx_Clear(0);
    this->Draw(MakeQuad(3, 2, 4, 4, tex));
    gfx->Gfx_EndScene();
    std::vector<uint32_t> picture = this->Picture(target);
    ASSERT_EQ(picture.size(), 64u);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool inside = x >= 3 && x < 7 && y >= 2 && y < 6;
            uint32_t expected = inside ? texels[static_cast<size_t>((y - 2) * 4 + (x - 3))] : 0u;
            EXPECT_EQ(picture[static_cast<size_t>(y * 8 + x)], expected) << x << "," << y;
        }
}

// Outside a scene quads, clears and clipping do nothing, now or later.
TYPED_TEST_P(EngineContract, DrawingHappensInScenesOnly) {
    GFX* gfx = this->gfx;
    HTARGET target = this->Target(4, 4);
    ASSERT_TRUE(gfx->Gfx_BeginScene(0));
    EXPECT_FALSE(gfx->Gfx_BeginScene(0));  // open already
    gfx->Gfx_Clear(0xFF000000);
    ASSERT_TRUE(gfx->Gfx_BeginScene(target));
    EXPECT_FALSE(gfx->Gfx_BeginScene(target));
    gfx->Gfx_Clear(0xFF000000);
    gfx->Gfx_EndScene();
    gfx->Gfx_EndScene();
    gfx->Gfx_EndScene();  // none open: nothing

    gfx->Gfx_SetClipping(1, 1, 1, 1);
    this->Draw(MakeQuad(0, 0, 64, 48, 0, BLEND_DEFAULT, 0xFFFFFFFF));
    gfx->Gfx_Clear(0xFFFF0000);
    EXPECT_EQ(this->Screen(), std::vector<uint32_t>(kContractWidth * kContractHeight, 0xFF000000u));
    ASSERT_TRUE(gfx->Gfx_BeginScene(target));
    gfx->Gfx_EndScene();
    EXPECT_EQ(this->Picture(target), std::vector<uint32_t>(16, 0xFF000000u)) << "a quad was kept for a later scene";
    ASSERT_TRUE(gfx->Gfx_BeginScene(target));
    gfx->Gfx_Clear(0xFF00FF00);
    gfx->Gfx_EndScene();
    EXPECT_EQ(this->Picture(target), std::vector<uint32_t>(16, 0xFF00FF00u)) << "the clipping outside a scene held";
}

TYPED_TEST_P(EngineContract, ClippingIsClampedToTheTargetAndHoldsForClears) {
    GFX* gfx = this->gfx;
    HTARGET target = this->Target(8, 8);
    struct Case {
        int x, y, w, h;      // clipping asked for
        int x0, y0, x1, y1;  // drawn area expected
    } cases[] = {
        {2, 3, 3, 2, 2, 3, 5, 5},
        {0, 0, 0, 0, 0, 0, 8, 8},
        {-2, -2, 4, 5, 0, 0, 2, 3},
        {6, 5, 10, 10, 6, 5, 8, 8},
        {9, 9, 2, 2, 0, 0, 0, 0},
        // Far enough out that the far edge passes the int range.
        {2000000000, 0, 2000000000, 4, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        for (bool clear : {false, true}) {
            ASSERT_TRUE(gfx->Gfx_BeginScene(target));
            gfx->Gfx_Clear(0xFF000000);
            gfx->Gfx_SetClipping(c.x, c.y, c.w, c.h);
            if (clear)
                gfx->Gfx_Clear(0xFFFFFFFF);
            else
                this->Draw(MakeQuad(0, 0, 8, 8, 0));
            gfx->Gfx_EndScene();
            // A new scene starts without clipping.
            std::vector<uint32_t> picture = this->Picture(target);
            ASSERT_EQ(picture.size(), 64u);
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) {
                    bool inside = x >= c.x0 && x < c.x1 && y >= c.y0 && y < c.y1;
                    EXPECT_EQ(picture[static_cast<size_t>(y * 8 + x)], inside ? 0xFFFFFFFFu : 0xFF000000u)
                        << (clear ? "clear" : "quad") << ", clip " << c.x << "," << c.y << "," << c.w << "," << c.h
                        << " at " << x << "," << y;
                }
        }
    }
}

TYPED_TEST_P(EngineContract, TargetSceneInsideTheScreensReturnsToTheScreenIntact) {
    GFX* gfx = this->gfx;
    HTARGET target = this->Target(4, 4);
    ASSERT_TRUE(gfx->Gfx_BeginScene(0));
    gfx->Gfx_Clear(0xFF0000FF);
    gfx->Gfx_SetClipping(0, 0, 32, 48);
    this->Draw(MakeQuad(2, 2, 4, 4, 0, BLEND_DEFAULT, 0xFFFF0000));
    ASSERT_TRUE(gfx->Gfx_BeginScene(target));
    gfx->Gfx_Clear(0xFF00FF00);  // the whole target: its scene is not clipped
    this->Draw(MakeQuad(0, 0, 2, 2, 0, BLEND_DEFAULT, 0xFFFFFFFF));
    gfx->Gfx_EndScene();
    // Back on the screen, its clipping (left half) still holds.
    this->Draw(MakeQuad(10, 2, 40, 4, 0, BLEND_DEFAULT, 0xFFFFFF00));
    gfx->Gfx_EndScene();
    // A screen scene begun again mid-frame keeps what was drawn.
    ASSERT_TRUE(gfx->Gfx_BeginScene(0));
    HTEXTURE drawn = gfx->Target_GetTexture(target);
    this->Draw(MakeQuad(20, 20, 4, 4, drawn));
    gfx->Gfx_EndScene();

    std::vector<uint32_t> screen = this->Screen();
    ASSERT_EQ(screen.size(), static_cast<size_t>(kContractWidth * kContractHeight));
    auto at = [&](int x, int y) { return screen[static_cast<size_t>(y * kContractWidth + x)]; };
    EXPECT_EQ(at(0, 0), 0xFF0000FFu);
    EXPECT_EQ(at(3, 3), 0xFFFF0000u);
    EXPECT_EQ(at(31, 3), 0xFFFFFF00u);
    EXPECT_EQ(at(32, 3), 0xFF0000FFu);  // clipped
    EXPECT_EQ(at(20, 20), 0xFFFFFFFFu);
    EXPECT_EQ(at(23, 23), 0xFF00FF00u);

    std::vector<uint32_t> picture = this->Picture(target);
    ASSERT_EQ(picture.size(), 16u);
    EXPECT_EQ(picture[0], 0xFFFFFFFFu);
    EXPECT_EQ(picture[15], 0xFF00FF00u);
}

TYPED_TEST_P(EngineContract, ATargetsTextureHoldsItsPictureAndGoesWithIt) {
    GFX* gfx = this->gfx;
    HTARGET target = this->Target(2, 2);
    EXPECT_EQ(this->Picture(target), std::vector<uint32_t>(4, 0u));  // transparent black
    HTEXTURE freed = MakeTexture(gfx, std::vector<uint32_t>(4, 0xFFFF0000), 2, 2);
    gfx->Texture_Free(freed);
    ASSERT_TRUE(gfx->Gfx_BeginScene(target));
    gfx->Gfx_Clear(0xFF000000);
    this->Draw(MakeQuad(0, 0, 2, 2, freed));  // a freed texture draws nothing
    gfx->Gfx_EndScene();
    EXPECT_EQ(this->Picture(target), std::vector<uint32_t>(4, 0xFF000000u));

    // The texture of a target goes only with its target.
    HTEXTURE own = gfx->Target_GetTexture(target);
    gfx->Texture_Free(own);
    EXPECT_EQ(gfx->Texture_GetWidth(own), 2);

    HTARGET doomed = gfx->Target_Create(2, 2, false);
    HTEXTURE doomedTexture = gfx->Target_GetTexture(doomed);
    ASSERT_TRUE(gfx->Gfx_BeginScene(doomed));
    gfx->Target_Free(doomed);
    this->Draw(MakeQuad(0, 0, 2, 2, 0));  // into a freed target: dropped
    gfx->Gfx_Clear(0xFFFFFFFF);
    gfx->Gfx_EndScene();
    EXPECT_EQ(gfx->Texture_GetWidth(doomedTexture), 0);
    EXPECT_EQ(gfx->Texture_Lock(doomedTexture), nullptr);
    EXPECT_FALSE(gfx->Gfx_BeginScene(doomed));
    EXPECT_EQ(this->Picture(target), std::vector<uint32_t>(4, 0xFF000000u));
}

// What a snapshot writes, Texture_Load of its path reads back: the screen's
// picture, opaque.
TYPED_TEST_P(EngineContract, SnapshotsLoadBackAsTheScreensPicture) {
    GFX* gfx = this->gfx;
    ASSERT_TRUE(gfx->Gfx_BeginScene(0));
    gfx->Gfx_Clear(Argb(0x80, 0x10, 0x20, 0x30));
    this->Draw(MakeQuad(8, 4, 8, 8, 0, BLEND_DEFAULT, 0xFFFF0000));
    gfx->Gfx_EndScene();
    const std::string path = TypeParam::SnapshotPath("contract-snapshot.bmp");
    ASSERT_TRUE(gfx->System_Snapshot(path.c_str()));
    HTEXTURE shot = gfx->Texture_Load(path.c_str());
    this->textures.push_back(shot);
    ASSERT_NE(shot, 0u);
    EXPECT_EQ(gfx->Texture_GetWidth(shot, true), kContractWidth);
    EXPECT_EQ(gfx->Texture_GetHeight(shot, true), kContractHeight);
    std::vector<uint32_t> texels = ReadTexture(gfx, shot);
    ASSERT_EQ(texels.size(), static_cast<size_t>(kContractWidth * kContractHeight));
    auto at = [&](int x, int y) { return texels[static_cast<size_t>(y * kContractWidth + x)]; };
    EXPECT_TRUE(ColorNear(at(0, 0), Argb(0xFF, 0x10, 0x20, 0x30), 0));
    EXPECT_EQ(at(8, 4), 0xFFFF0000u);
    EXPECT_EQ(at(15, 11), 0xFFFF0000u);
    EXPECT_TRUE(ColorNear(at(16, 11), Argb(0xFF, 0x10, 0x20, 0x30), 0));
}

// Unnamed ones (Alt+Home) are new numbered files beside the log: a program
// that keeps its log elsewhere than in its own folder keeps them there too.
TYPED_TEST_P(EngineContract, UnnamedSnapshotsAreNewNumberedFilesBesideTheLog) {
    GFX* gfx = this->gfx;
    struct LogBack {
        GFX* gfx;
        std::string name;
        ~LogBack() { gfx->System_SetState(GFX_LOGFILE, name.c_str()); }
    } logBack{gfx, gfx->System_GetState(GFX_LOGFILE)};
    const std::string log = TypeParam::SnapshotPath("contract.log");
    gfx->System_SetState(GFX_LOGFILE, log.c_str());
    const std::string folder = log.substr(0, log.rfind('/') + 1);
    auto shot = [&](int number) {
        char name[32];
        std::snprintf(name, sizeof name, "shot%03d.bmp", number);
        return folder + name;
    };
    auto load = [&](int number) {
        HTEXTURE texture = gfx->Texture_Load(shot(number).c_str());
        this->textures.push_back(texture);
        return texture;
    };
    int first = 1;
    while (load(first) != 0) ++first;
    ASSERT_TRUE(gfx->Gfx_BeginScene(0));
    gfx->Gfx_Clear(Argb(0xFF, 0x10, 0x20, 0x30));
    gfx->Gfx_EndScene();
    ASSERT_TRUE(gfx->System_Snapshot(nullptr));
    ASSERT_TRUE(gfx->System_Snapshot(nullptr));
    for (int number : {first, first + 1}) {
        const HTEXTURE taken = load(number);
        ASSERT_NE(taken, 0u) << shot(number);
        EXPECT_TRUE(ColorNear(ReadTexture(gfx, taken)[0], Argb(0xFF, 0x10, 0x20, 0x30), 0)) << shot(number);
    }
}

TYPED_TEST_P(EngineContract, ChannelsPlayUntilStoppedOrTheirEffectIsFreed) {
    GFX* gfx = this->gfx;
    const std::string sound = TypeParam::PutFile("channels.wav", Wave(0.1));
    HEFFECT effect = gfx->Effect_Load(sound.c_str());
    HEFFECT other = gfx->Effect_Load(sound.c_str());
    ASSERT_NE(effect, 0u);
    ASSERT_NE(other, 0u);
    EXPECT_NE(effect, other);
    // Looping, so that no sound ends by itself while the test looks.
    HCHANNEL c = gfx->Effect_PlayEx(effect, 150, 0, 1.0f, true);
    ASSERT_NE(c, 0u);
    gfx->Channel_Pause(c);
    EXPECT_TRUE(gfx->Channel_IsPlaying(c)) << "paused counts as playing";
    gfx->Channel_Resume(c);
    gfx->Channel_PauseAll();
    EXPECT_TRUE(gfx->Channel_IsPlaying(c));
    gfx->Channel_ResumeAll();
    gfx->Channel_SetVolume(c, -3);
    EXPECT_TRUE(gfx->Channel_IsPlaying(c));
    gfx->Channel_Stop(c);
    EXPECT_FALSE(gfx->Channel_IsPlaying(c));

    HCHANNEL mine1 = gfx->Effect_PlayEx(effect, 100, 0, 1.0f, true);
    HCHANNEL mine2 = gfx->Effect_PlayEx(effect, 100, 0, 1.0f, true);
    HCHANNEL theirs = gfx->Effect_PlayEx(other, 100, 0, 1.0f, true);
    gfx->Effect_Free(effect);
    EXPECT_FALSE(gfx->Channel_IsPlaying(mine1));
    EXPECT_FALSE(gfx->Channel_IsPlaying(mine2));
    EXPECT_TRUE(gfx->Channel_IsPlaying(theirs));
    gfx->Effect_Free(other);
    EXPECT_FALSE(gfx->Channel_IsPlaying(theirs));

    // Without sound effects still load, and nothing plays.
    ASSERT_TRUE(TypeParam::Restart(false));
    HEFFECT silent = gfx->Effect_Load(sound.c_str());
    EXPECT_NE(silent, 0u);
    EXPECT_EQ(gfx->Effect_PlayEx(silent, 100, 0, 1.0f, true), 0u);
    gfx->Effect_Free(silent);
}

TYPED_TEST_P(EngineContract, TheLoopRunsUntilTheFrameFunctionEndsItBeforeItsRender) {
    GFX* gfx = this->gfx;
    g_ContractFrames = g_ContractRenders = 0;
    gfx->System_SetState(GFX_FRAMEFUNC, ContractFrame);
    gfx->System_SetState(GFX_RENDERFUNC, ContractRender);
    EXPECT_TRUE(gfx->System_Start());
    EXPECT_EQ(g_ContractFrames, 3);
    EXPECT_EQ(g_ContractRenders, 2);
    gfx->System_SetState(GFX_FRAMEFUNC, static_cast<gfxCallback>(nullptr));
    gfx->System_SetState(GFX_RENDERFUNC, static_cast<gfxCallback>(nullptr));
    EXPECT_FALSE(gfx->System_Start()) << "without a frame function";
}

REGISTER_TYPED_TEST_SUITE_P(EngineContract, OneEngineForOneVersionCountedByReference,
                            AFreshEngineHasTheDefaultsAndMakesNothingBeforeInitiate, StatesReadBackWithinTheirRanges,
                            HandlesAreNeverReused, BadHandlesDoNothing, SidesOfOneTo16384Texels,
                            PicturesLoadAtTheirSizeWithTheirTexels, TexturesMadeFromTexelsHoldThem,
                            LocksGiveTexelsTopDownAndOnlyWritableOnesChangeThem, EveryBlendCombinationOnAKnownTexture,
                            OneToOneQuadPutsEachTexelOnOnePixel, DrawingHappensInScenesOnly,
                            ClippingIsClampedToTheTargetAndHoldsForClears,
                            TargetSceneInsideTheScreensReturnsToTheScreenIntact,
                            ATargetsTextureHoldsItsPictureAndGoesWithIt, SnapshotsLoadBackAsTheScreensPicture,
                            UnnamedSnapshotsAreNewNumberedFilesBesideTheLog,
                            ChannelsPlayUntilStoppedOrTheirEffectIsFreed,
                            TheLoopRunsUntilTheFrameFunctionEndsItBeforeItsRender);

}  // namespace enginetest
