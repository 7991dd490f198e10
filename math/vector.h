#pragma once
// Vector and tracked-point value types and their arithmetic.
//
// Every operation takes float operands, evaluates in double precision and
// rounds to float only where a result is stored. The casts below are that rule
// written out; removing one changes the last bit of the simulation.

#include "math/float_evaluation.h"

#include <cmath>
#include <cstddef>
#include <type_traits>

struct Vector {
    float x;
    float y;
    float z;
    float w;  // carried along, never used in arithmetic

    void Set(float newX, float newY, float newZ)
    {
        x = newX;
        y = newY;
        z = newZ;
    }
};

// A point that remembers where it was before its last move, so that the pair
// (previous, current) is the segment it travelled.
struct TrackedPoint {
    float x;
    float y;
    float z;
    float prevX;
    float prevY;
    float prevZ;
    float w;

    void MoveTo(float newX, float newY, float newZ)
    {
        prevX = x;
        prevY = y;
        prevZ = z;
        x = newX;
        y = newY;
        z = newZ;
    }
};

// Both stay plain aggregates of floats in declared order, without padding.
static_assert(sizeof(Vector) == 4 * sizeof(float));
static_assert(sizeof(TrackedPoint) == 7 * sizeof(float));
static_assert(std::is_trivial_v<Vector> && std::is_standard_layout_v<Vector>);
static_assert(std::is_trivial_v<TrackedPoint> && std::is_standard_layout_v<TrackedPoint>);
static_assert(offsetof(TrackedPoint, prevX) == 3 * sizeof(float));
static_assert(offsetof(TrackedPoint, w) == 6 * sizeof(float));
static_assert(offsetof(Vector, w) == 3 * sizeof(float));

// The results of Displacement, Add, Scale and Cross leave w at zero.

inline Vector Displacement(TrackedPoint from, TrackedPoint to)
{
    return Vector{(float)((double)to.x - from.x), (float)((double)to.y - from.y),
                  (float)((double)to.z - from.z), 0.0f};
}

inline double Distance(TrackedPoint a, TrackedPoint b)
{
    const double dx = (double)a.x - b.x;
    const double dy = (double)a.y - b.y;
    const double dz = (double)a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

inline Vector ToVector(TrackedPoint p)
{
    return Vector{p.x, p.y, p.z, p.w};
}

inline Vector Add(Vector a, Vector b)
{
    return Vector{(float)((double)a.x + b.x), (float)((double)a.y + b.y),
                  (float)((double)a.z + b.z), 0.0f};
}

inline Vector Scale(Vector v, float s)
{
    return Vector{(float)((double)v.x * s), (float)((double)v.y * s), (float)((double)v.z * s),
                  0.0f};
}

inline double Dot(Vector a, Vector b)
{
    return (double)a.x * b.x + (double)a.y * b.y + (double)a.z * b.z;
}

inline Vector Cross(Vector a, Vector b)
{
    return Vector{(float)((double)a.y * b.z - (double)a.z * b.y),
                  (float)((double)a.z * b.x - (double)a.x * b.z),
                  (float)((double)a.x * b.y - (double)a.y * b.x), 0.0f};
}

inline double Length(Vector v)
{
    return std::sqrt((double)v.x * v.x + (double)v.y * v.y + (double)v.z * v.z);
}

// A zero vector becomes NaN: the factor is 1 / 0 = infinity and 0 * infinity.
inline void Normalize(Vector& v)
{
    const float length = (float)Length(v);
    const float factor = (float)(1.0 / length);
    const Vector scaled = Scale(v, factor);
    v.Set(scaled.x, scaled.y, scaled.z);
}
