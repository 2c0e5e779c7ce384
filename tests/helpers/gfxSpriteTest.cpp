#include "helpers/gfxSprite.h"

#include "tests/support/EngineFixture.h"

#include <cmath>
#include <functional>
#include <string>

namespace {

struct Pt {
    float x, y;
};

void ExpectPositions(const gfxQuad& q, const Pt (&want)[4], const std::string& what) {
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(q.v[i].x, want[i].x) << what << " corner " << i;
        EXPECT_FLOAT_EQ(q.v[i].y, want[i].y) << what << " corner " << i;
    }
}

void ExpectTexCoords(const gfxQuad& q, const Pt (&want)[4], const std::string& what) {
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(q.v[i].tx, want[i].x) << what << " corner " << i;
        EXPECT_FLOAT_EQ(q.v[i].ty, want[i].y) << what << " corner " << i;
    }
}

class gfxSpriteTest : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        // Image 48 x 24 on a 64 x 32 surface: coordinates divide by the surface.
        engine->AddImage("sheet.png", 48, 24, {}, 64, 32);
        sheet = gfx()->Texture_Load("sheet.png", 0, false);
    }
    const gfxQuad& LastQuad() { return engine->Quads().back(); }

    HTEXTURE sheet = 0;
};

TEST_F(gfxSpriteTest, ConstructorLaysOutTexelRectangleOverTheSurface) {
    gfxSprite onSheet(sheet, 16, 8, 32, 16);
    EXPECT_EQ(onSheet.tex_width, 64.0f);
    EXPECT_EQ(onSheet.tex_height, 32.0f);
    ExpectTexCoords(onSheet.quad, {{0.25f, 0.25f}, {0.75f, 0.25f}, {0.75f, 0.75f}, {0.25f, 0.75f}}, "sheet");
    for (const gfxVertex& v : onSheet.quad.v) {
        EXPECT_EQ(v.z, 0.5f);
        EXPECT_EQ(v.col, 0xFFFFFFFFu);
    }
    EXPECT_EQ(onSheet.quad.blend, BLEND_DEFAULT);
    EXPECT_EQ(onSheet.GetTexture(), sheet);

    // Texture 0 is taken as 1 x 1 without asking the engine.
    engine->ClearLog();
    gfxSprite blank(0, 0, 0, 32, 16);
    EXPECT_EQ(engine->Count("Texture_GetWidth"), 0);
    ExpectTexCoords(blank.quad, {{0, 0}, {32, 0}, {32, 16}, {0, 16}}, "texture 0");
    blank.Render(0, 0);
    EXPECT_EQ(LastQuad().tex, 0u);
}

TEST_F(gfxSpriteTest, ATextureTheEngineReportsAsEmptyIsTakenAsOneByOne) {
    HTEXTURE gone = gfx()->Texture_Load("sheet.png", 0, false);
    gfx()->Texture_Free(gone);
    gfxSprite spr(gone, 2, 4, 8, 8);
    EXPECT_EQ(spr.tex_width, 1.0f);
    EXPECT_EQ(spr.tex_height, 1.0f);
    ExpectTexCoords(spr.quad, {{2, 4}, {10, 4}, {10, 12}, {2, 12}}, "freed texture");
}

struct DrawCase {
    const char* name;
    std::function<void(gfxSprite&)> draw;
    Pt corners[4];
};

