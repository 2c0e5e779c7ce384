#include "helpers/gfxRect.h"

#include <gtest/gtest.h>

namespace {

struct PointCase {
    float x, y;
    bool inside;
};

TEST(gfxRect, TestPointIncludesLeftAndTopEdgesOnly) {
    const gfxRect r(0, 0, 10, 10);
    const PointCase cases[] = {
        {0, 0, true},   {9.99f, 9.99f, true}, {5, 5, true},       {10, 5, false},
        {5, 10, false}, {-0.01f, 5, false},   {5, -0.01f, false}, {10, 10, false},
    };
    for (const PointCase& c : cases) EXPECT_EQ(r.TestPoint(c.x, c.y), c.inside) << c.x << "," << c.y;
}

TEST(gfxRect, IntersectIsStrict) {
    struct Case {
        gfxRect a, b;
        bool overlap;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {10, 0, 20, 10}, false},      // touching on the right edge
        {{0, 0, 10, 10}, {0, 10, 10, 20}, false},      // touching on the bottom edge
        {{0, 0, 10, 10}, {9.5f, 9.5f, 20, 20}, true},  // overlapping corner
        {{0, 0, 10, 10}, {2, 2, 3, 3}, true},          // contained
        {{0, 0, 10, 10}, {11, 0, 20, 10}, false},      // apart on x
        {{0, 0, 10, 10}, {0, -5, 10, -1}, false},      // apart on y
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.a.Intersect(&c.b), c.overlap) << c.b.x1 << "," << c.b.y1;
        EXPECT_EQ(c.b.Intersect(c.a), c.overlap) << "symmetric " << c.b.x1 << "," << c.b.y1;
    }
    EXPECT_FALSE(cases[0].a.Intersect(nullptr));
}

TEST(gfxRect, DefaultRectangleIsCleanWithZeroEdgesAndHoldsNoPoint) {
    gfxRect r;
    EXPECT_TRUE(r.bClean);
    EXPECT_EQ(r.x1, 0.0f);
    EXPECT_EQ(r.y1, 0.0f);
    EXPECT_EQ(r.x2, 0.0f);
    EXPECT_EQ(r.y2, 0.0f);
    EXPECT_FALSE(r.TestPoint(0, 0));
    EXPECT_FALSE(r.Intersect(gfxRect(1, 1, 5, 5)));

    r.Encapsulate(3, 4);
    EXPECT_FALSE(r.bClean);
    EXPECT_EQ(r.x1, 3.0f);
    EXPECT_EQ(r.y1, 4.0f);
    EXPECT_EQ(r.x2, 3.0f);
    EXPECT_EQ(r.y2, 4.0f);
    EXPECT_FALSE(r.TestPoint(3, 4));
}

TEST(gfxRect, EncapsulateAfterClearStartsAfreshAndGrowsEachEdge) {
    gfxRect r(-100, -100, 100, 100);
    r.Clear();
    EXPECT_TRUE(r.bClean);
    // A cleared rectangle answers by its stale edges.
    EXPECT_TRUE(r.TestPoint(50, 50));
    r.Encapsulate(5, 1);
    r.Encapsulate(2, 7);
    r.Encapsulate(4, 4);
    EXPECT_EQ(r.x1, 2.0f);
    EXPECT_EQ(r.y1, 1.0f);
    EXPECT_EQ(r.x2, 5.0f);
    EXPECT_EQ(r.y2, 7.0f);
    EXPECT_FALSE(r.bClean);
}

}  // namespace
