#include "helpers/gfxVector.h"

#include <cmath>
#include <cstdint>
#include <cstring>

float InvSqrt(float x) {
    int32_t i;
    std::memcpy(&i, &x, sizeof i);
    // Arithmetic shift spelt out, and the subtraction done unsigned: no
    // implementation-defined or overflowing signed arithmetic.
    const int32_t half = i < 0 ? ~(~i >> 1) : i >> 1;
    const uint32_t j = 0x5f3759dfu - static_cast<uint32_t>(half);
    float y;
    std::memcpy(&y, &j, sizeof y);
    return y * (1.5f - y * y * x * 0.4999f);
}

gfxVector::gfxVector() : x(0.0f), y(0.0f) {}

gfxVector::gfxVector(float x, float y) : x(x), y(y) {}

float gfxVector::Angle(const gfxVector* v) const {
    if (!v) return static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)));
    const float k1 = InvSqrt(x * x + y * y);
    const float k2 = InvSqrt(v->x * v->x + v->y * v->y);
    float dot = x * k1 * (v->x * k2) + y * k1 * (v->y * k2);
    // Rounding can push the cosine of parallel vectors past 1.
    if (dot > 1.0f) dot = 1.0f;
    if (dot < -1.0f) dot = -1.0f;
    return static_cast<float>(std::acos(static_cast<double>(dot)));
}

float gfxVector::Angle(const gfxVector& v) const { return Angle(&v); }

gfxVector& gfxVector::Rotate(float a) {
    const float c = static_cast<float>(std::cos(static_cast<double>(a)));
    const float s = static_cast<float>(std::sin(static_cast<double>(a)));
    const float nx = x * c - y * s;
    const float ny = x * s + y * c;
    x = nx;
    y = ny;
    return *this;
}