TEST_F(gfxSpriteTest, RecordedCornersOfEveryDrawingOperation) {
    const float big = 1e17f;
    const float s2pi = static_cast<float>(std::sin(static_cast<double>(static_cast<float>(2 * M_PI))));
    const DrawCase cases[] = {
        {"Render at the hot spot",
         [](gfxSprite& s) {
             s.SetHotSpot(10, 5);
             s.Render(100, 50);
         },
         {{90, 45}, {130, 45}, {130, 65}, {90, 65}}},
        {"Render keeps fractions",
         [](gfxSprite& s) { s.Render(0.25f, 0.75f); },
         {{0.25f, 0.75f}, {40.25f, 0.75f}, {40.25f, 20.75f}, {0.25f, 20.75f}}},
        {"RenderEx vscale 0 follows hscale",
         [](gfxSprite& s) { s.RenderEx(10, 20, 0, 2, 0); },
         {{10, 20}, {90, 20}, {90, 60}, {10, 60}}},
        {"RenderEx own vscale about the hot spot",
         [](gfxSprite& s) {
             s.SetHotSpot(20, 10);
             s.RenderEx(100, 100, 0, 0.5f, 3);
         },
         {{90, 70}, {110, 70}, {110, 130}, {90, 130}}},
        {"RenderEx quarter turn",
         [](gfxSprite& s) { s.RenderEx(0, 0, static_cast<float>(M_PI / 2), 1, 0); },
         {{0, 0},
          {40 * std::cos(static_cast<float>(M_PI / 2)), 40},
          {-20, 40},
          {-20, 20 * std::cos(static_cast<float>(M_PI / 2))}}},
        {"RenderStretch ignores hot spot and scale",
         [](gfxSprite& s) {
             s.SetHotSpot(7, 7);
             s.RenderStretch(1, 2, 11, 22);
         },
         {{1, 2}, {11, 2}, {11, 22}, {1, 22}}},
        {"Render4V in argument order",
         [](gfxSprite& s) { s.Render4V(1, 2, 3, 4, 5, 6, 7, 8); },
         {{1, 2}, {3, 4}, {5, 6}, {7, 8}}},
    };
    for (const DrawCase& c : cases) {
        gfxSprite spr(sheet, 0, 0, 40, 20);
        c.draw(spr);
        ASSERT_FALSE(engine->Quads().empty());
        ExpectPositions(LastQuad(), c.corners, c.name);
        EXPECT_EQ(LastQuad().tex, sheet) << c.name;
    }

    // A full turn goes through sine and cosine: a tall sprite shows it.
    gfxSprite tall(0, 0, 0, 1, big);
    tall.RenderEx(5, 5, static_cast<float>(2 * M_PI), 1, 0);
    EXPECT_FLOAT_EQ(LastQuad().v[3].x, -big * s2pi + 5);
    EXPECT_NE(LastQuad().v[3].x, 5.0f);
}

TEST_F(gfxSpriteTest, DrawingChangesOnlyCornerPositions) {
    gfxSprite spr(sheet, 0, 0, 40, 20);
    spr.SetColor(0x80FF0000, -1);
    spr.SetZ(0.25f, -1);
    spr.SetBlendMode(BLEND_COLORADD);
    const gfxSprite before(spr);
    spr.RenderEx(3, 4, 1.0f, 2, 3);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(LastQuad().v[i].col, 0x80FF0000u);
        EXPECT_EQ(LastQuad().v[i].z, 0.25f);
        EXPECT_EQ(spr.quad.v[i].tx, before.quad.v[i].tx);
        EXPECT_EQ(spr.quad.v[i].ty, before.quad.v[i].ty);
    }
    EXPECT_EQ(LastQuad().blend, BLEND_COLORADD);
}

TEST_F(gfxSpriteTest, BoundingBoxUsesVScaleUnchangedAndDrawsNothing) {
    gfxSprite spr(sheet, 0, 0, 40, 20);
    spr.SetHotSpot(10, 5);
    gfxRect r(-1000, -1000, 1000, 1000);
    engine->ClearLog();

    EXPECT_EQ(spr.GetBoundingBoxEx(100, 50, 0, 2, 0, &r), &r);
    EXPECT_EQ(engine->Count("Gfx_RenderQuad"), 0);
    EXPECT_FALSE(r.bClean);
    EXPECT_FLOAT_EQ(r.x1, 80);
    EXPECT_FLOAT_EQ(r.x2, 160);
    EXPECT_FLOAT_EQ(r.y1, 50);  // zero height: vscale 0 stays 0
    EXPECT_FLOAT_EQ(r.y2, 50);
    EXPECT_FALSE(r.TestPoint(100, 50));

    spr.GetBoundingBoxEx(100, 50, static_cast<float>(M_PI / 2), 1, 1, &r);
    EXPECT_NEAR(r.x1, 85, 1e-4);
    EXPECT_NEAR(r.x2, 105, 1e-4);
    EXPECT_NEAR(r.y1, 40, 1e-4);
    EXPECT_NEAR(r.y2, 80, 1e-4);
    EXPECT_EQ(spr.GetBoundingBoxEx(0, 0, 0, 1, 1, nullptr), nullptr);
}

TEST_F(gfxSpriteTest, FlipsMoveTexelsAndTheHotSpotOnlyWhenItsFlagChanges) {
    const Pt plain[4] = {{0, 0}, {0.625f, 0}, {0.625f, 0.625f}, {0, 0.625f}};
    const Pt mirroredX[4] = {{0.625f, 0}, {0, 0}, {0, 0.625f}, {0.625f, 0.625f}};
    const Pt mirroredXY[4] = {{0.625f, 0.625f}, {0, 0.625f}, {0, 0}, {0.625f, 0}};
    struct Step {
        bool bX, bY, bHot;
        float hotX;
        const Pt (&uv)[4];
    };
    const Step steps[] = {
        {true, false, true, 10, mirroredX},   // hot-spot flag judged by the flags on entry
        {true, false, true, 10, mirroredX},   // the same call again changes nothing
        {true, false, false, 30, mirroredX},  // dropping the flag mirrors the hot spot
        {true, false, false, 30, mirroredX}, {true, true, false, 30, mirroredXY}, {false, false, false, 30, plain},
    };
    gfxSprite spr(sheet, 0, 0, 40, 20);
    spr.SetHotSpot(10, 0);
    int n = 0;
    for (const Step& s : steps) {
        spr.SetFlip(s.bX, s.bY, s.bHot);
        const std::string what = "step " + std::to_string(n++);
        EXPECT_EQ(spr.hotX, s.hotX) << what;
        EXPECT_EQ(spr.bXFlip, s.bX) << what;
        EXPECT_EQ(spr.bYFlip, s.bY) << what;
        ExpectTexCoords(spr.quad, s.uv, what);
    }
}

