#include "script/NumberConversion.h"

#include <cmath>

int32_t TruncateToInt32(double value) {
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    const double limit = 9223372036854775808.0;
    if (!(value >= -limit && value < limit)) return 0;
    const int64_t whole = static_cast<int64_t>(value);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(whole)));
}
