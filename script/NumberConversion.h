// Conversions of numbers that come from scripts or files: never undefined
// behaviour, whatever the value.
#pragma once

#include <cmath>
#include <cstdint>

// The low 32 bits of the number truncated toward zero; NaN, infinities and
// numbers outside the signed 64-bit range give 0.
inline uint32_t TruncateToUint32(double value) {
    // 2^63 is exact in a double; the range is [-2^63, 2^63).
    const double limit = 9223372036854775808.0;
    if (!std::isfinite(value) || value >= limit || value < -limit) return 0;
    const int64_t whole = static_cast<int64_t>(value);
    return static_cast<uint32_t>(static_cast<uint64_t>(whole));
}

// The same 32 bits as a signed value, without relying on a narrowing cast.
inline int32_t TruncateToInt32(double value) {
    const uint32_t bits = TruncateToUint32(value);
    return bits < 0x80000000u ? static_cast<int32_t>(bits)
                              : static_cast<int32_t>(static_cast<int64_t>(bits) - 0x100000000LL);
}