TEST_F(gfxSpriteTest, SetTextureRectKeepsMirroringAndSizeUnlessAdjusted) {
    gfxSprite spr(sheet, 0, 0, 40, 20);
    spr.SetFlip(true, false, false);
    spr.SetTextureRect(16, 8, 16, 8, false);
    EXPECT_EQ(spr.tx, 16.0f);
    EXPECT_EQ(spr.ty, 8.0f);
    EXPECT_TRUE(spr.bXFlip);
    ExpectTexCoords(spr.quad, {{0.5f, 0.25f}, {0.25f, 0.25f}, {0.25f, 0.5f}, {0.5f, 0.5f}}, "mirrored rect");
    spr.Render(0, 0);
    ExpectPositions(LastQuad(), {{0, 0}, {40, 0}, {40, 20}, {0, 20}}, "old size kept");

    spr.SetTextureRect(16, 8, 16, 8, true);
    spr.Render(0, 0);
    ExpectPositions(LastQuad(), {{0, 0}, {16, 0}, {16, 8}, {0, 8}}, "adjusted size");
}

TEST_F(gfxSpriteTest, SetTextureKeepsTexelPositionsAndMirroring) {
    engine->AddImage("same.png", 10, 10, {}, 64, 32);
    engine->AddImage("wide.png", 128, 16);
    const HTEXTURE same = gfx()->Texture_Load("same.png", 0, false);
    const HTEXTURE wide = gfx()->Texture_Load("wide.png", 0, false);

    gfxSprite spr(sheet, 16, 8, 32, 16);
    spr.SetFlip(false, true, false);
    const gfxQuad before = spr.quad;
    spr.SetTexture(same);
    EXPECT_EQ(spr.GetTexture(), same);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(spr.quad.v[i].tx, before.v[i].tx);

    spr.SetTexture(wide);
    EXPECT_EQ(spr.tex_width, 128.0f);
    EXPECT_EQ(spr.tex_height, 16.0f);
    ExpectTexCoords(spr.quad, {{0.125f, 1.5f}, {0.375f, 1.5f}, {0.375f, 0.5f}, {0.125f, 0.5f}}, "wide");

    spr.SetTexture(0);
    ExpectTexCoords(spr.quad, {{16, 24}, {48, 24}, {48, 8}, {16, 8}}, "texture 0");
}

TEST_F(gfxSpriteTest, ColourAndDepthPerCornerIgnoreIndicesOutsideTheQuad) {
    gfxSprite spr(sheet, 0, 0, 4, 4);
    spr.SetColor(0x11223344, 2);
    spr.SetZ(0.75f, 2);
    for (int i : {-2, 4, 100, -100}) {
        spr.SetColor(0xDEADBEEF, i);
        spr.SetZ(0.0f, i);
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(spr.quad.v[i].col, i == 2 ? 0x11223344u : 0xFFFFFFFFu) << i;
        EXPECT_EQ(spr.quad.v[i].z, i == 2 ? 0.75f : 0.5f) << i;
    }
    EXPECT_EQ(spr.quad.tex, sheet);
    EXPECT_EQ(spr.quad.blend, BLEND_DEFAULT);
    spr.SetColor(0x01020304, -1);
    for (const gfxVertex& v : spr.quad.v) EXPECT_EQ(v.col, 0x01020304u);
}

TEST_F(gfxSpriteTest, EverySpriteHoldsOneEngineReference) {
    const int base = engine->RefCount();
    {
        gfxSprite a(sheet, 0, 0, 4, 4);
        EXPECT_EQ(engine->RefCount(), base + 1);
        gfxSprite b(a);
        EXPECT_EQ(engine->RefCount(), base + 2);
        auto* c = new gfxSprite(b);
        c->SetHotSpot(1, 1);
        a = *c;  // assignment keeps the count
        EXPECT_EQ(a.hotX, 1.0f);
        delete c;
        EXPECT_EQ(engine->RefCount(), base + 2);
    }
    EXPECT_EQ(engine->RefCount(), base);
}

}  // namespace
