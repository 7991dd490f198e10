#pragma once
// Points, steps and bitwise vector checks shared by the collision tests.

#include "math/vector.h"
#include "tests/support/float_bits.h"

struct Xyz {
    float x, y, z;
};

// A point at p whose previous position is the origin; the routines must not care.
inline TrackedPoint Point(Xyz p)
{
    TrackedPoint point{};
    point.MoveTo(p.x, p.y, p.z);
    return point;
}

// A point whose last step ran from `from` to `to`.
inline TrackedPoint Mover(Xyz from, Xyz to)
{
    TrackedPoint mover = Point(from);
    mover.MoveTo(to.x, to.y, to.z);
    return mover;
}

inline Vector Vec(Xyz v, float w = 0.0f)
{
    return Vector{v.x, v.y, v.z, w};
}

// Bit for bit, except that a zero may come out as either +0 or -0: the sign of
// a zero component depends on the order of the corners, not on the geometry.
inline void ExpectComponent(float actual, float expected)
{
    if (expected == 0.0f)
        EXPECT_EQ(actual, 0.0f);
    else
        EXPECT_SAME_BITS(actual, expected);
}

inline void ExpectVector(const Vector& v, Xyz expected)
{
    ExpectComponent(v.x, expected.x);
    ExpectComponent(v.y, expected.y);
    ExpectComponent(v.z, expected.z);
}
