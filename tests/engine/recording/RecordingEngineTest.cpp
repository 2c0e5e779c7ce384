#include "tests/support/EngineFixture.h"

#include <cstring>

// What the recording engine offers the host's tests beyond the engine
// contract (which tests/engine/EngineContract.h checks on it).
using RecordingEngineTest = ScreenFixture;

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
    EXPECT_EQ(engine->Calls("Resource_Load").back(), "Resource_Load(missing.lua)");
}

TEST_F(RecordingEngineTest, AnImageMayAskForALargerSurface) {
    engine->AddImage("a.png", 4, 2, {}, 8, 4);
    HTEXTURE tex = gfx()->Texture_Load("a.png");
    ASSERT_NE(tex, 0u);
    EXPECT_EQ(gfx()->Texture_GetWidth(tex, true), 4);
    EXPECT_EQ(gfx()->Texture_GetWidth(tex, false), 8);
    EXPECT_EQ(gfx()->Texture_Lock(tex, true, 0, 0, 9, 4), nullptr);  // outside the surface
    EXPECT_NE(gfx()->Texture_Lock(tex, true, 0, 0, 8, 4), nullptr);
}

// Every call is logged; only quads drawn in a live scene are kept, each with
// the target it went to.
TEST_F(RecordingEngineTest, QuadsAreKeptWithTheirTargetAndLoggedEverywhere) {
    HTARGET target = gfx()->Target_Create(4, 4, false);
    gfxQuad q{};
    gfx()->Gfx_RenderQuad(&q);
    ASSERT_TRUE(gfx()->Gfx_BeginScene(target));
    gfx()->Gfx_RenderQuad(&q);
    gfx()->Gfx_EndScene();
    gfx()->Gfx_EndScene();
    gfx()->Gfx_RenderQuad(&q);
    EXPECT_EQ(engine->QuadTargets(), (std::vector<HTARGET>{0, target}));
    EXPECT_EQ(engine->Quads().size(), 2u);
    EXPECT_EQ(engine->Count("Gfx_RenderQuad"), 3);
}

// A shutdown frees everything, as the real engine's does, and tells what the
// code under test had left.
TEST_F(RecordingEngineTest, ShutdownTellsWhatWasLeft) {
    engine->AddImage("a.png", 2, 2);
    gfx()->Texture_Load("a.png");
    gfx()->Target_Create(2, 2, false);
    gfx()->Resource_Load("missing.lua");
    engine->AddFile("b.txt", "b");
    gfx()->Resource_Load("b.txt");
    gfx()->System_Shutdown();
    EXPECT_EQ(engine->LeftAtShutdown().textures, 1);
    EXPECT_EQ(engine->LeftAtShutdown().targets, 1);
    EXPECT_EQ(engine->LeftAtShutdown().effects, 0);
    EXPECT_EQ(engine->LeftAtShutdown().resources, 1);
    EXPECT_EQ(engine->LiveTextures() + engine->LiveTargets() + engine->LiveResources(), 0);
}

TEST_F(RecordingEngineTest, RandomsComeFromTheQueueThenTheMinimum) {
    engine->QueueRandom(0.25f);
    EXPECT_EQ(gfx()->Random_Float(0, 1), 0.25f);
    EXPECT_EQ(gfx()->Random_Float(3, 4), 3.0f);
    EXPECT_EQ(engine->Calls("Random_Float").back(), "Random_Float(3,4)");
}
