#include "helpers/gfxAnimation.h"

#include "tests/support/EngineFixture.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

class gfxAnimationTest : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        engine->AddImage("strip.png", 256, 256);
    }
    HTEXTURE Load(const char* name) { return gfx()->Texture_Load(name, 0, false); }

    // Texel position of corner 0 (the frame's top-left while unmirrored).
    static float TexelX(const gfxAnimation& a) { return a.quad.v[0].tx * a.tex_width; }
    static float TexelY(const gfxAnimation& a) { return a.quad.v[0].ty * a.tex_height; }
};

TEST_F(gfxAnimationTest, NewAnimationIsStoppedOnFrameZeroLoopingForward) {
    gfxAnimation a(Load("strip.png"), 8, 10, 0, 0, 32, 32);
    EXPECT_FALSE(a.IsPlaying());
    EXPECT_EQ(a.GetFrame(), 0);
    EXPECT_EQ(a.GetFrames(), 8);
    EXPECT_EQ(a.Mode, GFXANIM_LOOP);
    EXPECT_EQ(a.orig_width, 256);
    EXPECT_FLOAT_EQ(a.fSpeed, 0.1f);
}

TEST_F(gfxAnimationTest, SetFrameTakesTheFrameModuloTheCount) {
    gfxAnimation a(Load("strip.png"), 8, 10, 0, 0, 16, 16);
    const int cases[][2] = {{-1, 7}, {9, 1}, {8, 0}, {-8, 0}, {-17, 7}, {3, 3}};
    for (const auto& c : cases) {
        a.SetFrame(c[0]);
        EXPECT_EQ(a.GetFrame(), c[1]) << c[0];
        EXPECT_FLOAT_EQ(TexelX(a), 16.0f * c[1]) << c[0];
    }
}

TEST_F(gfxAnimationTest, FrameGridContinuesInRowsFromTheImagesLeftEdge) {
    struct Case {
        float tx, w;
        int imageWidth, frame;
        float x, y;
    };
    const Case cases[] = {
        {128, 64, 256, 0, 128, 0},
        {128, 64, 256, 1, 192, 0},
        {128, 64, 256, 2, 0, 32},
        {128, 64, 256, 5, 192, 32},
        {128, 64, 256, 6, 0, 64},
        // 12.5 rounds to 12 for the column and first-row counts; positions keep 12.5.
        {0, 12.5f, 100, 7, 87.5f, 0},
        {0, 12.5f, 100, 8, 0, 32},
        {0, 12.5f, 100, 9, 12.5f, 32},
        // 13.5 rounds to the even 14: one frame in the first row, not two.
        {0, 13.5f, 26, 1, 0, 32},
    };
    for (const Case& c : cases) {
        const std::string name = "img" + std::to_string(c.imageWidth);
        engine->AddImage(name, c.imageWidth, 256, {}, 256, 256);
        gfxAnimation a(Load(name.c_str()), 16, 10, c.tx, 0, c.w, 32);
        a.SetFrame(c.frame);
        const std::string what =
            "tx " + std::to_string(c.tx) + " w " + std::to_string(c.w) + " frame " + std::to_string(c.frame);
        EXPECT_FLOAT_EQ(TexelX(a), c.x) << what;
        EXPECT_FLOAT_EQ(TexelY(a), c.y) << what;
        EXPECT_FLOAT_EQ(a.quad.v[2].tx * 256, c.x + c.w) << what;
        EXPECT_FLOAT_EQ(a.quad.v[2].ty * 256, c.y + 32) << what;
        // The sprite's rectangle stays that of frame 0.
        EXPECT_EQ(a.tx, c.tx) << what;
    }
}

// Frames shown by Play and then one whole period per Update, until the
// animation stops or `limit` frames have been seen.
std::vector<int> PlaySequence(gfxAnimation& a, int mode, int limit) {
    a.SetMode(mode);
    a.Play();
    a.Update(0);  // the first update only resets the counter
    std::vector<int> seen{a.GetFrame()};
    while (a.IsPlaying() && static_cast<int>(seen.size()) < limit) {
        a.Update(a.fSpeed);
        if (a.IsPlaying()) seen.push_back(a.GetFrame());
    }
    return seen;
}

