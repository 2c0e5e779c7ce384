#include "helpers/gfxVector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

uint32_t Bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

TEST(InvSqrt, ExactResultsOfOneNewtonStepWithTheFactor04999) {
    // Expected bits worked out separately in IEEE single precision.
    struct Case {
        float x;
        uint32_t bits;
    };
    const Case cases[] = {
        {1.0f, 0x3f7f96f8},    // 0.99839735
        {4.0f, 0x3eff96f8},    // 0.49919868
        {0.25f, 0x3fff96f8},   // 1.9967947
        {2.0f, 0x3f34fe2f},    // 0.70700353
        {100.0f, 0x3dcc813d},  // 0.099855877
        {0.0f, 0x5f898367},    // 1.98e19: large but finite
    };
    for (const Case& c : cases) EXPECT_EQ(Bits(InvSqrt(c.x)), c.bits) << c.x;
    EXPECT_TRUE(std::isfinite(InvSqrt(0.0f)));
    EXPECT_EQ(0.0f * InvSqrt(0.0f), 0.0f);  // the zero vector normalises to (0, 0)
}

TEST(gfxVector, AngleWithoutAnotherVectorIsItsDirection) {
    EXPECT_EQ(gfxVector().x, 0.0f);
    EXPECT_EQ(gfxVector().y, 0.0f);
    EXPECT_FLOAT_EQ(gfxVector(0, 1).Angle(), static_cast<float>(M_PI / 2));
    EXPECT_FLOAT_EQ(gfxVector(-1, 0).Angle(), static_cast<float>(M_PI));
    EXPECT_EQ(gfxVector(0, 0).Angle(), 0.0f);
}

TEST(gfxVector, AngleBetweenVectorsCarriesTheUndershootOfInvSqrt) {
    const gfxVector right(1, 0), up(0, 1), left(-1, 0);
    EXPECT_EQ(right.Angle(up), static_cast<float>(M_PI / 2));  // the dot product is exactly 0
    EXPECT_NEAR(right.Angle(&right), 0.0801f, 0.0001f);        // not 0: the copies are shorter than 1
    EXPECT_NEAR(right.Angle(left), 3.0615f, 0.0001f);          // not pi
    const gfxVector longer(3, 4);
    EXPECT_NEAR(longer.Angle(longer), 0.0759f, 0.0001f);  // a little less for a longer vector
    EXPECT_EQ(right.x, 1.0f);                             // neither vector changes
    EXPECT_EQ(right.y, 0.0f);
}

TEST(gfxVector, AngleOfParallelVectorsIsANumberAlsoWhenTheCosineReachesOne) {
    // Very short vectors: InvSqrt overshoots there and the cosine would pass 1.
    const float lengths[] = {1e-20f, 1e-3f, 1.0f, 3.0f, 1e6f, 1e18f};
    for (float len : lengths) {
        const gfxVector a(len, len), b(2 * len, 2 * len), c(-len, -len);
        EXPECT_FALSE(std::isnan(a.Angle(b))) << len;
        EXPECT_FALSE(std::isnan(a.Angle(c))) << len;
    }
}

TEST(gfxVector, RotateUsesTheOldValuesAndChains) {
    gfxVector v(1, 0);
    v.Rotate(static_cast<float>(M_PI / 2));
    EXPECT_NEAR(v.x, 0.0f, 1e-6f);
    EXPECT_EQ(v.y, 1.0f);
    gfxVector w(3, 4);
    w.Rotate(static_cast<float>(M_PI / 2)).Rotate(static_cast<float>(M_PI / 2));
    EXPECT_NEAR(w.x, -3.0f, 1e-5f);
    EXPECT_NEAR(w.y, -4.0f, 1e-5f);
}

}  // namespace
