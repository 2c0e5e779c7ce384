// A 2-D vector with an angle measure and a rotation, and the fast approximate
// inverse square root behind its normalisation.
#pragma once

// About 1 / sqrt(x), a little below the exact value; large but finite for 0.
float InvSqrt(float x);

class gfxVector {
public:
    float x, y;

    gfxVector();
    gfxVector(float x, float y);

    // With v: the angle between the two (radians); without: atan2(y, x).
    float Angle(const gfxVector* v = nullptr) const;
    float Angle(const gfxVector& v) const;
    // Rotates in place by a radians; returns the vector for chaining.
    gfxVector& Rotate(float a);
};
