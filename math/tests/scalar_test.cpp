#include "math/scalar.h"

#include "tests/support/float_bits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float INF = std::numeric_limits<float>::infinity();
const float NOT_A_NUMBER = std::nanf("");

TEST(Constants, DegreesToRadiansIsThreePointOneFourOver180)
{
    EXPECT_EQ(DEGREES_TO_RADIANS, 0.017444444444444446);
    EXPECT_NE(DEGREES_TO_RADIANS, M_PI / 180);
}

TEST(Sign, CountsZeroAsPositiveAndNanAsNegative)
{
    struct Case {
        float x;
        int sign;
    } const cases[] = {{0.0f, 1},    {-0.0f, 1}, {5.0f, 1},          {INF, 1},
                       {-0.001f, -1}, {-INF, -1}, {NOT_A_NUMBER, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(Sign(c.x), c.sign) << c.x;
}

TEST(Abs, IsSignTimesValue)
{
    EXPECT_SAME_BITS(Abs(-2.5f), 2.5f);
    EXPECT_SAME_BITS(Abs(2.5f), 2.5f);
    EXPECT_SAME_BITS(Abs(-INF), INF);
    EXPECT_SAME_BITS(Abs(-0.0f), -0.0f);
    EXPECT_TRUE(std::isnan(Abs(NOT_A_NUMBER)));
}

TEST(PlanarDistance, TakesFirstPointThenSecond)
{
    EXPECT_EQ(PlanarDistance(0, 0, 3, 4), 5.0);
    EXPECT_EQ(PlanarDistance(3, 4, 0, 0), 5.0);
    EXPECT_EQ(PlanarDistanceSquared(0, 0, 3, 4), 25.0);
    EXPECT_EQ(PlanarDistanceSquared(3, 4, 0, 0), 25.0);
    // (ax, ay, bx, by), not (ax, bx, ay, by).
    EXPECT_EQ(PlanarDistanceSquared(1, 0, 0, 0), 1.0);
}

struct RotateCase {
    float x, y, cx, cy, degrees;
    float expectedX, expectedY;
};

TEST(RotateAbout, TurnsByThreePointOneFourBasedDegrees)
{
    const RotateCase cases[] = {
        {1, 0, 0, 0, 90, (float)std::cos(1.57), (float)std::sin(1.57)},
        {11, 10, 10, 10, 90, (float)(10 + std::cos(1.57)), (float)(10 + std::sin(1.57))},
        {3, 4, 0, 0, 0, 3, 4},
    };
    for (const RotateCase& c : cases) {
        float x = c.x;
        float y = c.y;
        RotateAbout(x, y, c.cx, c.cy, c.degrees);
        EXPECT_NEAR(x, c.expectedX, 2e-6) << c.x << "," << c.y;
        EXPECT_NEAR(y, c.expectedY, 2e-6) << c.x << "," << c.y;
    }
    float x = 1;
    float y = 0;
    RotateAbout(x, y, 0, 0, 90);
    EXPECT_NEAR(x, 0.000796f, 1e-6);  // not 0: 90 degrees is 1.57 radians here
}

TEST(RotateAbout, PointBelowTheCentreIsTurnedAsItself)
{
    float x = 3;
    float y = -4;
    RotateAbout(x, y, 0, 0, 0);
    EXPECT_NEAR(x, 3, 1e-5);
    EXPECT_NEAR(y, -4, 1e-5);

    // A quarter turn (1.57 rad) carries (0, -1) close to (1, 0).
    x = 0;
    y = -1;
    RotateAbout(x, y, 0, 0, 90);
    EXPECT_NEAR(x, 1, 1e-5);
    EXPECT_NEAR(y, -std::cos(1.57), 1e-5);
}

TEST(RotateAbout, PointAtTheCentreStaysThere)
{
    float x = 5;
    float y = -7;
    RotateAbout(x, y, 5, -7, 45);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, -7);
}

TEST(RotateAbout, RoundedRadiusNeverYieldsNan)
{
    // x - cx needs more bits than a float, so |(x - cx) / r| can exceed 1.
    float x = 16777216.0f;
    float y = 0.0f;
    RotateAbout(x, y, -1.0f, 0.0f, 0);
    EXPECT_FALSE(std::isnan(x));
    EXPECT_FALSE(std::isnan(y));
    EXPECT_NEAR(x, 16777216.0f, 4);
}

}  // namespace
