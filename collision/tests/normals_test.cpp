#include "collision/normals.h"

#include "collision/tests/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float KEPT_W = 7.25f;

struct NormalCase {
    Xyz p0, p1, p2;
    Xyz expected;
};

TEST(PlaneNormal, IsCrossOfTheEdgesLeavingTheFirstPoint)
{
    const NormalCase cases[] = {
        {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, 0, 0}, {2, 0, 0}, {0, 3, 0}, {0, 0, 6}},  // not normalised
        {{1, 1, 1}, {1, 2, 1}, {1, 1, 3}, {2, 0, 0}},
        {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {0, 0, 0}},  // collinear
    };
    for (const NormalCase& c : cases) {
        Vector normal{9, 9, 9, KEPT_W};
        PlaneNormal(Point(c.p0), Point(c.p1), Point(c.p2), normal);
        ExpectVector(normal, c.expected);
        EXPECT_EQ(normal.w, KEPT_W);
        // Swapping the second and third points reverses it.
        PlaneNormal(Point(c.p0), Point(c.p2), Point(c.p1), normal);
        EXPECT_EQ(normal.x, -c.expected.x);
        EXPECT_EQ(normal.y, -c.expected.y);
        EXPECT_EQ(normal.z, -c.expected.z);
    }
}

TEST(UnitEdgeNormal, ScalesEachEdgeToUnitLengthButNotTheResult)
{
    // 1 / |(1, 4, 0)| rounded from the double length; rounding the length to a
    // float first, as Normalize does, gives a different last bit.
    const float r = (float)(1.0 / std::sqrt(17.0));
    ASSERT_NE(r, (float)(1.0 / (float)std::sqrt(17.0)));
    const float halfRoot2 = (float)(1.0 / std::sqrt(2.0));
    const NormalCase cases[] = {
        {{0, 0, 0}, {2, 0, 0}, {0, 3, 0}, {0, 0, 1}},
        {{0, 0, 0}, {0, 3, 0}, {2, 0, 0}, {0, 0, -1}},
        // 45 degrees at p0: length sin 45, not 1.
        {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, halfRoot2}},
        {{0, 0, 0}, {1, 4, 0}, {0, 0, 5}, {(float)(4.0 * r), -r, 0}},
    };
    for (const NormalCase& c : cases) {
        Vector normal{9, 9, 9, KEPT_W};
        UnitEdgeNormal(Point(c.p0), Point(c.p1), Point(c.p2), normal);
        ExpectVector(normal, c.expected);
        EXPECT_EQ(normal.w, KEPT_W);
    }
    Vector normal{};
    UnitEdgeNormal(Point({0, 0, 0}), Point({1, 0, 0}), Point({1, 1, 0}), normal);
    EXPECT_NEAR(Length(normal), std::sin(M_PI / 4), 1e-7);
}

TEST(UnitEdgeNormal, ZeroLengthEdgeGivesNanAndKeepsW)
{
    for (Xyz p2 : {Xyz{0, 0, 0}, Xyz{0, 1, 0}}) {
        Vector normal{1, 1, 1, KEPT_W};
        UnitEdgeNormal(Point({0, 0, 0}), Point({0, 0, 0}), Point(p2), normal);
        EXPECT_TRUE(std::isnan(normal.x) && std::isnan(normal.y) && std::isnan(normal.z));
        EXPECT_EQ(normal.w, KEPT_W);
    }
}

struct ReflectCase {
    Xyz motion, normal, expected;
};

TEST(Reflect, SubtractsTwiceTheComponentAlongTheGivenNormal)
{
    const ReflectCase cases[] = {
        {{1, -2, 3}, {0, 1, 0}, {1, 2, 3}},
        {{1, -2, 3}, {0, -1, 0}, {1, 2, 3}},  // either normal of the plane
        {{1, 0, 3}, {0, 1, 0}, {1, 0, 3}},    // parallel to the plane
        {{0, 1, 0}, {0, 2, 0}, {0, -7, 0}},   // length not corrected
        {{1, 1, 0}, {0, 0, 1}, {1, 1, 0}},
        {{2, 0, 0}, {1, 0, 0}, {-2, 0, 0}},
    };
    for (const ReflectCase& c : cases) {
        Vector motion = Vec(c.motion, KEPT_W);
        Reflect(motion, Vec(c.normal, -1.0f));
        ExpectVector(motion, c.expected);
        EXPECT_EQ(motion.w, KEPT_W);
    }
}

struct ReflectOnPlaneCase {
    Xyz motion, p0, p1, p2, expected;
};

TEST(ReflectOnPlane, UsesThePlaneNormalWithItsLength)
{
    const ReflectOnPlaneCase cases[] = {
        {{0, 0, -1}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, 0, -1}, {0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}},
        // Normal (0, 0, 4): the normal component is scaled by 1 - 2 * 16.
        {{0, 0, -1}, {0, 0, 0}, {2, 0, 0}, {0, 2, 0}, {0, 0, 31}},
        {{5, -1, 0.5f}, {0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {5, -1, 0.5f}},  // collinear
        {{3, 4, 0}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {3, 4, 0}},
    };
    for (const ReflectOnPlaneCase& c : cases) {
        Vector motion = Vec(c.motion, KEPT_W);
        ReflectOnPlane(motion, Point(c.p0), Point(c.p1), Point(c.p2));
        ExpectVector(motion, c.expected);
        EXPECT_EQ(motion.w, KEPT_W);
    }
}

}  // namespace
