#include "tests/support/EngineFixture.h"

#include <cstring>

// The recording engine stands in for the real one in every host test; these
// cases pin the rules that other tests rely on.
using RecordingEngineTest = EngineFixture;

TEST_F(RecordingEngineTest, OneReferenceCountedInstanceAndOnlyOneVersion) {
    EXPECT_EQ(gfxCreate(0x17F), nullptr);
    GFX* second = gfxCreate(GFX_VERSION);
    EXPECT_EQ(second, gfx());
    EXPECT_EQ(engine->RefCount(), 2);
    second->Release();
    EXPECT_EQ(engine->RefCount(), 1);
}

TEST_F(RecordingEngineTest, FilesMatchLikeAPackAndBuffersAreTracked) {
    engine->AddFile("scripts/menu.lua", "x = 1");
    uint32_t size = 99;
    void* data = gfx()->Resource_Load("\\Scripts\\MENU.lua", &size);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(std::memcmp(data, "x = 1", 5), 0);
    EXPECT_EQ(engine->LiveResources(), 1);
    gfx()->Resource_Free(data);
    EXPECT_EQ(engine->LiveResources(), 0);
    EXPECT_EQ(gfx()->Resource_Load("missing.lua", &size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(engine->Calls("Resource_Load").back(), "Resource_Load(missing.lua)");
}

TEST_F(RecordingEngineTest, HandlesAreNeverReusedAndBadHandlesAreHarmless) {
    engine->AddImage("a.png", 4, 2, {}, 8, 4);
    HTEXTURE t1 = gfx()->Texture_Load("a.png");
    ASSERT_NE(t1, 0u);
    EXPECT_EQ(gfx()->Texture_GetWidth(t1, true), 4);
    EXPECT_EQ(gfx()->Texture_GetWidth(t1, false), 8);
    gfx()->Texture_Free(t1);
    HTEXTURE t2 = gfx()->Texture_Load("a.png");
    EXPECT_NE(t1, t2);
    EXPECT_EQ(gfx()->Texture_GetWidth(t1, false), 0);
    EXPECT_EQ(gfx()->Texture_Lock(t1), nullptr);
    EXPECT_EQ(gfx()->Texture_Lock(t2, true, 0, 0, 9, 4), nullptr);  // outside the surface
}

TEST_F(RecordingEngineTest, ChannelsPauseCountsAsPlayingAndEndWithTheirEffect) {
    engine->AddSound("beep.wav");
    HEFFECT fx = gfx()->Effect_Load("beep.wav");
    HCHANNEL a = gfx()->Effect_PlayEx(fx, 150);
    HCHANNEL b = gfx()->Effect_PlayEx(fx);
    EXPECT_NE(a, b);
    EXPECT_EQ(engine->FindChannel(a)->volume, 100);
    gfx()->Channel_Pause(a);
    EXPECT_TRUE(gfx()->Channel_IsPlaying(a));
    gfx()->Effect_Free(fx);
    EXPECT_FALSE(gfx()->Channel_IsPlaying(a));
    EXPECT_FALSE(gfx()->Channel_IsPlaying(b));
    EXPECT_EQ(gfx()->Effect_PlayEx(0), 0u);
}

TEST_F(RecordingEngineTest, QuadsDrawIntoTheCurrentTargetAndNestedScenesReturn) {
    engine->AddImage("red.png", 2, 2, {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000});
    HTEXTURE tex = gfx()->Texture_Load("red.png");
    HTARGET target = gfx()->Target_Create(4, 4, false);
    gfx()->Gfx_BeginScene(0);
    gfx()->Gfx_BeginScene(target);
    gfx()->Gfx_Clear(0xFFFFFFFF);
    gfxQuad q{};
    const float corners[4][4] = {{0, 0, 0, 0}, {2, 0, 1, 0}, {2, 2, 1, 1}, {0, 2, 0, 1}};
    for (int i = 0; i < 4; ++i)
        q.v[i] = gfxVertex{corners[i][0], corners[i][1], 0.5f, 0xFFFFFFFF, corners[i][2], corners[i][3]};
    q.tex = tex;
    q.blend = BLEND_DEFAULT;
    gfx()->Gfx_RenderQuad(&q);
    gfx()->Gfx_EndScene();
    EXPECT_EQ(engine->QuadTargets().back(), target);
    uint32_t* texels = gfx()->Texture_Lock(gfx()->Target_GetTexture(target));
    ASSERT_NE(texels, nullptr);
    EXPECT_EQ(texels[0], 0xFFFF0000u);
    EXPECT_EQ(texels[1 * 4 + 1], 0xFFFF0000u);
    EXPECT_EQ(texels[2], 0xFFFFFFFFu);
    gfx()->Texture_Unlock(gfx()->Target_GetTexture(target));
    gfx()->Gfx_EndScene();
}

TEST_F(RecordingEngineTest, ClearsKeepToTheClipRectangle) {
    HTARGET target = gfx()->Target_Create(4, 4, false);
    gfx()->Gfx_BeginScene(target);
    gfx()->Gfx_Clear(0xFF000000);
    gfx()->Gfx_SetClipping(1, 2, 2, 1);
    gfx()->Gfx_Clear(0xFFFFFFFF);
    // Off the target, and far enough out that the far edge passes the int range.
    gfx()->Gfx_SetClipping(2000000000, 0, 2000000000, 4);
    gfx()->Gfx_Clear(0xFF00FF00);
    gfx()->Gfx_SetClipping();
    gfx()->Gfx_EndScene();
    uint32_t* texels = gfx()->Texture_Lock(gfx()->Target_GetTexture(target));
    ASSERT_NE(texels, nullptr);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(texels[y * 4 + x], y == 2 && (x == 1 || x == 2) ? 0xFFFFFFFFu : 0xFF000000u) << x << "," << y;
    gfx()->Texture_Unlock(gfx()->Target_GetTexture(target));
}

TEST_F(RecordingEngineTest, RandomsComeFromTheQueueThenTheMinimum) {
    engine->QueueRandom(0.25f);
    EXPECT_EQ(gfx()->Random_Float(0, 1), 0.25f);
    EXPECT_EQ(gfx()->Random_Float(3, 4), 3.0f);
    EXPECT_EQ(engine->Calls("Random_Float").back(), "Random_Float(3,4)");
}
