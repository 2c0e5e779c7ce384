// Pictures drawn into small targets and onto the screen, read back.
#include "EngineFixture.h"

#include "engine/sdl/Hooks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>

using namespace enginetest;

namespace {

uint32_t Argb(int a, int r, int g, int b) {
    return (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
           static_cast<uint32_t>(b);
}

int Channel(uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// The reference of one blend combination in [0, 1] arithmetic: source colour
// from texel and vertex colour, then the blend with the target's texel.
uint32_t ExpectedBlend(uint32_t texel, uint32_t vertex, uint32_t target, int blend) {
    double sa = Channel(texel, 24) / 255.0 * Channel(vertex, 24) / 255.0;
    double out[4];
    for (int i = 0; i < 3; ++i) {
        int shift = 16 - 8 * i;
        double t = Channel(texel, shift) / 255.0, v = Channel(vertex, shift) / 255.0;
        double s = (blend & BLEND_COLORADD) ? std::min(t + v, 1.0) : t * v;
        double d = Channel(target, shift) / 255.0;
        out[i] = (blend & BLEND_ALPHABLEND) ? s * sa + d * (1 - sa) : std::min(s * sa + d, 1.0);
    }
    double da = Channel(target, 24) / 255.0;
    out[3] = (blend & BLEND_ALPHABLEND) ? sa * sa + da * (1 - sa) : std::min(sa * sa + da, 1.0);
    auto q = [](double x) { return static_cast<int>(std::lround(x * 255)); };
    return Argb(q(out[3]), q(out[0]), q(out[1]), q(out[2]));
}

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
    std::vector<uint32_t> Screen() {
        std::string path = TempFolder() + "screen.bmp";
        EXPECT_TRUE(gfx->System_Snapshot(path.c_str()));
        std::string bmp = ReadFile(path);
        std::vector<uint32_t> pixels;
        if (bmp.size() < 54) return pixels;
        const unsigned char* p = reinterpret_cast<const unsigned char*>(bmp.data());
        int rowBytes = (kScreenWidth * 3 + 3) & ~3;
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x) {
                const unsigned char* px = p + 54 + (kScreenHeight - 1 - y) * rowBytes + x * 3;
                pixels.push_back(Argb(0xFF, px[2], px[1], px[0]));
            }
        return pixels;
    }
    std::vector<HTEXTURE> textures;
    std::vector<HTARGET> targets;
};

TEST_F(DrawingTest, EveryBlendCombinationOnAKnownTexture) {
    const uint32_t texel = Argb(0x80, 0x20, 0x90, 0xF0);
    const uint32_t vertex = Argb(0xC0, 0x80, 0xA0, 0x20);
    const uint32_t background = Argb(0xFF, 0x10, 0x40, 0x30);
    HTEXTURE tex = Texture(std::vector<uint32_t>(4, texel), 2, 2);
    HTARGET target = Target(2, 2);
    for (int blend : {0, 1, 2, 3, 4, 5, 6, 7}) {
        ASSERT_TRUE(gfx->Gfx_BeginScene(target));
        gfx->Gfx_Clear(background);
        Draw(MakeQuad(0, 0, 2, 2, tex, blend, vertex));
        gfx->Gfx_EndScene();
        std::vector<uint32_t> picture = ReadTexture(gfx->Target_GetTexture(target));
        ASSERT_EQ(picture.size(), 4u);
        // Depth writing has no effect without a depth buffer: 4-7 equal 0-3.
        uint32_t expected = ExpectedBlend(texel, vertex, background, blend & 3);
        for (uint32_t px : picture) EXPECT_TRUE(ColorNear(px, expected, 2)) << "blend " << blend;
    }
}

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

TEST_F(DrawingTest, OneToOneQuadPutsEachTexelOnOnePixel) {
    std::vector<uint32_t> texels;
    for (int i = 0; i < 16; ++i) texels.push_back(Argb(0xFF, i * 16, 255 - i * 16, (i * 37) & 0xFF));
    HTEXTURE tex = Texture(texels, 4, 4);
    HTARGET target = Target(8, 8);
    ASSERT_TRUE(gfx->Gfx_BeginScene(target));
    gfx->Gfx_Clear(0);
    Draw(MakeQuad(3, 2, 4, 4, tex));
    gfx->Gfx_EndScene();
    std::vector<uint32_t> picture = ReadTexture(gfx->Target_GetTexture(target));
    ASSERT_EQ(picture.size(), 64u);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool inside = x >= 3 && x < 7 && y >= 2 && y < 6;
            uint32_t expected = inside ? texels[static_cast<size_t>((y - 2) * 4 + (x - 3))] : 0u;
            EXPECT_EQ(picture[static_cast<size_t>(y * 8 + x)], expected) << x << "," << y;
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

TEST_F(DrawingTest, LockUnlockRoundTrip) {
    HTEXTURE tex = gfx->Texture_Create(4, 3);
    textures.push_back(tex);
    ASSERT_NE(tex, 0u);
    EXPECT_EQ(gfx->Texture_GetWidth(tex), 4);
    EXPECT_EQ(gfx->Texture_GetHeight(tex, true), 3);
    EXPECT_EQ(ReadTexture(tex), std::vector<uint32_t>(12, 0u));  // transparent black

    uint32_t* texels = gfx->Texture_Lock(tex, false);
    ASSERT_NE(texels, nullptr);
    EXPECT_EQ(gfx->Texture_Lock(tex, true), nullptr);  // locked already
    for (uint32_t i = 0; i < 12; ++i) texels[i] = 0x01020304u * (i + 1);
    gfx->Texture_Unlock(tex);
    std::vector<uint32_t> all = ReadTexture(tex);
    ASSERT_EQ(all.size(), 12u);
    for (uint32_t i = 0; i < 12; ++i) EXPECT_EQ(all[i], 0x01020304u * (i + 1));

    // A rectangle: the pointer is at (left, top), the pitch the surface width.
    uint32_t* part = gfx->Texture_Lock(tex, false, 1, 1, 2, 2);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part[0], all[5]);
    part[0] = part[1] = part[4] = part[5] = 0xDEADBEEF;
    gfx->Texture_Unlock(tex);
    std::vector<uint32_t> after = ReadTexture(tex);
    for (int i = 0; i < 12; ++i) {
        bool inside = (i == 5 || i == 6 || i == 9 || i == 10);
        EXPECT_EQ(after[static_cast<size_t>(i)], inside ? 0xDEADBEEFu : all[static_cast<size_t>(i)]) << i;
    }
    // A read-only lock changes nothing, whatever is written into it.
    uint32_t* readOnly = gfx->Texture_Lock(tex, true);
    readOnly[0] = 0;
    gfx->Texture_Unlock(tex);
    EXPECT_EQ(ReadTexture(tex)[0], all[0]);

    EXPECT_EQ(gfx->Texture_Lock(tex, true, 3, 0, 2, 1), nullptr);  // past the right edge
    EXPECT_EQ(gfx->Texture_Lock(tex, true, -1, 0, 1, 1), nullptr);
    EXPECT_EQ(gfx->Texture_Lock(tex, true, 0, 2, 1, 2), nullptr);
}

TEST_F(DrawingTest, ClippingIsClampedToTheTarget) {
    HTARGET target = Target(8, 8);
    struct Case {
        int x, y, w, h;      // clipping asked for
        int x0, y0, x1, y1;  // drawn area expected
    } cases[] = {
        {2, 3, 3, 2, 2, 3, 5, 5},   {0, 0, 0, 0, 0, 0, 8, 8}, {-2, -2, 4, 5, 0, 0, 2, 3},
        {6, 5, 10, 10, 6, 5, 8, 8}, {9, 9, 2, 2, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(gfx->Gfx_BeginScene(target));
        gfx->Gfx_Clear(0xFF000000);
        gfx->Gfx_SetClipping(c.x, c.y, c.w, c.h);
        Draw(MakeQuad(0, 0, 8, 8, 0));
        gfx->Gfx_SetClipping();
        gfx->Gfx_EndScene();
        std::vector<uint32_t> picture = ReadTexture(gfx->Target_GetTexture(target));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                bool inside = x >= c.x0 && x < c.x1 && y >= c.y0 && y < c.y1;
                EXPECT_EQ(picture[static_cast<size_t>(y * 8 + x)], inside ? 0xFFFFFFFFu : 0xFF000000u)
                    << "clip " << c.x << "," << c.y << "," << c.w << "," << c.h << " at " << x << "," << y;
            }
    }
}

TEST_F(DrawingTest, ClearFillsTheClippingRectangle) {
    HTARGET target = Target(4, 4);
    ASSERT_TRUE(gfx->Gfx_BeginScene(target));
    gfx->Gfx_Clear(0xFF000000);
    gfx->Gfx_SetClipping(1, 2, 2, 1);
    gfx->Gfx_Clear(0x80FFFFFF);
    gfx->Gfx_EndScene();
    std::vector<uint32_t> picture = ReadTexture(gfx->Target_GetTexture(target));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(picture[static_cast<size_t>(i)], (i == 9 || i == 10) ? 0x80FFFFFFu : 0xFF000000u) << i;
    // A new scene starts without clipping.
    ASSERT_TRUE(gfx->Gfx_BeginScene(target));
    gfx->Gfx_Clear(0);
    gfx->Gfx_EndScene();
    EXPECT_EQ(ReadTexture(gfx->Target_GetTexture(target)), std::vector<uint32_t>(16, 0u));
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

TEST_F(DrawingTest, SnapshotWithoutANameMakesANumberedFileInTheProgramFolder) {
    char exe[4096] = {0};
    ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    std::string folder(exe);
    folder = folder.substr(0, folder.rfind('/') + 1);
    std::vector<std::string> before;
    for (int i = 1; i < 1000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "shot%03d.bmp", i);
        if (FILE* f = std::fopen((folder + name).c_str(), "rb")) {
            std::fclose(f);
            before.push_back(name);
            continue;
        }
        ASSERT_TRUE(gfx->System_Snapshot());
        std::string made = folder + name;
        EXPECT_EQ(ReadFile(made).substr(0, 2), "BM");
        std::remove(made.c_str());
        break;
    }
}

TEST_F(DrawingTest, TargetSceneInsideTheScreensReturnsToTheScreenIntact) {
    HTARGET target = Target(4, 4);
    ASSERT_TRUE(gfx->Gfx_BeginScene(0));
    gfx->Gfx_Clear(0xFF0000FF);
    gfx->Gfx_SetClipping(0, 0, 32, 48);
    Draw(MakeQuad(2, 2, 4, 4, 0, BLEND_DEFAULT, 0xFFFF0000));
    ASSERT_TRUE(gfx->Gfx_BeginScene(target));
    EXPECT_FALSE(gfx->Gfx_BeginScene(0));  // the screen's scene is open already
    gfx->Gfx_Clear(0xFF00FF00);
    Draw(MakeQuad(0, 0, 2, 2, 0, BLEND_DEFAULT, 0xFFFFFFFF));
    gfx->Gfx_EndScene();
    // Back on the screen, its clipping (left half) still holds.
    Draw(MakeQuad(10, 2, 40, 4, 0, BLEND_DEFAULT, 0xFFFFFF00));
    gfx->Gfx_EndScene();
    // A screen scene begun again mid-frame keeps what was drawn.
    ASSERT_TRUE(gfx->Gfx_BeginScene(0));
    HTEXTURE drawn = gfx->Target_GetTexture(target);
    Draw(MakeQuad(20, 20, 4, 4, drawn));
    gfx->Gfx_EndScene();

    std::vector<uint32_t> screen = Screen();
    ASSERT_EQ(screen.size(), static_cast<size_t>(kScreenWidth * kScreenHeight));
    auto at = [&](int x, int y) { return screen[static_cast<size_t>(y * kScreenWidth + x)]; };
    EXPECT_EQ(at(0, 0), 0xFF0000FFu);
    EXPECT_EQ(at(3, 3), 0xFFFF0000u);
    EXPECT_EQ(at(31, 3), 0xFFFFFF00u);
    EXPECT_EQ(at(32, 3), 0xFF0000FFu);  // clipped
    EXPECT_EQ(at(20, 20), 0xFFFFFFFFu);
    EXPECT_EQ(at(23, 23), 0xFF00FF00u);

    std::vector<uint32_t> picture = ReadTexture(drawn);
    EXPECT_EQ(picture[0], 0xFFFFFFFFu);
    EXPECT_EQ(picture[15], 0xFF00FF00u);
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

TEST_F(DrawingTest, FreedTargetsAndTexturesDrawNothing) {
    HTARGET target = Target(2, 2);
    HTEXTURE tex = MakeTexture(std::vector<uint32_t>(4, 0xFFFF0000), 2, 2);
    gfx->Texture_Free(tex);
    ASSERT_TRUE(gfx->Gfx_BeginScene(target));
    gfx->Gfx_Clear(0xFF000000);
    Draw(MakeQuad(0, 0, 2, 2, tex));
    gfx->Gfx_EndScene();
    EXPECT_EQ(ReadTexture(gfx->Target_GetTexture(target)), std::vector<uint32_t>(4, 0xFF000000u));

    // The texture of a target goes only with its target.
    HTEXTURE own = gfx->Target_GetTexture(target);
    gfx->Texture_Free(own);
    EXPECT_EQ(gfx->Texture_GetWidth(own), 2);

    HTARGET doomed = gfx->Target_Create(2, 2, false);
    HTEXTURE doomedTexture = gfx->Target_GetTexture(doomed);
    ASSERT_TRUE(gfx->Gfx_BeginScene(doomed));
    gfx->Target_Free(doomed);
    Draw(MakeQuad(0, 0, 2, 2, 0));  // dropped
    gfx->Gfx_Clear(0);
    gfx->Gfx_EndScene();
    EXPECT_EQ(gfx->Texture_GetWidth(doomedTexture), 0);
    EXPECT_EQ(gfx->Target_GetTexture(doomed), 0u);
    EXPECT_FALSE(gfx->Gfx_BeginScene(doomed));
}

}  // namespace
