#include "collision/shapes.h"

#include "collision/tests/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float TOLERANCE = 0.01f;
constexpr float KEPT_W = 2.5f;

struct Box {
    Xyz first, second;
};

const Box CUBE{{-1, -1, -1}, {1, 1, 1}};
const Box CUBE_REVERSED{{1, 1, 1}, {-1, -1, -1}};
const Box CUBE_X_REVERSED{{1, -1, -1}, {-1, 1, 1}};

int HitsBox(Box box, TrackedPoint mover, Vector& normal, float tolerance = TOLERANCE)
{
    return SegmentHitsBox(box.first.x, box.first.y, box.first.z, box.second.x, box.second.y,
                          box.second.z, mover, normal, tolerance);
}

struct BoxCase {
    Box box;
    Xyz from, to;
    int hit;
    Xyz normal;
};

TEST(SegmentHitsBox, ReportsTheFirstFaceHitWithItsNormal)
{
    const BoxCase cases[] = {
        // Into the cube through each face: one normal per pair, in or out.
        {CUBE, {0, 0, -2}, {0, 0, -0.5f}, 1, {0, 0, 1}},
        {CUBE, {0, 0, 2}, {0, 0, 0.5f}, 1, {0, 0, 1}},
        {CUBE, {-2, 0, 0}, {-0.5f, 0, 0}, 1, {1, 0, 0}},
        {CUBE, {2, 0, 0}, {0.5f, 0, 0}, 1, {1, 0, 0}},
        {CUBE, {0, -2, 0}, {0, -0.5f, 0}, 1, {0, 1, 0}},
        {CUBE, {0, 2, 0}, {0, 0.5f, 0}, 1, {0, 1, 0}},
        // Both corners swapped: every sign pair flips, the normals stay.
        {CUBE_REVERSED, {0, 0, -2}, {0, 0, -0.5f}, 1, {0, 0, 1}},
        {CUBE_REVERSED, {2, 0, 0}, {0.5f, 0, 0}, 1, {1, 0, 0}},
        {CUBE_REVERSED, {0, -2, 0}, {0, -0.5f, 0}, 1, {0, 1, 0}},
        // Only x swapped: the z and y face normals reverse.
        {CUBE_X_REVERSED, {0, 0, 2}, {0, 0, 0.5f}, 1, {0, 0, -1}},
        {CUBE_X_REVERSED, {-2, 0, 0}, {-0.5f, 0, 0}, 1, {1, 0, 0}},
        {CUBE_X_REVERSED, {0, 2, 0}, {0, 0.5f, 0}, 1, {0, -1, 0}},
        // Right through: faces 1 and 2 pass their side test, face 1 is reported.
        {CUBE, {0, 0, -2}, {0, 0, 2}, 1, {0, 0, 1}},
        // Through faces 2 (z = 1) and 5 (y = -1) in either direction: face 2 is first.
        {CUBE, {0, -2, -0.5f}, {0, 0.5f, 2}, 1, {0, 0, 1}},
        {CUBE, {0, 0.5f, 2}, {0, -2, -0.5f}, 1, {0, 0, 1}},
        // Through faces 3 (x = -1) and 6 (y = 1): face 3 is first.
        {CUBE, {-2, -0.5f, 0}, {0.5f, 2, 0}, 1, {1, 0, 0}},
        // Misses leave the normal of the last face, y = y2.
        {CUBE, {0, 0, 0}, {0.5f, 0, 0}, 0, {0, 1, 0}},
        {CUBE, {0, 0, 0}, {0, 0, 0.5f}, 0, {0, 1, 0}},
        {CUBE, {3, 0, -2}, {3, 0, 2}, 0, {0, 1, 0}},  // beside the box
        {CUBE_X_REVERSED, {0, 0, 0}, {0.5f, 0, 0}, 0, {0, -1, 0}},
    };
    for (const BoxCase& c : cases) {
        Vector normal{9, 9, 9, KEPT_W};
        EXPECT_EQ(HitsBox(c.box, Mover(c.from, c.to), normal), c.hit)
            << c.from.x << "," << c.from.y << "," << c.from.z << " -> " << c.to.x << ","
            << c.to.y << "," << c.to.z;
        ExpectVector(normal, c.normal);
        EXPECT_EQ(normal.w, KEPT_W);
    }
}

TEST(SegmentHitsBox, PassesTheToleranceToEveryFace)
{
    Vector normal{};
    const TrackedPoint mover = Mover({0, 2, 0}, {0, 0.5f, 0});
    EXPECT_EQ(HitsBox(CUBE, mover, normal, 0.01f), 1);
    EXPECT_EQ(HitsBox(CUBE, mover, normal, 0.001f), 0);  // a face centre sees exactly 2 pi
}

TEST(SegmentHitsBox, FlatBoxIsHitOnlyAcrossItsThinAxis)
{
    const Box flat{{0, -1, -1}, {0, 1, 1}};
    Vector normal{9, 9, 9, KEPT_W};
    EXPECT_EQ(HitsBox(flat, Mover({-1, 0, 0}, {1, 0, 0}), normal), 1);
    ExpectVector(normal, {1, 0, 0});
    EXPECT_EQ(HitsBox(flat, Mover({1, 0.5f, 0.5f}, {-1, 0.5f, 0.5f}), normal), 1);
    ExpectVector(normal, {1, 0, 0});
    // The faces without area never count, and the last of them leaves NaN.
    for (Xyz from : {Xyz{0, 0, -2}, Xyz{0.5f, 0, -2}, Xyz{0.5f, -2, 0}}) {
        const Xyz to{from.x, -from.y, -from.z};
        EXPECT_EQ(HitsBox(flat, Mover(from, to), normal), 0) << from.x << "," << from.y;
        EXPECT_TRUE(std::isnan(normal.y));
        EXPECT_EQ(normal.w, KEPT_W);
    }
}

struct CircleCase {
    float x, y, dx, dy, cx, cy, radius;
    int enters;
};

TEST(EntersCircle, FromStrictlyOutsideToInsideOrOn)
{
    const CircleCase cases[] = {
        {0, 5, 0, -4, 0, 0, 1, 1},     // lands on the circle
        {0, 1, 0, -1, 0, 0, 1, 0},     // starts on it
        {0, 5, 0, -10, 0, 0, 1, 0},    // passes through, ends outside
        {0, 0.5f, 0, 0.2f, 0, 0, 1, 0},  // stays inside
        {0, 5, 0, -4.5f, 0, 0, 1, 1},
        {5, 0, -4.5f, 0, 0, 0, 1, 1},
        {0, 5, 0, -4, 0, 0, -1, 1},    // a negative radius acts as its size
        {3, 4, -3, -4, 0, 0, 0, 1},    // radius 0: ends exactly at the centre
        {3, 4, -3, -3.9f, 0, 0, 0, 0},
        {0, 0, 0, 0, 0, 0, 0, 0},
        {10, 2, 0, -4, 10, -3, 1, 1},  // centre away from the origin, arguments in order
        {2, 10, -4, 0, 10, -3, 1, 0},
        // x + dx - cx is exact in double; in float 2^24 + 1 would round to 2^24.
        {16777216.0f, 0, 1, 0, 16777218.0f, 0, 1, 1},
    };
    for (const CircleCase& c : cases)
        EXPECT_EQ(EntersCircle(c.x, c.y, c.dx, c.dy, c.cx, c.cy, c.radius), c.enters)
            << "(" << c.x << ", " << c.y << ") + (" << c.dx << ", " << c.dy << ") radius "
            << c.radius;
}

}  // namespace