TEST_F(gfxAnimationTest, EveryPlayModeStepsItsSequence) {
    struct Case {
        int mode;
        std::vector<int> frames;
        bool stops;
    };
    const Case cases[] = {
        {0, {0, 1, 2}, true},
        {1, {2, 1, 0}, true},
        {2, {0, 1, 2, 1, 0}, true},
        {3, {2, 1, 0, 1, 2}, true},
        {4, {0, 1, 2, 0, 1, 2, 0, 1}, false},
        {5, {2, 1, 0, 2, 1, 0, 2, 1}, false},
        {6, {0, 1, 2, 1, 0, 1, 2, 1}, false},
        {7, {2, 1, 0, 1, 2, 1, 0, 1}, false},
        {9, {2, 1, 0, 2, 1, 0, 2, 1}, false},  // unknown modes wrap; bit 0 still plays backwards
        {-2, {0, 1, 2, 0, 1, 2, 0, 1}, false},
    };
    for (const Case& c : cases) {
        gfxAnimation a(Load("strip.png"), 3, 10, 0, 0, 16, 16);
        EXPECT_EQ(PlaySequence(a, c.mode, 8), c.frames) << "mode " << c.mode;
        EXPECT_EQ(!a.IsPlaying(), c.stops) << "mode " << c.mode;
        if (c.stops) {
            const int last = a.GetFrame();
            a.Update(1.0f);
            EXPECT_EQ(a.GetFrame(), last) << "mode " << c.mode << " after stopping";
            EXPECT_EQ(last, c.frames.back()) << "mode " << c.mode;
        }
    }
}

// One update spanning many periods ends where stepping every period ends:
// same frame, direction and play state, in every mode and for any count.
TEST_F(gfxAnimationTest, ALongUpdateStepsEveryWholePeriod) {
    const int modes[] = {0, 1, 2, 3, 4, 5, 6, 7, 9, -2};
    const long long counts[] = {1, 5, 6, 7, 12, 13, 14, 100000};
    for (int frames : {7, 2, 1}) {
        for (int mode : modes) {
            gfxAnimation stepped(Load("strip.png"), frames, 4, 0, 0, 16, 16);
            stepped.SetMode(mode);
            stepped.Play();
            stepped.Update(0);
            long long done = 0;
            for (long long count : counts) {
                for (; done < count; ++done) stepped.Update(0.25f);
                gfxAnimation once(Load("strip.png"), frames, 4, 0, 0, 16, 16);
                once.SetMode(mode);
                once.Play();
                once.Update(0);
                once.Update(0.25f * static_cast<float>(count) + 0.125f);
                const std::string what = std::to_string(frames) + " frames, mode " + std::to_string(mode) + ", " +
                                         std::to_string(count) + " periods";
                EXPECT_EQ(once.GetFrame(), stepped.GetFrame()) << what;
                EXPECT_EQ(once.nDelta, stepped.nDelta) << what;
                EXPECT_EQ(once.IsPlaying(), stepped.IsPlaying()) << what;
                EXPECT_EQ(once.fSinceLastFrame, 0.125f) << what;
            }
        }
    }
    gfxAnimation a(Load("strip.png"), 7, 4, 0, 0, 16, 16);
    a.Play();
    a.Update(0);
    a.Update(25000);
    EXPECT_EQ(a.GetFrame(), 5);
}

TEST_F(gfxAnimationTest, TimeIsGatheredOnlyWhilePlayingAndAfterTheFreshStart) {
    gfxAnimation a(Load("strip.png"), 8, 10, 0, 0, 16, 16);
    a.Update(5.0f);  // stopped: nothing, not even the gathered time
    EXPECT_EQ(a.GetFrame(), 0);
    EXPECT_EQ(a.fSinceLastFrame, -1.0f);

    a.Play();
    a.Update(0.5f);
    EXPECT_EQ(a.GetFrame(), 0);
    EXPECT_EQ(a.fSinceLastFrame, 0.0f);
    a.Update(0.25f);
    EXPECT_EQ(a.GetFrame(), 2);
    EXPECT_NEAR(a.fSinceLastFrame, 0.05f, 1e-6f);

    a.Stop();
    a.Update(1.0f);
    EXPECT_EQ(a.GetFrame(), 2);  // the frame stays
    EXPECT_NEAR(a.fSinceLastFrame, 0.05f, 1e-6f);
}

TEST_F(gfxAnimationTest, SetModeWhilePlayingJumpsToTheFirstFrameOfItsDirection) {
    gfxAnimation a(Load("strip.png"), 5, 10, 0, 0, 16, 16);
    a.Play();
    a.Update(0);
    a.Update(0.1f);
    a.Update(0.1f);
    ASSERT_EQ(a.GetFrame(), 2);
    a.SetMode(GFXANIM_REV | GFXANIM_LOOP);
    EXPECT_EQ(a.GetFrame(), 4);
    EXPECT_TRUE(a.IsPlaying());
    a.Update(0.1f);
    EXPECT_EQ(a.GetFrame(), 3);
}

TEST_F(gfxAnimationTest, FramesKeepTheMirroringInForceAndFollowANewTextureRect) {
    gfxAnimation a(Load("strip.png"), 4, 10, 0, 0, 32, 16);
    a.SetFlip(true, false, false);
    a.SetFrame(1);
    EXPECT_TRUE(a.bXFlip);
    EXPECT_FLOAT_EQ(a.quad.v[0].tx * 256, 64);  // corner 0 shows the frame's right edge
    EXPECT_FLOAT_EQ(a.quad.v[1].tx * 256, 32);

    a.SetTextureRect(64, 128, 16, 8);
    EXPECT_EQ(a.GetFrame(), 1);
    EXPECT_EQ(a.width, 16.0f);
    EXPECT_FLOAT_EQ(a.quad.v[1].tx * 256, 80);
    EXPECT_FLOAT_EQ(a.quad.v[0].tx * 256, 96);
    EXPECT_FLOAT_EQ(a.quad.v[0].ty * 256, 128);
}

