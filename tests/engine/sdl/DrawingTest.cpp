// Pictures drawn into small targets and onto the screen, read back.
#include "EngineFixture.h"

#include "engine/sdl/Hooks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>

using namespace enginetest;

namespace {

class DrawingTest : public EngineTest {
protected:
    void TearDown() override {
        for (HTEXTURE t : textures) gfx->Texture_Free(t);
        for (HTARGET t : targets) gfx->Target_Free(t);
    }
    HTARGET Target(int w, int h, bool z = false) {
        HTARGET t = gfx->Target_Create(w, h, z);
        targets.push_back(t);
        return t;
    }
    HTEXTURE Texture(const std::vector<uint32_t>& argb, int w, int h) {
        HTEXTURE t = MakeTexture(argb, w, h);
        textures.push_back(t);
        return t;
    }
    void Draw(const gfxQuad& q) { gfx->Gfx_RenderQuad(&q); }
    std::vector<HTEXTURE> textures;
    std::vector<HTARGET> targets;
};

TEST_F(DrawingTest, UntexturedQuadsDrawTheVertexColour) {
    HTARGET target = Target(2, 2);
    const uint32_t vertex = Argb(0xFF, 0x30, 0x60, 0x90);
    ASSERT_TRUE(gfx->Gfx_BeginScene(target));
    gfx->Gfx_Clear(0xFF000000);
    Draw(MakeQuad(0, 0, 2, 2, 0, BLEND_DEFAULT, vertex));
    gfx->Gfx_EndScene();
    for (uint32_t px : ReadTexture(gfx->Target_GetTexture(target))) EXPECT_TRUE(ColorNear(px, vertex, 1));
}

// Batches of opaque white corners draw with a cheaper program: a tinted quad
// in the same batch, before or after white ones, must still be tinted.
TEST_F(DrawingTest, TintedAndWhiteQuadsShareABatchWithTheirOwnColours) {
    const uint32_t texel = Argb(0xFF, 0x80, 0xC0, 0x40);
    const uint32_t tint = Argb(0xFF, 0x80, 0x80, 0xFF);
    const uint32_t tinted = ExpectedBlend(texel, tint, 0xFF000000, BLEND_DEFAULT);
    HTEXTURE tex = Texture(std::vector<uint32_t>(4, texel), 2, 2);
    HTARGET target = Target(4, 2);
    const gfxQuad white = MakeQuad(0, 0, 2, 2, tex), tintedQuad = MakeQuad(2, 0, 2, 2, tex, BLEND_DEFAULT, tint);
    for (bool whiteFirst : {true, false}) {
        ASSERT_TRUE(gfx->Gfx_BeginScene(target));
        gfx->Gfx_Clear(0xFF000000);
        Draw(whiteFirst ? white : tintedQuad);
        Draw(whiteFirst ? tintedQuad : white);
        gfx->Gfx_EndScene();
        std::vector<uint32_t> picture = ReadTexture(gfx->Target_GetTexture(target));
        ASSERT_EQ(picture.size(), 8u);
        for (size_t i = 0; i < picture.size(); ++i) {
            uint32_t expected = i % 4 < 2 ? texel : tinted;
            EXPECT_TRUE(ColorNear(picture[i], expected, 1)) << "pixel " << i << (whiteFirst ? ", white first" : "");
        }
    }
}

TEST_F(DrawingTest, CoordinatesOutsideZeroToOneRepeat) {
    std::vector<uint32_t> texels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    HTEXTURE tex = Texture(texels, 2, 2);
    HTARGET target = Target(4, 2);
    ASSERT_TRUE(gfx->Gfx_BeginScene(target));
    Draw(MakeQuad(0, 0, 4, 2, tex, BLEND_DEFAULT, 0xFFFFFFFF, 0, 0, 2, 1));
    gfx->Gfx_EndScene();
    std::vector<uint32_t> picture = ReadTexture(gfx->Target_GetTexture(target));
    std::vector<uint32_t> expected = {texels[0], texels[1], texels[0], texels[1],
                                      texels[2], texels[3], texels[2], texels[3]};
    EXPECT_EQ(picture, expected);
}

TEST_F(DrawingTest, DepthBufferOfATargetHidesFartherQuads) {
    HTARGET target = Target(2, 2, true);
    ASSERT_TRUE(gfx->Gfx_BeginScene(target));
    gfx->Gfx_Clear(0xFF000000);
    gfxQuad nearQuad = MakeQuad(0, 0, 2, 2, 0, BLEND_DEFAULT | BLEND_ZWRITE, 0xFFFF0000);
    for (auto& v : nearQuad.v) v.z = 0.2f;
    gfxQuad farQuad = MakeQuad(0, 0, 2, 2, 0, BLEND_DEFAULT | BLEND_ZWRITE, 0xFF00FF00);
    for (auto& v : farQuad.v) v.z = 0.8f;
    Draw(nearQuad);
    Draw(farQuad);
    gfx->Gfx_EndScene();
    for (uint32_t px : ReadTexture(gfx->Target_GetTexture(target))) EXPECT_EQ(px, 0xFFFF0000u);
}

TEST_F(DrawingTest, SnapshotWritesTheScreenAsA24BitBmp) {
    ASSERT_TRUE(gfx->Gfx_BeginScene(0));
    gfx->Gfx_Clear(Argb(0xFF, 0x10, 0x20, 0x30));
    Draw(MakeQuad(8, 4, 8, 8, 0, BLEND_DEFAULT, 0xFFFF0000));
    gfx->Gfx_EndScene();
    std::string path = TempFolder() + "snap.bmp";
    ASSERT_TRUE(gfx->System_Snapshot(path.c_str()));
    std::string bmp = ReadFile(path);
    ASSERT_GE(bmp.size(), 54u);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bmp.data());
    auto u32 = [&](int at) { return p[at] | (p[at + 1] << 8) | (p[at + 2] << 16) | (p[at + 3] << 24); };
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(u32(18), kScreenWidth);
    EXPECT_EQ(u32(22), kScreenHeight);  // positive: bottom-up rows
    EXPECT_EQ(p[28], 24);
    EXPECT_EQ(bmp.size(), 54u + static_cast<size_t>(kScreenWidth * 3 * kScreenHeight));
    auto pixel = [&](int x, int y) {
        const unsigned char* px = p + 54 + (kScreenHeight - 1 - y) * kScreenWidth * 3 + x * 3;
        return Argb(0xFF, px[2], px[1], px[0]);
    };
    EXPECT_EQ(pixel(0, 0), Argb(0xFF, 0x10, 0x20, 0x30));
    EXPECT_EQ(pixel(8, 4), 0xFFFF0000u);
    EXPECT_EQ(pixel(15, 11), 0xFFFF0000u);
    EXPECT_EQ(pixel(16, 11), Argb(0xFF, 0x10, 0x20, 0x30));
    EXPECT_EQ(pixel(8, 12), Argb(0xFF, 0x10, 0x20, 0x30));

