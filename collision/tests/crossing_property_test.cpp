// SegmentHitsQuad against a parametric intersection with random unit squares.

#include "collision/crossing.h"

#include "collision/tests/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

struct Double3 {
    double x, y, z;
};

Double3 Sub(Double3 a, Double3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Double3 Along(Double3 origin, Double3 direction, double t)
{
    return {origin.x + direction.x * t, origin.y + direction.y * t, origin.z + direction.z * t};
}

double DotD(Double3 a, Double3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Double3 CrossD(Double3 a, Double3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Double3 Unit(Double3 v)
{
    const double length = std::sqrt(DotD(v, v));
    return {v.x / length, v.y / length, v.z / length};
}

Double3 Of(TrackedPoint p)
{
    return {p.x, p.y, p.z};
}

TrackedPoint Rounded(Double3 p)
{
    return Point({(float)p.x, (float)p.y, (float)p.z});
}

// Corners a, b, c, d of a unit square at a random place and orientation, with
// b the origin of its edges b -> c (first axis) and b -> a (second axis).
struct Square {
    TrackedPoint a, b, c, d;
};

class RandomSquares {
public:
    Square Next()
    {
        const Double3 u = RandomUnit();
        Double3 v = RandomUnit();
        v = Unit(Sub(v, Along({0, 0, 0}, u, DotD(u, v))));
        const Double3 b{Coordinate(), Coordinate(), Coordinate()};
        return {Rounded(Along(b, v, 1)), Rounded(b), Rounded(Along(b, u, 1)),
                Rounded(Along(Along(b, u, 1), v, 1))};
    }

    double Uniform(double low, double high)
    {
        return std::uniform_real_distribution<double>(low, high)(engine);
    }

    Double3 RandomUnit()
    {
        return Unit({Uniform(-1, 1), Uniform(-1, 1), Uniform(-1, 1)});
    }

private:
    double Coordinate() { return Uniform(-50, 50); }

    std::mt19937 engine{20261209};
};

// The reference: where the segment meets the plane, in double precision from
// the float corners, and the point's coordinates along the two edges at b.
struct Reference {
    bool crossesPlane;
    double s, t;  // inside when both lie in (0, 1)
};

Reference Intersect(const Square& q, Double3 start, Double3 end)
{
    const Double3 b = Of(q.b);
    const Double3 edgeC = Sub(Of(q.c), b);
    const Double3 edgeA = Sub(Of(q.a), b);
    const Double3 n = CrossD(edgeC, edgeA);
    const double h0 = DotD(n, Sub(start, b));
    const double h1 = DotD(n, Sub(end, b));
    const Double3 p = Along(start, Sub(end, start), h0 / (h0 - h1));
    const Double3 fromB = Sub(p, b);
    return {(h0 < 0) != (h1 < 0), DotD(fromB, edgeC) / DotD(edgeC, edgeC),
            DotD(fromB, edgeA) / DotD(edgeA, edgeA)};
}

// Far enough from the edges that the angle sum of an outside point stays well
// below FULL_TURN - tolerance, and rounding cannot move a point across an edge.
constexpr double MARGIN = 0.05;

bool NearEdge(double s)
{
    return std::fabs(s) < MARGIN || std::fabs(s - 1) < MARGIN;
}

TEST(SegmentHitsQuadProperty, AgreesWithParametricIntersectionOnRandomSquares)
{
    RandomSquares random;
    int inside = 0;
    int outside = 0;
    for (int i = 0; i < 400; ++i) {
        const Square q = random.Next();
        const Double3 b = Of(q.b);
        const Double3 n = Unit(CrossD(Sub(Of(q.c), b), Sub(Of(q.a), b)));
        // A target point of the plane in [-0.3, 1.3]^2 and a step through it
        // whose ends lie at least 0.06 off the plane on opposite sides.
        const double s = random.Uniform(-0.3, 1.3);
        const double t = random.Uniform(-0.3, 1.3);
        const Double3 target = Along(Along(b, Sub(Of(q.c), b), s), Sub(Of(q.a), b), t);
        Double3 direction = random.RandomUnit();
        if (std::fabs(DotD(direction, n)) < 0.3)
            direction = Along(direction, n, 1);
        const TrackedPoint start = Rounded(Along(target, direction, -random.Uniform(0.2, 3)));
        const TrackedPoint end = Rounded(Along(target, direction, random.Uniform(0.2, 3)));
        const Reference expected = Intersect(q, Of(start), Of(end));
        ASSERT_TRUE(expected.crossesPlane) << i;
        if (NearEdge(expected.s) || NearEdge(expected.t))
            continue;
        const bool hit = expected.s > 0 && expected.s < 1 && expected.t > 0 && expected.t < 1;
        (hit ? inside : outside) += 1;
        Vector normal{};
        const TrackedPoint mover = Mover({start.x, start.y, start.z}, {end.x, end.y, end.z});
        EXPECT_EQ(SegmentHitsQuad(q.a, q.b, q.c, q.d, mover, normal, 0.01f), hit ? 1 : 0)
            << "case " << i << " at s " << expected.s << ", t " << expected.t;
        // UnitEdgeNormal(b, a, c) is (a - b) x (c - b): opposite to n.
        EXPECT_NEAR(Dot(normal, Vector{(float)n.x, (float)n.y, (float)n.z, 0}), -1.0, 1e-5);
    }
    // Both outcomes must be exercised often, or the test proves little.
    EXPECT_GT(inside, 100);
    EXPECT_GT(outside, 100);
}

}  // namespace
