#include "collision/crossing.h"

#include "collision/tests/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The unit square in z = 0, corners in order; its normal is (0, 0, -1).
const Xyz A{0, 1, 0};
const Xyz B{0, 0, 0};
const Xyz C{1, 0, 0};
const Xyz D{1, 1, 0};
constexpr float TOLERANCE = 0.01f;
constexpr float KEPT_W = -3.5f;

int CrossesSquarePlane(TrackedPoint mover)
{
    return SegmentCrossesPlane(Point(A), Point(B), Point(C), Point(D), mover);
}

int HitsSquare(TrackedPoint mover, Vector& normal, float tolerance = TOLERANCE)
{
    return SegmentHitsQuad(Point(A), Point(B), Point(C), Point(D), mover, normal, tolerance);
}

struct StepCase {
    Xyz from, to;
    int crossesPlane;
    int hitsSquare;
};

// Behind the plane is z > 0, since the normal points to -z.
const StepCase STEPS[] = {
    {{0.5f, 0.5f, 1}, {0.5f, 0.5f, -1}, 1, 1},
    {{0.5f, 0.5f, -1}, {0.5f, 0.5f, 1}, 1, 1},
    {{0.5f, 0.5f, 2}, {0.5f, 0.5f, 1}, 0, 0},      // stays behind
    {{0.5f, 0.5f, -2}, {0.5f, 0.5f, -1}, 0, 0},    // stays in front
    {{0.5f, 0.5f, 1}, {0.5f, 0.5f, 0}, 0, 1},      // ends in the plane from behind
    {{0.5f, 0.5f, 0}, {0.5f, 0.5f, 1}, 0, 1},      // the same step reversed
    {{0.5f, 0.5f, -1}, {0.5f, 0.5f, 0}, 1, 0},     // ends in the plane from in front
    {{0.5f, 0.5f, 0}, {0.5f, 0.5f, -1}, 1, 0},     // the same step reversed
    {{-1, -1, 1}, {2, 2, -1}, 1, 1},               // ends outside, crossing inside
    {{-5, 0.5f, 1}, {0.5f, 0.5f, -0.5f}, 1, 0},    // end above the square, crossing outside
    {{3, 0.5f, 1}, {3, 0.5f, -1}, 1, 0},           // crossing beside the square
    {{0.5f, 0.5f, 1}, {0.5f, 0.5f, 1}, 0, 0},      // no step
    {{0.5f, 0.5f, 0}, {0.5f, 0.5f, 0}, 0, 0},      // no step, in the plane
    {{0.2f, 0.7f, 0}, {0.6f, 0.1f, 0}, 0, 0},      // along the plane
    {{0, 0, 1}, {0, 0, -1}, 1, 0},                 // through corner b
    {{1, 1, -1}, {1, 1, 1}, 1, 0},                 // through corner d
};

TEST(SegmentCrossesPlane, ComparesTheSidesOfBothEnds)
{
    for (const StepCase& c : STEPS)
        EXPECT_EQ(CrossesSquarePlane(Mover(c.from, c.to)), c.crossesPlane)
            << c.from.x << "," << c.from.y << "," << c.from.z << " -> " << c.to.z;
}

TEST(SegmentCrossesPlane, DoesNotReadTheFourthCorner)
{
    for (Xyz d : {Xyz{5, -7, 100}, Xyz{0, 0, 0}, Xyz{NAN, NAN, NAN}}) {
        for (const StepCase& c : STEPS)
            EXPECT_EQ(SegmentCrossesPlane(Point(A), Point(B), Point(C), Point(d),
                                          Mover(c.from, c.to)),
                      c.crossesPlane);
    }
}

TEST(SegmentHitsQuad, SideTestThenInsideTestAndAlwaysWritesTheNormal)
{
    for (const StepCase& c : STEPS) {
        Vector normal{9, 9, 9, KEPT_W};
        EXPECT_EQ(HitsSquare(Mover(c.from, c.to), normal), c.hitsSquare)
            << c.from.x << "," << c.from.y << "," << c.from.z << " -> " << c.to.z;
        ExpectVector(normal, {0, 0, -1});
        EXPECT_EQ(normal.w, KEPT_W);
    }
}

struct InsideCase {
    Xyz crossing;
    float tolerance;
    int hit;
};

TEST(SegmentHitsQuad, InsideTestNeedsATurnWithinTheTolerance)
{
    // Four right angles add up to 2 pi, about 0.0032 above FULL_TURN.
    const InsideCase cases[] = {
        {{0.5f, 0.5f, 0}, 0.01f, 1},
        {{0.5f, 0.5f, 0}, 0.001f, 0},
        {{0.5f, 0.5f, 0}, 0.0031f, 0},
        {{0.5f, 0.5f, 0}, 0.0033f, 1},
        {{0.1f, 0.9f, 0}, 0.01f, 1},
        {{3, 0.5f, 0}, 5.0f, 0},  // sees about 0.98 radians
        {{3, 0.5f, 0}, 5.4f, 1},  // an absurd tolerance accepts it
        {{0.5f, 0.5f, 0}, -0.01f, 0},
    };
    for (const InsideCase& c : cases) {
        const Xyz p = c.crossing;
        Vector normal{};
        EXPECT_EQ(HitsSquare(Mover({p.x, p.y, 1}, {p.x, p.y, -1}), normal, c.tolerance), c.hit)
            << p.x << "," << p.y << " tolerance " << c.tolerance;
    }
}

struct DegenerateQuad {
    Xyz a, b, c, d;
    bool nanNormal;
};

TEST(SegmentHitsQuad, DegenerateCornersGiveZero)
{
    const DegenerateQuad quads[] = {
        {{0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, true},   // b on a
        {{0, 1, 0}, {1, 0, 0}, {1, 0, 0}, {1, 1, 0}, true},   // b on c
        {{0, 1, 0}, {0, 0, 0}, {0, 1, 0}, {1, 1, 0}, false},  // a on c: zero normal
    };
    const TrackedPoint mover = Mover({0.5f, 0.5f, 1}, {0.5f, 0.5f, -1});
    for (const DegenerateQuad& q : quads) {
        Vector normal{9, 9, 9, KEPT_W};
        EXPECT_EQ(SegmentHitsQuad(Point(q.a), Point(q.b), Point(q.c), Point(q.d), mover, normal,
                                  TOLERANCE),
                  0);
        EXPECT_EQ(SegmentCrossesPlane(Point(q.a), Point(q.b), Point(q.c), Point(q.d), mover), 0);
        EXPECT_EQ(std::isnan(normal.z), q.nanNormal);
        EXPECT_EQ(normal.w, KEPT_W);
    }
}

}  // namespace
