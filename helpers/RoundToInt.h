// The helpers' one float-to-int conversion, for values from files and frame
// times as much as for their own: never undefined, whatever the value.
#pragma once

#include <cmath>

// The nearest int, a half going to the even neighbour; NaN, infinities and
// values outside int give 0.
inline int RoundToInt(float v) {
    const float r = std::nearbyint(v);
    // Both bounds are exact in a float: int holds [-2^31, 2^31).
    if (!(r >= -2147483648.0f && r < 2147483648.0f)) return 0;
    return static_cast<int>(r);
}
