#include "helpers/RoundToInt.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct RoundCase {
    float value;
    int rounded;
};

// Halves go to the even neighbour; the ends of int hold, one step past them is 0.
TEST(RoundToInt, HalvesToEvenAndZeroForWhatIntCannotHold) {
    const float inf = std::numeric_limits<float>::infinity();
    const RoundCase cases[] = {
        {0.5f, 0},
        {1.5f, 2},
        {2.5f, 2},
        {-0.5f, 0},
        {-2.5f, -2},
        {2.4999998f, 2},
        {-3.7f, -4},
        {2147483520.0f, 2147483520},  // the largest float below 2^31
        {2147483648.0f, 0},           // 2^31
        {-2147483648.0f, -2147483647 - 1},
        {-2147483904.0f, 0},  // the next float below -2^31
        {std::numeric_limits<float>::quiet_NaN(), 0},
        {inf, 0},
        {-inf, 0},
    };
    for (const RoundCase& c : cases) EXPECT_EQ(RoundToInt(c.value), c.rounded) << c.value;
}

}  // namespace
