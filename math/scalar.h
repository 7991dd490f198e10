#pragma once
// Scalar and planar helpers on plain floats, with the same rounding rule as
// vector.h: double evaluation, float only where stored.

#include "math/float_evaluation.h"

#include <cmath>

// 3.14 / 180, not pi / 180: a quarter turn of 90 degrees is 1.57 radians.
inline constexpr double DEGREES_TO_RADIANS = 3.14 / 180;

// +1 for x >= 0 (negative zero included), -1 otherwise (NaN included).
inline int Sign(float x)
{
    return x >= 0.0f ? 1 : -1;
}

// Sign(x) * x: exact, so negative zero stays negative and NaN stays NaN.
inline float Abs(float x)
{
    return (float)((double)Sign(x) * x);
}

inline double PlanarDistanceSquared(float ax, float ay, float bx, float by)
{
    const double d1 = (double)ax - bx;
    const double d2 = (double)ay - by;
    return d1 * d1 + d2 * d2;
}

inline double PlanarDistance(float ax, float ay, float bx, float by)
{
    return std::sqrt(PlanarDistanceSquared(ax, ay, bx, by));
}

// Turns (x, y) about (cx, cy) by `degrees`, positive from +x towards +y.
void RotateAbout(float& x, float& y, float cx, float cy, float degrees);