    EXPECT_FALSE(gfx->System_Snapshot((TempFolder() + "no/such/folder/x.bmp").c_str()));
}

// With a log file it goes beside the log (the contract's test); without one
// the program's folder takes it.
TEST_F(DrawingTest, SnapshotWithoutANameOrALogFileMakesANumberedFileInTheProgramFolder) {
    char exe[4096] = {0};
    ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    std::string folder(exe);
    folder = folder.substr(0, folder.rfind('/') + 1);
    gfx->System_SetState(GFX_LOGFILE, "");
    for (int i = 1; i < 1000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "shot%03d.bmp", i);
        if (FILE* f = std::fopen((folder + name).c_str(), "rb")) {
            std::fclose(f);
            continue;
        }
        EXPECT_TRUE(gfx->System_Snapshot());
        std::string made = folder + name;
        EXPECT_EQ(ReadFile(made).substr(0, 2), "BM");
        std::remove(made.c_str());
        break;
    }
    gfx->System_SetState(GFX_LOGFILE, LogPath().c_str());
}

TEST_F(DrawingTest, OneDrawCallPerRunOfEqualTextureAndBlend) {
    HTEXTURE a = Texture(std::vector<uint32_t>(4, 0xFFFFFFFF), 2, 2);
    HTEXTURE b = Texture(std::vector<uint32_t>(4, 0xFF000000), 2, 2);
    HTARGET target = Target(16, 16);
    auto drawCalls = [&](const std::vector<std::pair<HTEXTURE, int>>& quads) {
        uint64_t before = gfxsdl::DrawCallCount();
        gfx->Gfx_BeginScene(target);
        for (auto& q : quads) Draw(MakeQuad(0, 0, 2, 2, q.first, q.second));
        gfx->Gfx_EndScene();
        return gfxsdl::DrawCallCount() - before;
    };
    EXPECT_EQ(drawCalls(std::vector<std::pair<HTEXTURE, int>>(100, {a, BLEND_DEFAULT})), 1u);
    EXPECT_EQ(drawCalls({{a, 2}, {a, 2}, {b, 2}, {b, 2}, {a, 2}}), 3u);
    EXPECT_EQ(drawCalls({{a, 2}, {a, 3}, {a, 3}, {a, 0}}), 3u);
    EXPECT_EQ(drawCalls({{0, 2}, {0, 2}}), 1u);
    EXPECT_EQ(drawCalls({}), 0u);
}

// Runs longer than the vertex buffer holds, begun at different places in it
// (after runs of other lengths), still draw every quad: 128 x 128 quads of
// one pixel each cover the whole target.
TEST_F(DrawingTest, LongRunsDrawEveryQuadWhereverTheyBegin) {
    constexpr int kSide = 128;
    HTARGET target = Target(kSide, kSide);
    for (int before : {0, 1, 5000, 12000, 16383}) {
        ASSERT_TRUE(gfx->Gfx_BeginScene(target));
        gfx->Gfx_Clear(0xFF000000);
        for (int i = 0; i < before; ++i) Draw(MakeQuad(0, 0, 1, 1, 0, BLEND_DEFAULT, 0xFF000000));
        for (int i = 0; i < kSide * kSide; ++i)
            Draw(MakeQuad(static_cast<float>(i % kSide), static_cast<float>(i / kSide), 1, 1, 0, BLEND_DEFAULT,
                          0xFF00FF00));
        gfx->Gfx_EndScene();
        std::vector<uint32_t> picture = ReadTexture(gfx->Target_GetTexture(target));
        EXPECT_EQ(std::count(picture.begin(), picture.end(), 0xFF00FF00u), kSide * kSide) << before;
    }
}

}  // namespace