TEST_F(gfxAnimationTest, DegenerateGridsStayDrawable) {
    engine->AddImage("empty.png", 0, 0);
    engine->AddImage("narrow.png", 10, 10);
    struct Case {
        const char* what;
        const char* image;  // null: texture 0
        int frames;
        float w;
    };
    const Case cases[] = {
        {"texture 0", nullptr, 4, 16},
        {"0 x 0 image", "empty.png", 4, 16},
        {"image narrower than a frame", "narrow.png", 4, 16},
        {"width rounding to 0", "strip.png", 4, 0.5f},
        {"width 0", "strip.png", 4, 0},
        {"negative width", "strip.png", 4, -16},
        {"no frames", "strip.png", 0, 16},
        {"negative frame count", "strip.png", -3, 16},
    };
    for (const Case& c : cases) {
        gfxAnimation a(c.image ? Load(c.image) : 0, c.frames, 10, 0, 0, c.w, 16);
        EXPECT_GE(a.GetFrames(), 1) << c.what;
        for (int n : {0, 1, 3, -1, 1000, std::numeric_limits<int>::min()}) {
            a.SetFrame(n);
            EXPECT_GE(a.GetFrame(), 0) << c.what;
            EXPECT_LT(a.GetFrame(), a.GetFrames()) << c.what;
            for (const gfxVertex& v : a.quad.v) {
                EXPECT_TRUE(std::isfinite(v.tx)) << c.what << " frame " << n;
                EXPECT_TRUE(std::isfinite(v.ty)) << c.what << " frame " << n;
            }
        }
        a.Play();
        a.Update(0);
        a.Update(1.0f);
        a.Render(0, 0);
    }
    gfxAnimation none(0, 3, 10, 0, 0, 16, 16);
    none.SetFrame(2);  // no grid: frames side by side in the first row
    EXPECT_FLOAT_EQ(none.quad.v[0].tx, 32);
}

TEST_F(gfxAnimationTest, UpdateEndsForAnyPeriodAndAnyFrameTime) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        float fps, dt;
        bool stepsAfterwards;
    };
    const Case cases[] = {
        {"fps 0: never steps", 0, 100, false}, {"negative fps", -10, 1, false}, {"NaN fps", nan, 1, false},
        {"infinite fps", inf, 1, false},       {"tiny period", 1e30f, 1, true}, {"huge time", 60, 1e30f, true},
        {"infinite time", 60, inf, true},      {"NaN time", 60, nan, true},     {"negative time", 60, -5, false},
    };
    for (const Case& c : cases) {
        gfxAnimation a(Load("strip.png"), 8, c.fps, 0, 0, 16, 16);
        a.Play();
        a.Update(0);
        for (int i = 0; i < 3; ++i) a.Update(c.dt);
        EXPECT_GE(a.GetFrame(), 0) << c.what;
        EXPECT_LT(a.GetFrame(), 8) << c.what;
        EXPECT_FALSE(std::isnan(a.fSinceLastFrame)) << c.what;
        // Bad time is not carried on: whole periods step again afterwards.
        if (c.stepsAfterwards) {
            const int before = a.GetFrame();
            a.Update(a.fSpeed);
            EXPECT_NE(a.GetFrame(), before) << c.what;
        }
    }
    gfxAnimation never(Load("strip.png"), 8, 0, 0, 0, 16, 16);
    never.Play();
    never.Update(0);
    never.Update(1e6f);
    EXPECT_EQ(never.GetFrame(), 0);
}

TEST_F(gfxAnimationTest, CopyTakesAReferenceAndEveryField) {
    const int base = engine->RefCount();
    {
        gfxAnimation a(Load("strip.png"), 6, 10, 0, 0, 16, 16);
        a.SetMode(GFXANIM_PINGPONG | GFXANIM_LOOP);
        a.Play();
        a.Update(0);
        a.Update(0.1f);
        gfxAnimation b(a);
        EXPECT_EQ(engine->RefCount(), base + 2);
        EXPECT_EQ(b.GetFrame(), 1);
        EXPECT_EQ(b.Mode, a.Mode);
        EXPECT_TRUE(b.IsPlaying());
        EXPECT_EQ(b.quad.v[0].tx, a.quad.v[0].tx);
        b.Update(0.1f);
        EXPECT_EQ(b.GetFrame(), 2);
        EXPECT_EQ(a.GetFrame(), 1);
    }
    EXPECT_EQ(engine->RefCount(), base);
}

}  // namespace
