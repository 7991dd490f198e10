#include "math/vector.h"

#include "tests/support/float_bits.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TrackedPoint Point(float x, float y, float z)
{
    TrackedPoint p{};
    p.MoveTo(x, y, z);
    return p;
}

Vector Vec(float x, float y, float z, float w = 0.0f)
{
    return Vector{x, y, z, w};
}

void ExpectVector(const Vector& v, float x, float y, float z)
{
    EXPECT_SAME_BITS(v.x, x);
    EXPECT_SAME_BITS(v.y, y);
    EXPECT_SAME_BITS(v.z, z);
}

TEST(TrackedPointMoveTo, KeepsOneStepOfHistoryAndW)
{
    TrackedPoint p{};
    p.w = 7.5f;
    p.MoveTo(1, 2, 3);
    EXPECT_EQ(p.x, 1);
    EXPECT_EQ(p.y, 2);
    EXPECT_EQ(p.z, 3);
    EXPECT_EQ(p.prevX, 0);
    EXPECT_EQ(p.prevY, 0);
    EXPECT_EQ(p.prevZ, 0);
    p.MoveTo(4, 5, 6);
    EXPECT_EQ(p.x, 4);
    EXPECT_EQ(p.prevX, 1);
    EXPECT_EQ(p.prevY, 2);
    EXPECT_EQ(p.prevZ, 3);
    EXPECT_EQ(p.w, 7.5f);
}

TEST(VectorSet, StoresXyzAndKeepsW)
{
    Vector v = Vec(9, 9, 9, -2.0f);
    v.Set(1, 2, 3);
    ExpectVector(v, 1, 2, 3);
    EXPECT_EQ(v.w, -2.0f);
}

TEST(Displacement, IsTargetMinusSourceIgnoringHistory)
{
    TrackedPoint from = Point(1, 2, 3);
    from.prevX = 100;
    ExpectVector(Displacement(from, Point(4, 6, 8)), 3, 4, 5);
    ExpectVector(Displacement(Point(4, 6, 8), from), -3, -4, -5);
    TrackedPoint moved = Point(5, 5, 5);
    moved.MoveTo(2, 2, 2);
    ExpectVector(Displacement(moved, moved), 0, 0, 0);
}

TEST(Distance, IsSymmetricAndReadsOnlyCurrentPosition)
{
    TrackedPoint a = Point(0, 0, 0);
    TrackedPoint b = Point(3, 4, 12);
    b.MoveTo(3, 4, 12);  // previous position now differs from the origin's
    EXPECT_EQ(Distance(a, b), 13.0);
    EXPECT_EQ(Distance(b, a), 13.0);
}

TEST(Distance, StaysInDoublePrecision)
{
    // sqrt(2) is not a float: the result must keep its double bits.
    EXPECT_EQ(Distance(Point(0, 0, 0), Point(1, 1, 0)), std::sqrt(2.0));
}

TEST(ToVector, CopiesAllFourComponentsBitForBit)
{
    TrackedPoint p = Point(1.5f, -2.5f, 3.25f);
    p.w = FloatFromBits(0x7fc00123);  // a NaN payload survives a plain copy
    const Vector v = ToVector(p);
    ExpectVector(v, 1.5f, -2.5f, 3.25f);
    EXPECT_EQ(FloatBits(v.w), 0x7fc00123u);
}

struct CrossCase {
    Vector a, b, expected;
};

TEST(Cross, IsRightHanded)
{
    const CrossCase cases[] = {
        {Vec(1, 0, 0), Vec(0, 1, 0), Vec(0, 0, 1)},
        {Vec(0, 1, 0), Vec(0, 0, 1), Vec(1, 0, 0)},
        {Vec(0, 0, 1), Vec(1, 0, 0), Vec(0, 1, 0)},
        {Vec(1, 1, 0), Vec(0, 1, 1), Vec(1, -1, 1)},
        {Vec(2, -3, 5), Vec(2, -3, 5), Vec(0, 0, 0)},
    };
    for (const CrossCase& c : cases) {
        ExpectVector(Cross(c.a, c.b), c.expected.x, c.expected.y, c.expected.z);
        const Vector reversed = Cross(c.b, c.a);
        EXPECT_EQ(reversed.x, -c.expected.x);
        EXPECT_EQ(reversed.y, -c.expected.y);
        EXPECT_EQ(reversed.z, -c.expected.z);
    }
}

TEST(DotAndLength, IgnoreWAndReturnDoubles)
{
    EXPECT_EQ(Dot(Vec(1, 2, 3, 100), Vec(4, 5, 6, -100)), 32.0);
    EXPECT_EQ(Length(Vec(3, 4, 12, 1000)), 13.0);
    // 0.1f * 0.1f is exact in double but not in float.
    EXPECT_EQ(Dot(Vec(0.1f, 0, 0), Vec(0.1f, 0, 0)), (double)0.1f * (double)0.1f);
}

TEST(AddAndScale, RoundEachComponentOnce)
{
    ExpectVector(Add(Vec(1, 2, 3, 5), Vec(0.5f, -2, 1e-8f, 5)), 1.5f, 0, 3);
    ExpectVector(Scale(Vec(3, -4, 0.1f), 0.5f), 1.5f, -2, 0.05f);
}

TEST(Normalize, UsesTheRoundedReciprocalOfTheLength)
{
    Vector v = Vec(3, 4, 0, 42);
    Normalize(v);
    const float factor = (float)(1.0 / 5.0);
    ExpectVector(v, (float)(3.0 * factor), (float)(4.0 * factor), 0);
    EXPECT_EQ(v.w, 42);
    // The rounded factor 0.2f gives 0.6 and 0.8 up to one float step.
    EXPECT_NEAR(v.x, 0.6f, 1e-7);
    EXPECT_NEAR(v.y, 0.8f, 1e-7);
}

TEST(Normalize, ZeroVectorBecomesNanAndKeepsW)
{
    Vector v = Vec(0, 0, 0, 1);
    Normalize(v);
    EXPECT_TRUE(std::isnan(v.x) && std::isnan(v.y) && std::isnan(v.z));
    EXPECT_EQ(v.w, 1);
}

}  // namespace
